#include "statisticspanel.h"

#include "statisticssheet.h"

#include <QEvent>
#include <QHeaderView>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kColumns = 7;

} // namespace

StatisticsPanel::StatisticsPanel(QWidget* parent)
    : QWidget(parent), table_(new QTableWidget(this)), capabilityTable_(new QTableWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(table_, 3);
    layout->addWidget(capabilityTable_, 1);
    table_->setObjectName(QStringLiteral("table_statistics"));
    capabilityTable_->setObjectName(QStringLiteral("table_capability"));
    for (QTableWidget* t : {table_, capabilityTable_})
        t->setTabKeyNavigation(false);
    capabilityTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    capabilityTable_->verticalHeader()->hide();
    capabilityTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    capabilityTable_->setColumnCount(4);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
    // Sized here from the font rather than by the view measuring every item on every change.
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table_->setColumnCount(kColumns);
    fill(true);
}

void StatisticsPanel::setData(const QVector<analysis::Column>& columns,
                              const QVector<bool>& passes) {
    const bool relabel = columns.size() != columns_.size() ||
                         std::equal(columns.begin(), columns.end(), columns_.begin(),
                                    [](const analysis::Column& a, const analysis::Column& b) {
                                        return a.heading == b.heading;
                                    }) == false;
    summaries_ = analysis::summarizeAll(columns);
    // Only the headings and decimals are kept: the values stay with their owner, who reuses
    // their buffers.
    columns_.resize(columns.size());
    for (qsizetype i = 0; i < columns.size(); ++i)
        columns_[i] = analysis::Column{columns.at(i).heading, {}, columns.at(i).decimals};
    verdicts_ = analysis::countVerdicts(passes);
    fill(relabel);
}

void StatisticsPanel::setCapability(const QVector<analysis::ToleranceColumn>& columns,
                                    const QVector<analysis::Capability>& capabilities) {
    capabilities_ = capabilities;
    capabilityTable_->setHorizontalHeaderLabels(analysis::capabilityHeadings());
    capabilityTable_->setRowCount(int(columns.size()));
    for (int row = 0; row < columns.size() && row < capabilities.size(); ++row) {
        const analysis::Capability& c = capabilities.at(row);
        const QStringList texts{columns.at(row).heading, QString::number(c.n),
                                analysis::figureText(c.cp, 2), analysis::figureText(c.cpk, 2)};
        for (int column = 0; column < texts.size(); ++column) {
            QTableWidgetItem* item = capabilityTable_->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                                   : Qt::AlignRight | Qt::AlignVCenter);
                capabilityTable_->setItem(row, column, item);
            }
            if (item->text() != texts.at(column))
                item->setText(texts.at(column));
        }
    }
}

void StatisticsPanel::put(int row, int column, const QString& text) {
    const qsizetype at = qsizetype(row) * kColumns + column;
    if (texts_.at(at) == text && table_->item(row, column))
        return;
    texts_[at] = text;
    if (QTableWidgetItem* item = table_->item(row, column)) {
        item->setText(text);
        return;
    }
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                       : Qt::AlignRight | Qt::AlignVCenter);
    table_->setItem(row, column, item);
}

void StatisticsPanel::fill(bool relabel) {
    const int quantities = int(columns_.size());
    const int rows = quantities + 3;
    const bool reshaped = relabel || table_->rowCount() != rows;
    if (reshaped) {
        headings_ = analysis::statisticsHeadings();
        table_->setHorizontalHeaderLabels(headings_);
        // Rows left over from a wider list go; the verdict rows move up and are set below.
        table_->clearContents();
        table_->setRowCount(rows);
        texts_ = QStringList(qsizetype(rows) * kColumns);
    }
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
    const QStringList verdictLabels = analysis::verdictRowLabels();
    put(quantities, 0, verdictLabels.at(0));
    put(quantities, 1, QString::number(verdicts_.pass));
    put(quantities + 1, 0, verdictLabels.at(1));
    put(quantities + 1, 1, QString::number(verdicts_.ng));
    put(quantities + 2, 0, verdictLabels.at(2));
    put(quantities + 2, 1, analysis::figureText(verdicts_.passRate(), 1));
    fitColumns(reshaped);
}

void StatisticsPanel::fitColumns(bool all) {
    if (all || fittedLength_.size() != kColumns)
        fittedLength_ = QVector<int>(kColumns, -1);
    QHeaderView* header = table_->horizontalHeader();
    const QFontMetrics metrics = table_->fontMetrics();
    // What a view item adds around its text (the style's focus frame margin on either side).
    const int margin =
        2 * (table_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table_) + 1) + 4;
    const int rows = table_->rowCount();
    for (int c = 0; c < kColumns; ++c) {
        int longest = 0;
        for (int r = 0; r < rows; ++r)
            longest = std::max(longest, int(texts_.at(qsizetype(r) * kColumns + c).size()));
        if (longest == fittedLength_.at(c))
            continue;
        fittedLength_[c] = longest;
        int width = header->sectionSizeHint(c);
        for (int r = 0; r < rows; ++r) {
            const QString& text = texts_.at(qsizetype(r) * kColumns + c);
            if (!text.isEmpty())
                width = std::max(width, metrics.horizontalAdvance(text) + margin);
        }
        header->resizeSection(c, width);
    }
}

void StatisticsPanel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        fill(true);
    else if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitColumns(true);
    QWidget::changeEvent(event);
}
