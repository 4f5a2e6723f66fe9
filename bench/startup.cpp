// Time from process start to the main window shown with the virtual instrument identified.
// The parent starts itself as a child process (offscreen) several times and reports the median.
#include "startup.h"
#include "firstpagefor510.h"
#include "mainwindow.h"
#include "prompter.h"
#include "virtualinstrument.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kRuns = 7;
constexpr int kChildTimeoutMs = 20000;

// The connection confirms its settings read in a box; nobody is there to close it.
class SilentPrompter : public Prompter {
  public:
    void information(QWidget*, const QString&, const QString&) override {}
    QMessageBox::StandardButton question(QWidget*, const QString&, const QString&,
                                         QMessageBox::StandardButtons,
                                         QMessageBox::StandardButton) override {
        return QMessageBox::Yes;
    }
};

int runChild(int argc, char* argv[]) {
    QApplication app(argc, argv);
    startup::applyLookAndFeel(app);
    SilentPrompter prompter;
    std::unique_ptr<MainWindow> window = startup::showMainWindow(
        sim::VirtualInstrument::fromPreset(QStringLiteral("KV510")), &prompter);

    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (window->isVisible() && window->isLampOn() &&
            window->page()->session().identity().firmwareVersion > 0) {
            std::printf("READY\n");
            std::fflush(stdout);
            app.exit(0);
        }
    });
    poll.start(1);
    QTimer::singleShot(kChildTimeoutMs, &app, [&] { app.exit(1); });
    return app.exec();
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 1 && std::strcmp(argv[1], "--child") == 0)
        return runChild(argc, argv);

    QCoreApplication app(argc, argv);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // The translations lie beside the program, one folder up from the benchmarks.
    const QString buildRoot =
        QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/..")).absolutePath();

    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        QProcess child;
        child.setProcessEnvironment(env);
        child.setWorkingDirectory(buildRoot);
        QElapsedTimer timer;
        timer.start();
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child")});
        QByteArray output;
        while (!output.contains("READY") && child.waitForReadyRead(kChildTimeoutMs))
            output += child.readAllStandardOutput();
        const double ms = timer.nsecsElapsed() / 1e6;
        child.waitForFinished(kChildTimeoutMs);
        if (!output.contains("READY")) {
            std::fprintf(stderr, "startup: the window did not identify the instrument\n%s",
                         child.readAllStandardError().constData());
            return 1;
        }
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("BENCH startup_ms %.1f ms\n", times[times.size() / 2]);
    return 0;
}
