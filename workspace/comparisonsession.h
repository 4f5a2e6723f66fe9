#pragma once

#include "comparisonlistmodel.h"
#include "comparisonrecord.h"
#include "instrumentprofile.h"
#include "modeltable.h"
#include "pushframes.h"

#include <QDateTime>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class ComparisonJournal;
class FramePort;
class PauseLock;

// Why a step stopped: the title and text the page shows (translated in its context).
struct SessionProblem {
    QString title;
    QString text;
};
using SessionResult = std::optional<SessionProblem>; // empty: the step succeeded

// A comparison session without widgets: owns the instrument's identity and settings, the
// standard, the comparison lists and the one path by which a comparison reaches them.
class ComparisonSession : public QObject {
    Q_OBJECT
  public:
    struct Identity {
        bool keyRead = false;
        quint32 serialNumber = 0;
        quint32 meterNumber = 0;
        bool modelKnown = false;
        QString model; // from the model table; empty until known
        int uiIndex = 0;
        bool versionRead = false;
        int firmwareVersion = 0;
    };

    explicit ComparisonSession(FramePort& port, QObject* parent = nullptr);
    ~ComparisonSession() override;

    // Where every exchange takes the pause lock from; none by default.
    void setPauseLockSource(std::function<std::shared_ptr<PauseLock>()> source) {
        lockSource_ = std::move(source);
    }
    void setModelTable(const ModelTable& table) { modelTable_ = table; }
    // Local time of the comparisons; they are kept in UTC.
    void setClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }
    // Not owned; null for none.
    void setJournal(ComparisonJournal* journal) { journal_ = journal; }
    FramePort& port() const { return port_; }

    // Identifies the instrument as the page does on connection: identity, profile and (current
    // layout) the display mode. An instrument with another serial number drops the standard.
    SessionResult identify();
    const Identity& identity() const { return identity_; }
    const InstrumentProfile& profile() const { return profile_; }
    bool oldLayout() const { return profile_.oldLayout; }
    // The model name, or tr("UnKnow") until the model table knew the instrument.
    QString modelName() const;
    QString serialText() const;

    // Settings in the instrument's units, -1 until read.
    int displayMode() const { return modeReported_ ? displayMode_ : -1; }
    int hazeTolerance() const { return hazeTolerance_; }
    int tTolerance() const { return tTolerance_; }
    int toleranceThreshold() const { return deltaEThreshold_; }
    int parameterThreshold() const { return parameterThreshold_; }
    int formulaIndex() const { return formulaIndex_; }
    // The threshold verdicts use now (tenths).
    int verdictThreshold() const;
    JudgingSettings judgingSettings() const;

    SessionResult readTolerance();
    // Haze and T tolerance in hundredths, threshold in tenths; re-judges the lists.
    SessionResult setTolerance(int haze, int t, int threshold);
    SessionResult readParameter();
    // Formula and threshold (tenths) as the dE parameter dialog writes them; not read back.
    SessionResult setParameter(int formula, int threshold);
    // Threshold only, formula 0, for colorimeters with a fixed formula.
    SessionResult setThresholdOnly(int threshold) { return setParameter(0, threshold); }
    SessionResult setDisplayMode(int mode);
    // Every comparison of the lists judged again with the settings in force.
    void rejudge();

    // 1: the next measurement is the standard; 2: a sample.
    int nextTarget() const { return nextTarget_; }
    void setNextTarget(int target) { nextTarget_ = target; }
    bool hasStandard() const { return standard_.has_value(); }
    const std::optional<Reading>& standard() const { return standard_; }
    const std::optional<Reading>& lastSample() const { return sample_; }
    // A value the user typed over the standard (index as in Reading::values).
    void setStandardValue(int index, int units);
    void dropStandard();

    // Pulls a measurement for target 1 or 2 with the command given; on success it is collected
    // towards the target's set (taken at once with one reading per measurement). A failed
    // standard leaves no standard and a failed pull discards the set.
    // compared receives the comparison a sample made.
    SessionResult measure(int target, InstrumentProfile::Pull command,
                          std::optional<ComparisonRecord>* compared = nullptr);
    // Takes a reading as the standard (1) or a sample (2). A sample with a standard present is
    // compared and appended; the comparison is returned.
    std::optional<ComparisonRecord> take(int target, const Reading& reading,
                                         ComparisonSource source);
    // Readings averaged into one standard or sample, 1..10 (1: each reading is taken as it is).
    // Changing it discards a set half collected.
    void setReadingsPerMeasurement(int n);
    int readingsPerMeasurement() const { return readingsPerMeasurement_; }
    // A reading towards the set of target 1 or 2 (a reading for the other target starts a new
    // set). When the set is complete its mean is taken as take() takes a reading, the record
    // carrying the count and the sample's spread; until then nothing is taken. complete tells
    // which happened.
    std::optional<ComparisonRecord> collect(int target, const Reading& reading,
                                            ComparisonSource source, bool* complete = nullptr);
    // Readings of the set being collected, and for which target (0 when none).
    int collectedReadings() const { return int(collecting_.size()); }
    int collectingTarget() const { return collecting_.isEmpty() ? 0 : collectingTarget_; }
    // Forgets a set half collected; nothing of it is taken.
    void cancelCollection() { collecting_.clear(); }
    // Bytes the instrument sent on its own; the readings of every whole frame in them.
    QList<Reading> feedPushed(const QByteArray& bytes, qint64 elapsedMs);
    int pendingPushBytes() const { return scanner_.buffered(); }
    void resetPushScanner() { scanner_.reset(); }

    ComparisonListModel& list() { return list_; }
    ComparisonListModel& oldList() { return oldList_; }
    ComparisonListModel& currentList() { return profile_.oldLayout ? oldList_ : list_; }
    const ComparisonListModel& currentList() const { return profile_.oldLayout ? oldList_ : list_; }
    // The one way in: the journal first (a refusal keeps them out), then the list.
    bool append(const QList<ComparisonRecord>& records);
    // A list restored as it was (ids, counters, names kept), with its standard and the number
    // of the last "Comp" name given.
    void restore(const QList<ComparisonRecord>& records, const std::optional<Reading>& standard,
                 int comparisonSerial = 0);
    int comparisonSerial() const { return comparisonSerial_; }
    bool removeRow(int row);
    bool renameRow(int row, const QString& name);
    // Empties the lists, the standard and the name counter.
    void clearList();

    // Reads the comparisons stored in the instrument for the display mode in force (or the old
    // layout's area) and appends them judged with the settings in force. started receives the
    // number of progress steps, progress each step done. imported receives the count.
    SessionResult importRecords(const std::function<void(int)>& started,
                                const std::function<void(int)>& progress, int* imported = nullptr);

  signals:
    void comparisonAdded(const ComparisonRecord& record);
    void standardChanged();

  private:
    std::shared_ptr<PauseLock> lock() const;
    void configureScanner();
    ComparisonRecord stamped(ComparisonRecord record, ComparisonSource source);
    std::optional<ComparisonRecord> takeSet(int target, const Reading& reading,
                                            ComparisonSource source, int readings, int spread);

    FramePort& port_;
    std::function<std::shared_ptr<PauseLock>()> lockSource_;
    std::function<QDateTime()> clock_;
    ModelTable modelTable_;
    ComparisonJournal* journal_ = nullptr;
    Identity identity_;
    InstrumentProfile profile_;
    int displayMode_ = 0;
    bool modeReported_ = false;
    int hazeTolerance_ = -1;
    int tTolerance_ = -1;
    int deltaEThreshold_ = -1;
    int parameterThreshold_ = -1;
    int formulaIndex_ = -1;
    int nextTarget_ = 1;
    std::optional<Reading> standard_;
    std::optional<Reading> sample_;
    int readingsPerMeasurement_ = 1;
    int collectingTarget_ = 0;
    QList<Reading> collecting_;
    int comparisonSerial_ = 0;
    PushFrameScanner scanner_;
    ComparisonListModel list_;
    ComparisonListModel oldList_;
};
