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

#include <optional>

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

// Individuals chart limits of a series: the centre line at the mean, the control limits at the
// mean ± 2.66 times the average moving range, the moving range being the difference between
// consecutive points (rows without a value are passed over). 2.66 is 3 / d2 for ranges of two.
struct ControlLimits {
    int n = 0; // points
    double centre = 0;
    double averageMovingRange = 0;
    double lower = 0, upper = 0;
};
inline constexpr double kMovingRangeFactor = 2.66;
// Empty below two points and where the limits overflow.
std::optional<ControlLimits> controlLimits(const QVector<double>& values);
// "UCL", "CL", "LCL" as drawn beside the lines.
QString upperLimitLabel();
QString centreLabel();
QString lowerLimitLabel();

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
        std::optional<ControlLimits> control;
        // Centre line, upper and lower control limit, each across the plot. ΔE cannot go below
        // zero, so a lower limit under zero is not drawn (it would only squash the plot).
        QVector<QLineF> controlLines;
        QVector<Text> controlTexts; // the lines' names
        QVector<int> outside;       // indexes into points of those beyond a control limit
    };
    QVector<Pane> panes; // stacked top to bottom in series order
    QVector<bool> passes;
    int rowCount = 0;
    int lastRow = -1; // the newest comparison, marked
    QColor passColour, ngColour;
};

Plan plan(const QRectF& area, const QVector<Series>& series, const QVector<bool>& passes);

// A tick step of 1, 2 or 5 times a power of ten giving about four intervals over span, and the
// decimals its labels need.
double niceStep(double span);
int decimalsFor(double step);

// The y of a value in a pane.
double yOf(const Plan::Pane& pane, double value);

// The list row of the point nearest to pos within radius pixels, or -1.
int hitTest(const Plan& plan, const QPointF& pos, double radius = 6);

void draw(QPainter& painter, const Plan& plan);

} // namespace trend
