#include "app/CommandLine.h"
#include "app/SilentInstall.h"
#include "app/StartupRecovery.h"
#include "app/WindowSequence.h"
#include "ui/QuillonApplication.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

int printUsage(const CommandLine &commandLine)
{
    QTextStream err(stderr);
    err << commandLine.error << "\n\n" << commandLine.helpText;
    return SilentInstall::CannotStart;
}

// Everything but the windows: help, version, usage errors and the unattended
// install. These need no display.
int runWithoutWindows(const CommandLine &commandLine)
{
    switch (commandLine.action) {
    case CommandLine::Action::Help:
        QTextStream(stdout) << commandLine.helpText;
        return 0;
    case CommandLine::Action::Version:
        QTextStream(stdout) << QCoreApplication::applicationName() << ' '
                            << QCoreApplication::applicationVersion() << '\n';
        return 0;
    case CommandLine::Action::UsageError:
        return printUsage(commandLine);
    case CommandLine::Action::Run:
        break;
    }
    if (commandLine.recoverOnly)
        return RecoverOnly(commandLine);
    RecoverBeforeSilentInstall(commandLine);
    return SilentInstall(commandLine).run();
}

} // namespace

int main(int argc, char *argv[])
{
    CommandLine commandLine;
    {
        // The command line is read before any window system is touched, so
        // that a mistyped option or an unattended install never needs a display.
        QCoreApplication core(argc, argv);
        QuillonApplication::setIdentity();
        commandLine = ParseCommandLine(core.arguments(), QCoreApplication::applicationDirPath());
        if (commandLine.action != CommandLine::Action::Run || commandLine.silent)
            return runWithoutWindows(commandLine);
    }
    QuillonApplication app(argc, argv);
    RecoverBeforeWindows(commandLine);
    return RunWindows(commandLine);
}
