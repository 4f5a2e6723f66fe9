#include "analysispanel.h"

#include "abplot.h"
#include "liststatistics.h"
#include "statisticspanel.h"
#include "statisticssheet.h"
#include "trendchart.h"

#include <QTimer>

namespace {

// Each sample's Δa*, Δb*, ΔL* around the standard of the newest row, judged with that row's
// formula and threshold.
abplot::Input abInput(const QList<ComparisonRecord>& records) {
    abplot::Input in;
    if (records.isEmpty())
        return in;
    const ComparisonRecord& newest = records.last();
    const bool old = newest.settings.oldLayout;
    const size_t l = old ? 0 : 2, a = l + 1, b = l + 2;
    const auto lab = [&](const std::array<int, ComparisonRecord::kValueCount>& v) {
        return colour::Lab{v[l] / 100.0, v[a] / 100.0, v[b] / 100.0};
    };
    in.standard = lab(newest.standard);
    in.oldLayout = old;
    in.formula = std::max(newest.settings.formula, 0);
    in.threshold = newest.settings.threshold > 0 ? newest.settings.threshold / 10.0 : -1;
    in.points.reserve(records.size());
    for (int row = 0; row < records.size(); ++row) {
        const ComparisonRecord& r = records.at(row);
        const colour::Lab s = lab(r.standard), m = lab(r.sample);
        in.points.append({m.a - s.a, m.b - s.b, m.L - s.L, r.pass, row});
    }
    return in;
}

bool measuresColour(const ListMeaning& meaning) {
    return meaning.oldLayout || meaning.displayMode >= 3;
}

} // namespace

AnalysisPanel::AnalysisPanel(QWidget* parent)
    : QTabWidget(parent), statistics_(new StatisticsPanel(this)), trend_(new TrendChart(this)),
      abPlot_(new AbPlot(this)) {
    setObjectName(QStringLiteral("tabWidget_analysis"));
    addTab(statistics_, QString());
    addTab(trend_, QString());
    addTab(abPlot_, QString());
    connect(trend_, &TrendChart::rowClicked, this, &AnalysisPanel::rowClicked);
    connect(abPlot_, &AbPlot::rowClicked, this, &AnalysisPanel::rowClicked);
    relabel();
}

void AnalysisPanel::setPrompter(Prompter* prompter) {
    trend_->setPrompter(prompter);
    abPlot_->setPrompter(prompter);
}

void AnalysisPanel::relabel() {
    setTabText(0, analysis::statisticsSheetName());
    setTabText(1, tr("Trend"));
    setTabText(2, tr("a*b* plot"));
}

void AnalysisPanel::scheduleRefresh() {
    if (pending_)
        return;
    pending_ = true;
    QTimer::singleShot(0, this, [this] {
        if (pending_)
            refresh();
    });
}

void AnalysisPanel::refresh() {
    pending_ = false;
    // A hidden panel computes nothing; it catches up when shown again.
    if (isHidden() || !source_)
        return;
    const Source s = source_();
    static const QList<ComparisonRecord> none;
    const QList<ComparisonRecord>& records = s.records ? *s.records : none;
    const JudgingSettings band = records.isEmpty() ? s.inForce : records.last().settings;
    const QVector<bool> verdicts = analysis::listVerdicts(records);
    const int mode = std::max(s.meaning.displayMode, 0);
    statistics_->setData(analysis::listColumns(mode, s.meaning.oldLayout, s.chinese, records),
                         verdicts);
    const QVector<analysis::ToleranceColumn> toleranced =
        analysis::toleranceColumns(mode, s.meaning.oldLayout, records);
    statistics_->setCapability(toleranced, analysis::capabilities(toleranced));
    trend_->setSeries(analysis::trendSeries(std::max(s.meaning.displayMode, 0), s.meaning.oldLayout,
                                            band, records),
                      verdicts);
    setTabEnabled(2, measuresColour(s.meaning));
    abPlot_->setInput(measuresColour(s.meaning) ? abInput(records) : abplot::Input{});
}

void AnalysisPanel::showEvent(QShowEvent* event) {
    QTabWidget::showEvent(event);
    refresh();
}

StatisticsPanel* AnalysisPanel::statistics() {
    if (pending_)
        refresh();
    return statistics_;
}

TrendChart* AnalysisPanel::trend() {
    if (pending_)
        refresh();
    return trend_;
}

AbPlot* AnalysisPanel::abPlot() {
    if (pending_)
        refresh();
    return abPlot_;
}
