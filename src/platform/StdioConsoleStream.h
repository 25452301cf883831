#pragma once

#include "platform/ConsoleStream.h"

#include <cstdio>

// Standard output or error on systems whose terminals take UTF-8.
class StdioConsoleStream : public ConsoleStream
{
public:
    explicit StdioConsoleStream(Channel channel);

    bool isInteractive() const override { return m_interactive; }
    void write(const QString &text) override;
    void rewriteLine(const QString &text) override;

private:
    FILE *m_file;
    bool m_interactive;
};
