#include "chartplan.h"

#include "instrumentkind.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>

#include <cmath>

#include <algorithm>

namespace {

QPen makePen(const QColor& colour, qreal width, Qt::PenStyle style) {
    QPen pen(colour, width, style, Qt::SquareCap, Qt::BevelJoin);
    return pen;
}

bool anyAbove(const SpectralRecord& record, double limit) {
    return std::any_of(record.values.begin(), record.values.end(),
                       [limit](double v) { return v > limit; });
}

// Curves are many (an import can bring thousands) and the raster engine strokes 2-pixel pens
// slowly, so the curves are rasterised here into one image and drawn in one go: each segment as
// a band two pixels thick across its minor axis, which is what a 2-pixel pen covers. Points
// far outside the device are simply not drawn.
class CurveRaster {
  public:
    CurveRaster(const QRect& area, qreal scale)
        : area_(area), scale_(scale),
          image_(QSize(int(area.width() * scale), int(area.height() * scale)),
                 QImage::Format_ARGB32_Premultiplied) {
        image_.fill(Qt::transparent);
        bits_ = reinterpret_cast<QRgb*>(image_.bits());
        stride_ = image_.bytesPerLine() / int(sizeof(QRgb));
        width_ = image_.width();
        height_ = image_.height();
    }

    void polyline(const QPolygonF& points, const QColor& colour, qreal width) {
        thickness_ = std::max(1, int(std::lround(width * scale_)));
        const QRgb rgb = colour.rgba();
        for (int k = 1; k < points.size(); ++k)
            segment(toImage(points.at(k - 1)), toImage(points.at(k)), rgb);
    }

    void drawOn(QPainter& painter) {
        image_.setDevicePixelRatio(scale_);
        painter.drawImage(area_.topLeft(), image_);
    }

  private:
    QPointF toImage(const QPointF& p) const { return (p - area_.topLeft()) * scale_; }

    // The pixels a 2-pixel pen covers around v across the minor axis (twice as many on a
    // screen with twice the pixels), within a line of `size` pixels.
    void band(double v, int size, int& first, int& last) const {
        const int from = int(std::lround(v)) - thickness_ / 2;
        first = std::max(from, 0);
        last = std::min(from + thickness_ - 1, size - 1);
    }

    void segment(QPointF a, QPointF b, QRgb rgb) {
        const double dx = b.x() - a.x(), dy = b.y() - a.y();
        if (std::abs(dx) >= std::abs(dy)) {
            if (a.x() > b.x())
                std::swap(a, b);
            const double slope = dx == 0 ? 0 : dy / dx;
            const int x0 = std::max(int(std::floor(a.x())), 0),
                      x1 = std::min(int(std::ceil(b.x())), width_ - 1);
            for (int x = x0; x <= x1; ++x) {
                int first, last;
                band(a.y() + (x + 0.5 - a.x()) * slope, height_, first, last);
                for (int y = first; y <= last; ++y)
                    bits_[y * stride_ + x] = rgb;
            }
        } else {
            if (a.y() > b.y())
                std::swap(a, b);
            const double slope = dx / dy;
            const int y0 = std::max(int(std::floor(a.y())), 0),
                      y1 = std::min(int(std::ceil(b.y())), height_ - 1);
            for (int y = y0; y <= y1; ++y) {
                int first, last;
                band(a.x() + (y + 0.5 - a.y()) * slope, width_, first, last);
                QRgb* line = bits_ + y * stride_;
                for (int x = first; x <= last; ++x)
                    line[x] = rgb;
            }
        }
    }

    QRect area_;
    qreal scale_;
    QImage image_;
    QRgb* bits_ = nullptr;
    int stride_ = 0;
    int width_ = 0;
    int height_ = 0;
    int thickness_ = 2;
};

} // namespace

