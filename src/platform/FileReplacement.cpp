#include "FileReplacement.h"

#include "platform/LongPath.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef Q_OS_WIN
namespace {

// The "\\?\" form lifts the 260-character limit on the path for every
// Windows version, whatever the system's long-path setting.
std::wstring native(const QString &path)
{
    return LongPathForm(path).toStdWString();
}

bool failed(QString *error)
{
    const DWORD code = GetLastError();
    switch (code) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        *error = QStringLiteral("it is in use by another program, or may not be changed (%1)")
                         .arg(qt_error_string(int(code)));
        break;
    default:
        *error = qt_error_string(int(code));
    }
    return false;
}

// Takes the read-only attribute off the file at path; true when it had it.
bool clearReadOnly(const std::wstring &path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)
           && SetFileAttributesW(path.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
}

void setReadOnly(const std::wstring &path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(path.c_str(), attributes | FILE_ATTRIBUTE_READONLY);
}

} // namespace

AsideResult KeepAside(const QString &path, const QString &backup, QString *error)
{
    const std::wstring from = native(path);
    const std::wstring to = native(backup);
    const bool wasReadOnly = clearReadOnly(from);
    if (CreateHardLinkW(to.c_str(), from.c_str(), nullptr))
        return AsideResult::Linked;
    const DWORD why = GetLastError();
    // FAT and exFAT volumes and some network shares have no hard links.
    if ((why == ERROR_INVALID_FUNCTION || why == ERROR_NOT_SUPPORTED)
        && MoveFileExW(from.c_str(), to.c_str(), 0))
        return AsideResult::Moved;
    failed(error);
    if (wasReadOnly)
        setReadOnly(from);
    return AsideResult::Failed;
}

bool ReplaceWith(const QString &from, const QString &to, QString *error, bool *fromMissing)
{
    const std::wstring source = native(from);
    const std::wstring target = native(to);
    if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    if (GetLastError() == ERROR_ACCESS_DENIED && clearReadOnly(target)) {
        if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
            return true;
        const DWORD why = GetLastError();
        setReadOnly(target);
        SetLastError(why);
    }
    if (fromMissing)
        *fromMissing = GetLastError() == ERROR_FILE_NOT_FOUND;
    return failed(error);
}

bool RenameNew(const QString &from, const QString &to, QString *error)
{
    if (MoveFileExW(native(from).c_str(), native(to).c_str(), 0))
        return true;
    return failed(error);
}

NameState LookAtName(const QString &path, QString *error)
{
    if (GetFileAttributesW(native(path).c_str()) != INVALID_FILE_ATTRIBUTES)
        return NameState::Taken;
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
        return NameState::Free;
    failed(error);
    return NameState::Failed;
}

RemoveResult RemoveIfPresent(const QString &path, QString *error)
{
    if (DeleteFileW(native(path).c_str()))
        return RemoveResult::Removed;
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
        return RemoveResult::NothingToRemove;
    failed(error);
    return RemoveResult::Failed;
}

RemoveResult RemoveEmptyFolder(const QString &path, QString *error)
{
    const std::wstring name = native(path);
    // RemoveDirectory would take a junction or a folder link away.
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return RemoveResult::NothingToRemove;
    if (RemoveDirectoryW(name.c_str()))
        return RemoveResult::Removed;
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIR_NOT_EMPTY:
    case ERROR_DIRECTORY: // not a folder
        return RemoveResult::NothingToRemove;
    default:
        failed(error);
        return RemoveResult::Failed;
    }
}

bool SyncToDisk(const QStringList &files, QString *error)
{
    // Windows flushes a volume only for administrators; each file is flushed instead.
    for (const QString &file : files) {
        const HANDLE handle = CreateFileW(native(file).c_str(), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD code = GetLastError();
            if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
                continue; // gone since: nothing of it to keep
            return failed(error);
        }
        const bool flushed = FlushFileBuffers(handle);
        CloseHandle(handle);
        if (!flushed)
            return failed(error);
    }
    return true;
}
#else
namespace {

bool failed(QString *error)
{
    *error = qt_error_string(errno);
    return false;
}

// The volume has no hard links (FAT, exFAT, some network file systems).
bool noHardLinks(int error)
{
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK;
}

} // namespace

