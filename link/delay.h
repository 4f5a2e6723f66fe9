#pragma once

// Blocks the calling thread for at least ms milliseconds without processing events.
// It sleeps rather than spins, so a waiting thread costs no processor time.
void delayMs(int ms);
