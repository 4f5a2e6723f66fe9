#pragma once

#include "spectralrecord.h"

#include <QColor>
#include <QLineF>
#include <QPen>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QVector>

class QPainter;

// Everything the spectral chart draws, worked out from the chart rectangle, the records and
// the instrument kind alone, so that it can be checked without pixels.
struct ChartPlan {
    struct Line {
        QLineF line;
        QPen pen;
    };
    struct Text {
        QRectF rect;
        int alignment; // Qt::Alignment flags
        QString text;
        qreal rotation = 0; // degrees, about the rectangle's centre
    };
    struct Curve {
        int recordIndex;
        QPolygonF points;
        QPen pen;
    };

    double fullScale = 60;     // 60, 120 or 240
    QVector<Line> lines;       // grid, then axes
    QVector<Text> texts;       // labels and titles, in drawing order
    int textsBeforeCurves = 0; // the wavelength labels and their title come before the curves
    QVector<Curve> curves;     // shown records, in list order; the highlighted one last
    QPen textPen;
};

namespace chart {

// The smallest of 60, 120 and 240 that no shown value exceeds (240 when one does).
double fullScale(const QVector<SpectralRecord>& records);
// The colour of the record at position index of the list, hidden records counted. The first
// four are the instrument family's own; later ones come from a fixed palette of distinct
// colours, repeated in turn.
QColor curveColour(int index);
// The palette of the records after the fourth.
const QVector<QColor>& extraColours();
// "Transmittance(%)" for kinds 0 and 3, "Reflectance(%)" for 1 and 2, nothing otherwise.
QString percentageTitle(int uiIndex);

// highlighted: the list position of the record drawn highlighted (thicker, on top, with
// highlightedName beside its end), -1 for none.
ChartPlan plan(const QRectF& area, const QVector<SpectralRecord>& records, int uiIndex,
               int highlighted = -1, const QString& highlightedName = {});
// The record whose curve passes within tolerance pixels of point (the top one wins), or -1.
int curveAt(const ChartPlan& plan, const QPointF& point, qreal tolerance = 5);
void draw(QPainter& painter, const ChartPlan& plan);

} // namespace chart
