#include "WindowsConsoleStream.h"

WindowsConsoleStream::WindowsConsoleStream(Channel channel)
    : m_handle(GetStdHandle(channel == Channel::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE))
{
    DWORD mode = 0;
    m_console = m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE
                && GetConsoleMode(m_handle, &mode);
    m_escapes = m_console && SetConsoleMode(m_handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

void WindowsConsoleStream::write(const QString &text)
{
    if (m_handle == nullptr || m_handle == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    if (m_console) {
        WriteConsoleW(m_handle, text.utf16(), DWORD(text.size()), &written, nullptr);
        return;
    }
    const QByteArray bytes = text.toUtf8();
    WriteFile(m_handle, bytes.constData(), DWORD(bytes.size()), &written, nullptr);
}

void WindowsConsoleStream::rewriteLine(const QString &text)
{
    if (m_escapes) {
        write(QStringLiteral("\r\033[K") + text);
        return;
    }
    // An older console: blanks over what is left of the longer line before.
    const QString blanks(qMax<qsizetype>(0, m_lineLength - text.size()), u' ');
    write(u'\r' + text + blanks + u'\r' + text);
    m_lineLength = text.size();
}
