#pragma once
// Colour-space conversions used by the colour-difference formulas and the record import.
// Everything is a pure function of doubles; nothing is rounded here.

namespace colour {

// The instrument's firmware uses these truncated values; the program must agree with it to the
// last digit, so they are not the exact 180/pi and pi/180.
constexpr double kDegPerRad = 57.2957805;
constexpr double kRadPerDeg = 0.0174532;

// Reference white (D65, 10 degree observer, Y = 100) and its u'v' chromaticity.
constexpr double kWhiteX = 94.81;
constexpr double kWhiteY = 100.0;
constexpr double kWhiteZ = 107.32;
constexpr double kWhiteU = 0.1978537;
constexpr double kWhiteV = 0.4695399;

// u* and v* are held within this range.
constexpr double kUvLimit = 300.0;

struct Lab {
    double L = 0;
    double a = 0;
    double b = 0;
};

struct Xyz {
    double X = 0;
    double Y = 0;
    double Z = 0;
};

struct Uv {
    double u = 0;
    double v = 0;
};

struct Lch {
    double L = 0;
    double C = 0;
    double h = 0;
};

// Hue angle in degrees, 0..360, with the firmware's truncated radians-to-degrees factor.
double hueAngle(double a, double b);
// C* = (a^2 + b^2)^0.5.
double chroma(double a, double b);
// L*a*b* to XYZ with Y = 100 for the white. Components the exact inverse would make negative
// come out as 0.
Xyz labToXyz(double L, double a, double b);
// u*, v* from XYZ and the L* that was passed in (not recomputed from Y); each held to +-300.
Uv xyzToUv(double L, double X, double Y, double Z);

// Hue of a comparison record read back from an old-layout instrument. That firmware stores only
// L*a*b*, and its hue uses the exact 180/pi and no clamp, unlike hueAngle().
double recordHueAngle(double a, double b);
// L*, C*, h of such a record side.
Lch recordLch(const Lab& lab);

} // namespace colour
