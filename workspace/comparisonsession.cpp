#include "comparisonsession.h"

#include "comparisonjournal.h"
#include "deviceinfocommands.h"
#include "frameport.h"
#include "judging.h"
#include "measurementcommands.h"
#include "pauselock.h"
#include "quantities.h"
#include "readings.h"
#include "records.h"
#include "storedcomparisons.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>
#include <utility>

namespace {

// The page's messages, in its translation context.
QString pageText(const char* source) {
    return QCoreApplication::translate("FirstPageFor510", source);
}

SessionProblem problem(const char* title, const char* text) {
    return {pageText(title), pageText(text)};
}

} // namespace

ComparisonSession::ComparisonSession(FramePort& port, QObject* parent)
    : QObject(parent), port_(port), clock_([] { return QDateTime::currentDateTime(); }),
      list_(ComparisonListModel::Layout::Current), oldList_(ComparisonListModel::Layout::Old) {
    // An edit in a view renames through the session, so the journal has it first.
    for (ComparisonListModel* model : {&list_, &oldList_})
        model->setRenameHandler(
            [this](int row, const QString& name) { return renameRow(row, name); });
}

ComparisonSession::~ComparisonSession() = default;

std::shared_ptr<PauseLock> ComparisonSession::lock() const {
    return lockSource_ ? lockSource_() : nullptr;
}

QString ComparisonSession::modelName() const {
    return identity_.modelKnown ? identity_.model
                                : pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "UnKnow"));
}

QString ComparisonSession::serialText() const {
    return identity_.keyRead ? QString::number(identity_.serialNumber) : QString();
}

SessionResult ComparisonSession::identify() {
    PauseLocker locker(lock());
    KeyInfo key;
    const CommandStatus status = ReadKeyInfo(port_, key);
    if (status == Status::ErrorReply) {
        // Older firmware has no key-information command; it answers with its error frame.
        if (!succeeded(ReadProductionInfo(port_, key)))
            return problem(
                QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
                QT_TRANSLATE_NOOP("FirstPageFor510", "Failed to read device information!"));
    } else if (!succeeded(status)) {
        return problem(QT_TRANSLATE_NOOP("FirstPageFor510", "Warn"),
                       QT_TRANSLATE_NOOP("FirstPageFor510", "Read key infomation fail!"));
    }
    // Another instrument's standard is not this one's (its list is closed once identified).
    if (identity_.keyRead && identity_.serialNumber != key.serialNumber)
        dropStandard();
    identity_.keyRead = true;
    identity_.serialNumber = key.serialNumber;
    identity_.meterNumber = key.meterNumber;
    identity_.modelKnown = false;
    identity_.model.clear();
    identity_.versionRead = false;

    if (!modelTable_.rows().isEmpty()) {
        const std::optional<ModelRow> row = modelTable_.find(key.meterNumber);
        if (!row)
            return problem(QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
                           QT_TRANSLATE_NOOP("FirstPageFor510", "Read MeterNo Fail!"));
        identity_.modelKnown = true;
        identity_.model = row->model;
        identity_.uiIndex = row->uiIndex;
    }
    int version = 0;
    if (!succeeded(ReadSoftwareVersion(port_, version)))
        return problem(
            QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
            QT_TRANSLATE_NOOP("FirstPageFor510", "Failed to read software version number!"));
    identity_.versionRead = true;
    identity_.firmwareVersion = version;
    profile_ = InstrumentProfile::make(modelName(), identity_.uiIndex, version);
    // Until this instrument reports a mode the page can show, no mode is in force.
    modeReported_ = false;
    configureScanner();
    if (profile_.oldLayout) {
        closeListOfOtherMeaning();
        return {};
    }

    int mode = -1;
    if (!succeeded(ReadDisplayParam(port_, mode)) || !profile_.suits(mode))
        return problem(QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
                       QT_TRANSLATE_NOOP("FirstPageFor510", "Failed to read DisplayParam!"));
    displayMode_ = mode;
    modeReported_ = true;
    configureScanner();
    closeListOfOtherMeaning();
    return {};
}

std::optional<ListMeaning> ComparisonSession::meaningInForce() const {
    if (!identity_.versionRead || (!profile_.oldLayout && !modeReported_))
        return std::nullopt;
    return ListMeaning{profile_.oldLayout, profile_.oldLayout ? 0 : displayMode_, modelName(),
                       serialText()};
}

