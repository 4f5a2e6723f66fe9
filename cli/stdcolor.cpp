#include "clicommands.h"

#include "cliinstrument.h"
#include "stdcolorlibrary.h"

#include <cstdio>

int runWriteStdColor(const QString& simulateModel, const QStringList& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "Usage: velorin-cli [--simulate MODEL] write-stdcolor FILE\n");
        return 2;
    }
    CliInstrument instrument;
    if (!instrument.open(simulateModel) || !instrument.identify())
        return 1;
    stdcolorlib::Library library;
    std::optional<stdcolorlib::Problem> problem =
        stdcolorlib::loadFile(args.first(), instrument.modelName(), library);
    if (!problem)
        problem = stdcolorlib::write(instrument.port, library, [&library](int block) {
            std::printf("\rblock %d of %d", block, stdcolorlib::blockCount(library));
            std::fflush(stdout);
        });
    std::printf("\n");
    if (problem) {
        std::fprintf(stderr, "%s\n", qPrintable(problem->text));
        return 1;
    }
    stdcolorlib::drain(instrument.port);
    std::printf("Write to standard color card library successfully! (%d cards, %d colours)\n",
                library.count, library.colourRows);
    return 0;
}
