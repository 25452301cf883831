#include "ConsoleStream.h"

#ifdef Q_OS_WIN
#include "platform/WindowsConsoleStream.h"
#else
#include "platform/StdioConsoleStream.h"

#include <csignal>
#endif

void KeepRunningWhenOutputCloses()
{
#ifndef Q_OS_WIN
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

std::unique_ptr<ConsoleStream> OpenConsoleStream(ConsoleStream::Channel channel)
{
#ifdef Q_OS_WIN
    return std::make_unique<WindowsConsoleStream>(channel);
#else
    return std::make_unique<StdioConsoleStream>(channel);
#endif
}