ListMeaning ComparisonSession::shownMeaning() const {
    if (const std::optional<ListMeaning> listed = list().meaning())
        return *listed;
    if (const std::optional<ListMeaning> inForce = meaningInForce())
        return *inForce;
    ListMeaning none;
    none.oldLayout = openOld_;
    return none;
}

int ComparisonSession::closeListOfOtherMeaning() {
    const std::optional<ListMeaning> inForce = meaningInForce();
    if (!inForce)
        return 0;
    const std::optional<ListMeaning> listed = list().meaning();
    int closed = 0;
    if (listed && *listed != *inForce) {
        closed = list().totalCount();
        closeList();
    }
    openOld_ = inForce->oldLayout;
    if (closed > 0)
        emit listClosed(closed);
    return closed;
}

void ComparisonSession::closeList() {
    // The rows stay in the journal as a finished list; a standard of another mode or instrument
    // is no standard for what follows.
    clearList();
}

void ComparisonSession::configureScanner() {
    if (profile_.oldLayout)
        scanner_.configure(PushFrameScanner::Kind::Legacy, 0);
    else if (profile_.pull == InstrumentProfile::Pull::ModeResult)
        scanner_.configure(PushFrameScanner::Kind::ModeResult, displayMode_);
    else
        scanner_.configure(PushFrameScanner::Kind::ColourBlock, 0);
}

int ComparisonSession::verdictThreshold() const {
    return profile_.judgesWithFormula ? parameterThreshold_ : deltaEThreshold_;
}

JudgingSettings ComparisonSession::judgingSettings() const {
    JudgingSettings s;
    s.oldLayout = profile_.oldLayout;
    s.displayMode = displayMode_;
    s.hazeTolerance = hazeTolerance_;
    s.tTolerance = tTolerance_;
    s.threshold = verdictThreshold();
    if (profile_.oldLayout)
        s.formula = formulaIndex_;
    else
        s.formula = profile_.judgesWithFormula && formulaIndex_ >= 0 && formulaIndex_ <= 6
                        ? formulaIndex_
                        : -1;
    return s;
}

SessionResult ComparisonSession::readTolerance() {
    PauseLocker locker(lock());
    int haze = 0, t = 0, threshold = 0;
    if (!succeeded(ReadTolerance(port_, haze, t, threshold)))
        return problem(
            QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
            QT_TRANSLATE_NOOP("FirstPageFor510", "Failed to Read Tolerance information!"));
    hazeTolerance_ = haze;
    tTolerance_ = t;
    deltaEThreshold_ = threshold;
    return {};
}

SessionResult ComparisonSession::setTolerance(int haze, int t, int threshold) {
    {
        PauseLocker locker(lock());
        if (!succeeded(SetTolerance(port_, haze, t, threshold)))
            return problem(
                QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
                QT_TRANSLATE_NOOP("FirstPageFor510", "Failed to Setup  Tolerance information!"));
    }
    hazeTolerance_ = haze;
    tTolerance_ = t;
    deltaEThreshold_ = threshold;
    rejudge();
    return {};
}

SessionResult ComparisonSession::readParameter() {
    PauseLocker locker(lock());
    int formula = 0, threshold = 0;
    if (!succeeded(ReadDeltaEParam(port_, formula, threshold)))
        return problem(
            QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
            QT_TRANSLATE_NOOP("FirstPageFor510", "Failed to read △E parameter information!"));
    if (profile_.oldLayout && formula > 5)
        formula = 0;
    formulaIndex_ = formula;
    parameterThreshold_ = threshold;
    deltaEThreshold_ = threshold;
    return {};
}

SessionResult ComparisonSession::setParameter(int formula, int threshold) {
    PauseLocker locker(lock());
    // The dE parameter dialog's words, in its translation context.
    if (!succeeded(SetDeltaEParam(port_, formula, threshold)))
        return SessionProblem{
            QCoreApplication::translate("setEParameterPageFor670", "Error"),
            QCoreApplication::translate("setEParameterPageFor670",
                                        "Failed to write △E parameter information!")};
    return {};
}

SessionResult ComparisonSession::setDisplayMode(int mode) {
    if (!profile_.suits(mode))
        return problem(
            QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
            QT_TRANSLATE_NOOP("FirstPageFor510", "Failed to Setup  DisplayParam information!"));
    {
        PauseLocker locker(lock());
        if (!succeeded(SetDisplayParam(port_, mode)))
            return problem(
                QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
                QT_TRANSLATE_NOOP("FirstPageFor510", "Failed to Setup  DisplayParam information!"));
    }
    displayMode_ = mode;
    modeReported_ = true;
    configureScanner();
    closeListOfOtherMeaning();
    return {};
}

