#include "historyjournal.h"

#include "comparisonrows.h"
#include "comparisonsession.h"
#include "historystore.h"
#include "judging.h"
#include "quantities.h"

#include <cmath>

using history::HistoryComparison;
using history::Quantities;

namespace historymapping {

namespace {

constexpr int kValues = ComparisonRecord::kValueCount;

int units(double number, int scale) {
    return int(std::lround(number * scale));
}

std::optional<double> scaled(int units, int scale) {
    if (units < 0)
        return std::nullopt; // not read from the instrument
    return units / double(scale);
}

int unscaled(const std::optional<double>& number, int scale) {
    return number ? units(*number, scale) : -1;
}

std::optional<double> difference(const std::optional<double>& sample,
                                 const std::optional<double>& standard) {
    if (!sample || !standard)
        return std::nullopt;
    return *sample - *standard;
}

history::Source sourceOf(ComparisonSource source) {
    switch (source) {
    case ComparisonSource::Pushed:
        return history::Source::Pushed;
    case ComparisonSource::Imported:
        return history::Source::Imported;
    case ComparisonSource::Live:
        break;
    }
    return history::Source::Live;
}

ComparisonSource sourceOf(history::Source source) {
    switch (source) {
    case history::Source::Pushed:
        return ComparisonSource::Pushed;
    case history::Source::Imported:
        return ComparisonSource::Imported;
    case history::Source::Live:
        break;
    }
    return ComparisonSource::Live;
}

} // namespace

Quantities quantitiesOf(const std::array<int, kValues>& v, bool oldLayout, int displayMode) {
    Quantities q;
    if (oldLayout) {
        // L*, a*, b*, C*, h, all in hundredths.
        q.l = v[0] / 100.0;
        q.a = v[1] / 100.0;
        q.b = v[2] / 100.0;
        q.c = v[3] / 100.0;
        q.h = v[4] / 100.0;
        return q;
    }
    // A quantity the mode does not measure is empty, unless the instrument sent it anyway: the
    // list shows it, so the history keeps it.
    const auto at = [&](int i) -> std::optional<double> {
        if (!quantities::measures(displayMode, i) && v[size_t(i)] == 0)
            return std::nullopt;
        return quantities::valueNumber(i, v[size_t(i)]);
    };
    q.haze = at(0);
    q.t = at(1);
    // The instrument reports the same L* for CIELAB and LCh; the LCh one where only it counts.
    q.l = at(2);
    if (!q.l)
        q.l = at(5);
    q.a = at(3);
    q.b = at(4);
    q.c = at(6);
    q.h = at(7);
    q.bigY = at(8);
    q.x = at(9);
    q.y = at(10);
    return q;
}

std::array<int, kValues> valuesOf(const Quantities& q, bool oldLayout) {
    std::array<int, kValues> v{};
    const auto put = [&v](int i, const std::optional<double>& number, int scale) {
        v[size_t(i)] = number ? units(*number, scale) : 0;
    };
    if (oldLayout) {
        put(0, q.l, 100);
        put(1, q.a, 100);
        put(2, q.b, 100);
        put(3, q.c, 100);
        put(4, q.h, 100);
        return v;
    }
    const std::optional<double>* values[kValues] = {&q.haze, &q.t, &q.l,    &q.a, &q.b, &q.l,
                                                    &q.c,    &q.h, &q.bigY, &q.x, &q.y};
    for (int i = 0; i < kValues; ++i)
        put(i, *values[i], quantities::scale(i));
    return v;
}

HistoryComparison toHistory(const ComparisonRecord& r, const QString& station) {
    const bool old = r.settings.oldLayout;
    HistoryComparison h;
    h.id = r.id.toString(QUuid::WithoutBraces);
    h.station = station;
    h.model = r.model;
    h.serial = r.serialNumber;
    h.name = r.name;
    h.measuredAt = r.time.toUTC();
    h.source = sourceOf(r.source);
    h.layout = old ? history::Layout::Old : history::Layout::New;
    h.displayMode = r.settings.displayMode;
    h.standard = quantitiesOf(r.standard, old, r.settings.displayMode);
    h.sample = quantitiesOf(r.sample, old, r.settings.displayMode);
    h.hazeTolerance = scaled(r.settings.hazeTolerance, 100);
    h.tTolerance = scaled(r.settings.tTolerance, 100);
    h.deltaEThreshold = scaled(r.settings.threshold, 10);
    if (r.settings.formula >= 0)
        h.formula = r.settings.formula;
    // A difference the mode does not judge by is empty (NULL), whatever the instrument sent.
    const int mode = r.settings.displayMode;
    if (!old && quantities::measures(mode, quantities::Haze))
        h.deltaHaze = r.deltaHaze / 100.0;
    if (!old && quantities::measures(mode, quantities::T))
        h.deltaT = r.deltaT / 100.0;
    h.deltaL = difference(h.sample.l, h.standard.l);
    h.deltaA = difference(h.sample.a, h.standard.a);
    h.deltaB = difference(h.sample.b, h.standard.b);
    if (r.deltaE != ComparisonRecord::kNoDeltaE && (old || mode >= 3))
        h.deltaE = r.deltaE / 100.0;
    h.pass = r.pass;
    h.instrumentKind = uiIndexOf(r.kind);
    h.readings = r.readings;
    // The spread is in hundredths of the sample's main quantity (haze, T, L* or Y).
    if (r.spread >= 0)
        h.spread = r.spread / 100.0;
    h.productId = r.productId;
    h.lot = r.lot;
    return h;
}

ComparisonRecord fromHistory(const HistoryComparison& h, int sequence) {
    const bool old = h.layout == history::Layout::Old;
    ComparisonRecord r;
    r.id = QUuid::fromString(h.id);
    r.source = sourceOf(h.source);
    r.sequence = sequence;
    r.name = h.name;
    r.time = h.measuredAt.toUTC();
    r.standard = valuesOf(h.standard, old);
    r.sample = valuesOf(h.sample, old);
    r.settings.oldLayout = old;
    r.settings.displayMode = h.displayMode;
    r.settings.hazeTolerance = unscaled(h.hazeTolerance, 100);
    r.settings.tTolerance = unscaled(h.tTolerance, 100);
    r.settings.threshold = unscaled(h.deltaEThreshold, 10);
    r.settings.formula = h.formula.value_or(-1);
    // Differences not kept (the mode does not judge by them) are worked out from the values as
    // the list worked them out; the verdict stays the one stored.
    ComparisonRecord worked = r;
    judging::judge(worked);
    r.deltaHaze = h.deltaHaze ? units(*h.deltaHaze, 100) : worked.deltaHaze;
    r.deltaT = h.deltaT ? units(*h.deltaT, 100) : worked.deltaT;
    r.deltaE = h.deltaE ? units(*h.deltaE, 100) : worked.deltaE;
    r.pass = h.pass;
    r.readings = h.readings;
    r.spread = h.spread ? units(*h.spread, 100) : -1;
    r.model = h.model;
    r.serialNumber = h.serial;
    r.productId = h.productId;
    r.lot = h.lot;
    // Rows stored before the kind was kept were judged as the page of their layout judges.
    r.kind = h.instrumentKind ? instrumentKind(*h.instrumentKind)
             : old            ? InstrumentKind::SelectableColorimeter
                              : InstrumentKind::HazeAndColour;
    return r;
}

// Values of a stored row that the list's integer units cannot carry (1e308 from a lab database,
// say) with the list column that shows them: the workbook shows such a value as it is stored,
// never what wrapping it into the list's units made of it.
QList<std::pair<int, double>> unfitValues(const HistoryComparison& h, const ComparisonRecord& r) {
    using namespace comparisonrows;
    const bool old = r.settings.oldLayout;
    const HistoryComparison back = toHistory(r, h.station);
    QList<std::pair<int, double>> out;
    // One unit of the coarsest scale: a value that was merely rounded is never reported.
    const auto check = [&out](int column, const std::optional<double>& stored,
                              const std::optional<double>& shown) {
        if (stored && !(std::fabs(*stored - shown.value_or(0.0)) <= 1.0))
            out.append({column, *stored});
    };
    const auto sides = [&](int standardColumn, int sampleColumn, bool oldSide) {
        using Field = std::optional<double> history::Quantities::*;
        const QList<Field> fields =
            oldSide ? QList<Field>{&history::Quantities::l, &history::Quantities::a,
                                   &history::Quantities::b, &history::Quantities::c,
                                   &history::Quantities::h}
                    : QList<Field>{&history::Quantities::haze, &history::Quantities::t,
                                   &history::Quantities::l,    &history::Quantities::a,
                                   &history::Quantities::b,    &history::Quantities::l,
                                   &history::Quantities::c,    &history::Quantities::h,
                                   &history::Quantities::bigY, &history::Quantities::x,
                                   &history::Quantities::y};
        for (int i = 0; i < fields.size(); ++i) {
            check(standardColumn + i, h.standard.*fields[i], back.standard.*fields[i]);
            check(sampleColumn + i, h.sample.*fields[i], back.sample.*fields[i]);
        }
    };
    if (old) {
        sides(OldColStandard, OldColSample, true);
        check(OldColDeltaE, h.deltaE, back.deltaE);
        check(OldColThreshold, h.deltaEThreshold, back.deltaEThreshold);
        return out;
    }
    sides(ColStandard, ColSample, false);
    check(ColDeltaHaze, h.deltaHaze, back.deltaHaze);
    check(ColDeltaT, h.deltaT, back.deltaT);
    check(ColDeltaE, h.deltaE, back.deltaE);
    check(ColHazeTolerance, h.hazeTolerance, back.hazeTolerance);
    check(ColTTolerance, h.tTolerance, back.tTolerance);
    check(ColThreshold, h.deltaEThreshold, back.deltaEThreshold);
    return out;
}

history::HistoryProduct toHistory(const Product& p) {
    const bool old = p.settings.oldLayout;
    history::HistoryProduct h;
    h.id = p.id;
    h.name = p.name;
    h.model = p.model;
    h.layout = old ? history::Layout::Old : history::Layout::New;
    h.displayMode = old ? 0 : p.settings.displayMode;
    h.standard = quantitiesOf(p.standard.values, old, h.displayMode);
    h.hazeTolerance = scaled(p.settings.hazeTolerance, 100);
    h.tTolerance = scaled(p.settings.tTolerance, 100);
    h.deltaEThreshold = scaled(p.settings.threshold, 10);
    if (p.settings.formula >= 0)
        h.formula = p.settings.formula;
    h.instrumentKind = uiIndexOf(p.kind);
    h.retired = p.retired;
    h.changedAt = p.changedAt;
    h.station = p.station;
    return h;
}

Product fromHistory(const history::HistoryProduct& h) {
    const bool old = h.layout == history::Layout::Old;
    Product p;
    p.id = h.id;
    p.name = h.name;
    p.model = h.model;
    p.settings.oldLayout = old;
    p.settings.displayMode = old ? 0 : h.displayMode;
    p.settings.hazeTolerance = unscaled(h.hazeTolerance, 100);
    p.settings.tTolerance = unscaled(h.tTolerance, 100);
    p.settings.threshold = unscaled(h.deltaEThreshold, 10);
    p.settings.formula = h.formula.value_or(-1);
    p.standard.values = valuesOf(h.standard, old);
    p.kind = instrumentKind(h.instrumentKind.value_or(0));
    p.retired = h.retired;
    p.changedAt = h.changedAt;
    p.station = h.station;
    return p;
}

} // namespace historymapping

