#include "comparisonpanel.h"

#include "colour.h"
#include "comparisonrows.h"
#include "judging.h"
#include "quantities.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>

#include <cmath>

namespace {

const QString kPlaceholder = QStringLiteral("-----");
const QString kGreySwatch = QStringLiteral("background-color: rgb(180, 180, 180);");
const QString kBlueButton =
    QStringLiteral("color: rgb(0, 0, 255); background-color: rgb(255, 255, 255);");
const QString kBlackButton =
    QStringLiteral("color: rgb(0, 0, 0);background-color: rgb(255, 255, 255);");
const QString kBlueEdit = QStringLiteral("color: rgb(0, 0, 255);");
const QString kBlackEdit = QStringLiteral("color: rgb(0, 0, 0);");
// Before the first comparison and after clearing the bar says nothing: no green that reads as PASS.
const QString kNeutralResult = QStringLiteral("QLabel{background-color: rgb(220, 220, 220);}");
const QString kCollectingResult = QStringLiteral("QLabel{background-color: rgb(255, 235, 160);}");
constexpr int kValueRows = ComparisonRecord::kValueCount;
constexpr int kDeltaERow = 12;
constexpr int kOldValueRows = ComparisonRecord::kOldValueCount;
constexpr int kOldDeltaERow = 6;

const colour::DeviationAxis kAxes[] = {colour::DeviationAxis::Lightness,
                                       colour::DeviationAxis::RedGreen,
                                       colour::DeviationAxis::YellowBlue};

QString colorimeterText(const char* source) {
    return QCoreApplication::translate(colour::kFormulaContext, source);
}
QString pageText(const char* source) {
    return QCoreApplication::translate("FirstPageFor510", source);
}

QTableWidgetItem* centredItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

int valueRows(bool old) {
    return old ? kOldValueRows : kValueRows;
}
int deltaERow(bool old) {
    return old ? kOldDeltaERow : kDeltaERow;
}
// Cells with nothing to say: beside ΔE, and the deviation words of quantities without one.
bool emptyCell(bool old, int row, int column) {
    return (row == deltaERow(old) && column != 3) ||
           (column == 4 && (old ? row > 3 : (row == 7 || row == 8)));
}
QLineEdit* standardEdit(QTableWidget* table, int row) {
    return static_cast<QLineEdit*>(table->cellWidget(row, 1));
}

// A value typed over the standard, in the interface's locale (the "%" of haze and T may stay);
// empty when it is not a number.
std::optional<int> typedValue(int index, const QString& text) {
    QString typed = text.trimmed();
    if (quantities::isPercent(index) && typed.endsWith(QLatin1Char('%')))
        typed.chop(1);
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = locale.toDouble(typed.trimmed(), &ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) >= 1e6)
        return std::nullopt;
    return quantities::unitsOf(index, value);
}

} // namespace

ComparisonPanel::ComparisonPanel(const Widgets& current, const Widgets& old, QObject* parent)
    : QObject(parent), current_(current), oldWidgets_(old) {
    for (QTableWidget* table : {current_.table, oldWidgets_.table}) {
        const bool isOld = table == oldWidgets_.table;
        table->setRowCount(deltaERow(isOld) + 1);
        table->setColumnCount(5);
        table->setStyleSheet(QStringLiteral("background:#ffffff;"));
        table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
        table->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
        table->horizontalHeader()->hide();
        table->verticalHeader()->hide();
        table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        // The table takes the height the panels beside it need and no more; its rows stretch.
        table->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
        for (int column = 0; column < 5; ++column)
            table->setItem(0, column, centredItem(QString()));
        for (int row = 1; row <= deltaERow(isOld); ++row)
            table->setItem(row, 0, centredItem(QString()));
    }
    relabel();
    resetTable(false);
    resetTable(true);
    keepRowsInView(oldWidgets_.table);
}

