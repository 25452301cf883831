#include "StdioConsoleStream.h"

#include <unistd.h>

StdioConsoleStream::StdioConsoleStream(Channel channel)
    : m_file(channel == Channel::Output ? stdout : stderr)
    , m_interactive(isatty(fileno(m_file)) != 0)
{}

void StdioConsoleStream::write(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_file);
    std::fflush(m_file);
}

void StdioConsoleStream::rewriteLine(const QString &text)
{
    // Back to the start of the line, and clear it.
    write(QStringLiteral("\r\033[K") + text);
}
