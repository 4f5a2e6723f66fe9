#pragma once

#include "comparisonlistmodel.h"
#include "comparisonrecord.h"
#include "instrumentprofile.h"
#include "modeltable.h"
#include "productcatalog.h"
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
    // Nothing went wrong; there was nothing to do (no stored records).
    bool notice = false;
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
    // Where products are kept; not owned, null for none (products are refused then).
    void setCatalog(ProductCatalog* catalog) { catalog_ = catalog; }
    ProductCatalog* catalog() const { return catalog_; }
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
    InstrumentKind kind() const { return instrumentKind(identity_.uiIndex); }
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
    // A mode the instrument took closes a list of another mode into the journal.
    SessionResult setDisplayMode(int mode);
    // The comparisons of the list set on the instrument in force judged again with its settings;
    // the journal has them before the list shows them.
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

    // The open list: one list, of one meaning (layout, display mode, instrument). Its model is
    // the one of its layout; the model of the other layout is empty.
    ComparisonListModel& list() { return openOld_ ? oldList_ : list_; }
    const ComparisonListModel& list() const { return openOld_ ? oldList_ : list_; }
    // The model of a layout, for the view bound to it.
    ComparisonListModel& listModel(bool oldLayout) { return oldLayout ? oldList_ : list_; }
    // What a new comparison would be: the layout, display mode and instrument in force; empty
    // until the instrument has been identified and has reported its mode.
    std::optional<ListMeaning> meaningInForce() const;
    // What the list shows: its rows' meaning, or the one in force for an empty list.
    ListMeaning shownMeaning() const;
    // The one way in: the journal first (a refusal keeps them out), then the list. Records of
    // another meaning than the list's close the list first.
    bool append(const QList<ComparisonRecord>& records);
    // A list restored as it was (ids, counters, names kept), with its standard and the number
    // of the last "Comp" name given. Rows of a meaning other than the last row's are closed.
    // Returns the number of rows left out.
    int restore(const QList<ComparisonRecord>& records, const std::optional<Reading>& standard,
                int comparisonSerial = 0);
    int comparisonSerial() const { return comparisonSerial_; }
    bool removeRow(int row);
    bool renameRow(int row, const QString& name);
    // Empties the list, the standard and the name counter.
    void clearList();
    // Closes the list into the journal when its meaning is not the one in force; the number of
    // comparisons moved.
    int closeListOfOtherMeaning();

    // What an import did: rows appended, rows already on the list, whether it was stopped.
    struct ImportResult {
        int appended = 0;
        int alreadyListed = 0;
        bool stopped = false;
    };
    // Reads the comparisons stored in the instrument for display mode `mode` (-1: the mode in
    // force; the old layout reads its own area) and appends them judged with the settings in
    // force. started receives the number of progress steps, progress each step done; stop() is
    // asked between steps and stops after the records read so far.
    SessionResult importRecords(const std::function<void(int)>& started,
                                const std::function<void(int)>& progress,
                                ImportResult* result = nullptr,
                                const std::function<bool()>& stop = {}, int mode = -1);

    // Products: a stored standard with its settings.
    // Saves the standard on show with the settings in force as a product of this model; it is
    // the product in use from then on. Refused without a standard, with settings not read yet,
    // and with a name in use for the model.
    SessionResult saveProduct(const QString& name, Product* saved = nullptr);
    // Settings out of the ranges Setup and the dE parameter dialog take, with their messages.
    static SessionResult productSettingsProblem(const Product& product);
    // Why this instrument cannot take the product (another model or layout, a display mode it
    // cannot show, settings out of range); empty when it can.
    SessionResult productFits(const Product& product) const;
    // Writes the product's tolerances, threshold and formula to the instrument as Setup and the
    // dE parameter do, sets its display mode where it differs (a list of another mode closes),
    // then takes its standard without measuring: the next measurement is a sample. Comparisons
    // made then carry the product. Settings written re-judge only the rows of this product.
    SessionResult useProduct(const Product& product);
    // The product whose standard is on show; none once a standard is measured, typed over,
    // dropped or cleared.
    const std::optional<Product>& productInUse() const { return productInUse_; }
    // After a restart: the product of the restored standard, without writing anything.
    void resumeProduct(const Product& product);
    // The lot every new comparison carries (empty: none); kept until changed.
    void setLot(const QString& lot);
    const QString& lot() const { return lot_; }

  signals:
    void comparisonAdded(const ComparisonRecord& record);
    void standardChanged();
    // The list's rows were closed into the journal: `count` comparisons of another meaning.
    void listClosed(int count);
    void productInUseChanged();
    void lotChanged(const QString& lot);

  private:
    std::shared_ptr<PauseLock> lock() const;
    void configureScanner();
    ComparisonRecord stamped(ComparisonRecord record, ComparisonSource source);
    std::optional<ComparisonRecord> takeSet(int target, const Reading& reading,
                                            ComparisonSource source, int readings, int spread);
    void closeList();
    // The problem of measuring while the instrument's mode is not known.
    SessionResult modeUnknown() const;
    void leaveProduct();
    SessionResult writeProductSettings(const JudgingSettings& settings, bool& written);

    FramePort& port_;
    std::function<std::shared_ptr<PauseLock>()> lockSource_;
    std::function<QDateTime()> clock_;
    ModelTable modelTable_;
    ComparisonJournal* journal_ = nullptr;
    ProductCatalog* catalog_ = nullptr;
    std::optional<Product> productInUse_;
    QString lot_;
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
    bool openOld_ = false;
};