void ComparisonPanel::relabel() {
    for (QTableWidget* table : {current_.table, oldWidgets_.table}) {
        table->item(0, 1)->setText(QCoreApplication::translate("QObject", "Standard"));
        table->item(0, 2)->setText(QCoreApplication::translate("QObject", "Sample"));
        table->item(0, 3)->setText(colorimeterText(QT_TRANSLATE_NOOP("Colorimeter", "△")));
    }
    const QStringList labels = {pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Haze")),
                                pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Transmittance")),
                                QStringLiteral("L*"),
                                QStringLiteral("a*"),
                                QStringLiteral("b*"),
                                QStringLiteral("L*"),
                                QStringLiteral("C*"),
                                QStringLiteral("h"),
                                QStringLiteral("Y"),
                                QStringLiteral("x"),
                                QStringLiteral("y"),
                                colorimeterText(QT_TRANSLATE_NOOP("Colorimeter", "△E"))};
    for (int row = 1; row <= kDeltaERow; ++row)
        current_.table->item(row, 0)->setText(labels[row - 1]);
    const QStringList oldLabels = {QStringLiteral("L*"), QStringLiteral("a*"), QStringLiteral("b*"),
                                   QStringLiteral("C*"), QStringLiteral("h"),  labels.last()};
    for (int row = 1; row <= kOldDeltaERow; ++row)
        oldWidgets_.table->item(row, 0)->setText(oldLabels[row - 1]);
    nameStandardCells();
    // Words and verdict from the numbers, in the new language.
    if (shown_) {
        const bool was = old_;
        old_ = shown_->settings.oldLayout;
        showComparison(*shown_);
        old_ = was;
    }
}

// Every value cell back to its placeholder, as after construction.
void ComparisonPanel::resetTable(bool old) {
    QTableWidget* table = old ? oldWidgets_.table : current_.table;
    for (int row = 1; row <= deltaERow(old); ++row) {
        for (int column = 1; column <= 4; ++column)
            table->setItem(row, column,
                           centredItem(emptyCell(old, row, column) ? QString() : kPlaceholder));
        if (old || row == kDeltaERow)
            continue;
        // The standard column is editable: a value typed over is the one the next comparisons use.
        auto* edit = new QLineEdit(kPlaceholder);
        edit->setAlignment(Qt::AlignCenter);
        edit->setFrame(false);
        edit->setStyleSheet(kBlueEdit);
        const int index = row - 1;
        connect(edit, &QLineEdit::textChanged, this,
                [this, index](const QString& text) { standardEdited(index, text); });
        connect(edit, &QLineEdit::editingFinished, this,
                [this, index, edit] { standardEditFinished(index, edit); });
        table->setCellWidget(row, 1, edit);
    }
    table->item(0, 1)->setForeground(Qt::black);
    table->item(0, 2)->setForeground(Qt::black);
    if (old)
        return;
    nameStandardCells();
    // The standard's cells come right after the table in the tab order.
    QWidget* previous = table;
    for (int row = 1; row < kDeltaERow; ++row) {
        QWidget::setTabOrder(previous, table->cellWidget(row, 1));
        previous = table->cellWidget(row, 1);
    }
}

// The standard's cells are fields a screen reader names: "Standard Haze", "Standard L*".
void ComparisonPanel::nameStandardCells() {
    QTableWidget* table = current_.table;
    const QString standard = QCoreApplication::translate("QObject", "Standard");
    for (int row = 1; row < kDeltaERow; ++row)
        if (auto* edit = qobject_cast<QLineEdit*>(table->cellWidget(row, 1)))
            edit->setAccessibleName(standard + QLatin1Char(' ') + table->item(row, 0)->text());
}

// A value typed over the standard is the one the next comparisons use. The panel's own texts
// (the measured values and the placeholder) change nothing.
void ComparisonPanel::standardEdited(int index, const QString& text) {
    if (!standard_ || text == kPlaceholder ||
        text == quantities::valueText(index, standard_->values[size_t(index)]))
        return;
    if (const std::optional<int> units = typedValue(index, text)) {
        standard_->values[size_t(index)] = *units;
        emit standardTyped(index, *units);
    }
}

void ComparisonPanel::standardEditFinished(int index, QLineEdit* edit) {
    if (!standard_ || edit->text() == kPlaceholder || typedValue(index, edit->text()))
        return;
    const QString typed = edit->text();
    const QString inUse = quantities::valueText(index, standard_->values[size_t(index)]);
    edit->setText(inUse);
    emit standardRefused(typed, inUse);
}