AsideResult KeepAside(const QString &path, const QString &backup, QString *error)
{
    const QByteArray from = QFile::encodeName(path);
    const QByteArray to = QFile::encodeName(backup);
    if (::link(from.constData(), to.constData()) == 0)
        return AsideResult::Linked;
    if (noHardLinks(errno)) {
        struct stat existing;
        if (::lstat(to.constData(), &existing) == 0) // rename() would replace it
            errno = EEXIST;
        else if (::rename(from.constData(), to.constData()) == 0)
            return AsideResult::Moved;
    }
    failed(error);
    return AsideResult::Failed;
}

bool ReplaceWith(const QString &from, const QString &to, QString *error, bool *fromMissing)
{
    const QByteArray source = QFile::encodeName(from);
    if (::rename(source.constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    const int why = errno;
    struct stat existing;
    if (fromMissing)
        *fromMissing
                = why == ENOENT && ::lstat(source.constData(), &existing) != 0 && errno == ENOENT;
    errno = why;
    return failed(error);
}

bool RenameNew(const QString &from, const QString &to, QString *error)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
#ifdef Q_OS_LINUX
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE)
        == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return failed(error);
#endif
    // A second name, then the first one goes: link() never replaces.
    if (::link(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        return true;
    }
    if (!noHardLinks(errno))
        return failed(error);
    struct stat existing;
    if (::lstat(target.constData(), &existing) == 0) {
        errno = EEXIST;
        return failed(error);
    }
    return ::rename(source.constData(), target.constData()) == 0 || failed(error);
}

NameState LookAtName(const QString &path, QString *error)
{
    struct stat entry;
    if (::lstat(QFile::encodeName(path).constData(), &entry) == 0)
        return NameState::Taken;
    if (errno == ENOENT || errno == ENOTDIR)
        return NameState::Free;
    failed(error);
    return NameState::Failed;
}

RemoveResult RemoveIfPresent(const QString &path, QString *error)
{
    if (::unlink(QFile::encodeName(path).constData()) == 0)
        return RemoveResult::Removed;
    // ENOTDIR: a file stands where a folder on the way should be, so
    // nothing can be at path.
    if (errno == ENOENT || errno == ENOTDIR)
        return RemoveResult::NothingToRemove;
    failed(error);
    return RemoveResult::Failed;
}

RemoveResult RemoveEmptyFolder(const QString &path, QString *error)
{
    // rmdir() never follows a link at the end: it fails with ENOTDIR.
    if (::rmdir(QFile::encodeName(path).constData()) == 0)
        return RemoveResult::Removed;
    if (errno == ENOENT || errno == ENOTDIR || errno == ENOTEMPTY || errno == EEXIST)
        return RemoveResult::NothingToRemove;
    failed(error);
    return RemoveResult::Failed;
}

bool SyncToDisk(const QStringList &files, QString *error)
{
    std::set<dev_t> synced;
    for (const QString &file : files) {
        // Never blocks on a pipe, never follows a link put in the file's place.
        const int fd = ::open(QFile::encodeName(file).constData(),
                              O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        // Gone since, or a link put in its place: nothing of it to keep.
        if (fd < 0 && (errno == ENOENT || errno == ELOOP))
            continue;
        if (fd < 0)
            return failed(error);
        struct stat info;
        bool ok = ::fstat(fd, &info) == 0;
#ifdef Q_OS_LINUX
        // One syncfs() per volume costs far less than an fsync() per file.
        if (ok && synced.insert(info.st_dev).second)
            ok = ::syncfs(fd) == 0;
#else
        ok = ok && ::fsync(fd) == 0;
#endif
        const int why = errno;
        ::close(fd);
        if (!ok) {
            errno = why;
            return failed(error);
        }
    }
    return true;
}
#endif
