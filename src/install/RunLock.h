#pragma once

#include "platform/ProcessLock.h"

#include <QString>

#include <functional>

// One install run at a time on this computer, whoever runs it: two runs on
// one destination would remove each other's packed copies and replace what
// the other kept. The lock is the system's (see ProcessLock), on a file in a
// folder all users share, so it ends with its process however that ends.
// Beside it the holder leaves a note of who it is, for the runs that wait;
// the note is never what decides whether the lock is held.
class RunLock
{
public:
    // The run that holds the lock, as its note says; "?" where unknown.
    struct Holder
    {
        QString process = QStringLiteral("?");
        QString user = QStringLiteral("?");
        QString started = QStringLiteral("?");
    };

    // QUILLON_LOCK_DIR when set (tests, or an administrator's own folder),
    // else the folder every user of the computer shares (MachineSharedFolder).
    static QString defaultFolder();

    explicit RunLock(const QString &folder = defaultFolder());
    ~RunLock(); // lets go, taking the note away
    RunLock(const RunLock &) = delete;
    RunLock &operator=(const RunLock &) = delete;

    // Takes the lock without waiting, and leaves the note.
    ProcessLock::Result tryTake();
    // Takes the lock, waiting up to waitSeconds while another run holds it;
    // waiting is called once, when the wait begins.
    ProcessLock::Result take(int waitSeconds, const std::function<void()> &waiting = {});
    bool isTaken() const { return m_lock.isLocked(); }

    // Whether a run holds the lock now; nothing is made.
    bool isHeld() const;
    // The note of the run that holds the lock.
    Holder holder() const;
    // Why the lock could not be taken, naming its file.
    QString errorString() const { return m_error; }

private:
    QString noteName() const;
    void leaveNote() const;

    QString m_folder;
    ProcessLock m_lock;
    QString m_error;
};
