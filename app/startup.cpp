#include "startup.h"

#include "appinit.h"
#include "lookandfeel.h"
#include "mainwindow.h"
#include "prompter.h"
#include "simdevicewatcher.h"
#include "singleinstance.h"
#include "virtualinstrument.h"

#include <QApplication>
#include <QIcon>

static void initVelorinResources() {
    Q_INIT_RESOURCE(velorin);
}

namespace startup {

void initResources() {
    initVelorinResources();
}

void applyLookAndFeel(QApplication& app) {
    initResources();
    lookandfeel::applySkin(app);
    lookandfeel::applyFont(app);
    app.installEventFilter(AppInit::Instance());
    app.setWindowIcon(QIcon(QStringLiteral(":/image/velorin.png")));
}

std::unique_ptr<MainWindow> showMainWindow(std::shared_ptr<sim::VirtualInstrument> instrument,
                                           Prompter* prompter, history::HistoryStore* history) {
    MainWindowSetup setup;
    setup.prompter = prompter;
    setup.history = history;
    if (instrument) {
        setup.watcher = std::make_unique<SimDeviceWatcher>(instrument);
        setup.transportFactory = [instrument] { return instrument->createTransport(); };
    }
    auto window = std::make_unique<MainWindow>(std::move(setup));
    window->setWindowTitle(QString::fromLatin1(kWindowTitle));
    window->setWindowState(Qt::WindowMaximized);
    window->show();
    return window;
}

int runAsSecondInstance(SingleInstance& instance, Prompter& prompter) {
    // Shown even when the running instance did not take the message in time.
    instance.sendMessage(QString::fromLatin1(SingleInstance::kActivationMessage),
                         SingleInstance::kActivationTimeoutMs);
    prompter.information(nullptr, QStringLiteral("Warn"), QStringLiteral("Device already opened!"));
    return 0;
}

} // namespace startup