HistoryJournal::HistoryJournal(history::HistoryStore& store, ComparisonSession& session,
                               QObject* parent, bool openList)
    : QObject(parent), store_(store), session_(session), station_(store.station()),
      openList_(openList) {
    session_.setJournal(this);
    session_.setCatalog(this);
    if (!openList_)
        return;
    connect(&session_, &ComparisonSession::standardChanged, this, &HistoryJournal::keepStandard);
    // The product in use and the lot are the open list's: the next start brings them back.
    connect(&session_, &ComparisonSession::productInUseChanged, this, [this] {
        if (!restoring_)
            store_.setProductInUse(session_.productInUse() ? session_.productInUse()->id
                                                           : QString());
    });
    connect(&session_, &ComparisonSession::lotChanged, this, [this](const QString& lot) {
        if (!restoring_)
            store_.setLot(lot);
    });
}

HistoryJournal::~HistoryJournal() {
    session_.setJournal(nullptr);
    session_.setCatalog(nullptr);
}

int HistoryJournal::restore() {
    if (!openList_)
        return 0;
    const history::OpenList open = store_.restore();
    restoring_ = true;
    session_.setLot(open.lot);
    restoring_ = false;
    if (open.isEmpty())
        return 0;
    QList<ComparisonRecord> records;
    records.reserve(open.rows.size());
    for (const history::OpenListRow& row : open.rows)
        records.append(historymapping::fromHistory(row.comparison, int(std::lround(row.sequence))));
    std::optional<Reading> standard;
    if (open.standard) {
        Reading reading;
        reading.values = historymapping::valuesOf(open.standard->values,
                                                  open.standard->layout == history::Layout::Old);
        standard = reading;
        restoredStandardSerial_ = open.standard->serial;
    }
    restoring_ = true;
    const int leftOut = session_.restore(records, standard, open.comparisonSerial);
    // A standard was measured: the next pushed measurement is a sample, as before.
    if (standard)
        session_.setNextTarget(2);
    if (standard && !open.productInUse.isEmpty())
        if (const std::optional<history::HistoryProduct> product =
                store_.product(open.productInUse))
            session_.resumeProduct(historymapping::fromHistory(*product));
    restoring_ = false;
    if (leftOut > 0) {
        // Rows of a list left behind by an older program: the open list keeps one meaning.
        const QList<ComparisonRecord>& kept = session_.list().records();
        QVector<history::OpenListRow> rows;
        for (const ComparisonRecord& r : kept)
            rows.append({historymapping::toHistory(r, station_), double(r.sequence)});
        store_.clearOpenList();
        store_.recordMany(rows, true);
        store_.setComparisonSerial(session_.comparisonSerial());
        keepStandard();
    }
    return int(records.size()) - leftOut;
}