void ComparisonSession::rejudge() {
    const std::optional<ListMeaning> meaning = meaningInForce();
    if (!meaning)
        return;
    const JudgingSettings settings = judgingSettings();
    // Rows compared with another product's standard keep the settings of that product.
    const QString product = productInUse_ ? productInUse_->id : QString();
    QList<ComparisonRecord> changed;
    for (const ComparisonRecord& r : list().records()) {
        if (!judging::appliesTo(*meaning, r) || r.productId != product)
            continue;
        const ComparisonRecord again = judging::rejudged(r, settings);
        const JudgingSettings& was = r.settings;
        if (again.pass != r.pass || again.deltaE != r.deltaE ||
            was.hazeTolerance != settings.hazeTolerance || was.tTolerance != settings.tTolerance ||
            was.threshold != settings.threshold || was.formula != settings.formula)
            changed.append(again);
    }
    if (changed.isEmpty() || (journal_ && !journal_->update(changed)))
        return;
    list().update(changed);
}

void ComparisonSession::setStandardValue(int index, int units) {
    if (!standard_ || index < 0 || index >= ComparisonRecord::kValueCount)
        return;
    // A standard typed over is no longer the product's.
    if (standard_->values[size_t(index)] != units)
        leaveProduct();
    standard_->values[size_t(index)] = units;
}

void ComparisonSession::dropStandard() {
    leaveProduct();
    if (!standard_)
        return;
    standard_.reset();
    emit standardChanged();
}

void ComparisonSession::leaveProduct() {
    if (!productInUse_)
        return;
    productInUse_.reset();
    emit productInUseChanged();
}

SessionResult ComparisonSession::measure(int target, InstrumentProfile::Pull command,
                                         std::optional<ComparisonRecord>* compared) {
    if (const SessionResult unknown = modeUnknown())
        return unknown;
    Reading reading;
    CommandStatus status = Status::NotSent;
    {
        PauseLocker locker(lock());
        if (command == InstrumentProfile::Pull::ColourBlock) {
            ColorMeasurementBlock block;
            status = ReadColorMeasurement(port_, block);
            reading = readings::readingOf(block);
        } else if (command == InstrumentProfile::Pull::ModeResult) {
            ModeResultBlock block;
            status = ReadModeResult(port_, displayMode_, block);
            reading = readings::readingOf(block);
        } else {
            LegacyMeasurement measurement;
            status = ReadMeasurementLegacy(port_, measurement);
            reading = readings::readingOf(measurement);
        }
    }
    if (!succeeded(status)) {
        collecting_.clear();
        // A standard that could not be measured is no standard: samples are not compared.
        if (target == 1)
            dropStandard();
        return problem(QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
                       QT_TRANSLATE_NOOP("FirstPageFor510", "Failed to read measurement data!"));
    }
    std::optional<ComparisonRecord> record = collect(target, reading, ComparisonSource::Live);
    if (compared)
        *compared = record;
    return {};
}

ComparisonRecord ComparisonSession::stamped(ComparisonRecord record, ComparisonSource source) {
    record.source = source;
    record.time = clock_().toUTC();
    record.model = modelName();
    record.serialNumber = serialText();
    record.kind = kind();
    return record;
}

void ComparisonSession::setReadingsPerMeasurement(int n) {
    readingsPerMeasurement_ = std::clamp(n, 1, 10);
    collecting_.clear();
}

std::optional<ComparisonRecord> ComparisonSession::collect(int target, const Reading& reading,
                                                           ComparisonSource source,
                                                           bool* complete) {
    if (collecting_.isEmpty() || collectingTarget_ != target) {
        collecting_.clear();
        collectingTarget_ = target;
    }
    collecting_.append(reading);
    const bool done = collecting_.size() >= readingsPerMeasurement_;
    if (complete)
        *complete = done;
    if (!done)
        return std::nullopt;
    const QList<Reading> set = std::exchange(collecting_, {});
    const Reading mean = readings::mean(set, profile_.oldLayout);
    const int spread =
        readings::spread(set, quantities::mainIndex(displayMode_, profile_.oldLayout));
    return takeSet(target, mean, source, int(set.size()), spread);
}

std::optional<ComparisonRecord> ComparisonSession::take(int target, const Reading& reading,
                                                        ComparisonSource source) {
    return takeSet(target, reading, source, 1, -1);
}

