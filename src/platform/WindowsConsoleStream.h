#pragma once

#include "platform/ConsoleStream.h"

#include <windows.h>

// Standard output or error on Windows. A console gets the text through
// WriteConsoleW, so it shows right whatever the console's code page; a file
// or a pipe gets UTF-8 bytes. A program started without either (a window
// program from Explorer) writes nowhere.
class WindowsConsoleStream : public ConsoleStream
{
public:
    explicit WindowsConsoleStream(Channel channel);

    bool isInteractive() const override { return m_console; }
    void write(const QString &text) override;
    void rewriteLine(const QString &text) override;

private:
    HANDLE m_handle;
    bool m_console = false;
    bool m_escapes = false;     // the console understands "\033[K"
    qsizetype m_lineLength = 0; // of the line rewriteLine() wrote last
};
