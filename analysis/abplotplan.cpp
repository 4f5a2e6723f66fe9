#include "abplotplan.h"

#include "colourdifference.h"
#include "tolerancecontour.h"
#include "trendplan.h"
#include "verdict.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace abplot {

namespace {

constexpr double kTitleHeight = 18;
constexpr double kLeftMargin = 44; // Δb* tick labels
constexpr double kAxisHeight = 22; // Δa* tick labels under the plane, a line of the skin's font
constexpr double kBarGap = 10;
constexpr double kBarLabels = 40; // ΔL* tick labels left of the bar
constexpr double kBarWidth = 16;
constexpr double kRightMargin = 8;
constexpr double kMarker = 4;
constexpr double kNewestRing = 6;
constexpr double kRoom = 1.08; // beyond the farthest value

// A scale from -limit to +limit in whole ticks covering extent, and its tick.
std::pair<double, double> symmetricScale(double extent) {
    if (!(extent > 0) || !std::isfinite(extent))
        extent = 1;
    extent *= kRoom;
    const double tick = trend::niceStep(2 * extent);
    if (!(tick > 0) || !std::isfinite(tick))
        return {extent, extent};
    return {std::ceil(extent / tick - 1e-9) * tick, tick};
}

QString tickText(double v, double tick) {
    return QString::number(std::abs(v) < tick * 1e-9 ? 0 : v, 'f', trend::decimalsFor(tick));
}

// The contour in pixels: one closed polygon, or its runs between directions without an edge.
QVector<QPolygonF> contourPieces(const Plan& p, const QVector<QPointF>& contour, bool* closed) {
    QVector<QPolygonF> out;
    const int n = int(contour.size());
    int start = 0;
    while (start < n && std::isfinite(contour.at(start).x()))
        ++start;
    *closed = n > 0 && start == n;
    if (n == 0)
        return out;
    if (*closed) {
        QPolygonF polygon;
        polygon.reserve(n + 1);
        for (const QPointF& c : contour)
            polygon.append(pointOf(p, c.x(), c.y()));
        polygon.append(polygon.first());
        out.append(polygon);
        return out;
    }
    // Starting just after a gap, no run wraps past the end.
    QPolygonF run;
    for (int k = 1; k <= n; ++k) {
        const QPointF& c = contour.at((start + k) % n);
        if (std::isfinite(c.x())) {
            run.append(pointOf(p, c.x(), c.y()));
        } else {
            if (run.size() > 1)
                out.append(run);
            run.clear();
        }
    }
    if (run.size() > 1)
        out.append(run);
    return out;
}

} // namespace

Tolerance tolerance(const Input& input) {
    Tolerance t;
    if (!(input.threshold > 0))
        return t;
    t.contour =
        colour::toleranceContour(input.standard, input.formula, input.oldLayout, input.threshold);
    t.lighter = colour::toleranceDistance(input.standard, input.formula, input.oldLayout,
                                          input.threshold, 1, 0, 0);
    t.darker = colour::toleranceDistance(input.standard, input.formula, input.oldLayout,
                                         input.threshold, -1, 0, 0);
    return t;
}

QPointF pointOf(const Plan& plan, double da, double db) {
    return {plan.origin.x() + da * plan.scale, plan.origin.y() - db * plan.scale};
}

double barYOf(const Plan& plan, double dL) {
    return plan.bar.bottom() -
           (dL - plan.barLow) * plan.bar.height() / (plan.barHigh - plan.barLow);
}

