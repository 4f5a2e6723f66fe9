#include "instrumentprofile.h"

#include "modeltable.h"

InstrumentProfile InstrumentProfile::make(const QString& model, int uiIndex, int firmware) {
    InstrumentProfile p;
    p.model = model;
    p.uiIndex = uiIndex;
    p.firmwareVersion = firmware;
    p.oldLayout = models::usesOldLayout(model, firmware);
    p.pull = p.oldLayout                                      ? Pull::Legacy
             : models::usesModeResultCommand(model, firmware) ? Pull::ModeResult
                                                              : Pull::ColourBlock;
    switch (uiIndex) {
    case 1:
        p.displayModes = {3, 4};
        break;
    case 2:
        p.displayModes = {3};
        break;
    case 3:
        p.displayModes = {0, 1, 2};
        break;
    default:
        p.displayModes = {0, 1, 2, 3, 4, 5};
        break;
    }
    p.hazeTLabShown = firmware > 113 && model == QLatin1String("KV510");
    p.formulaShown = uiIndex != 2;
    p.spectralShown = uiIndex != 3 && !(uiIndex == 1 && p.oldLayout);
    p.writeStdColorShown = uiIndex == 1;
    p.parameterPage = uiIndex == 1 || uiIndex == 2;
    p.judgesWithFormula = uiIndex == 1;
    return p;
}

bool InstrumentProfile::suits(int mode) const {
    switch (uiIndex) {
    case 0:
        return mode >= 0 && mode <= 6;
    case 1:
        return mode == 3 || mode == 4;
    case 2:
        return mode == 3;
    case 3:
        return mode >= 0 && mode <= 2;
    default:
        return false;
    }
}
