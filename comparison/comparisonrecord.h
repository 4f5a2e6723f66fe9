#pragma once

#include "instrumentkind.h"

#include <QDateTime>
#include <QString>
#include <QUuid>
#include <QtGlobal>

#include <array>

// One comparison as the program keeps it: the instrument's integers for both sides, the
// settings it was judged with and the verdict as a value. Every text of a list row, a sheet,
// a report or the command line is formatted from it and never read back.

// Where a comparison came from.
enum class ComparisonSource { Live, Pushed, Imported };

// What a comparison is judged with. Tolerances in hundredths of a percent point, the threshold
// in tenths, each -1 until read from the instrument.
struct JudgingSettings {
    bool oldLayout = false;
    int displayMode = 0; // current layout: 0..6 (Haze/T, Haze, T, Lab, LCh, Yxy, Haze/T/Lab)
    int hazeTolerance = -1;
    int tTolerance = -1;
    int threshold = -1;
    // The colour-difference formula index of the instrument (colour::deltaEByIndex); -1 for
    // the plain CIELAB distance (current layout) or no known formula (old layout: fails).
    int formula = -1;
};

// One measured side, as the instrument reported it.
struct Reading {
    // Current layout: haze, T, L*, a*, b*, L*, C*, h, Y, x, y in the instrument's units
    // (hundredths; h in tenths; x, y in ten-thousandths). Old layout: L*, a*, b*, C*, h, all
    // in hundredths, in the first five places.
    std::array<int, 11> values{};
    int red = 0, green = 0, blue = 0;
};

struct ComparisonRecord {
    static constexpr int kValueCount = 11;
    static constexpr int kOldValueCount = 5;
    // The colour difference of a comparison without a known formula: shown as -1.00, fails.
    static constexpr int kNoDeltaE = -100;

    QUuid id;
    ComparisonSource source = ComparisonSource::Live;
    int sequence = 0;
    QString name;
    QDateTime time; // UTC
    std::array<int, kValueCount> standard{};
    std::array<int, kValueCount> sample{};
    JudgingSettings settings;
    // Sample minus standard in hundredths of a percent point, and the colour difference in
    // hundredths as shown (kNoDeltaE without a formula).
    int deltaHaze = 0;
    int deltaT = 0;
    int deltaE = 0;
    bool pass = false;
    // Readings averaged into each side, and the sample's spread (max - min of its main quantity,
    // in the instrument's units of that quantity; -1 with a single reading).
    int readings = 1;
    int spread = -1;
    // The instrument it was measured with.
    QString model;
    QString serialNumber;
    InstrumentKind kind = InstrumentKind::HazeAndColour;
    // The product whose standard it was compared with (empty: a standard measured or typed),
    // and the lot it belongs to (empty: none).
    QString productId;
    QString lot;
};

// What the rows of one list share: one set of columns (layout and display mode) and one
// instrument. A list never holds rows of two meanings, so its columns, statistics, exports and
// re-judging always fit every row.
struct ListMeaning {
    bool oldLayout = false;
    int displayMode = 0; // 0 for the old layout
    QString model;
    QString serialNumber;

    static ListMeaning of(const ComparisonRecord& record) {
        return {record.settings.oldLayout,
                record.settings.oldLayout ? 0 : record.settings.displayMode, record.model,
                record.serialNumber};
    }
    // Same columns: the layout and, in the current layout, the display mode.
    bool sameColumns(const ListMeaning& other) const {
        return oldLayout == other.oldLayout && displayMode == other.displayMode;
    }
    bool operator==(const ListMeaning& other) const {
        return sameColumns(other) && model == other.model && serialNumber == other.serialNumber;
    }
    bool operator!=(const ListMeaning& other) const { return !(*this == other); }
};

// Every member moves by plain copy of its bytes, so a long list shifts rows cheaply on delete.
Q_DECLARE_TYPEINFO(ComparisonRecord, Q_RELOCATABLE_TYPE);
