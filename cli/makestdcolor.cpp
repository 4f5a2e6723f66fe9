#include "clicommands.h"

#include "modeltable.h"
#include "stdcolormaker.h"

#include <cstdio>

namespace {

constexpr char kUsage[] =
    "Usage: velorin-cli make-stdcolor LIST.csv --model MODEL --out StdColor.xlsx\n";

} // namespace

int runMakeStdColor(const QStringList& args) {
    QString list, model, out;
    bool bad = false;
    for (int i = 0; i < args.size() && !bad; ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--model") && i + 1 < args.size())
            model = args.at(++i);
        else if (a == QLatin1String("--out") && i + 1 < args.size())
            out = args.at(++i);
        else if (list.isEmpty() && !a.startsWith(QLatin1String("--")))
            list = a;
        else
            bad = true;
    }
    if (bad || list.isEmpty() || model.isEmpty() || out.isEmpty()) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    // The writer takes a library only for the model it was made for: catch a mistyped name now
    // rather than at the instrument.
    const ModelTable table = ModelTable::loadDefault();
    QStringList known;
    for (const ModelRow& row : table.rows())
        known.append(row.model);
    if (!known.isEmpty() && !known.contains(model.simplified())) {
        std::fprintf(stderr, "velorin-cli: unknown model %s (the model table has %s)\n",
                     qPrintable(model), qPrintable(known.join(QLatin1String(", "))));
        return 2;
    }
    stdcolormaker::Made made;
    if (const auto problem = stdcolormaker::make(list, model, out, &made)) {
        std::fprintf(stderr, "%s\n", qPrintable(problem->text));
        return 1;
    }
    std::printf("%s written: %d cards, %d colours\n", qPrintable(out), made.cards, made.colours);
    return 0;
}