std::optional<ComparisonRecord> ComparisonSession::takeSet(int target, const Reading& reading,
                                                           ComparisonSource source, int readings,
                                                           int spread) {
    if (target == 1) {
        leaveProduct();
        standard_ = reading;
        sample_.reset();
        emit standardChanged();
        return std::nullopt;
    }
    sample_ = reading;
    if (!standard_ || modeUnknown())
        return std::nullopt;
    closeListOfOtherMeaning();
    if (!standard_)
        return std::nullopt;
    ComparisonRecord record =
        stamped(judging::compare(*standard_, reading, judgingSettings()), source);
    record.sequence = list().totalCount() + 1;
    record.name = QStringLiteral("Comp%1").arg(comparisonSerial_ + 1);
    record.readings = readings;
    record.spread = spread;
    record.productId = productInUse_ ? productInUse_->id : QString();
    record.lot = lot_;
    if (!append({record}))
        return std::nullopt;
    ++comparisonSerial_;
    return record;
}

QList<Reading> ComparisonSession::feedPushed(const QByteArray& bytes, qint64 elapsedMs) {
    QList<Reading> readings;
    for (const PushFrameScanner::Measurement& m : scanner_.feed(bytes, elapsedMs)) {
        if (profile_.oldLayout) {
            if (m.kind == PushFrameScanner::Kind::Legacy)
                readings.append(readings::readingOf(m.legacy));
        } else if (m.kind == PushFrameScanner::Kind::ModeResult) {
            readings.append(readings::readingOf(m.mode));
        } else if (m.kind == PushFrameScanner::Kind::ColourBlock) {
            readings.append(readings::readingOf(m.colour));
        }
    }
    return readings;
}

bool ComparisonSession::append(const QList<ComparisonRecord>& records) {
    if (records.isEmpty())
        return true;
    const ListMeaning incoming = ListMeaning::of(records.first());
    if (const std::optional<ListMeaning> listed = list().meaning(); listed && *listed != incoming) {
        const int closed = list().totalCount();
        closeList();
        emit listClosed(closed);
    }
    if (journal_ && !journal_->write(records))
        return false;
    openOld_ = incoming.oldLayout;
    list().append(records);
    for (const ComparisonRecord& r : records)
        emit comparisonAdded(r);
    return true;
}

int ComparisonSession::restore(const QList<ComparisonRecord>& records,
                               const std::optional<Reading>& standard, int comparisonSerial) {
    comparisonSerial_ = std::max(comparisonSerial_, comparisonSerial);
    // One list of one meaning: that of the last row; any other row was of a list left behind.
    QList<ComparisonRecord> kept;
    if (!records.isEmpty()) {
        const ListMeaning meaning = ListMeaning::of(records.last());
        for (const ComparisonRecord& r : records)
            if (ListMeaning::of(r) == meaning)
                kept.append(r);
        openOld_ = meaning.oldLayout;
    }
    for (const ComparisonRecord& r : kept)
        // Names are numbered no further than the comparisons counted, so this never repeats one.
        comparisonSerial_ = std::max(comparisonSerial_, r.sequence);
    list().append(kept);
    leaveProduct();
    standard_ = standard;
    emit standardChanged();
    return int(records.size() - kept.size());
}

bool ComparisonSession::removeRow(int row) {
    ComparisonListModel& model = list();
    if (row < 0 || row >= model.totalCount())
        return false;
    if (journal_ && !journal_->markDeleted(model.record(row).id))
        return false;
    return model.remove(row);
}

bool ComparisonSession::renameRow(int row, const QString& name) {
    ComparisonListModel& model = list();
    if (row < 0 || row >= model.totalCount())
        return false;
    if (journal_ && !journal_->rename(model.record(row).id, name))
        return false;
    return model.rename(row, name);
}

void ComparisonSession::clearList() {
    const bool hadRows = list_.totalCount() > 0 || oldList_.totalCount() > 0;
    list_.clear();
    oldList_.clear();
    leaveProduct();
    standard_.reset();
    sample_.reset();
    collecting_.clear();
    nextTarget_ = 1;
    comparisonSerial_ = 0;
    if (hadRows && journal_)
        journal_->listCleared();
    emit standardChanged();
}

SessionResult ComparisonSession::modeUnknown() const {
    if (profile_.oldLayout || modeReported_ || !identity_.versionRead)
        return {};
    return problem(QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
                   QT_TRANSLATE_NOOP("FirstPageFor510", "Failed to read DisplayParam!"));
}

