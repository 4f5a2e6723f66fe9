#pragma once
// The trend chart worked out as a plan, like the spectral chart: the main difference of every
// comparison in list order against its tolerance band, points coloured by verdict, the last
// point marked. Checked without pixels; drawn by one routine.

#include <QColor>
#include <QLineF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QVector>

class QPainter;

namespace trend {

enum class Quantity { DeltaHaze, DeltaT, DeltaE };

// What the chart follows in a display mode (0..6): ΔHaze and ΔT in the haze modes, ΔE in the
// colour modes, all three where the mode judges all three; ΔE in the old layout.
QVector<Quantity> quantities(int displayMode, bool oldLayout);
// "△Haze", "△T", "△E", as the list heads them.
QString label(Quantity quantity);

struct Series {
    Quantity quantity = Quantity::DeltaE;
    QVector<double> values; // one per list row; NaN where the row has no value
    // ΔHaze and ΔT pass within ±tolerance, ΔE from 0 to the threshold. Negative: not known
    // (not read from the instrument yet), so no band is drawn.
    double tolerance = -1;
};

struct Plan {
    struct Text {
        QRectF rect;
        int alignment; // Qt::Alignment flags
        QString text;
    };
    struct Pane {
        Quantity quantity = Quantity::DeltaE;
        QRectF plot;
        double low = 0, high = 1; // the values at the plot's bottom and top edges
        QRectF band;              // the tolerance band; empty when there is none
        QVector<QLineF> grid;     // value ticks
        QVector<Text> texts;      // title and tick labels
        QPolygonF line;           // through the points in list order
        QVector<QPointF> points;  // the rows that have a value, in list order
        QVector<int> rows;        // the list row of each point
    };
    QVector<Pane> panes; // stacked top to bottom in series order
    QVector<bool> passes;
    int rowCount = 0;
    int lastRow = -1; // the newest comparison, marked
    QColor passColour, ngColour;
};

Plan plan(const QRectF& area, const QVector<Series>& series, const QVector<bool>& passes);

// The y of a value in a pane.
double yOf(const Plan::Pane& pane, double value);

// The list row of the point nearest to pos within radius pixels, or -1.
int hitTest(const Plan& plan, const QPointF& pos, double radius = 6);

void draw(QPainter& painter, const Plan& plan);

} // namespace trend