Plan plan(const QRectF& area, const Input& input, const Tolerance& tolerance) {
    Plan p;
    p.passColour = QColor(colour::verdictCellColour(true));
    p.ngColour = QColor(colour::verdictCellColour(false));
    if (!input.points.isEmpty())
        p.newestRow = input.points.last().row;

    // The plane is square, so the contour keeps its true shape.
    const double width =
        area.width() - kLeftMargin - kBarGap - kBarLabels - kBarWidth - kRightMargin;
    const double height = area.height() - kTitleHeight - kAxisHeight;
    const double side = std::max(1.0, std::min(width, height));
    p.plot = QRectF(area.left() + kLeftMargin + std::max(0.0, width - side) / 2,
                    area.top() + kTitleHeight + std::max(0.0, height - side) / 2, side, side);
    p.origin = p.plot.center();

    double farthest = 0, farthestL = 0;
    for (const Point& pt : input.points) {
        if (std::isfinite(pt.da) && std::isfinite(pt.db))
            farthest = std::max({farthest, std::abs(pt.da), std::abs(pt.db)});
        if (std::isfinite(pt.dL))
            farthestL = std::max(farthestL, std::abs(pt.dL));
    }
    for (const QPointF& c : tolerance.contour)
        if (std::isfinite(c.x()))
            farthest = std::max({farthest, std::abs(c.x()), std::abs(c.y())});
    for (const double d : {tolerance.lighter, tolerance.darker})
        if (std::isfinite(d))
            farthestL = std::max(farthestL, d);

    const auto [extent, tick] = symmetricScale(farthest);
    p.extent = extent;
    p.scale = side / (2 * extent);
    // Bounded, so that values too large for a finite step cannot hang a repaint.
    for (int n = 0; n < 64; ++n) {
        const double v = -extent + n * tick;
        if (v > extent + tick * 1e-9)
            break;
        const double x = pointOf(p, v, 0).x(), y = pointOf(p, 0, v).y();
        p.grid.append(QLineF(x, p.plot.top(), x, p.plot.bottom()));
        p.grid.append(QLineF(p.plot.left(), y, p.plot.right(), y));
        const QString label = tickText(v, tick);
        p.texts.append(
            {QRectF(x - 30, p.plot.bottom(), 60, kAxisHeight), int(Qt::AlignCenter), label});
        p.texts.append({QRectF(p.plot.left() - kLeftMargin, y - 8, kLeftMargin - 4, 16),
                        int(Qt::AlignRight | Qt::AlignVCenter), label});
    }
    p.axes = {QLineF(p.plot.left(), p.origin.y(), p.plot.right(), p.origin.y()),
              QLineF(p.origin.x(), p.plot.top(), p.origin.x(), p.plot.bottom())};
    p.texts.append({QRectF(p.plot.right() - 44, p.origin.y() - 16, 40, 14),
                    int(Qt::AlignRight | Qt::AlignBottom),
                    QCoreApplication::translate("AbPlot", "△a*")});
    p.texts.append({QRectF(p.origin.x() + 4, p.plot.top() + 2, 40, 14),
                    int(Qt::AlignLeft | Qt::AlignTop),
                    QCoreApplication::translate("AbPlot", "△b*")});
    const QString formula = colour::formulaLabel(input.formula, input.oldLayout);
    p.texts.append({QRectF(p.plot.left(), area.top(), side, kTitleHeight),
                    int(Qt::AlignLeft | Qt::AlignVCenter),
                    input.threshold > 0
                        ? QCoreApplication::translate("AbPlot", "%1 tolerance %2")
                              .arg(formula, QString::number(input.threshold, 'f', 1))
                        : formula});
    p.contour = contourPieces(p, tolerance.contour, &p.contourClosed);

    p.bar = QRectF(p.plot.right() + kBarGap + kBarLabels, p.plot.top(), kBarWidth, side);
    const auto [barExtent, barTick] = symmetricScale(farthestL);
    p.barHigh = barExtent;
    p.barLow = -barExtent;
    for (int n = 0; n < 64; ++n) {
        const double v = p.barLow + n * barTick;
        if (v > p.barHigh + barTick * 1e-9)
            break;
        const double y = barYOf(p, v);
        p.barGrid.append(QLineF(p.bar.left(), y, p.bar.right(), y));
        p.texts.append({QRectF(p.bar.left() - kBarLabels, y - 8, kBarLabels - 4, 16),
                        int(Qt::AlignRight | Qt::AlignVCenter), tickText(v, barTick)});
    }
    p.texts.append({QRectF(p.bar.center().x() - 30, area.top(), 60, kTitleHeight),
                    int(Qt::AlignCenter), QCoreApplication::translate("AbPlot", "△L*")});
    if (std::isfinite(tolerance.lighter) || std::isfinite(tolerance.darker)) {
        // A side without an edge in reach runs to the end of the bar.
        const double top =
            std::isfinite(tolerance.lighter) ? barYOf(p, tolerance.lighter) : p.bar.top();
        const double bottom =
            std::isfinite(tolerance.darker) ? barYOf(p, -tolerance.darker) : p.bar.bottom();
        p.barBand = QRectF(QPointF(p.bar.left(), top), QPointF(p.bar.right(), bottom));
    }

    p.points.reserve(input.points.size());
    p.barPoints.reserve(input.points.size());
    for (const Point& pt : input.points) {
        if (std::isfinite(pt.da) && std::isfinite(pt.db))
            p.points.append({pointOf(p, pt.da, pt.db), pt.row, pt.pass});
        if (std::isfinite(pt.dL))
            p.barPoints.append({QPointF(p.bar.center().x(), barYOf(p, pt.dL)), pt.row, pt.pass});
    }
    return p;
}

