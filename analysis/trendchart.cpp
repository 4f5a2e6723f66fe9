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
    replan();
}

void TrendChart::replan() {
    plan_ = trend::plan(QRectF(rect()).adjusted(4, 4, -4, -4), series_, passes_);
    update();
}

void TrendChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    trend::draw(painter, plan_);
}

void TrendChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    replan();
}

void TrendChart::mousePressEvent(QMouseEvent* event) {
    const int row = trend::hitTest(plan_, event->position());
    if (row >= 0 && event->button() == Qt::LeftButton)
        emit rowClicked(row);
    QWidget::mousePressEvent(event);
}

void TrendChart::changeEvent(QEvent* event) {
    // The titles are translated texts.
    if (event->type() == QEvent::LanguageChange)
        replan();
    QWidget::changeEvent(event);
}
