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
    QVector<Curve> curves;     // shown records, in list order
    QPen textPen;
};

namespace chart {

// The smallest of 60, 120 and 240 that no shown value exceeds (240 when one does).
double fullScale(const QVector<SpectralRecord>& records);
// The colour of the record at position index of the list, hidden records counted.
QColor curveColour(int index);
// "Transmittance(%)" for kinds 0 and 3, "Reflectance(%)" for 1 and 2, nothing otherwise.
QString percentageTitle(int uiIndex);

ChartPlan plan(const QRectF& area, const QVector<SpectralRecord>& records, int uiIndex);
void draw(QPainter& painter, const ChartPlan& plan);

} // namespace chart
