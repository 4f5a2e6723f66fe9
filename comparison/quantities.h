#pragma once
// The quantities of a comparison as the instrument sends them: where each sits in a reading,
// its unit scale and the decimals it is shown with. The one table the rows, the statistics, the
// history and the exports use.

#include <QString>

namespace quantities {

// Places in a current-layout reading: haze, T, L*, a*, b*, L* (LCh), C*, h, Y, x, y.
enum Index { Haze, T, L, A, B, LchL, C, H, BigY, X, Y, Count };
// Places in an old-layout reading: L*, a*, b*, C*, h, all in hundredths.
enum OldIndex { OldL, OldA, OldB, OldC, OldH, OldCount };

// Units per quantity (haze, T, L*, a*, b*, C*, Y in hundredths; h in tenths; x, y in
// ten-thousandths) and the decimals they are shown with.
int scale(int index);
int decimals(int index);
bool isPercent(int index);
// The old layout keeps h in hundredths but shows it with one decimal.
int oldDecimals(int index);

// A value in instrument units as shown ("20.00%", "0.3127") and as a plain number.
QString valueText(int index, int units);
double valueNumber(int index, int units);
// A number in the quantity's units, rounded.
int unitsOf(int index, double number);
QString oldValueText(int index, int units);
// The old layout's value as shown: h at the tenth it is shown with.
double oldValueNumber(int index, int units);

// Whether display mode 0..6 measures the quantity at `index`.
bool measures(int displayMode, int index);
// The quantity whose spread an averaged set reports: haze in the haze modes, T in the T mode,
// L* in the Lab and LCh modes and the old layout, Y in the Yxy mode.
int mainIndex(int displayMode, bool oldLayout);

} // namespace quantities
