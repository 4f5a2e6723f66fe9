#include "clicommands.h"

int runInfo(const QString& simulateModel, const QStringList& args)
{
    Q_UNUSED(simulateModel) Q_UNUSED(args)
    return 1;
}
