#include "abplot.h"

#include "chartexport.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

bool sameTolerance(const abplot::Input& a, const abplot::Input& b) {
    return a.standard.L == b.standard.L && a.standard.a == b.standard.a &&
           a.standard.b == b.standard.b && a.formula == b.formula && a.oldLayout == b.oldLayout &&
           a.threshold == b.threshold;
}

} // namespace

AbPlot::AbPlot(QWidget* parent)
    : QWidget(parent), export_(new ChartExport(this, QStringLiteral("abplot"))) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void AbPlot::setInput(const abplot::Input& input) {
    // New rows leave the standard and the formula as they were: the contour is not worked out
    // again for each.
    if (!sameTolerance(input, input_) || tolerance_.contour.isEmpty())
        tolerance_ = abplot::tolerance(input);
    input_ = input;
    replan();
}

void AbPlot::setPrompter(Prompter* prompter) {
    export_->setPrompter(prompter);
}

void AbPlot::replan() {
    planned_ = false;
    update();
}

const abplot::Plan& AbPlot::currentPlan() const {
    if (!planned_) {
        plan_ = abplot::plan(QRectF(rect()).adjusted(4, 4, -4, -4), input_, tolerance_);
        planned_ = true;
    }
    return plan_;
}

void AbPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    abplot::draw(painter, currentPlan());
}

void AbPlot::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    replan();
}

void AbPlot::mousePressEvent(QMouseEvent* event) {
    const int row = abplot::hitTest(currentPlan(), event->position());
    if (row >= 0 && event->button() == Qt::LeftButton)
        emit rowClicked(row);
    QWidget::mousePressEvent(event);
}

void AbPlot::changeEvent(QEvent* event) {
    // The axis names and the formula's label are translated texts.
    if (event->type() == QEvent::LanguageChange)
        replan();
    QWidget::changeEvent(event);
}
