#include "clicommands.h"

#include <cstdio>

int runDeltaE(const QStringList& args)
{
    Q_UNUSED(args)
    std::fprintf(stderr, "delta-e: not available yet\n");
    return 2;
}
