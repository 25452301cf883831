#include "RunJournal.h"

#include "package/EntryType.h"
#include "platform/FileReplacement.h"
#include "platform/StopSignals.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QStandardPaths>

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
        m_fault = {fault.at(0), fault.at(1).toInt(), fault.size() > 2 && fault.at(2) == "stop"};
}

// A journal left open was not finished: it stays for the next start, which
// undoes the run.
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

bool RunJournal::begin(const QString &folder, const QString &language)
{
    const QString name
            = QStringLiteral("run-%1-%2.journal")
                      .arg(QDateTime::currentDateTimeUtc().toString(u"yyyyMMdd-HHmmss-zzz"))
                      .arg(QCoreApplication::applicationPid());
    m_file.setFileName(QDir(folder).filePath(name));
    m_lock = std::make_unique<QLockFile>(m_file.fileName() + QStringLiteral(".lock"));
    if (!QDir().mkpath(folder) || !m_lock->tryLock(0)
        || !m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        m_failure = {FailureReason::NotRecorded, m_file.errorString()};
        m_lock.reset();
        return false;
    }
    const QByteArray header = JournalHeader(language);
    if (m_file.write(header) == header.size())
        return true;
    m_failure = {FailureReason::NotRecorded, m_file.errorString()};
    m_file.remove();
    m_lock.reset();
    return false;
}

bool RunJournal::append(const JournalRecord &record)
{
    const QByteArray line = EncodeRecord(record);
    // Unbuffered: each line reaches the system at once and survives a kill.
    if (!m_file.isOpen() || m_file.write(line) != line.size()) {
        m_failure = {FailureReason::NotRecorded, QDir::toNativeSeparators(m_file.fileName())
                                                         + QStringLiteral(": ")
                                                         + m_file.errorString()};
        return false;
    }
    reachFaultPoint(record.type);
    return true;
}

void RunJournal::reachFaultPoint(Type type)
{
    if (m_fault.count <= 0 || tagOf(type) != m_fault.tag || --m_fault.count > 0)
        return;
    if (m_fault.stop)
        RequestStopLikeTheSystem();
    else
        std::_Exit(86);
}

bool RunJournal::addRoot(const QString &folder)
{
    return append({Type::Root, folder, {}});
}

bool RunJournal::willMakeFolder(const QString &folder)
{
    return append({Type::Folder, folder, {}});
}

bool RunJournal::willCreate(const QString &path)
{
    return append({Type::Temp, path, {}});
}

bool RunJournal::willInstall(const QString &path)
{
    return append({Type::New, path, {}});
}

bool RunJournal::willKeepAside(const QString &path, const QString &backup)
{
    if (!append({Type::Aside, path, backup}))
        return false;
    m_replaced.append(path);
    m_backups.append(backup);
    return true;
}

void RunJournal::didNotCreate(const QString &path)
{
    // Should this line be lost, undoing would at worst remove a file that
    // appeared under a name of ours at the same moment.
    append({Type::Undone, path, {}});
}

void RunJournal::keepBackup(const QString &backup)
{
    m_kept.insert(backup);
    append({Type::Keep, backup, {}});
}

QStringList RunJournal::finish()
{
    QStringList notDeleted;
    if (!m_file.isOpen())
        return notDeleted;
    if (!m_backups.isEmpty()) {
        // The new versions must be on disk before the old ones go.
        QString ignored;
        SyncToDisk(m_replaced, &ignored);
        if (append({Type::Done, {}, {}}))
            m_file.flush();
        SyncToDisk({m_file.fileName()}, &ignored);
    }
    for (const QString &backup : std::as_const(m_backups)) {
        if (!m_kept.contains(backup) && EntryTypeOf(backup) != EntryType::Missing
            && !QFile::remove(backup))
            notDeleted.append(backup);
    }
    m_file.close();
    m_file.remove();
    m_lock.reset(); // unlocks and removes the lock file
    return notDeleted;
}