bool HistoryJournal::keepRestoredStandard() {
    if (!restoredStandardSerial_ || !session_.identity().keyRead)
        return false;
    const QString serial = *restoredStandardSerial_;
    restoredStandardSerial_.reset();
    if (!session_.hasStandard())
        return false;
    if (session_.serialText() != serial) {
        session_.dropStandard();
        return false;
    }
    return true;
}

bool HistoryJournal::write(const QList<ComparisonRecord>& records) {
    // A refused write is kept by the store for its next one: the row is shown all the same, and
    // the store says once that the history is off.
    if (records.size() == 1 && records.first().source != ComparisonSource::Imported) {
        const ComparisonRecord& r = records.first();
        // A new comparison takes the next "Comp" number once it is listed: the counter moves
        // with the row, so a crash never leaves one without the other.
        std::optional<int> serial;
        if (openList_ && r.source != ComparisonSource::Imported)
            serial = session_.comparisonSerial() + 1;
        const bool stored =
            store_.record(historymapping::toHistory(r, station_),
                          openList_ ? std::optional<double>(r.sequence) : std::nullopt, serial);
        return stored || !strict_;
    }
    QVector<history::OpenListRow> rows;
    rows.reserve(records.size());
    for (const ComparisonRecord& r : records)
        rows.append({historymapping::toHistory(r, station_), double(r.sequence)});
    // A record imported again has the id it had: it takes the judging of now and is listed again.
    const bool imported = records.first().source == ComparisonSource::Imported;
    const bool ok = store_.recordMany(rows, openList_,
                                      imported ? history::HistoryDatabase::Conflict::Relist
                                               : history::HistoryDatabase::Conflict::Keep);
    return ok || !strict_;
}

