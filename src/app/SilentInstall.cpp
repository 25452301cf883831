#include "SilentInstall.h"

SilentInstall::SilentInstall(const CommandLine &commandLine) : m_commandLine(commandLine) {}

int SilentInstall::run()
{
    return CannotStart;
}
