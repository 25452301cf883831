#include "ProcessLock.h"

#include <QDir>
#include <QFile>
#include <QThread>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// A holder that deletes the file lets go right after; a taker that opened the
// old file in between tries again on the new one. A few tries are plenty.
constexpr int Attempts = 50;

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

} // namespace

ProcessLock::~ProcessLock()
{
    unlock();
}

ProcessLock::Result ProcessLock::tryLock(const QString &path, QString *error, Sharing sharing)
{
    unlock();
    m_path = path;
    m_sharing = sharing;
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        QString reason;
        const Result result = lockOnce(true, &reason);
        // No reason: the file went away under us. Try the new one.
        if (result != Result::Failed || !reason.isEmpty()) {
            setError(error, reason);
            return result;
        }
        QThread::msleep(1);
    }
    setError(error, QStringLiteral("The lock file could not be opened"));
    return Result::Failed;
}

bool ProcessLock::isHeld(const QString &path)
{
    ProcessLock probe;
    probe.m_path = path;
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        QString reason;
        const Result result = probe.lockOnce(false, &reason);
        if (result != Result::Failed || !reason.isEmpty())
            return result == Result::Held;
        QThread::msleep(1);
    }
    return false;
}

bool ProcessLock::unlockAndRemove(QString *error)
{
    if (!isLocked())
        return true;
    const bool removed = QFile::remove(m_path) || !QFile::exists(m_path);
    if (!removed)
        setError(error, QStringLiteral("The lock file could not be deleted"));
    close();
    return removed;
}

#ifdef Q_OS_WIN

namespace {

QString systemMessage(DWORD code)
{
    return qt_error_string(int(code));
}

bool deletePending(HANDLE handle)
{
    FILE_STANDARD_INFO info{};
    return GetFileInformationByHandleEx(handle, FileStandardInfo, &info, sizeof info)
           && info.DeletePending;
}

} // namespace

// Failed with an empty error: the file was deleted while it was being taken.
ProcessLock::Result ProcessLock::lockOnce(bool create, QString *error)
{
    const std::wstring native = QDir::toNativeSeparators(m_path).toStdWString();
    // Not inherited by child processes, which could otherwise outlive us
    // holding our lock.
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE handle
            = CreateFileW(native.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                          create ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    // Another user's file that this one may only read: a lock needs no more.
    if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED)
        handle = CreateFileW(native.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        // A file whose deletion is pending refuses to be opened until its
        // last handle is closed.
        setError(error, code == ERROR_ACCESS_DENIED && QFile::exists(m_path) ? QString()
                                                                             : systemMessage(code));
        return Result::Failed;
    }
    OVERLAPPED whole{};
    if (!LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        const DWORD code = GetLastError();
        CloseHandle(handle);
        if (code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING)
            return Result::Held;
        setError(error, systemMessage(code));
        return Result::Failed;
    }
    if (deletePending(handle)) {
        CloseHandle(handle);
        setError(error, {});
        return Result::Failed;
    }
    m_handle = handle;
    return Result::Taken;
}

bool ProcessLock::isLocked() const
{
    return m_handle != nullptr;
}

void ProcessLock::close()
{
    if (m_handle) {
        // Closing the handle ends the lock.
        CloseHandle(static_cast<HANDLE>(m_handle));
        m_handle = nullptr;
    }
}

#else

namespace {

bool sameFile(int fd, const QString &path)
{
    struct stat opened
    {
    }, named{};
    return fstat(fd, &opened) == 0 && stat(QFile::encodeName(path).constData(), &named) == 0
           && opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

} // namespace

// Failed with an empty error: the file was deleted while it was being taken.
ProcessLock::Result ProcessLock::lockOnce(bool create, QString *error)
{
    // O_CLOEXEC: a child process must not inherit the lock and hold it after
    // we are gone. O_NOFOLLOW: a link planted at the lock's name is refused.
    const QByteArray name = QFile::encodeName(m_path);
    const int flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW | (create ? O_CREAT : 0);
    int fd = ::open(name.constData(), flags, m_sharing == Sharing::AllUsers ? 0644 : 0600);
    // Another user's file that this one may only read (or may not open with
    // O_CREAT in a sticky folder): flock() needs no right to write.
    if (fd < 0 && errno == EACCES)
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        setError(error, QString::fromLocal8Bit(std::strerror(errno)));
        return Result::Failed;
    }
    // flock's locks belong to the open file, so two opens in one process
    // exclude each other, as two processes do; fcntl's would not.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int code = errno;
        ::close(fd);
        if (code == EWOULDBLOCK)
            return Result::Held;
        setError(error, QString::fromLocal8Bit(std::strerror(code)));
        return Result::Failed;
    }
    // Readable by every user whatever the umask, so that their runs can wait
    // for it.
    if (m_sharing == Sharing::AllUsers)
        (void) ::fchmod(fd, 0644);
    if (!sameFile(fd, m_path)) {
        ::close(fd);
        setError(error, {});
        return Result::Failed;
    }
    m_fd = fd;
    return Result::Taken;
}

bool ProcessLock::isLocked() const
{
    return m_fd >= 0;
}

void ProcessLock::close()
{
    if (m_fd >= 0) {
        // Closing the last descriptor of the open file ends the lock.
        ::close(m_fd);
        m_fd = -1;
    }
}

#endif

void ProcessLock::unlock()
{
    close();
}
