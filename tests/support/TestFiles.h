#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QtTest/QTest>

#include <map>

// Small helpers shared by the tests for making and reading files.
namespace TestFiles {

// Writes bytes to path, creating the folders above it. Fails the test on error.
inline bool write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size();
}

inline QByteArray read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// UTF-16LE with a byte-order mark, as Windows editors save "Unicode" text.
inline QByteArray utf16le(const QString &text)
{
    QByteArray bytes("\xFF\xFE", 2);
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

// Every file and folder below a folder: relative path -> bytes ("<dir>" for a folder).
inline std::map<QString, QByteArray> snapshot(const QString &folder)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[QDir(folder).relativeFilePath(path)]
                = it.fileInfo().isDir() ? QByteArray("<dir>") : read(path);
    }
    return files;
}

// Makes a symbolic link. False where the system cannot: Windows makes a
// shell shortcut instead, a plain file, which is then taken away again.
inline bool symbolicLink(const QString &target, const QString &link)
{
    if (QFile::link(target, link) && QFileInfo(link).isSymbolicLink())
        return true;
    QFile::remove(link);
    return false;
}

} // namespace TestFiles
