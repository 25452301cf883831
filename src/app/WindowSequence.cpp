#include "WindowSequence.h"

#include "app/CommandLine.h"

int RunWindows(const CommandLine &commandLine)
{
    Q_UNUSED(commandLine);
    return 0;
}
