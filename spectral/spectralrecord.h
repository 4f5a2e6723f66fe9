#pragma once

#include <QString>

#include <array>

// One spectral measurement: 31 percentages at 400, 410, ..., 700 nm.
struct SpectralRecord {
    static constexpr int kPoints = 31;
    std::array<double, kPoints> values{};
    bool showCurve = true;
    // Its identity in the measurement history (a UUID text), given when it is measured.
    QString id;
};
