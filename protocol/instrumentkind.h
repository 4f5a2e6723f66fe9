#pragma once

// What an instrument measures, from the user-interface index of its model-table row. The one
// type every layer decides by; the instrument profile turns it into what the page offers.
enum class InstrumentKind {
    HazeAndColour = 0,         // haze, T and the colour modes
    SelectableColorimeter = 1, // colour only, the formula chosen on the instrument
    FixedColorimeter = 2,      // colour only, ΔE*ab
    HazeOnly = 3,              // haze and T only
};

// Indices outside 0..3 are read as a haze meter with colour modes, as the model table's default.
constexpr InstrumentKind instrumentKind(int uiIndex) {
    return uiIndex >= 0 && uiIndex <= 3 ? static_cast<InstrumentKind>(uiIndex)
                                        : InstrumentKind::HazeAndColour;
}
constexpr int uiIndexOf(InstrumentKind kind) {
    return static_cast<int>(kind);
}
// Haze meters measure in transmission; colorimeters in reflection, with their own memory map.
constexpr bool isColorimeter(InstrumentKind kind) {
    return kind == InstrumentKind::SelectableColorimeter ||
           kind == InstrumentKind::FixedColorimeter;
}
constexpr bool isColorimeter(int uiIndex) {
    return isColorimeter(instrumentKind(uiIndex));
}
