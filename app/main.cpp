#include "faultspec.h"
#include "historystore.h"
#include "historyurl.h"
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
#include <QSettings>

#include <cstdio>

namespace {

struct Options {
    QCommandLineOption simulate{
        QStringLiteral("simulate"),
        QStringLiteral("Use the virtual instrument of MODEL (%1) instead of a real one.")
            .arg(sim::VirtualInstrument::presetModels().join(QStringLiteral(", "))),
        QStringLiteral("MODEL")};
    QCommandLineOption fault{QStringLiteral("fault"),
                             QStringLiteral("With --simulate: make the virtual instrument "
                                            "misbehave; may be given several times. Kinds:\n") +
                                 sim::faultHelp(),
                             QStringLiteral("KIND[:ARG]")};
    QCommandLineOption readings{
        QStringLiteral("readings"),
        QStringLiteral("With --simulate: the readings the virtual instrument reports, in order, "
                       "one \"haze T L a b\" per line (the last one stays)."),
        QStringLiteral("FILE")};
    QCommandLineOption database{
        QStringLiteral("database"),
        QStringLiteral("The measurement history: sqlite:PATH, or a lab database "
                       "postgresql://[user@]host[:port]/dbname (default: VELORIN_DATABASE, else "
                       "the program's own file)."),
        QStringLiteral("URL")};
    QCommandLineParser parser;

    Options() {
        parser.setApplicationDescription(
            QStringLiteral("Companion program for USB haze meters and colorimeters (vendor "
                           "2047, product 0301)."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(simulate);
        parser.addOption(fault);
        parser.addOption(readings);
        parser.addOption(database);
    }
};

void nameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("velorin"));
    // Settings (the folders of the file dialogs, the spectral page's split) go to
    // ~/.config/velorin/velorin.conf.
    QCoreApplication::setOrganizationName(QStringLiteral("velorin"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELORIN_VERSION));
    // The desktop entry the window belongs to (its icon and name on Wayland desktops).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.velorin.Velorin"));
}

// --help and --version need no display: answered before any window system is touched.
void answerWithoutDisplay(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--help" || arg == "-h" || arg == "-?" || arg == "--help-all" ||
            arg == "--version" || arg == "-v") {
            QCoreApplication app(argc, argv);
            nameApplication();
            Options options;
            // Prints and exits for help and version; other mistakes are reported the same way.
            options.parser.process(app);
            return;
        }
    }
}

} // namespace

int main(int argc, char* argv[]) {
    answerWithoutDisplay(argc, argv);
    QApplication app(argc, argv);
    nameApplication();

    Options options;
    options.parser.process(app);

    std::shared_ptr<sim::VirtualInstrument> instrument;
    if (options.parser.isSet(options.simulate)) {
        const QString model = options.parser.value(options.simulate);
        instrument = sim::VirtualInstrument::fromPreset(model);
        if (!instrument) {
            std::fprintf(
                stderr, "velorin: no virtual instrument for model %s (known: %s)\n",
                qPrintable(model),
                qPrintable(sim::VirtualInstrument::presetModels().join(QStringLiteral(", "))));
            return 2;
        }
        if (options.parser.isSet(options.readings)) {
            QList<sim::Measurement> list;
            QString error;
            if (!sim::loadReadings(options.parser.value(options.readings), list, error)) {
                std::fprintf(stderr, "velorin: --readings %s\n", qPrintable(error));
                return 2;
            }
            instrument->setReadings(list);
        }
    } else if (options.parser.isSet(options.readings)) {
        std::fprintf(stderr, "velorin: --readings needs --simulate MODEL\n");
        return 2;
    }
    const QStringList faults = options.parser.values(options.fault);
    if (!faults.isEmpty() && !instrument) {
        std::fprintf(stderr, "velorin: --fault needs --simulate MODEL\n");
        return 2;
    }
    for (const QString& text : faults) {
        QString why;
        const auto fault = sim::parseFault(text, &why);
        if (!fault) {
            std::fprintf(stderr, "velorin: %s\n", qPrintable(why));
            return 2;
        }
        sim::applyFault(*instrument, *fault);
    }

    QString databaseText = options.parser.value(options.database);
    if (databaseText.isEmpty())
        databaseText = qEnvironmentVariable("VELORIN_DATABASE");
    // Last, the database chosen in the history window.
    if (databaseText.isEmpty())
        databaseText = QSettings().value(QStringLiteral("history/database")).toString();
    const history::HistoryUrl databaseUrl =
        databaseText.isEmpty() ? history::HistoryUrl::sqliteFile(history::defaultHistoryPath())
                               : history::HistoryUrl::parse(databaseText);
    if (!databaseUrl.isValid()) {
        std::fprintf(stderr, "velorin: --database %s\n", qPrintable(databaseUrl.error));
        return 2;
    }

    SingleInstance single;
    if (single.isRunning())
        return startup::runAsSecondInstance(single, Prompter::messageBoxes());

    startup::applyLookAndFeel(app);
    PrompterSink sink(Prompter::messageBoxes());
    MessageSink::setDefaultSink(&sink);

    // A history that cannot be opened now is off: the window says so and measuring goes on.
    history::HistoryStore historyStore;
    historyStore.openUrl(databaseUrl);
    std::unique_ptr<MainWindow> window =
        startup::showMainWindow(instrument, nullptr, &historyStore);
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