namespace chart {

double fullScale(const QVector<SpectralRecord>& records) {
    double n = 60;
    for (const SpectralRecord& r : records) {
        if (!r.showCurve)
            continue;
        if (anyAbove(r, n))
            n = 120;
        if (anyAbove(r, n))
            n = 240;
    }
    return n;
}

const QVector<QColor>& extraColours() {
    // Twelve hues far apart, none close to the first four (black and dark blues) nor to the
    // grid's grey.
    static const QVector<QColor> palette = {
        QColor(230, 25, 75), QColor(60, 180, 75),  QColor(255, 140, 0), QColor(145, 30, 180),
        QColor(0, 170, 200), QColor(240, 50, 230), QColor(128, 128, 0), QColor(170, 110, 40),
        QColor(0, 128, 128), QColor(220, 190, 0),  QColor(128, 0, 0),   QColor(100, 100, 255)};
    return palette;
}

QColor curveColour(int index) {
    if (index < 4)
        return QColor(index % 100, (100 * index) % 256, (200 * index) % 256);
    const QVector<QColor>& palette = extraColours();
    return palette.at((index - 4) % palette.size());
}

QString percentageTitle(int uiIndex) {
    if (uiIndex < 0 || uiIndex > 3)
        return {};
    return isColorimeter(uiIndex)
               ? QCoreApplication::translate("MeterPageFor510", "Reflectance(%)")
               : QCoreApplication::translate("MeterPageFor510", "Transmittance(%)");
}

ChartPlan plan(const QRectF& area, const QVector<SpectralRecord>& records, int uiIndex,
               int highlighted, const QString& highlightedName) {
    ChartPlan p;
    const double x0 = area.left(), y0 = area.top(), w = area.width(), h = area.height();
    const double xL = x0 + 0.2 * w, xR = x0 + 0.8 * w, pw = 0.6 * w;
    const double yT = y0 + 0.2 * h, yB = y0 + 0.8 * h, ph = 0.6 * h;

    const QPen grid = makePen(Qt::gray, 1, Qt::DashLine);
    const QPen axes = makePen(Qt::black, 2, Qt::SolidLine);
    p.textPen = axes;
    p.lines.reserve(12 + 31 + 2);
    for (int i = 0; i < 12; ++i) {
        const double y = yT + i * ph / 12;
        p.lines.append({QLineF(xL, y, xR, y), grid});
    }
    for (int j = 0; j <= 30; ++j) {
        const double x = xL + j * pw / 30;
        p.lines.append({QLineF(x, yT, x, yB), grid});
    }
    p.lines.append({QLineF(xL, yB, xR, yB), axes});
    p.lines.append({QLineF(xL, yB, xL, yT), axes});

    const int centred = Qt::AlignCenter;
    p.texts.append(
        {QRectF(xL, yB, w / 10, h / 10), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("400")});
    const char* const wavelengths[] = {"450", "500", "550", "600", "650", "700"};
    for (int k = 0; k < 6; ++k)
        p.texts.append({QRectF(x0 + (0.2 + 0.1 * k) * w, yB, 0.2 * w, h / 10), centred,
                        QString::fromLatin1(wavelengths[k])});
    p.texts.append({QRectF(x0, y0 + 0.9 * h, w, h / 10), centred,
                    QCoreApplication::translate("MeterPageFor510", "Wavelength(nm)")});

    p.textsBeforeCurves = static_cast<int>(p.texts.size());
    p.fullScale = fullScale(records);
    const double n = p.fullScale;
    for (int i = 0; i < records.size(); ++i) {
        const SpectralRecord& r = records.at(i);
        if (!r.showCurve)
            continue;
        QPolygonF points;
        points.reserve(SpectralRecord::kPoints);
        for (int k = 0; k < SpectralRecord::kPoints; ++k)
            points.append(QPointF(xL + k * pw / 30, yB - r.values[size_t(k)] * ph / n));
        p.curves.append({i, points, makePen(curveColour(i), 2, Qt::SolidLine)});
    }
    // The highlighted curve goes on top, thicker, with its name beside its 700 nm end.
    for (int c = 0; c < p.curves.size(); ++c) {
        if (p.curves.at(c).recordIndex != highlighted)
            continue;
        ChartPlan::Curve top = p.curves.takeAt(c);
        top.pen.setWidthF(4);
        const QPointF end = top.points.constLast();
        p.curves.append(top);
        if (!highlightedName.isEmpty())
            p.texts.append({QRectF(xR + 6, end.y() - h / 20, 0.2 * w - 6, h / 10),
                            Qt::AlignLeft | Qt::AlignVCenter, highlightedName});
        break;
    }

    const int top = static_cast<int>(n) * 5 / 6;
    const double labelLeft = x0 + w / 10;
    p.texts.append({QRectF(labelLeft, yT + ph / 6, w / 10, 5 * ph / 6),
                    Qt::AlignRight | Qt::AlignBottom, QStringLiteral("0")});
    p.texts.append({QRectF(labelLeft, yT + ph / 6, w / 10, 5 * ph / 6),
                    Qt::AlignRight | Qt::AlignVCenter, QString::number(top * 0.5)});
    p.texts.append({QRectF(labelLeft, yT, w / 10, 2 * ph / 6), Qt::AlignRight | Qt::AlignVCenter,
                    QString::number(top)});

    const QString title = percentageTitle(uiIndex);
    if (!title.isEmpty())
        // Turned upright about its centre, so the box is as long as the plot is high and one
        // line deep, left of the tick labels.
        p.texts.append({QRectF(x0 + 0.075 * w - ph / 2, yT + ph / 2 - w / 40, ph, w / 20), centred,
                        title, 270});
    return p;
}

int curveAt(const ChartPlan& plan, const QPointF& point, qreal tolerance) {
    for (int c = int(plan.curves.size()) - 1; c >= 0; --c) {
        const QPolygonF& points = plan.curves.at(c).points;
        for (int k = 1; k < points.size(); ++k) {
            const QPointF a = points.at(k - 1), b = points.at(k);
            const QPointF ab = b - a;
            const qreal length2 = QPointF::dotProduct(ab, ab);
            const qreal t = length2 > 0
                                ? std::clamp(QPointF::dotProduct(point - a, ab) / length2, 0.0, 1.0)
                                : 0.0;
            const QPointF d = point - (a + t * ab);
            if (QPointF::dotProduct(d, d) <= tolerance * tolerance)
                return plan.curves.at(c).recordIndex;
        }
    }
    return -1;
}

void draw(QPainter& painter, const ChartPlan& plan) {
    for (const ChartPlan::Line& l : plan.lines) {
        painter.setPen(l.pen);
        painter.drawLine(l.line);
    }
    auto drawTexts = [&painter, &plan](int from, int to) {
        painter.setPen(plan.textPen);
        for (int i = from; i < to; ++i) {
            const ChartPlan::Text& t = plan.texts.at(i);
            if (t.rotation == 0) {
                painter.drawText(t.rect, t.alignment, t.text);
                continue;
            }
            painter.save();
            painter.translate(t.rect.center());
            painter.rotate(t.rotation);
            painter.translate(-t.rect.center());
            painter.drawText(t.rect, t.alignment | Qt::TextDontClip, t.text);
            painter.restore();
        }
    };
    drawTexts(0, plan.textsBeforeCurves);
    QPaintDevice* device = painter.device();
    if (device && painter.transform().isIdentity() && !plan.curves.isEmpty()) {
        // Nothing is clipped to the plot, but nothing outside the device can be seen either.
        CurveRaster raster(QRect(0, 0, device->width(), device->height()),
                           device->devicePixelRatioF());
        for (const ChartPlan::Curve& c : plan.curves)
            raster.polyline(c.points, c.pen.color(), c.pen.widthF());
        raster.drawOn(painter);
    } else {
        for (const ChartPlan::Curve& c : plan.curves) {
            painter.setPen(c.pen);
            painter.drawPolyline(c.points);
        }
    }
    drawTexts(plan.textsBeforeCurves, static_cast<int>(plan.texts.size()));
}

} // namespace chart
