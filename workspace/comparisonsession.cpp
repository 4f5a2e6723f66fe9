#include "comparisonsession.h"

#include "comparisonjournal.h"
#include "comparisonrows.h"
#include "deviceinfocommands.h"
#include "frameport.h"
#include "measurementcommands.h"
#include "pauselock.h"
#include "readingaverage.h"
#include "records.h"

#include <QCoreApplication>

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
    for (ComparisonListModel* model : {&list_, &oldList_}) {
        connect(model, &ComparisonListModel::renamed, this,
                [this](const QUuid& id, const QString& name) {
                    if (journal_)
                        journal_->rename(id, name);
                });
        connect(model, &ComparisonListModel::removed, this, [this](const QUuid& id) {
            if (journal_)
                journal_->markDeleted(id);
        });
    }
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
    // Rows of another instrument stay as they are, but its standard is not this one's.
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
    configureScanner();
    if (profile_.oldLayout)
        return {};

    int mode = -1;
    if (!succeeded(ReadDisplayParam(port_, mode)) || !profile_.suits(mode))
        return problem(QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
                       QT_TRANSLATE_NOOP("FirstPageFor510", "Failed to read DisplayParam!"));
    displayMode_ = mode;
    modeReported_ = true;
    configureScanner();
    return {};
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
    if (!succeeded(SetDeltaEParam(port_, formula, threshold)))
        return SessionProblem{QStringLiteral("Error"),
                              QStringLiteral("Failed to write △E parameter information!")};
    return {};
}

SessionResult ComparisonSession::setDisplayMode(int mode) {
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
    return {};
}

void ComparisonSession::rejudge() {
    const JudgingSettings settings = judgingSettings();
    currentList().rejudge(settings);
}

void ComparisonSession::setStandardValue(int index, int units) {
    if (!standard_ || index < 0 || index >= ComparisonRecord::kValueCount)
        return;
    standard_->values[size_t(index)] = units;
}

void ComparisonSession::dropStandard() {
    if (!standard_)
        return;
    standard_.reset();
    emit standardChanged();
}

SessionResult ComparisonSession::measure(int target, InstrumentProfile::Pull command,
                                         std::optional<ComparisonRecord>* compared) {
    Reading reading;
    CommandStatus status = Status::NotSent;
    {
        PauseLocker locker(lock());
        if (command == InstrumentProfile::Pull::ColourBlock) {
            ColorMeasurementBlock block;
            status = ReadColorMeasurement(port_, block);
            reading = comparisonrows::readingOf(block);
        } else if (command == InstrumentProfile::Pull::ModeResult) {
            ModeResultBlock block;
            status = ReadModeResult(port_, displayMode_, block);
            reading = comparisonrows::readingOf(block);
        } else {
            LegacyMeasurement measurement;
            status = ReadMeasurementLegacy(port_, measurement);
            reading = comparisonrows::readingOf(measurement);
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
    const Reading mean = readingaverage::mean(set, profile_.oldLayout);
    const int spread =
        readingaverage::spread(set, readingaverage::mainIndex(displayMode_, profile_.oldLayout));
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
        standard_ = reading;
        sample_.reset();
        emit standardChanged();
        return std::nullopt;
    }
    sample_ = reading;
    if (!standard_)
        return std::nullopt;
    ComparisonRecord record =
        stamped(comparisonrows::compare(*standard_, reading, judgingSettings()), source);
    record.sequence = currentList().totalCount() + 1;
    record.name = QStringLiteral("Comp%1").arg(comparisonSerial_ + 1);
    record.readings = readings;
    record.spread = spread;
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
                readings.append(comparisonrows::readingOf(m.legacy));
        } else if (m.kind == PushFrameScanner::Kind::ModeResult) {
            readings.append(comparisonrows::readingOf(m.mode));
        } else if (m.kind == PushFrameScanner::Kind::ColourBlock) {
            readings.append(comparisonrows::readingOf(m.colour));
        }
    }
    return readings;
}

