#include "RunJournal.h"

#include "platform/FileReplacement.h"
#include "platform/StopSignals.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QStandardPaths>
#include <QThread>

#include <cstdlib>

namespace {

using Type = JournalRecord::Type;

QByteArray tagOf(Type type)
{
    const QByteArray line = EncodeRecord({type, {}, {}});
    return line.left(line.indexOf(' ') < 0 ? line.size() - 1 : line.indexOf(' '));
}

} // namespace

RunJournal::RunJournal()
{
    const QList<QByteArray> fault = qgetenv("QUILLON_TEST_FAULT").split(':');
    if (fault.size() >= 2)
        m_fault = {fault.at(0), fault.at(1).toInt(), fault.value(2)};
}

// A journal left open was not finished: it stays for the next start, which
// undoes the run. The lock ends with this object, or with the process.
RunJournal::~RunJournal() = default;

QString RunJournal::defaultFolder()
{
    // Tests, and an administrator who keeps per-user data elsewhere, name the
    // folder; Windows finds its per-user folders by the system, not by variables.
    const QString named = qEnvironmentVariable("QUILLON_JOURNAL_DIR");
    if (!named.isEmpty())
        return QDir::fromNativeSeparators(named);
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

bool RunJournal::fail(const QString &message)
{
    m_failure = {FailureReason::NotRecorded, message};
    return false;
}

bool RunJournal::begin(const QString &folder, const QString &language)
{
    const std::lock_guard lock(m_mutex);
    const QString name
            = QStringLiteral("run-%1-%2.journal")
                      .arg(QDateTime::currentDateTimeUtc().toString(u"yyyyMMdd-HHmmss-zzz"))
                      .arg(QCoreApplication::applicationPid());
    m_file.setFileName(QDir(folder).filePath(name));
    if (!QDir().mkpath(folder)) {
        const QString reason = qt_error_string(-1); // read before anything else is asked
        m_failure = {FolderFailureReason(folder), reason};
        return false;
    }
    QString error;
    // The lock first: a journal is never without the lock of its live run.
    if (m_lock.tryLock(m_file.fileName() + QStringLiteral(".lock"), &error)
        != ProcessLock::Result::Taken)
        return fail(error);
    const QByteArray header = JournalHeader(language);
    if (m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)
        && m_file.write(header) == header.size())
        return true;
    fail(m_file.errorString());
    if (m_file.isOpen()) {
        m_file.close();
        m_file.remove();
    }
    m_lock.unlockAndRemove();
    return false;
}

bool RunJournal::append(const JournalRecord &record)
{
    const QByteArray line = EncodeRecord(record);
    // Unbuffered: each line reaches the system at once and survives a kill.
    if (!m_file.isOpen() || m_file.write(line) != line.size())
        return fail(QDir::toNativeSeparators(m_file.fileName()) + QStringLiteral(": ")
                    + m_file.errorString());
    reachFaultPoint(record.type);
    return true;
}

void RunJournal::reachFaultPoint(Type type)
{
    if (m_fault.count <= 0 || tagOf(type) != m_fault.tag || --m_fault.count > 0)
        return;
    if (m_fault.action == "stop") {
        RequestStopLikeTheSystem();
    } else if (m_fault.action == "hold") {
        // Half way, with the lock held, until another process ends this one.
        for (;;)
            QThread::sleep(1);
    } else {
        std::_Exit(86);
    }
}

bool RunJournal::addRoot(const QString &folder)
{
    const std::lock_guard lock(m_mutex);
    return append({Type::Root, folder, {}});
}

bool RunJournal::willMakeFolder(const QString &folder)
{
    const std::lock_guard lock(m_mutex);
    return append({Type::Folder, folder, {}});
}

bool RunJournal::willCreate(const QString &path)
{
    const std::lock_guard lock(m_mutex);
    if (!append({Type::Temp, path, {}}))
        return false;
    m_temps.append(path);
    return true;
}

bool RunJournal::willInstall(const QString &path)
{
    const std::lock_guard lock(m_mutex);
    return append({Type::New, path, {}});
}

bool RunJournal::willKeepAside(const QString &path, const QString &backup)
{
    const std::lock_guard lock(m_mutex);
    if (!append({Type::Aside, path, backup}))
        return false;
    m_replaced.append(path);
    m_backups.append(backup);
    return true;
}

bool RunJournal::didNotCreate(const QString &path)
{
    const std::lock_guard lock(m_mutex);
    m_temps.removeAll(path);
    return append({Type::Undone, path, {}});
}

void RunJournal::keepBackup(const QString &backup)
{
    const std::lock_guard lock(m_mutex);
    m_kept.insert(backup);
    append({Type::Keep, backup, {}});
}

RunJournal::Ending RunJournal::finish()
{
    const std::lock_guard lock(m_mutex);
    Ending ending;
    if (!m_file.isOpen())
        return ending;
    bool synced = true;
    if (!m_backups.isEmpty()) // the new versions must be on disk before the old ones go
        synced = SyncToDisk(m_replaced, &ending.syncError);
    const bool endInJournal = recordEnd(ending);
    if (!ending.recorded) {
        m_file.close();
        m_lock.unlockAndRemove();
        return ending; // the next start undoes the run: it needs every backup
    }
    // Unsynced, the earlier versions stay for the journal to put back or
    // delete later; without a journal nothing would ever take them away.
    const bool keepBackups = !synced && endInJournal;
    QStringList backups;
    for (const QString &backup : std::as_const(m_backups)) {
        if (!keepBackups && !m_kept.contains(backup))
            backups.append(backup);
    }
    removeLeftovers(backups + m_temps, ending);
    QString ignored;
    // A journal that says the run is over only takes away what is left of it,
    // so it stays while anything is; a later start finishes it.
    if (endInJournal && !keepBackups && ending.notRemoved.isEmpty())
        removeJournal(&ignored);
    m_file.close();
    m_lock.unlockAndRemove();
    return ending;
}

// Makes the end of the run durable: a "done" record on disk, or else the
// journal gone. True when the record is there.
bool RunJournal::recordEnd(Ending &ending)
{
    QString error;
    if (append({Type::Done, {}, {}}) && SyncToDisk({m_file.fileName()}, &error))
        return true;
    const QString why = error.isEmpty() ? m_failure.systemMessage : error;
    m_file.close();
    ending.recorded = removeJournal(&error);
    if (!ending.recorded)
        ending.journalError = why;
    return false;
}

bool RunJournal::removeJournal(QString *error)
{
    m_file.close();
    return RemoveIfPresent(m_file.fileName(), error) != RemoveResult::Failed;
}

void RunJournal::removeLeftovers(const QStringList &paths, Ending &ending)
{
    for (const QString &path : paths) {
        QString error;
        if (RemoveIfPresent(path, &error) == RemoveResult::Failed)
            ending.notRemoved.append({path, error});
    }
}
