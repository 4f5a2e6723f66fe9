#pragma once

#include "comparisonrecord.h"

#include <QObject>

#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The comparison table above the list, with the two measurement buttons, their colour swatches
// and the verdict bar: what the page shows of the standard, the sample and their comparison.
// Both layouts' widgets come from the form; the panel draws into the set of the layout in use.
class ComparisonPanel : public QObject {
    Q_OBJECT
  public:
    struct Widgets {
        QTableWidget* table = nullptr;
        QPushButton* standardButton = nullptr;
        QPushButton* sampleButton = nullptr;
        QGroupBox* standardBox = nullptr;
        QGroupBox* sampleBox = nullptr;
        QLabel* result = nullptr;
    };

    ComparisonPanel(const Widgets& current, const Widgets& old, QObject* parent = nullptr);

    void setOldLayout(bool old) { old_ = old; }
    // Tighter rows on a short screen.
    void setCompact(bool compact);
    // The fixed texts in the interface's language; a comparison on show is written again.
    void relabel();
    // Both layouts back to their placeholders, neutral bar, the standard button marked next.
    void reset();

    // The column of target 1 (standard) or 2 (sample) blanked and marked as the next one.
    void prepare(int target);
    void showSide(int target, const Reading& reading);
    void blankSide(int target);
    // A new standard: the sample side and the verdict blanked.
    void afterStandard();
    void showComparison(const ComparisonRecord& record);
    // The comparison on show, judged again with the standard on show and new settings.
    void rejudge(const std::optional<Reading>& standard, const JudgingSettings& settings);
    const std::optional<ComparisonRecord>& shown() const { return shown_; }
    // "Reading k of n" while a set is collected; k = 0 puts back what was shown before it.
    void showCollecting(int k, int n);
    // The history keeps the standard's numbers, not its colour: a neutral swatch.
    void neutralStandardSwatch();
    // The rows display mode 0..6 measures; the others hidden.
    void showRowsOf(int displayMode);

  signals:
    // A number typed over the standard (index as in Reading::values), in the instrument's units:
    // the one the next comparisons use.
    void standardTyped(int index, int units);
    // A text that is not a number, refused when its cell was left; the cell shows `inUse` again.
    void standardRefused(const QString& typed, const QString& inUse);

  private:
    const Widgets& in() const { return old_ ? oldWidgets_ : current_; }
    void resetTable(bool old);
    void showVerdict(bool pass);
    void neutralVerdict();
    void keepRowsInView(QTableWidget* table);
    void standardEdited(int index, const QString& text);
    void standardEditFinished(int index, QLineEdit* edit);

    Widgets current_;
    Widgets oldWidgets_;
    bool old_ = false;
    bool compact_ = false;
    std::optional<ComparisonRecord> shown_;
    // The standard the comparisons use now, typed-over values included; none before one.
    std::optional<Reading> standard_;
};