SessionResult ComparisonSession::importRecords(const std::function<void(int)>& started,
                                               const std::function<void(int)>& progress,
                                               ImportResult* result,
                                               const std::function<bool()>& stop, int mode) {
    ImportResult done;
    if (result)
        *result = done;
    const bool old = profile_.oldLayout;
    if (mode < 0) {
        if (const SessionResult unknown = modeUnknown())
            return unknown;
        mode = displayMode_;
    }
    PauseLocker locker(lock());
    int count = 0;
    const CommandStatus counted = old ? ReadColorDiffRecordCount(port_, count)
                                      : ReadModeRecordCount(port_, mode, identity_.uiIndex, count);
    if (counted < 0) {
        if (counted != Status::BadChecksum)
            return problem(
                QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
                QT_TRANSLATE_NOOP("FirstPageFor510",
                                  "Failed to read the number of color difference records!"));
        return old ? problem(QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
                             QT_TRANSLATE_NOOP(
                                 "FirstPageFor510",
                                 "Color difference history data error, unable to export!"))
                   : problem(QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
                             QT_TRANSLATE_NOOP("FirstPageFor510",
                                               "difference history data error, unable to export!"));
    }
    const records::ModeArea area =
        old ? records::ModeArea{records::kOldLayoutData, records::kOldLayoutNames,
                                records::kOldLayoutRecord}
            : records::modeArea(mode);
    const int nameSlot = old ? records::kOldLayoutNameSlot : records::kNameSlot;
    const int dataLength = count * area.recordSize;
    const int dataBlocks = records::chunkCount(dataLength);
    if (started)
        started(dataBlocks + records::chunkCount(count * nameSlot));
    QByteArray data, names;
    const auto step = [&progress](int i) {
        if (progress)
            progress(i);
    };
    if (records::readArea(port_, area.data, dataLength, data, step, stop) < 0)
        return old ? problem(
                         QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
                         QT_TRANSLATE_NOOP("FirstPageFor510",
                                           "Reading color difference recording lab data failed!"))
                   : problem(QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
                             QT_TRANSLATE_NOOP("FirstPageFor510",
                                               "Reading difference recording lab data failed!"));
    // Stopped: the whole records read so far come in, with their names.
    const int whole = area.recordSize > 0 ? int(data.size()) / area.recordSize : 0;
    done.stopped = whole < count;
    if (records::readArea(port_, area.names, whole * nameSlot, names,
                          [&](int i) { step(dataBlocks + i); }) < 0)
        return problem(QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
                       QT_TRANSLATE_NOOP("FirstPageFor510",
                                         "Failed to read color difference record name data!"));
    locker.unlock();
    if (count < 1)
        return old ? SessionResult{}
                   : SessionProblem{
                         pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Info")),
                         pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "No comparison record!")),
                         true};

    JudgingSettings settings = judgingSettings();
    settings.displayMode = old ? 0 : mode;
    const QList<records::Comparison> stored =
        old ? records::decodeOldLayoutRecords(data, names, whole)
            : records::decodeModeRecords(mode, data, names, whole);
    // Records of another mode than the list's start a list of their own.
    const ListMeaning meaning{old, old ? 0 : mode, modelName(), serialText()};
    if (const std::optional<ListMeaning> listed = list().meaning(); listed && *listed != meaning) {
        const int closed = list().totalCount();
        closeList();
        emit listClosed(closed);
    }
    // A record imported again is the same record: it is not listed twice.
    QSet<QUuid> listed;
    for (const ComparisonRecord& r : list().records())
        listed.insert(r.id);
    QList<ComparisonRecord> rows;
    rows.reserve(stored.size());
    const int first = list().totalCount();
    for (int k = 0; k < stored.size(); ++k) {
        ComparisonRecord record =
            stamped(storedcomparisons::fromStored(stored.at(k), settings,
                                                  {serialText(), old, settings.displayMode, k}),
                    ComparisonSource::Imported);
        if (listed.contains(record.id)) {
            ++done.alreadyListed;
            continue;
        }
        listed.insert(record.id);
        record.sequence = first + int(rows.size()) + 1;
        rows.append(record);
    }
    if (!append(rows))
        return problem(QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
                       QT_TRANSLATE_NOOP("FirstPageFor510",
                                         "The records could not be kept in the history; none "
                                         "was added to the list."));
    done.appended = int(rows.size());
    if (result)
        *result = done;
    return {};
}