void ComparisonPanel::reset() {
    for (bool old : {false, true}) {
        resetTable(old);
        const Widgets& w = old ? oldWidgets_ : current_;
        w.standardBox->setStyleSheet(kGreySwatch);
        w.sampleBox->setStyleSheet(kGreySwatch);
        w.sampleButton->setStyleSheet(kBlackButton);
        w.standardButton->setStyleSheet(kBlueButton);
        w.result->clear();
        w.result->setStyleSheet(kNeutralResult);
    }
    shown_.reset();
    standard_.reset();
}

void ComparisonPanel::prepare(int target) {
    QTableWidget* table = in().table;
    const int column = target == 1 ? 1 : 2;
    const int other = target == 1 ? 2 : 1;
    table->item(0, column)->setForeground(Qt::blue);
    table->item(0, other)->setForeground(Qt::black);
    for (int row = 1; row <= valueRows(old_); ++row) {
        if (!old_ && column == 1) {
            standardEdit(table, row)->setText(kPlaceholder);
            standardEdit(table, row)->setStyleSheet(kBlueEdit);
            table->item(row, 2)->setForeground(Qt::black);
        } else {
            table->item(row, column)->setText(kPlaceholder);
            table->item(row, column)->setForeground(Qt::blue);
            if (!old_ && other == 1)
                standardEdit(table, row)->setStyleSheet(kBlackEdit);
            else
                table->item(row, other)->setForeground(Qt::black);
        }
    }
    (target == 1 ? in().standardButton : in().sampleButton)->setStyleSheet(kBlueButton);
    (target == 1 ? in().sampleButton : in().standardButton)->setStyleSheet(kBlackButton);
    // The reset is shown before the exchange blocks this thread.
    table->repaint();
}

void ComparisonPanel::showSide(int target, const Reading& reading) {
    QTableWidget* table = in().table;
    // Only the current layout's standard takes typed values.
    if (target == 1)
        standard_ = old_ ? std::nullopt : std::optional<Reading>(reading);
    const int column = target == 1 ? 1 : 2;
    for (int row = 1; row <= valueRows(old_); ++row) {
        const int units = reading.values[size_t(row - 1)];
        // The old table shows h with the two decimals the instrument sends.
        const QString text =
            old_ ? QString::number(units / 100.0, 'f', 2) : quantities::valueText(row - 1, units);
        if (!old_ && column == 1)
            standardEdit(table, row)->setText(text);
        else
            table->item(row, column)->setText(text);
    }
    (target == 1 ? in().standardBox : in().sampleBox)
        ->setStyleSheet(QStringLiteral("background-color: rgb(%1, %2, %3);")
                            .arg(reading.red)
                            .arg(reading.green)
                            .arg(reading.blue));
}

void ComparisonPanel::blankSide(int target) {
    QTableWidget* table = in().table;
    if (target == 1)
        standard_.reset();
    const int column = target == 1 ? 1 : 2;
    for (int row = 1; row <= valueRows(old_); ++row) {
        if (!old_ && column == 1)
            standardEdit(table, row)->setText(kPlaceholder);
        else
            table->item(row, column)->setText(kPlaceholder);
    }
    table->repaint();
}

void ComparisonPanel::neutralStandardSwatch() {
    in().standardBox->setStyleSheet(kGreySwatch);
}

// A new standard blanks the sample side; the list keeps its comparisons.
void ComparisonPanel::afterStandard() {
    shown_.reset();
    QTableWidget* table = in().table;
    for (int row = 1; row <= deltaERow(old_); ++row) {
        for (int column = 2; column <= 4; ++column) {
            QTableWidgetItem* item = table->item(row, column);
            item->setText(emptyCell(old_, row, column) ? QString() : kPlaceholder);
            item->setTextAlignment(Qt::AlignCenter);
            item->setForeground(Qt::black);
        }
    }
    table->item(deltaERow(old_), 1)->setText(QString());
    neutralVerdict();
    in().sampleBox->setStyleSheet(kGreySwatch);
    in().sampleButton->setStyleSheet(kBlackButton);
}

