#include "app/CommandLine.h"
#include "app/SilentInstall.h"
#include "app/StartupRecovery.h"
#include "app/WindowSequence.h"
#include "platform/ConsoleStream.h"
#include "ui/QuillonApplication.h"

#include <QCoreApplication>

namespace {

void print(ConsoleStream::Channel channel, const QString &text)
{
    OpenConsoleStream(channel)->write(text);
}

int printUsage(const CommandLine &commandLine)
{
    print(ConsoleStream::Channel::Error,
          commandLine.error + QStringLiteral("\n\n") + commandLine.helpText);
    if (!commandLine.reportFile.isEmpty())
        return SilentInstall(commandLine).reportUsageError();
    return SilentInstall::CannotStart;
}

// Everything but the windows: help, version, usage errors, the unattended
// install and repair, and the check. These need no display.
int runWithoutWindows(const CommandLine &commandLine)
{
    switch (commandLine.action) {
    case CommandLine::Action::Help:
        print(ConsoleStream::Channel::Output, commandLine.helpText);
        return 0;
    case CommandLine::Action::Version:
        print(ConsoleStream::Channel::Output, QCoreApplication::applicationName() + u' '
                                                      + QCoreApplication::applicationVersion()
                                                      + u'\n');
        return 0;
    case CommandLine::Action::UsageError:
        return printUsage(commandLine);
    case CommandLine::Action::Run:
        break;
    }
    // A script that reads only the first lines must not end the run.
    KeepRunningWhenOutputCloses();
    if (commandLine.recoverOnly)
        return RecoverOnly(commandLine);
    // A check writes nothing: an interrupted run is left for the next start.
    if (!commandLine.verify)
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
        if (commandLine.action != CommandLine::Action::Run || commandLine.unattended())
            return runWithoutWindows(commandLine);
    }
    QuillonApplication app(argc, argv);
    RecoverBeforeWindows(commandLine);
    return RunWindows(commandLine);
}
