#pragma once

#include "instrumentkind.h"

#include <QList>
#include <QString>

// What the page shows and which commands it uses for one instrument: a pure value computed from
// the model-table row (model, user-interface kind) and the firmware version.
struct InstrumentProfile {
    enum class Pull { ColourBlock, ModeResult, Legacy };

    static InstrumentProfile make(const QString& model, int uiIndex, int firmwareVersion);

    QString model;
    int uiIndex = 0;
    InstrumentKind kind = InstrumentKind::HazeAndColour;
    int firmwareVersion = 0;

    bool oldLayout = false;
    // The pull command of the current layout's buttons (the old layout always pulls Legacy).
    Pull pull = Pull::ColourBlock;
    // Display modes offered by the radio buttons; Haze/T/Lab only on a haze and colour meter
    // KV510 from firmware 1.14.
    QList<int> displayModes;
    bool hazeTLabShown = false;
    bool formulaShown = true;
    bool spectralShown = true;
    bool writeStdColorShown = false;
    // The settings page is the dE parameter (kinds 1 and 2) rather than the tolerance block.
    bool parameterPage = false;
    // Colorimeters with a selectable formula judge with it and with the parameter's threshold.
    bool judgesWithFormula = false;
    // Spectra are reflectance (colorimeters) rather than transmittance.
    bool reflectance = false;

    // Whether the instrument may report this display mode.
    bool suits(int displayMode) const;
};
