#pragma once

#include <QString>

#include <memory>

// Standard output or standard error of a program run from a console or a
// script. Text reaches a console as characters, whatever its code page, and
// a file or a pipe as UTF-8, so that no language comes out garbled.
class ConsoleStream
{
public:
    enum class Channel { Output, Error };

    virtual ~ConsoleStream() = default;

    // True when a person watches the stream (a terminal or a console
    // window), false for a file or a pipe.
    virtual bool isInteractive() const = 0;

    // Writes the text; "\n" ends a line.
    virtual void write(const QString &text) = 0;

    // Overwrites the current line with the text, which holds no line break;
    // for a progress line on an interactive stream.
    virtual void rewriteLine(const QString &text) = 0;
};

// Output that nobody reads any more (a script's "| head -2") only makes
// writes fail, instead of ending the program as Unix does by default.
void KeepRunningWhenOutputCloses();

// The stream of this process for the channel.
std::unique_ptr<ConsoleStream> OpenConsoleStream(ConsoleStream::Channel channel);
