#include "instrumentprofile.h"

#include "modeltable.h"

InstrumentProfile InstrumentProfile::make(const QString& model, int uiIndex, int firmware) {
    InstrumentProfile p;
    p.model = model;
    p.uiIndex = uiIndex;
    p.kind = instrumentKind(uiIndex);
    p.firmwareVersion = firmware;
    p.oldLayout = models::usesOldLayout(model, firmware);
    p.pull = p.oldLayout                                      ? Pull::Legacy
             : models::usesModeResultCommand(model, firmware) ? Pull::ModeResult
                                                              : Pull::ColourBlock;
    switch (p.kind) {
    case InstrumentKind::SelectableColorimeter:
        p.displayModes = {3, 4};
        break;
    case InstrumentKind::FixedColorimeter:
        p.displayModes = {3};
        break;
    case InstrumentKind::HazeOnly:
        p.displayModes = {0, 1, 2};
        break;
    case InstrumentKind::HazeAndColour:
        p.displayModes = {0, 1, 2, 3, 4, 5};
        // Haze, T and L*a*b* together only from KV510 firmware 1.14, and only where the
        // instrument measures colour at all.
        p.hazeTLabShown = firmware > 113 && model == QLatin1String("KV510");
        if (p.hazeTLabShown)
            p.displayModes.append(6);
        break;
    }
    p.formulaShown = p.kind != InstrumentKind::FixedColorimeter;
    p.spectralShown = p.kind != InstrumentKind::HazeOnly &&
                      !(p.kind == InstrumentKind::SelectableColorimeter && p.oldLayout);
    p.writeStdColorShown = p.kind == InstrumentKind::SelectableColorimeter;
    p.parameterPage = isColorimeter(p.kind);
    p.judgesWithFormula = p.kind == InstrumentKind::SelectableColorimeter;
    p.reflectance = isColorimeter(p.kind);
    return p;
}

bool InstrumentProfile::suits(int mode) const {
    // A haze and colour meter may report Haze/T/Lab even where the page does not offer it.
    if (kind == InstrumentKind::HazeAndColour)
        return mode >= 0 && mode <= 6;
    return displayModes.contains(mode);
}
