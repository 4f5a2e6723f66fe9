#include "mainwindow.h"
#include "messagesink.h"
#include "prompter.h"
#include "promptersink.h"
#include "simulatorwindow.h"
#include "singleinstance.h"
#include "startup.h"
#include "virtualinstrument.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velorin"));
    // Settings (the folders of the file dialogs, the spectral page's split) go to
    // ~/.config/velorin/velorin.conf.
    QApplication::setOrganizationName(QStringLiteral("velorin"));
    QApplication::setApplicationVersion(QStringLiteral(VELORIN_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Companion program for USB haze meters and colorimeters (vendor 2047, product 0301)."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption simulate(
        QStringLiteral("simulate"),
        QStringLiteral("Use the virtual instrument of MODEL (%1) instead of a real one.")
            .arg(sim::VirtualInstrument::presetModels().join(QStringLiteral(", "))),
        QStringLiteral("MODEL"));
    parser.addOption(simulate);
    parser.process(app);

    std::shared_ptr<sim::VirtualInstrument> instrument;
    if (parser.isSet(simulate)) {
        instrument = sim::VirtualInstrument::fromPreset(parser.value(simulate));
        if (!instrument) {
            std::fprintf(
                stderr, "velorin: no virtual instrument for model %s (known: %s)\n",
                qPrintable(parser.value(simulate)),
                qPrintable(sim::VirtualInstrument::presetModels().join(QStringLiteral(", "))));
            return 2;
        }
    }

    SingleInstance single;
    if (single.isRunning())
        return startup::runAsSecondInstance(single, Prompter::messageBoxes());

    startup::applyLookAndFeel(app);
    PrompterSink sink(Prompter::messageBoxes());
    MessageSink::setDefaultSink(&sink);

    std::unique_ptr<MainWindow> window = startup::showMainWindow(instrument);
    single.setActivationWindow(window.get());
    QObject::connect(&single, &SingleInstance::messageReceived, window.get(),
                     &MainWindow::handleAppMessage);

    if (instrument) {
        auto* keys = new SimulatorWindow(instrument, window.get());
        // Out of the way of the device information in the window's top left corner.
        keys->adjustSize();
        const QRect screen = window->screen()->availableGeometry();
        keys->move(screen.right() - keys->width() - 40, screen.bottom() - keys->height() - 80);
        keys->show();
    }

    const int result = app.exec();
    MessageSink::setDefaultSink(nullptr);
    return result;
}
