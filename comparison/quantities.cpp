#include "quantities.h"

#include <cmath>

namespace quantities {

namespace {

constexpr int kScale[Count] = {100, 100, 100, 100, 100, 100, 100, 10, 100, 10000, 10000};
constexpr int kDecimals[Count] = {2, 2, 2, 2, 2, 2, 2, 1, 2, 4, 4};

bool inRange(int index) {
    return index >= 0 && index < Count;
}

} // namespace

int scale(int index) {
    return inRange(index) ? kScale[index] : 100;
}

int decimals(int index) {
    return inRange(index) ? kDecimals[index] : 2;
}

bool isPercent(int index) {
    return index == Haze || index == T;
}

int oldDecimals(int index) {
    return index == OldH ? 1 : 2;
}

QString valueText(int index, int units) {
    QString text = QString::number(valueNumber(index, units), 'f', decimals(index));
    if (isPercent(index))
        text += QLatin1Char('%');
    return text;
}

double valueNumber(int index, int units) {
    return units / double(scale(index));
}

int unitsOf(int index, double number) {
    return int(std::llround(number * scale(index)));
}

QString oldValueText(int index, int units) {
    // From the number shown, so that h in hundredths is rounded to tenths in whole units (a
    // hundredths value ending in 5 is often a hair below it as a double).
    return QString::number(oldValueNumber(index, units), 'f', oldDecimals(index));
}

double oldValueNumber(int index, int units) {
    return index == OldH ? std::round(units / 10.0) / 10.0 : units / 100.0;
}

bool measures(int displayMode, int index) {
    switch (displayMode) {
    case 0:
        return index == Haze || index == T;
    case 1:
        return index == Haze;
    case 2:
        return index == T;
    case 3:
        return index >= L && index <= B;
    case 4:
        return index >= LchL && index <= H;
    case 5:
        return index >= BigY;
    case 6:
        return index <= B;
    default:
        return true;
    }
}

int mainIndex(int displayMode, bool oldLayout) {
    if (oldLayout)
        return OldL;
    switch (displayMode) {
    case 2:
        return T;
    case 3:
    case 4:
        return L;
    case 5:
        return BigY;
    default:
        return Haze;
    }
}

} // namespace quantities