bool HistoryJournal::update(const QList<ComparisonRecord>& records) {
    QVector<history::HistoryComparison> rows;
    rows.reserve(records.size());
    for (const ComparisonRecord& r : records)
        rows.append(historymapping::toHistory(r, station_));
    return store_.updateJudging(rows) || !strict_;
}

bool HistoryJournal::markDeleted(const QUuid& id) {
    return !openList_ || store_.markDeleted(id.toString(QUuid::WithoutBraces)) || !strict_;
}

bool HistoryJournal::rename(const QUuid& id, const QString& name) {
    return store_.rename(id.toString(QUuid::WithoutBraces), name) || !strict_;
}

void HistoryJournal::listCleared() {
    if (!openList_)
        return;
    store_.clearOpenList();
}

void HistoryJournal::keepStandard() {
    if (restoring_)
        return;
    const std::optional<Reading>& reading = session_.standard();
    if (!reading) {
        store_.setStandard(std::nullopt);
        return;
    }
    history::HistoryStandard standard;
    standard.model = session_.modelName();
    standard.serial = session_.serialText();
    standard.measuredAt = QDateTime::currentDateTimeUtc();
    standard.layout = session_.oldLayout() ? history::Layout::Old : history::Layout::New;
    standard.displayMode = std::max(0, session_.displayMode());
    standard.values =
        historymapping::quantitiesOf(reading->values, session_.oldLayout(), standard.displayMode);
    store_.setStandard(standard);
}

