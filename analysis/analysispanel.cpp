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
    connect(this, &QTabWidget::currentChanged, this, &AnalysisPanel::bring);
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
    stale_ = {true, true, true};
    // A hidden panel computes nothing; it catches up when shown again.
    if (isHidden() || !source_)
        return;
    setTabEnabled(2, measuresColour(source_().meaning));
    bring(currentIndex());
}

void AnalysisPanel::bring(int tab) {
    if (tab < 0 || tab >= int(stale_.size()) || !stale_[size_t(tab)] || isHidden() || !source_)
        return;
    stale_[size_t(tab)] = false;
    const Source s = source_();
    static const QList<ComparisonRecord> none;
    const QList<ComparisonRecord>& records = s.records ? *s.records : none;
    const int mode = std::max(s.meaning.displayMode, 0);
    if (tab == 0) {
        // Rows appended to the list seen last are the only ones read.
        const qsizetype unchanged = s.records == seen_.records && s.revision == seen_.revision &&
                                            s.meaning == seen_.meaning &&
                                            s.chinese == seen_.chinese &&
                                            records.size() >= seen_.rows
                                        ? seen_.rows
                                        : 0;
        seen_ = {s.records, s.revision, records.size(), s.meaning, s.chinese};
        columns_ = analysis::listColumns(mode, s.meaning.oldLayout, s.chinese, records, &columns_,
                                         unchanged);
        statistics_->setData(columns_, analysis::listVerdicts(records));
        toleranced_ =
            analysis::toleranceColumns(mode, s.meaning.oldLayout, records, &toleranced_, unchanged);
        statistics_->setCapability(toleranced_, analysis::capabilities(toleranced_));
    } else if (tab == 1) {
        const JudgingSettings band = records.isEmpty() ? s.inForce : records.last().settings;
        trend_->setSeries(analysis::trendSeries(mode, s.meaning.oldLayout, band, records),
                          analysis::listVerdicts(records));
    } else {
        abPlot_->setInput(measuresColour(s.meaning) ? abInput(records) : abplot::Input{});
    }
}

void AnalysisPanel::showEvent(QShowEvent* event) {
    QTabWidget::showEvent(event);
    refresh();
}

StatisticsPanel* AnalysisPanel::statistics() {
    if (pending_)
        refresh();
    bring(0);
    return statistics_;
}

TrendChart* AnalysisPanel::trend() {
    if (pending_)
        refresh();
    bring(1);
    return trend_;
}

AbPlot* AnalysisPanel::abPlot() {
    if (pending_)
        refresh();
    bring(2);
    return abPlot_;
}
