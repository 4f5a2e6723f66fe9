#pragma once

#include <QScreen>
#include <QWidget>

namespace screenfit {

// Below this many available lines (a 768-line laptop under its task bar) windows tighten their
// spacing so that lists keep their rows in view.
constexpr int kShortScreenBelow = 900;

inline bool onShortScreen(const QWidget* widget) {
    const QScreen* screen = widget->window()->screen();
    return screen && screen->availableGeometry().height() < kShortScreenBelow;
}

} // namespace screenfit
