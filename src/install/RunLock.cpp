#include "RunLock.h"

#include "install/StatusFiles.h"
#include "platform/PlatformPaths.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QThread>

namespace {

const QString LockName = QStringLiteral("quillon-run.lock");
// The notes are named by process, since another user's note may not be
// written over; the newest is the holder's.
const QString NotePrefix = QStringLiteral("quillon-run-");
const QString NoteSuffix = QStringLiteral(".note");

// How often a waiting run looks again.
constexpr int LookEveryMs = 200;

} // namespace

QString RunLock::defaultFolder()
{
    const QString named = qEnvironmentVariable("QUILLON_LOCK_DIR");
    return named.isEmpty() ? MachineSharedFolder() : QDir::fromNativeSeparators(named);
}

RunLock::RunLock(const QString &folder) : m_folder(folder) {}

RunLock::~RunLock()
{
    if (m_lock.isLocked())
        QFile::remove(noteName());
}

QString RunLock::noteName() const
{
    return m_folder + u'/' + NotePrefix + QString::number(QCoreApplication::applicationPid())
           + NoteSuffix;
}

ProcessLock::Result RunLock::tryTake()
{
    m_error.clear();
    QDir().mkpath(m_folder);
    const QString path = m_folder + u'/' + LockName;
    QString error;
    const ProcessLock::Result result = m_lock.tryLock(path, &error, ProcessLock::Sharing::AllUsers);
    if (result == ProcessLock::Result::Failed)
        m_error = QDir::toNativeSeparators(path) + QStringLiteral(": ") + error;
    if (result == ProcessLock::Result::Taken)
        leaveNote();
    return result;
}

ProcessLock::Result RunLock::take(int waitSeconds, const std::function<void()> &waiting)
{
    QDeadlineTimer deadline(qint64(waitSeconds) * 1000);
    ProcessLock::Result result = tryTake();
    if (result == ProcessLock::Result::Held && waiting && !deadline.hasExpired())
        waiting();
    while (result == ProcessLock::Result::Held && !deadline.hasExpired()) {
        QThread::msleep(qMin<qint64>(LookEveryMs, deadline.remainingTime()));
        result = tryTake();
    }
    return result;
}

bool RunLock::isHeld() const
{
    return ProcessLock::isHeld(m_folder + u'/' + LockName);
}

// A note that cannot be written leaves the waiting runs without a name for
// this one; the lock holds all the same.
void RunLock::leaveNote() const
{
    const QString text
            = QStringLiteral("process=%1\nuser=%2\nstarted=%3\n")
                      .arg(QCoreApplication::applicationPid())
                      .arg(CurrentUserName(), QDateTime::currentDateTime().toString(
                                                      QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    (void) SaveFileWhole(noteName(), text.toUtf8(), nullptr);
}

RunLock::Holder RunLock::holder() const
{
    const QFileInfoList notes = QDir(m_folder).entryInfoList({NotePrefix + u'*' + NoteSuffix},
                                                             QDir::Files, QDir::Time);
    Holder holder;
    if (notes.isEmpty())
        return holder;
    QFile file(notes.first().filePath());
    if (!file.open(QIODevice::ReadOnly))
        return holder;
    // A few short lines; a longer file is not a note of ours.
    for (const QByteArray &line : file.read(1024).split('\n')) {
        const QString value = QString::fromUtf8(line.mid(line.indexOf('=') + 1)).trimmed();
        if (value.isEmpty())
            continue;
        if (line.startsWith("process="))
            holder.process = value;
        else if (line.startsWith("user="))
            holder.user = value;
        else if (line.startsWith("started="))
            holder.started = value;
    }
    return holder;
}
