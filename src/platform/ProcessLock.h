#pragma once

#include <QString>

// A lock that belongs to the process holding it: taken on a file with the
// operating system's own locking (flock, LockFileEx), so that it ends with
// the process however the process ends (a kill, a crash, a power cut).
// Nothing about it is judged by a file's content, which outlives its writer
// and names process ids that the system gives out again. Qt's QLockFile is
// such a content-judged lock file, which is why this one is written by hand.
//
// Two ProcessLocks on one file exclude each other in one process too. The
// file is left for the next holder unless unlockAndRemove() deletes it; a
// holder that takes a file just deleted under it notices and takes the new
// one instead.
class ProcessLock
{
public:
    enum class Result {
        Taken,  // this object holds the lock now
        Held,   // a live process (or another ProcessLock here) holds it
        Failed, // the file could not be made or opened: error says why
    };

    ProcessLock() = default;
    ~ProcessLock();
    ProcessLock(const ProcessLock &) = delete;
    ProcessLock &operator=(const ProcessLock &) = delete;

    // Who may take the lock on a file this process makes: this user only,
    // or every user of the computer (the file can be read by all).
    enum class Sharing { ThisUser, AllUsers };

    // Takes the lock on the file at path, making the file when it is
    // missing, without waiting. A lock held already is let go first. A file
    // that another user made and this one may only read is locked all the
    // same: the system's locks need no right to write.
    Result tryLock(const QString &path, QString *error = nullptr,
                   Sharing sharing = Sharing::ThisUser);
    bool isLocked() const;
    QString fileName() const { return m_path; }

    // Lets go of the lock; the file stays.
    void unlock();
    // Deletes the file, then lets go of the lock, so that nobody can take the
    // lock on a file that is about to go. False, with error, when the file
    // could not be deleted; the lock is let go all the same.
    bool unlockAndRemove(QString *error = nullptr);

    // Whether a live process holds the lock on the file at path now. A
    // missing file is not held; nothing is made.
    static bool isHeld(const QString &path);

private:
    Result lockOnce(bool create, QString *error);
    Sharing m_sharing = Sharing::ThisUser;
    void close();

    QString m_path;
#ifdef Q_OS_WIN
    void *m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};
