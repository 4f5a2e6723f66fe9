#include "clicommands.h"
#include "cliinstrument.h"
#include "faultspec.h"
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
        "Usage: velorin-cli [--simulate MODEL [--readings FILE]] <command> [arguments]\n\n"
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
        "  compare [--samples N] [--pushed] [--haze-tol X] [--t-tol Y] [--formula N]\n"
        "          [--threshold Z] [--product NAME] [--lot TEXT] [--out FILE.xlsx]\n"
        "            measure a standard and N samples (pulled, or pushed by the instrument)\n"
        "            and print the comparisons as CSV, then PASS p NG n TOTAL t; the\n"
        "            settings given are written to the instrument first. --product NAME\n"
        "            writes the product's settings and takes its standard without\n"
        "            measuring one; --lot TEXT is kept with every comparison\n"
        "  products add NAME [--haze-tol X] [--t-tol Y] [--threshold Z] [--formula N]\n"
        "            measure the standard now and keep it, with the settings (those given\n"
        "            are written to the instrument first), as product NAME of the model\n"
        "  products list [--model MODEL] [--filter TEXT] [--retired]\n"
        "            print the products as CSV: name, model, mode, the standard, settings\n"
        "  products remove NAME [--model MODEL]\n"
        "            retire a product; comparisons made with it keep naming it\n"
        "  write-stdcolor FILE\n"
        "            write the standard colour library of StdColor.xlsx into the instrument\n"
        "  make-stdcolor LIST.csv --model MODEL --out StdColor.xlsx\n"
        "            make the standard colour library workbook for MODEL from a list of\n"
        "            colours, with every count and check value worked out. LIST.csv is\n"
        "            UTF-8, comma-separated; its first line is a heading, then one colour\n"
        "            a line: name, card text 1, card text 2, value 1, value 2, value 3\n"
        "            [, card value]. Names up to 20 bytes, card texts up to 16 bytes;\n"
        "            colours with the same card texts form one card (at most 47 cards,\n"
        "            10082 colours in all, what the instrument's memory holds);\n"
        "            values have at most two decimals (-327.68 to 327.67); the optional\n"
        "            card value is a whole number 0..65535 (default 0). Example:\n"
        "            resources/stdcolor-sample.csv\n"
        "  history [--serial SN] [--from DATE] [--to DATE] [--verdict PASS|NG]\n"
        "          [--product NAME] [--lot TEXT] [--station NAME] [--out FILE.csv|.xlsx]\n"
        "            print the comparisons of the measurement history as CSV (--station: one\n"
        "            station's rows of the lab database)\n"
        "\n"
        "Options:\n"
        "  --simulate MODEL  use the virtual instrument of MODEL (KV510, KV620, KV630,\n"
        "                    KV650, KV660, KV670) instead of a real one\n"
        "  --database URL    the history: sqlite:PATH or postgresql://[user@]host[:port]/db\n"
        "                    (default: VELORIN_DATABASE, else the program's own file,\n"
        "                    ~/.local/share/velorin/history.sqlite). compare and\n"
        "                    export-records store every comparison there before showing it\n"
        "                    and stop with the reason when it cannot be stored; products\n"
        "                    are kept there too\n"
        "  --no-history      compare and export-records without the history\n"
        "  --readings FILE   the readings the virtual instrument reports, in order: one\n"
        "                    \"haze T L a b\" per line; the last one stays\n"
        "  --fault KIND[:ARG]  with --simulate: make the virtual instrument misbehave;\n"
        "                    may be given several times. Kinds:\n"
        "%s"
        "  --help            show this text\n",
        qPrintable(sim::faultHelp()));
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(cliMessages);
    QStringList args = app.arguments().mid(1);
    QString simulate;
    QList<sim::FaultSpec> faults;
    QString database;
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString opt = args.takeFirst();
        if (opt == QLatin1String("--help")) {
            printHelp();
            return 0;
        }
        if (opt == QLatin1String("--no-history")) {
            setHistoryOff(true);
            continue;
        }
        if (opt == QLatin1String("--simulate") || opt == QLatin1String("--fault") ||
            opt == QLatin1String("--readings") || opt == QLatin1String("--database")) {
            if (args.isEmpty() || args.first().startsWith(QLatin1String("--"))) {
                std::fprintf(stderr, "velorin-cli: %s needs a value (%s)\n", qPrintable(opt),
                             opt == QLatin1String("--simulate") ? "a model, as --simulate KV510"
                             : opt == QLatin1String("--fault")  ? "a fault, as --fault delay:7000"
                             : opt == QLatin1String("--database")
                                 ? "sqlite:PATH or postgresql://..."
                                 : "a file of readings");
                return 2;
            }
            const QString value = args.takeFirst();
            if (opt == QLatin1String("--simulate")) {
                simulate = value;
                continue;
            }
            if (opt == QLatin1String("--database")) {
                database = value;
                continue;
            }
            if (opt == QLatin1String("--readings")) {
                CliInstrument::setReadingsFile(value);
                continue;
            }
            QString why;
            const auto fault = sim::parseFault(value, &why);
            if (!fault) {
                std::fprintf(stderr, "velorin-cli: %s\n", qPrintable(why));
                return 2;
            }
            faults.append(*fault);
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
    if (!faults.isEmpty() && simulate.isEmpty()) {
        std::fprintf(stderr, "velorin-cli: --fault needs --simulate MODEL: only the virtual "
                             "instrument can be made to misbehave\n");
        return 2;
    }
    CliInstrument::setFaults(faults);
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
        return runExportRecords(simulate, database, args);
    if (command == QLatin1String("compare"))
        return runCompare(simulate, database, args);
    if (command == QLatin1String("write-stdcolor"))
        return runWriteStdColor(simulate, args);
    if (command == QLatin1String("make-stdcolor"))
        return runMakeStdColor(args);
    if (command == QLatin1String("history"))
        return runHistory(database, args);
    if (command == QLatin1String("products"))
        return runProducts(simulate, database, args);
    std::fprintf(stderr, "velorin-cli: unknown command %s\n", qPrintable(command));
    printHelp();
    return 2;
}
