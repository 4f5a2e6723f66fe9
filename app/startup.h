#pragma once

#include <QString>

#include <memory>

class MainWindow;
class Prompter;
class QApplication;
class SingleInstance;
namespace history {
class HistoryStore;
}

namespace sim {
class VirtualInstrument;
}

namespace startup {

constexpr char kWindowTitle[] = "Velorin V2.0";

// Compiled-in resources (skin, lamps, icon); the library holding them is static.
void initResources();

// Skin, palette, font and the drag filter, applied to the whole application.
void applyLookAndFeel(QApplication& app);

// The main window, connected to the virtual instrument when one is given, titled, maximised and
// shown.
// The workspace writes to `history` when one is given.
std::unique_ptr<MainWindow> showMainWindow(std::shared_ptr<sim::VirtualInstrument> instrument,
                                           Prompter* prompter = nullptr,
                                           history::HistoryStore* history = nullptr);

// What a second start does: wake the running instance, tell the user, and end with 0.
int runAsSecondInstance(SingleInstance& instance, Prompter& prompter);

} // namespace startup
