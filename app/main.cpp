#include "mainwindow.h"
#include "messagesink.h"
#include "prompter.h"
#include "promptersink.h"
#include "readingsfile.h"
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
    const QCommandLineOption readings(
        QStringLiteral("readings"),
        QStringLiteral("With --simulate: the readings the virtual instrument reports, in order, "
                       "one \"haze T L a b\" per line (the last one stays)."),
        QStringLiteral("FILE"));
    parser.addOption(readings);
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
        if (parser.isSet(readings)) {
            QList<sim::Measurement> list;
            QString error;
            if (!sim::loadReadings(parser.value(readings), list, error)) {
                std::fprintf(stderr, "velorin: --readings %s\n", qPrintable(error));
                return 2;
            }
            instrument->setReadings(list);
        }
    } else if (parser.isSet(readings)) {
        std::fprintf(stderr, "velorin: --readings needs --simulate MODEL\n");
        return 2;
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
