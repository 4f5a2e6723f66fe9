#include "trendplan.h"

#include "verdict.h"

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace trend {

namespace {

constexpr double kLeftMargin = 64; // tick labels
constexpr double kRightMargin = 12;
constexpr double kTitleHeight = 18; // above each plot
constexpr double kAxisHeight = 18;  // row numbers under the last plot
constexpr double kPaneGap = 6;
constexpr double kMarker = 4; // side of a point's square, pixels
constexpr double kLastRing = 6;
constexpr double kOutsideRing = 4.5; // around a point beyond a control limit
const QColor kControlColour(128, 0, 160);

// The polyline as a 1-pixel pen draws it: within one pixel column its segments cover the span
// from the lowest to the highest point, so a long list draws as one upright line per column and
// one line on to the next column instead of thousands of overlapping segments.
QVector<QLineF> perColumn(const QPolygonF& line) {
    QVector<QLineF> out;
    if (line.size() < 8) {
        for (int i = 1; i < line.size(); ++i)
            out.append(QLineF(line.at(i - 1), line.at(i)));
        return out;
    }
    out.reserve(2 * 2048);
    int i = 0;
    while (i < line.size()) {
        const double column = std::floor(line.at(i).x());
        double low = line.at(i).y(), high = low;
        int last = i;
        for (int j = i + 1; j < line.size() && std::floor(line.at(j).x()) == column; ++j) {
            last = j;
            low = std::min(low, line.at(j).y());
            high = std::max(high, line.at(j).y());
        }
        if (last > i)
            out.append(QLineF(line.at(i).x(), low, line.at(i).x(), high));
        if (last + 1 < line.size())
            out.append(QLineF(line.at(last), line.at(last + 1)));
        i = last + 1;
    }
    return out;
}

} // namespace

double niceStep(double span) {
    const double raw = span / 4;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double norm = raw / magnitude;
    return (norm < 1.5 ? 1 : norm < 3 ? 2 : norm < 7 ? 5 : 10) * magnitude;
}

int decimalsFor(double step) {
    return std::clamp(int(std::ceil(-std::log10(step) - 1e-9)), 0, 4);
}

QVector<Quantity> quantities(int displayMode, bool oldLayout) {
    if (oldLayout)
        return {Quantity::DeltaE};
    switch (displayMode) {
    case 0:
        return {Quantity::DeltaHaze, Quantity::DeltaT};
    case 1:
        return {Quantity::DeltaHaze};
    case 2:
        return {Quantity::DeltaT};
    case 3:
    case 4:
    case 5:
        return {Quantity::DeltaE};
    case 6:
        return {Quantity::DeltaHaze, Quantity::DeltaT, Quantity::DeltaE};
    default:
        return {};
    }
}

QString label(Quantity quantity) {
    switch (quantity) {
    case Quantity::DeltaHaze:
        return QCoreApplication::translate("TrendChart", "△Haze");
    case Quantity::DeltaT:
        return QCoreApplication::translate("TrendChart", "△T");
    case Quantity::DeltaE:
        break;
    }
    return QCoreApplication::translate("TrendChart", "△E");
}

std::optional<ControlLimits> controlLimits(const QVector<double>& values) {
    ControlLimits c;
    double sum = 0, ranges = 0, previous = 0;
    for (const double v : values) {
        if (!std::isfinite(v))
            continue;
        if (c.n++ > 0)
            ranges += std::abs(v - previous);
        sum += v;
        previous = v;
    }
    if (c.n < 2)
        return std::nullopt;
    c.centre = sum / c.n;
    c.averageMovingRange = ranges / (c.n - 1);
    c.upper = c.centre + kMovingRangeFactor * c.averageMovingRange;
    c.lower = c.centre - kMovingRangeFactor * c.averageMovingRange;
    // Values near the end of the double range would give limits no chart can place.
    if (!std::isfinite(c.upper) || !std::isfinite(c.lower))
        return std::nullopt;
    return c;
}

QString upperLimitLabel() {
    return QCoreApplication::translate("TrendChart", "UCL");
}

QString centreLabel() {
    return QCoreApplication::translate("TrendChart", "CL");
}

QString lowerLimitLabel() {
    return QCoreApplication::translate("TrendChart", "LCL");
}

double yOf(const Plan::Pane& pane, double value) {
    return pane.plot.bottom() - (value - pane.low) * pane.plot.height() / (pane.high - pane.low);
}

Plan plan(const QRectF& area, const QVector<Series>& series, const QVector<bool>& passes) {
    Plan p;
    p.passes = passes;
    p.passColour = QColor(colour::verdictCellColour(true));
    p.ngColour = QColor(colour::verdictCellColour(false));
    for (const Series& s : series)
        p.rowCount = std::max(p.rowCount, int(s.values.size()));
    p.lastRow = p.rowCount - 1;
    if (series.isEmpty())
        return p;

    const int count = int(series.size());
    const double paneHeight =
        (area.height() - kAxisHeight - (count - 1) * kPaneGap) / count - kTitleHeight;
    const double left = area.left() + kLeftMargin;
    const double width = std::max(1.0, area.width() - kLeftMargin - kRightMargin);
    const double step = p.rowCount <= 1 ? 0 : width / (p.rowCount - 1);
    auto xOf = [&](int row) { return p.rowCount <= 1 ? left + width / 2 : left + row * step; };

    for (int k = 0; k < count; ++k) {
        const Series& s = series.at(k);
        Plan::Pane pane;
        pane.quantity = s.quantity;
        const double top = area.top() + k * (paneHeight + kTitleHeight + kPaneGap) + kTitleHeight;
        pane.plot = QRectF(left, top, width, std::max(1.0, paneHeight));

        // The value range: every value, the band and zero, with a little room above and below.
        const bool hasBand = s.tolerance >= 0;
        const bool symmetric = s.quantity != Quantity::DeltaE;
        const double bandLow = hasBand ? (symmetric ? -s.tolerance : 0) : 0;
        const double bandHigh = hasBand ? s.tolerance : 0;
        double lo = std::min(0.0, bandLow), hi = std::max(0.0, bandHigh);
        for (const double v : s.values)
            if (std::isfinite(v)) {
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
        pane.control = controlLimits(s.values);
        const bool drawLower = pane.control && (symmetric || pane.control->lower >= 0);
        if (pane.control) {
            hi = std::max(hi, pane.control->upper);
            if (drawLower)
                lo = std::min(lo, pane.control->lower);
        }
        if (hi - lo < 1e-9)
            hi = lo + 1;
        const double room = (hi - lo) * 0.08;
        pane.low = lo - (lo < 0 ? room : 0);
        pane.high = hi + room;

        if (hasBand)
            pane.band = QRectF(QPointF(left, yOf(pane, bandHigh)),
                               QPointF(left + width, yOf(pane, bandLow)));

        const double tick = niceStep(pane.high - pane.low);
        const int decimals = decimalsFor(tick);
        // Bounded, so that values too large for a finite step cannot hang a repaint.
        const double firstTick = std::ceil(pane.low / tick) * tick;
        for (int n = 0; std::isfinite(tick) && tick > 0 && n < 32; ++n) {
            const double v = firstTick + n * tick;
            if (v > pane.high + tick * 1e-9)
                break;
            const double y = yOf(pane, v);
            pane.grid.append(QLineF(left, y, left + width, y));
            const double shown = std::abs(v) < tick * 1e-9 ? 0 : v;
            pane.texts.append({QRectF(area.left(), y - 8, kLeftMargin - 6, 16),
                               int(Qt::AlignRight | Qt::AlignVCenter),
                               QString::number(shown, 'f', decimals)});
        }
        pane.texts.append({QRectF(left, top - kTitleHeight, width, kTitleHeight),
                           int(Qt::AlignLeft | Qt::AlignVCenter), label(s.quantity)});

        pane.points.reserve(s.values.size());
        pane.rows.reserve(s.values.size());
        for (int i = 0; i < s.values.size(); ++i) {
            const double v = s.values.at(i);
            if (!std::isfinite(v))
                continue;
            pane.points.append(QPointF(xOf(i), yOf(pane, v)));
            pane.rows.append(i);
        }
        pane.line = QPolygonF(pane.points);
        // Values that do not vary have no limits to draw: all three lines would be one.
        if (const auto& c = pane.control; c && c->averageMovingRange > 0) {
            // UCL above its line, LCL below its own, CL above its line where that leaves both
            // readable: limits close together never write over each other.
            const double upper = yOf(pane, c->upper), centre = yOf(pane, c->centre);
            const QRectF upperText(left + width - 64, upper - 15, 62, 14);
            const QRectF centreText(left + width - 64, centre - 15, 62, 14);
            pane.controlLines.append(QLineF(left, centre, left + width, centre));
            pane.controlLines.append(QLineF(left, upper, left + width, upper));
            pane.controlTexts.append(
                {upperText, int(Qt::AlignRight | Qt::AlignBottom), upperLimitLabel()});
            QRectF lowerText;
            if (drawLower) {
                const double lower = yOf(pane, c->lower);
                lowerText = QRectF(left + width - 64, lower + 1, 62, 14);
                pane.controlLines.append(QLineF(left, lower, left + width, lower));
                pane.controlTexts.append(
                    {lowerText, int(Qt::AlignRight | Qt::AlignTop), lowerLimitLabel()});
            }
            if (!centreText.intersects(upperText) && !centreText.intersects(lowerText))
                pane.controlTexts.append(
                    {centreText, int(Qt::AlignRight | Qt::AlignBottom), centreLabel()});
            for (int i = 0; i < pane.rows.size(); ++i) {
                const double v = s.values.at(pane.rows.at(i));
                if (v > c->upper || (drawLower && v < c->lower))
                    pane.outside.append(i);
            }
        }
        if (k == count - 1 && p.rowCount > 0) {
            const double y = pane.plot.bottom();
            pane.texts.append(
                {QRectF(left - 30, y, 60, kAxisHeight), int(Qt::AlignCenter), QStringLiteral("1")});
            if (p.rowCount > 1)
                pane.texts.append({QRectF(left + width - 30, y, 60, kAxisHeight),
                                   int(Qt::AlignCenter), QString::number(p.rowCount)});
        }
        p.panes.append(pane);
    }
    return p;
}

int hitTest(const Plan& plan, const QPointF& pos, double radius) {
    int best = -1;
    double bestDistance = radius * radius;
    for (const Plan::Pane& pane : plan.panes) {
        if (!pane.plot.adjusted(-radius, -radius, radius, radius).contains(pos))
            continue;
        // Points run left to right, so only those within radius across need a look.
        auto it = std::lower_bound(pane.points.begin(), pane.points.end(), pos.x() - radius,
                                   [](const QPointF& p, double x) { return p.x() < x; });
        for (; it != pane.points.end() && it->x() <= pos.x() + radius; ++it) {
            const double dx = it->x() - pos.x(), dy = it->y() - pos.y();
            const double d = dx * dx + dy * dy;
            if (d <= bestDistance) {
                bestDistance = d;
                best = pane.rows.at(int(it - pane.points.begin()));
            }
        }
    }
    return best;
}

void draw(QPainter& painter, const Plan& plan) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor bandFill(0, 160, 0, 36);
    const QPen bandEdge(QColor(0, 128, 0), 1, Qt::DashLine);
    const QPen gridPen(QColor(200, 200, 200), 1, Qt::DotLine);
    const QPen framePen(Qt::black, 1);
    QPen linePen(QColor(150, 150, 150), 0);
    linePen.setCosmetic(true);
    for (const Plan::Pane& pane : plan.panes) {
        if (!pane.band.isEmpty()) {
            painter.fillRect(pane.band, bandFill);
            painter.setPen(bandEdge);
            painter.drawLine(pane.band.topLeft(), pane.band.topRight());
            painter.drawLine(pane.band.bottomLeft(), pane.band.bottomRight());
        }
        painter.setPen(gridPen);
        painter.drawLines(pane.grid);
        painter.setPen(framePen);
        painter.drawRect(pane.plot);
        for (const Plan::Text& t : pane.texts)
            painter.drawText(t.rect, t.alignment | Qt::TextDontClip, t.text);

        if (!pane.controlLines.isEmpty()) {
            painter.setPen(QPen(kControlColour, 1, Qt::SolidLine));
            painter.drawLine(pane.controlLines.first());
            painter.setPen(QPen(kControlColour, 1, Qt::DashDotLine));
            painter.drawLines(pane.controlLines.mid(1));
            for (const Plan::Text& t : pane.controlTexts)
                painter.drawText(t.rect, t.alignment | Qt::TextDontClip, t.text);
        }
        painter.setPen(linePen);
        painter.drawLines(perColumn(pane.line));
        const double half = kMarker / 2;
        for (int i = 0; i < pane.points.size(); ++i) {
            const QPointF& pt = pane.points.at(i);
            const int row = pane.rows.at(i);
            const bool pass = row < plan.passes.size() && plan.passes.at(row);
            painter.fillRect(QRectF(pt.x() - half, pt.y() - half, kMarker, kMarker),
                             pass ? plan.passColour : plan.ngColour);
        }
        if (!pane.outside.isEmpty()) {
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setPen(QPen(kControlColour, 1.5));
            painter.setBrush(Qt::NoBrush);
            for (const int i : pane.outside)
                painter.drawEllipse(pane.points.at(i), kOutsideRing, kOutsideRing);
            painter.setRenderHint(QPainter::Antialiasing, false);
        }
        if (!pane.rows.isEmpty() && pane.rows.last() == plan.lastRow) {
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setPen(QPen(Qt::black, 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(pane.points.last(), kLastRing, kLastRing);
            painter.setRenderHint(QPainter::Antialiasing, false);
        }
    }
    painter.restore();
}

} // namespace trend
