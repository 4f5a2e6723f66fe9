#pragma once

#include <QString>

#include <array>

// One row of the comparison list of the current layout, as the comparison and the record import
// hand it over. Values are plain numbers (percent for haze and transmittance); the list formats
// them. Texts are shown as they are.
struct ComparisonRecord {
    // Haze, T, L*, a*, b*, L*, C*, h, Y, x, y: the order of the list's standard and sample columns.
    static constexpr int kValueCount = 11;

    double sequence = 0;
    QString name;
    QString time;
    std::array<double, kValueCount> standard{};
    std::array<double, kValueCount> sample{};
    double deltaHaze = 0;
    double deltaT = 0;
    double deltaE = 0;
    QString verdict;
    QString hazeTolerance;
    QString tTolerance;
    QString deltaEThreshold;
    QString model;
    QString serialNumber;
};

// One row of the old-layout list: L*, a*, b*, C*, h of each side.
struct OldComparisonRecord {
    static constexpr int kValueCount = 5;

    double sequence = 0;
    QString name;
    QString time;
    std::array<double, kValueCount> standard{};
    std::array<double, kValueCount> sample{};
    double deltaE = 0;
    QString verdict;
    QString formula;
    QString deltaEThreshold;
    QString model;
    QString serialNumber;
};
