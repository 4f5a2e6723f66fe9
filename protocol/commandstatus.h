#pragma once

// The result of every instrument command. Callers treat 0 or more as success.
using CommandStatus = int;

namespace Status {
constexpr CommandStatus Success = 1;
constexpr CommandStatus NotSent = -1;     // no link, link closed, or too few bytes written
constexpr CommandStatus NoReply = -2;     // time-out, incomplete reply or frame checksum mismatch
constexpr CommandStatus BadHeader = -3;   // reply received but its header test failed
constexpr CommandStatus BadChecksum = -4; // block checksum wrong, or caller's check value wrong
constexpr CommandStatus ErrorReply = -5;  // the instrument answered with its error frame
} // namespace Status

inline bool succeeded(CommandStatus s) {
    return s >= 0;
}
