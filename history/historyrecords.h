#pragma once
// Rows of the measurement history as numbers: what the table `comparisons` and `spectra` hold.

#include <QDateTime>
#include <QString>
#include <QVector>

#include <array>
#include <optional>

namespace history {

enum class Source { Live, Pushed, Imported };
enum class Layout { New, Old };
enum class SpectrumKind { Transmittance, Reflectance };

// Column texts of the enumerations: fixed words, never translated.
QString sourceName(Source source);
QString layoutName(Layout layout);
QString spectrumKindName(SpectrumKind kind);
std::optional<Source> sourceFromName(const QString& name);
std::optional<Layout> layoutFromName(const QString& name);
std::optional<SpectrumKind> spectrumKindFromName(const QString& name);

// The quantities of one side of a comparison. A quantity the display mode does not measure is
// empty and stored as NULL.
struct Quantities {
    std::optional<double> haze, t, l, a, b, c, h, bigY, x, y;
};

// One comparison, as stored: the standard and the sample, the settings in force and the outcome.
struct HistoryComparison {
    QString id; // UUID text; HistoryStore::newId() makes one
    QString station;
    QString model;
    QString serial;
    QString name;
    QDateTime measuredAt; // stored in UTC
    Source source = Source::Live;
    Layout layout = Layout::New;
    int displayMode = 0;
    Quantities standard;
    Quantities sample;
    std::optional<double> hazeTolerance, tTolerance, deltaEThreshold;
    std::optional<int> formula; // colour-difference formula index; empty where ΔE*ab is fixed
    std::optional<double> deltaHaze, deltaT, deltaL, deltaA, deltaB, deltaE;
    bool pass = false;
    bool deleted = false;
    int readings = 1; // readings averaged into the sample
    std::optional<double> spread;
    // The instrument's user-interface kind (0, 3 haze and transmittance meters; 1, 2
    // colorimeters); empty where it was not known.
    std::optional<int> instrumentKind;
    // The product whose standard it was compared with (empty: a standard measured), and the lot.
    QString productId;
    QString lot;
};

// One spectral measurement.
struct HistorySpectrum {
    static constexpr int kPoints = 31; // 400, 410, ..., 700 nm
    QString id;
    QString station;
    QString model;
    QString serial;
    QString name;
    QDateTime measuredAt;
    SpectrumKind kind = SpectrumKind::Transmittance;
    std::array<double, kPoints> values{};
    bool deleted = false;
};

// A product: a stored standard with the settings it is judged with, shared by the stations of a
// lab. Its name is unique per model among the products not retired.
struct HistoryProduct {
    QString id; // UUID text
    QString name;
    QString model;
    Layout layout = Layout::New;
    int displayMode = 0;
    Quantities standard;
    std::optional<double> hazeTolerance, tTolerance, deltaEThreshold;
    std::optional<int> formula; // the instrument's formula index; empty where ΔE*ab is fixed
    std::optional<int> instrumentKind;
    bool retired = false; // retired products stay readable in the history
    QDateTime changedAt;  // UTC; the newer edit wins between stations
    QString station;      // where it was last changed
    // The lab's version the edit started from (empty for a product new here): an edit not based
    // on the lab's current version met an edit of another station.
    QDateTime basedOn;
    // The station's own bookkeeping: the version last exchanged with the lab database.
    QDateTime labChangedAt;
};

// What the product list looks for. Empty members do not filter.
struct ProductFilter {
    QString text; // in the name or the model
    QString model;
    bool includeRetired = false;
};

// The standard on show in the workspace, kept so that a restart brings it back.
struct HistoryStandard {
    QString model;
    QString serial;
    QString name;
    QDateTime measuredAt;
    Layout layout = Layout::New;
    int displayMode = 0;
    Quantities values;
};

// One row of the workspace's list: the comparison and its "NO" number in the list.
struct OpenListRow {
    HistoryComparison comparison;
    double sequence = 0;
};

// The workspace's list as it was when the program ended.
struct OpenList {
    QVector<OpenListRow> rows;
    std::optional<HistoryStandard> standard;
    int comparisonSerial = 0; // the counter that names the next row "Comp%1"
    QString productInUse;     // the id of the product whose standard is on show; empty: none
    QString lot;              // the lot every new comparison carries
    bool isEmpty() const { return rows.isEmpty() && !standard; }
};

// "yyyy-MM-ddTHH:mm:ss.zzzZ": fixed width, so the texts sort as the times do.
QString isoUtc(const QDateTime& time);
QDateTime fromIsoUtc(const QString& text);

} // namespace history
