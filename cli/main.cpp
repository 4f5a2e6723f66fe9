#include "clicommands.h"
#include "trace.h"

#include <QCoreApplication>

#include <cstdio>

namespace {
// Diagnostic lines of the link are for developers: shown only with the traffic trace on.
void cliMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtDebugMsg && !trace::enabled())
        return;
    std::fprintf(stderr, "%s\n", qPrintable(message.trimmed()));
}

void printHelp() {
    std::printf(
        "Usage: velorin-cli [--simulate MODEL] <command> [arguments]\n\n"
        "Commands:\n"
        "  info      identify the instrument and print its settings\n"
        "  delta-e [--old-layout] [--formula N] L1 a1 b1 L2 a2 b2\n"
        "            colour differences between a standard and a sample\n"
        "  spectral --out FILE.xlsx\n"
        "            take one spectral measurement and write it as a workbook\n"
        "  spectral-history --out FILE.xlsx\n"
        "            write the spectra stored in the instrument as a workbook\n"
        "  export-records --mode MODE --out FILE.xlsx\n"
        "            write the comparisons stored in the instrument as the program's\n"
        "            comparison sheet; MODE is the display mode whose records to read\n"
        "            (0 Haze/T, 1 Haze, 2 T, 3 Lab, 4 LCh, 5 Yxy, 6 Haze/T/Lab) or \"old\"\n"
        "            for the record area of old-layout instruments\n"
        "  write-stdcolor FILE\n"
        "            write the standard colour library of StdColor.xlsx into the instrument\n"
        "  history [--serial SN] [--from DATE] [--to DATE] [--verdict PASS|NG] [--out FILE.csv]\n"
        "            print the comparisons of the measurement history as CSV\n\n"
        "Options:\n"
        "  --simulate MODEL  use the virtual instrument of MODEL (KV510, KV620, KV630,\n"
        "                    KV650, KV660, KV670) instead of a real one\n"
        "  --database URL    the history: sqlite:PATH or postgresql://[user@]host[:port]/db\n"
        "                    (default: VELORIN_DATABASE, else the program's own file)\n"
        "  --help            show this text\n");
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(cliMessages);
    QStringList args = app.arguments().mid(1);
    QString simulate;
    QString database;
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString opt = args.takeFirst();
        if (opt == QLatin1String("--help")) {
            printHelp();
            return 0;
        }
        if (opt == QLatin1String("--database") && !args.isEmpty()) {
            database = args.takeFirst();
            continue;
        }
        if (opt == QLatin1String("--simulate") && !args.isEmpty()) {
            simulate = args.takeFirst();
            continue;
        }
        std::fprintf(stderr, "velorin-cli: unknown option %s\n", qPrintable(opt));
        printHelp();
        return 2;
    }
    if (args.isEmpty()) {
        printHelp();
        return 2;
    }
    const QString command = args.takeFirst();
    if (command == QLatin1String("info"))
        return runInfo(simulate, args);
    if (command == QLatin1String("delta-e"))
        return runDeltaE(args);
    if (command == QLatin1String("spectral"))
        return runSpectral(simulate, args);
    if (command == QLatin1String("spectral-history"))
        return runSpectralHistory(simulate, args);
    if (command == QLatin1String("export-records"))
        return runExportRecords(simulate, args);
    if (command == QLatin1String("write-stdcolor"))
        return runWriteStdColor(simulate, args);
    if (command == QLatin1String("history"))
        return runHistory(database, args);
    std::fprintf(stderr, "velorin-cli: unknown command %s\n", qPrintable(command));
    printHelp();
    return 2;
}