void ComparisonPanel::showVerdict(bool pass) {
    in().result->setText(colour::verdictText(pass));
    in().result->setStyleSheet(colour::verdictLabelStyle(pass));
}

void ComparisonPanel::neutralVerdict() {
    in().result->clear();
    in().result->setStyleSheet(kNeutralResult);
}

void ComparisonPanel::showComparison(const ComparisonRecord& r) {
    shown_ = r;
    const bool old = r.settings.oldLayout;
    QTableWidget* table = (old ? oldWidgets_ : current_).table;
    for (int i = 0; i < valueRows(old); ++i) {
        const int difference = r.sample[size_t(i)] - r.standard[size_t(i)];
        const double number = old ? difference / 100.0 : quantities::valueNumber(i, difference);
        QString text = QString::number(number, 'g', 6);
        if (!old && quantities::isPercent(i))
            text += QLatin1Char('%');
        table->item(i + 1, 3)->setText(text);
    }
    const int firstWord = old ? 0 : 2;
    for (int k = 0; k < 3; ++k) {
        const int i = firstWord + k;
        table->item(i + 1, 4)->setText(
            colour::deviationWordHundredths(kAxes[k], r.sample[size_t(i)] - r.standard[size_t(i)]));
    }
    table->item(deltaERow(old), 3)->setText(comparisonrows::hundredthsText(r.deltaE));
    for (int row = 1; row <= deltaERow(old); ++row) {
        for (int column = 3; column <= 4; ++column) {
            table->item(row, column)->setTextAlignment(Qt::AlignCenter);
            table->item(row, column)->setForeground(Qt::black);
        }
    }
    showVerdict(r.pass);
}

void ComparisonPanel::rejudge(const std::optional<Reading>& standard,
                              const JudgingSettings& settings) {
    if (!shown_)
        return;
    ComparisonRecord r = *shown_;
    // The values on show, a typed-over standard included.
    if (standard)
        r.standard = standard->values;
    r.settings = settings;
    judging::judge(r);
    shown_ = r;
    in().table->item(deltaERow(old_), 3)->setText(comparisonrows::hundredthsText(r.deltaE));
    showVerdict(r.pass);
}

void ComparisonPanel::showCollecting(int k, int n) {
    if (k > 0) {
        in().result->setText(
            pageText(QT_TRANSLATE_NOOP("FirstPageFor510", "Reading %1 of %2")).arg(k).arg(n));
        in().result->setStyleSheet(kCollectingResult);
        return;
    }
    // The set was dropped: the comparison it was to follow is shown whole again, sample included.
    if (shown_) {
        Reading sample;
        sample.values = shown_->sample;
        const QString swatch = in().sampleBox->styleSheet();
        showSide(2, sample);
        in().sampleBox->setStyleSheet(swatch);
        showComparison(*shown_);
    } else {
        neutralVerdict();
    }
}

void ComparisonPanel::setCompact(bool compact) {
    compact_ = compact;
    keepRowsInView(current_.table);
    keepRowsInView(oldWidgets_.table);
}

void ComparisonPanel::showRowsOf(int displayMode) {
    for (int row = 1; row < kDeltaERow; ++row)
        current_.table->setRowHidden(row, !quantities::measures(displayMode, row - 1));
    // ΔE where the mode measures colour.
    current_.table->setRowHidden(kDeltaERow, displayMode >= 0 && displayMode <= 2);
    keepRowsInView(current_.table);
}

// The comparison table gives up height to the list, but never so much that a row goes.
void ComparisonPanel::keepRowsInView(QTableWidget* table) {
    int rows = 0;
    for (int row = 0; row < table->rowCount(); ++row)
        rows += table->isRowHidden(row) ? 0 : 1;
    const int line = table->fontMetrics().height() + (compact_ ? 0 : 6);
    // Stretched rows never go below the header's floor, which must then be the line.
    table->verticalHeader()->setMinimumSectionSize(line);
    table->setMinimumHeight(rows * line + 2 * table->frameWidth());
    // The panels around it keep their measured size otherwise, and the verdict bar would be
    // laid over the last rows.
    for (QWidget* w = table->parentWidget(); w && !w->isWindow(); w = w->parentWidget())
        w->updateGeometry();
}
