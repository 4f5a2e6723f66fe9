#include "statisticspanel.h"

#include "statisticssheet.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

StatisticsPanel::StatisticsPanel(QWidget* parent)
    : QWidget(parent), table_(new QTableWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(table_);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    fill();
}

void StatisticsPanel::setData(const QVector<analysis::Column>& columns,
                              const QVector<bool>& passes) {
    columns_ = columns;
    summaries_ = analysis::summarizeAll(columns);
    verdicts_ = analysis::countVerdicts(passes);
    fill();
}

void StatisticsPanel::fill() {
    const QStringList headings = analysis::statisticsHeadings();
    const QStringList verdictLabels = analysis::verdictRowLabels();
    const int quantities = int(columns_.size());
    table_->setColumnCount(int(headings.size()));
    table_->setHorizontalHeaderLabels(headings);
    table_->setRowCount(quantities + 3);
    auto put = [this](int row, int column, const QString& text) {
        auto* item = new QTableWidgetItem(text);
        item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                           : Qt::AlignRight | Qt::AlignVCenter);
        table_->setItem(row, column, item);
    };
    for (int i = 0; i < quantities; ++i) {
        const analysis::Summary& s = summaries_.at(i);
        const int d = columns_.at(i).decimals;
        put(i, 0, columns_.at(i).heading);
        put(i, 1, QString::number(s.n));
        put(i, 2, analysis::figureText(s.mean, d));
        put(i, 3, analysis::figureText(s.sd, d));
        put(i, 4, analysis::figureText(s.minimum, d));
        put(i, 5, analysis::figureText(s.maximum, d));
        put(i, 6, analysis::figureText(s.range, d));
    }
    put(quantities, 0, verdictLabels.at(0));
    put(quantities, 1, QString::number(verdicts_.pass));
    put(quantities + 1, 0, verdictLabels.at(1));
    put(quantities + 1, 1, QString::number(verdicts_.ng));
    put(quantities + 2, 0, verdictLabels.at(2));
    put(quantities + 2, 1, analysis::figureText(verdicts_.passRate(), 1));
}

void StatisticsPanel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        fill();
    QWidget::changeEvent(event);
}