namespace {
std::optional<Product> outcome(const history::ProductOutcome& result, QString* why) {
    if (result.done())
        return historymapping::fromHistory(result.product);
    if (why)
        *why = result.message;
    return std::nullopt;
}
} // namespace

QList<Product> HistoryJournal::products(const QString& text, const QString& model,
                                        bool includeRetired) {
    QList<Product> found;
    for (const history::HistoryProduct& row :
         store_.products(history::ProductFilter{text, model, includeRetired}))
        found.append(historymapping::fromHistory(row));
    return found;
}

std::optional<Product> HistoryJournal::product(const QString& id) {
    if (const auto row = store_.product(id))
        return historymapping::fromHistory(*row);
    return std::nullopt;
}

std::optional<Product> HistoryJournal::productNamed(const QString& model, const QString& name) {
    if (const auto row = store_.productNamed(model, name))
        return historymapping::fromHistory(*row);
    return std::nullopt;
}

std::optional<Product> HistoryJournal::addProduct(const Product& product, QString* why) {
    return outcome(store_.addProduct(historymapping::toHistory(product)), why);
}

std::optional<Product> HistoryJournal::renameProduct(const QString& id, const QString& name,
                                                     QString* why) {
    return outcome(store_.renameProduct(id, name), why);
}

std::optional<Product> HistoryJournal::setProductSettings(const QString& id,
                                                          const JudgingSettings& settings,
                                                          QString* why) {
    Product edited;
    edited.settings = settings;
    const history::HistoryProduct h = historymapping::toHistory(edited);
    return outcome(
        store_.setProductSettings(id, h.hazeTolerance, h.tTolerance, h.deltaEThreshold, h.formula),
        why);
}

std::optional<Product> HistoryJournal::retireProduct(const QString& id, QString* why) {
    return outcome(store_.retireProduct(id), why);
}

void HistoryJournal::fetchShared() {
    store_.pullProducts();
}
