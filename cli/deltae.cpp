#include "clicommands.h"

#include "colourdifference.h"

#include <cmath>
#include <cstdio>

namespace {

int usage() {
    std::fprintf(stderr,
                 "Usage: velorin-cli delta-e [--old-layout] [--formula N] L1 a1 b1 L2 a2 b2\n"
                 "  L1 a1 b1 is the standard, L2 a2 b2 the sample. Without --formula, prints\n"
                 "  every formula of the instrument group as <label> <value>; with it, only\n"
                 "  the value of formula index N.\n");
    return 2;
}

// Far beyond any L*, a* or b* (the instrument's words hold ±327.67): the formulas would only
// overflow to inf or nan.
constexpr double kLimit = 10000;

void printValue(double value) {
    std::printf("%s\n", QString::number(value, 'g', 10).toUtf8().constData());
}

} // namespace

int runDeltaE(const QStringList& args) {
    bool oldLayout = false;
    bool haveFormula = false;
    int formula = 0;
    QList<double> numbers;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg == QLatin1String("--old-layout")) {
            oldLayout = true;
        } else if (arg == QLatin1String("--formula")) {
            if (haveFormula || i + 1 >= args.size())
                return usage();
            bool ok = false;
            formula = args.at(++i).toInt(&ok);
            if (!ok)
                return usage();
            haveFormula = true;
        } else if (arg.startsWith(QLatin1String("--"))) {
            std::fprintf(stderr, "delta-e: unknown option %s\n", qPrintable(arg));
            return usage();
        } else {
            bool ok = false;
            const double value = arg.toDouble(&ok);
            if (!ok || !std::isfinite(value)) {
                std::fprintf(stderr, "delta-e: not a number: %s\n", qPrintable(arg));
                return usage();
            }
            if (std::fabs(value) > kLimit) {
                std::fprintf(stderr, "delta-e: %s is out of range (-%g to %g)\n", qPrintable(arg),
                             kLimit, kLimit);
                return usage();
            }
            numbers.append(value);
        }
    }
    if (numbers.size() != 6)
        return usage();
    const int formulas = colour::formulaCount(oldLayout);
    if (haveFormula && (formula < 0 || formula >= formulas)) {
        std::fprintf(stderr, "delta-e: formula %d does not exist; formulas are 0 to %d%s\n",
                     formula, formulas - 1, oldLayout ? " with --old-layout" : "");
        return usage();
    }

    const colour::Lab standard{numbers[0], numbers[1], numbers[2]};
    const colour::Lab sample{numbers[3], numbers[4], numbers[5]};
    if (haveFormula) {
        printValue(colour::deltaEByIndex(formula, oldLayout, standard, sample));
        return 0;
    }
    for (int index = 0; index < formulas; ++index) {
        std::printf("%s ", colour::formulaLabelSource(index, oldLayout));
        printValue(colour::deltaEByIndex(index, oldLayout, standard, sample));
    }
    return 0;
}
