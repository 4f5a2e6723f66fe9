#pragma once
// Colour computation: conversions, colour-difference formulas, deviation words and verdicts.
#include "colourdifference.h"
#include "conversions.h"
#include "verdict.h"
