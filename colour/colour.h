#pragma once
// Colour computation: conversions, colour-difference formulas, deviation words and verdicts.
