#pragma once

#include <QByteArray>
#include <QHash>
#include <QIODevice>
#include <QString>
#include <QStringList>

// Reads an INI file the way the Windows profile functions read it: section and
// key names compare without regard to case, a value is the rest of the line
// after the first "=" with the blanks around it trimmed and one pair of
// surrounding double quotes removed, lines starting with ";" are comments, the
// first occurrence of a repeated key wins, and a missing file reads as empty.
//
// QSettings is not used: its INI format decodes backslash escapes (which our
// texts and paths are full of), compares keys case-sensitively on Linux and
// has no notion of "first key wins".
class IniFile
{
public:
    IniFile() = default;

    // Larger files are refused unread: none of ours comes near it, and a file
    // is held whole, twice over, while it is read.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    // Reads the whole file at once. UTF-8 (with or without byte-order mark) and
    // UTF-16LE with a byte-order mark are understood; lines end in CR LF or LF.
    // A missing or unreadable file gives an empty IniFile. So does a file
    // larger than MaxFileSize, and then *error, when given, names it and says why.
    static IniFile load(const QString &path, QString *error = nullptr);
    // Reads at most MaxFileSize bytes of an open file; false, with *error
    // naming the file, when it holds more.
    [[nodiscard]] static bool readBounded(QIODevice &file, const QString &path, QByteArray *data,
                                          QString *error);
    static IniFile fromData(const QByteArray &data);

    bool isEmpty() const { return m_sections.isEmpty(); }
    bool hasSection(const QString &section) const;

    // The value, or defaultValue when the section or key is missing.
    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue = QString()) const;

    // The value read as a whole number (decimal, or hexadecimal after "0x" or
    // "$"); defaultValue when missing or not a number that fits in 32 bits.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;

    // The key names of a section as written in the file, in file order.
    QStringList keys(const QString &section) const;

private:
    struct Section
    {
        QStringList keyOrder;
        QHash<QString, QString> values; // by lower-case key
    };

    void parseLine(QStringView line, Section *&current);

    QHash<QString, Section> m_sections; // by lower-case section name
};