int hitTest(const Plan& plan, const QPointF& pos, double radius) {
    int best = -1;
    double bestDistance = radius * radius;
    for (const QVector<Plan::Marker>* markers : {&plan.points, &plan.barPoints})
        for (const Plan::Marker& m : *markers) {
            const double dx = m.at.x() - pos.x(), dy = m.at.y() - pos.y();
            const double d = dx * dx + dy * dy;
            // Of markers on top of each other the newer, drawn last, wins.
            if (d <= bestDistance) {
                bestDistance = d;
                best = m.row;
            }
        }
    return best;
}

void draw(QPainter& painter, const Plan& plan) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor toleranceFill(0, 160, 0, 36);
    const QPen toleranceEdge(QColor(0, 128, 0), 1.5);
    const QPen gridPen(QColor(200, 200, 200), 1, Qt::DotLine);
    const QPen axisPen(QColor(120, 120, 120), 1);
    const QPen framePen(Qt::black, 1);
    const QPen textPen = painter.pen();

    painter.setPen(gridPen);
    painter.drawLines(plan.grid);
    painter.drawLines(plan.barGrid);
    if (!plan.barBand.isEmpty()) {
        painter.fillRect(plan.barBand, toleranceFill);
        painter.setPen(QPen(QColor(0, 128, 0), 1, Qt::DashLine));
        painter.drawLine(plan.barBand.topLeft(), plan.barBand.topRight());
        painter.drawLine(plan.barBand.bottomLeft(), plan.barBand.bottomRight());
    }
    painter.setPen(axisPen);
    painter.drawLines(plan.axes);

    if (!plan.contour.isEmpty()) {
        painter.save();
        painter.setClipRect(plan.plot);
        painter.setRenderHint(QPainter::Antialiasing, true);
        if (plan.contourClosed) {
            QPainterPath inside;
            inside.addPolygon(plan.contour.first());
            painter.fillPath(inside, toleranceFill);
        }
        painter.setPen(toleranceEdge);
        painter.setBrush(Qt::NoBrush);
        for (const QPolygonF& piece : plan.contour)
            painter.drawPolyline(piece);
        painter.restore();
    }

    painter.setPen(framePen);
    painter.drawRect(plan.plot);
    painter.drawRect(plan.bar);
    painter.setPen(textPen);
    for (const Plan::Text& t : plan.texts)
        painter.drawText(t.rect, t.alignment | Qt::TextDontClip, t.text);

    const double half = kMarker / 2;
    for (const Plan::Marker& m : plan.points)
        painter.fillRect(QRectF(m.at.x() - half, m.at.y() - half, kMarker, kMarker),
                         m.pass ? plan.passColour : plan.ngColour);
    const double dash = kBarWidth / 2 - 2;
    for (const Plan::Marker& m : plan.barPoints)
        painter.fillRect(QRectF(m.at.x() - dash, m.at.y() - 1, 2 * dash, 2),
                         m.pass ? plan.passColour : plan.ngColour);

    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(Qt::black, 2));
    painter.setBrush(Qt::NoBrush);
    for (const QVector<Plan::Marker>* markers : {&plan.points, &plan.barPoints})
        if (!markers->isEmpty() && markers->last().row == plan.newestRow)
            painter.drawEllipse(markers->last().at, kNewestRing, kNewestRing);
    painter.restore();
}

} // namespace abplot