bool ComparisonSession::append(const QList<ComparisonRecord>& records) {
    if (journal_ && !journal_->write(records))
        return false;
    currentList().append(records);
    for (const ComparisonRecord& r : records)
        emit comparisonAdded(r);
    return true;
}

void ComparisonSession::restore(const QList<ComparisonRecord>& records,
                                const std::optional<Reading>& standard, int comparisonSerial) {
    comparisonSerial_ = std::max(comparisonSerial_, comparisonSerial);
    QList<ComparisonRecord> current, old;
    for (const ComparisonRecord& r : records) {
        (r.settings.oldLayout ? old : current).append(r);
        // Names are numbered no further than the comparisons counted, so this never repeats one.
        comparisonSerial_ = std::max(comparisonSerial_, r.sequence);
    }
    list_.append(current);
    oldList_.append(old);
    standard_ = standard;
    emit standardChanged();
}

bool ComparisonSession::removeRow(int row) {
    return currentList().remove(row);
}

bool ComparisonSession::renameRow(int row, const QString& name) {
    return currentList().rename(row, name);
}

void ComparisonSession::clearList() {
    const bool hadRows = list_.totalCount() > 0 || oldList_.totalCount() > 0;
    list_.clear();
    oldList_.clear();
    standard_.reset();
    sample_.reset();
    collecting_.clear();
    nextTarget_ = 1;
    comparisonSerial_ = 0;
    if (hadRows && journal_)
        journal_->listCleared();
    emit standardChanged();
}

SessionResult ComparisonSession::importRecords(const std::function<void(int)>& started,
                                               const std::function<void(int)>& progress,
                                               int* imported) {
    if (imported)
        *imported = 0;
    const bool old = profile_.oldLayout;
    PauseLocker locker(lock());
    int count = 0;
    const CommandStatus counted =
        old ? ReadColorDiffRecordCount(port_, count)
            : ReadModeRecordCount(port_, displayMode_, identity_.uiIndex, count);
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
            : records::modeArea(displayMode_);
    const int nameSlot = old ? records::kOldLayoutNameSlot : records::kNameSlot;
    const int dataLength = count * area.recordSize;
    const int dataBlocks = records::chunkCount(dataLength);
    if (started)
        started(dataBlocks + records::chunkCount(count * nameSlot));
    QByteArray data, names;
    if (records::readArea(port_, area.data, dataLength, data, [&](int i) {
            if (progress)
                progress(i);
        }) < 0)
        return old ? problem(
                         QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
                         QT_TRANSLATE_NOOP("FirstPageFor510",
                                           "Reading color difference recording lab data failed!"))
                   : problem(QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
                             QT_TRANSLATE_NOOP("FirstPageFor510",
                                               "Reading difference recording lab data failed!"));
    if (records::readArea(port_, area.names, count * nameSlot, names, [&](int i) {
            if (progress)
                progress(dataBlocks + i);
        }) < 0)
        return problem(QT_TRANSLATE_NOOP("FirstPageFor510", "Error"),
                       QT_TRANSLATE_NOOP("FirstPageFor510",
                                         "Failed to read color difference record name data!"));
    locker.unlock();
    if (count < 1)
        return old ? SessionResult{}
                   : problem(QT_TRANSLATE_NOOP("FirstPageFor510", "Info"),
                             QT_TRANSLATE_NOOP("FirstPageFor510", "No comparison record!"));

    const JudgingSettings settings = judgingSettings();
    const QList<records::Comparison> stored =
        old ? records::decodeOldLayoutRecords(data, names, count)
            : records::decodeModeRecords(displayMode_, data, names, count);
    QList<ComparisonRecord> rows;
    rows.reserve(stored.size());
    const int first = currentList().totalCount();
    for (const records::Comparison& one : stored) {
        ComparisonRecord record =
            stamped(comparisonrows::fromStored(one, settings), ComparisonSource::Imported);
        record.sequence = first + int(rows.size()) + 1;
        rows.append(record);
    }
    append(rows);
    if (imported)
        *imported = int(rows.size());
    return {};
}
