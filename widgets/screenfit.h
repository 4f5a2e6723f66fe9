#pragma once

#include <QScreen>
#include <QWidget>

class QGridLayout;
class QStackedWidget;

// How windows fit short screens: the lists keep their rows in view, every control stays whole.
namespace screenfit {

// Below this many available lines (a 768-line laptop under its task bar) windows tighten their
// spacing so that lists keep their rows in view.
constexpr int kShortScreenBelow = 900;

inline bool onShortScreen(const QWidget* widget) {
    const QScreen* screen = widget->window()->screen();
    return screen && screen->availableGeometry().height() < kShortScreenBelow;
}

// A stacked widget is as tall as its tallest page unless the pages not shown claim nothing: from
// now on only the shown page counts.
void sizeToShownPage(QStackedWidget* stack);
// Moves the items of the grid's first `rows` rows into one new widget (named `name`), which
// takes their place: their spacing can then be tightened together. Returns its grid.
QGridLayout* gatherRows(QGridLayout* grid, int rows, int columns, const QString& name);
// Tighter spacing inside `panels`: `sheet` on it (not on its window, whose dialogs would inherit
// it), smaller margins in its group boxes (untitled frames the smallest) and its grid.
void tighten(QWidget* panels, QGridLayout* grid, const char* sheet);

} // namespace screenfit
