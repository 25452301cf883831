#include "FileReplacement.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_WIN

// The "\\?\" form lifts the 260-character limit on the path for every
// Windows version, whatever the system's long-path setting.
std::wstring longPath(const QString &path)
{
    const QString native = QDir::toNativeSeparators(QDir::cleanPath(path));
    if (native.startsWith(QLatin1String("\\\\?\\")))
        return native.toStdWString();
    if (native.startsWith(QLatin1String("\\\\")))
        return (QLatin1String("\\\\?\\UNC\\") + native.mid(2)).toStdWString();
    return (QLatin1String("\\\\?\\") + native).toStdWString();
}

QString reason(DWORD code)
{
    switch (code) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return QStringLiteral("it is in use by another program, or may not be changed (%1)")
                .arg(qt_error_string(int(code)));
    default:
        return qt_error_string(int(code));
    }
}

bool syncToDisk(const std::wstring &file)
{
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool flushed = FlushFileBuffers(handle);
    CloseHandle(handle);
    return flushed;
}

#else

bool syncToDisk(const QByteArray &file)
{
    const int fd = ::open(file.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

#endif

} // namespace

bool ReplaceFileDurably(const QString &newFile, const QString &target, QString *error)
{
#ifdef Q_OS_WIN
    const std::wstring from = longPath(newFile);
    if (!syncToDisk(from)) {
        *error = qt_error_string(int(GetLastError()));
        return false;
    }
    // Qt has no rename that replaces an existing file.
    if (!MoveFileExW(from.c_str(), longPath(target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        *error = reason(GetLastError());
        return false;
    }
#else
    const QByteArray from = QFile::encodeName(newFile);
    // rename() replaces the target in one step; QFile::rename never replaces.
    if (!syncToDisk(from)
        || ::rename(from.constData(), QFile::encodeName(target).constData()) != 0) {
        *error = qt_error_string(errno);
        return false;
    }
#endif
    return true;
}
