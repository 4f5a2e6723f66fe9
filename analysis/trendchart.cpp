#include "trendchart.h"

#include "chartexport.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

TrendChart::TrendChart(QWidget* parent)
    : QWidget(parent), export_(new ChartExport(this, QStringLiteral("trend"))) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TrendChart::setPrompter(Prompter* prompter) {
    export_->setPrompter(prompter);
}

void TrendChart::setSeries(const QVector<trend::Series>& series, const QVector<bool>& passes) {
    series_ = series;
    passes_ = passes;
    invalidate();
}

void TrendChart::invalidate() {
    planned_ = false;
    update();
}

const trend::Plan& TrendChart::currentPlan() const {
    if (!planned_) {
        plan_ = trend::plan(QRectF(rect()).adjusted(4, 4, -4, -4), series_, passes_);
        planned_ = true;
    }
    return plan_;
}

void TrendChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    trend::draw(painter, currentPlan());
}

void TrendChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    invalidate();
}

void TrendChart::mousePressEvent(QMouseEvent* event) {
    const int row = trend::hitTest(currentPlan(), event->position());
    if (row >= 0 && event->button() == Qt::LeftButton)
        emit rowClicked(row);
    QWidget::mousePressEvent(event);
}

void TrendChart::changeEvent(QEvent* event) {
    // The titles are translated texts.
    if (event->type() == QEvent::LanguageChange)
        invalidate();
    QWidget::changeEvent(event);
}
