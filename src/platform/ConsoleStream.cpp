#include "ConsoleStream.h"

#ifdef Q_OS_WIN
#include "platform/WindowsConsoleStream.h"
#else
#include "platform/StdioConsoleStream.h"
#endif

std::unique_ptr<ConsoleStream> OpenConsoleStream(ConsoleStream::Channel channel)
{
#ifdef Q_OS_WIN
    return std::make_unique<WindowsConsoleStream>(channel);
#else
    return std::make_unique<StdioConsoleStream>(channel);
#endif
}
