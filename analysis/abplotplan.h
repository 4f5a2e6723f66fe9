#pragma once
// The a*b* plot worked out as a plan, like the trend chart: every sample's Δa*, Δb* around the
// standard at the origin, coloured by verdict, inside the tolerance contour of the formula in
// force at the standard's L*, C*, h; beside it a bar of the samples' ΔL* with the lightness
// tolerance marked. Checked without pixels; drawn by one routine.

#include "conversions.h"

#include <QColor>
#include <QLineF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QVector>

#include <limits>

class QPainter;

namespace abplot {

struct Point {
    double da = 0, db = 0, dL = 0; // sample minus standard; NaN where the row has none
    bool pass = true;
    int row = -1; // the list row
};

// Plain values, so a list of records, a history query or a test can feed the plot alike.
struct Input {
    QVector<Point> points; // in list order; the last is the newest and is ringed
    colour::Lab standard;
    int formula = 0; // index as colour::deltaEByIndex reads it
    bool oldLayout = false;
    double threshold = -1; // not positive: not known, no tolerance drawn
};

// The tolerance of an input: the contour at ΔL* = 0 and how far ΔL* may go up and down with
// Δa* = Δb* = 0 (NaN where not known). The costly part of a plan, so the widget keeps it
// across resizes.
struct Tolerance {
    QVector<QPointF> contour;
    double lighter = std::numeric_limits<double>::quiet_NaN();
    double darker = std::numeric_limits<double>::quiet_NaN();
};
Tolerance tolerance(const Input& input);

struct Plan {
    struct Text {
        QRectF rect;
        int alignment; // Qt::Alignment flags
        QString text;
    };
    struct Marker {
        QPointF at;
        int row = -1;
        bool pass = true;
    };

    // The a*b* plane: square, the standard at origin, the same scale across and up.
    QRectF plot;
    QPointF origin;
    double scale = 1;  // pixels per unit
    double extent = 1; // the units from the origin to each edge
    QVector<QLineF> grid;
    QVector<QLineF> axes;       // Δa* = 0 and Δb* = 0
    QVector<QPolygonF> contour; // one closed polygon, or the open pieces of one
    bool contourClosed = false;
    QVector<Marker> points;

    // The ΔL* bar: its scale from barLow at the bottom to barHigh at the top.
    QRectF bar;
    double barLow = -1, barHigh = 1;
    QRectF barBand; // the lightness tolerance; empty when not known
    QVector<QLineF> barGrid;
    QVector<Marker> barPoints;

    QVector<Text> texts; // title, tick labels and axis names
    int newestRow = -1;
    QColor passColour, ngColour;
};

Plan plan(const QRectF& area, const Input& input, const Tolerance& tolerance);
inline Plan plan(const QRectF& area, const Input& input) {
    return plan(area, input, tolerance(input));
}

// Where a difference lands on the plane, and a ΔL* on the bar.
QPointF pointOf(const Plan& plan, double da, double db);
double barYOf(const Plan& plan, double dL);

// The list row of the marker (on the plane or the bar) nearest to pos within radius, or -1.
int hitTest(const Plan& plan, const QPointF& pos, double radius = 6);

void draw(QPainter& painter, const Plan& plan);

} // namespace abplot
