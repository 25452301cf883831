#include "Recovery.h"

#include "i18n/TextNumbers.h"
#include "install/journal/JournalRecord.h"
#include "package/EntryType.h"
#include "platform/FileReplacement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSet>

namespace {

using Type = JournalRecord::Type;

class Undo
{
public:
    explicit Undo(RecoveryReport &report) : m_report(report) {}

    void run(const QList<JournalRecord> &records, bool done);

private:
    void undo(const JournalRecord &record);
    void finish(const JournalRecord &record);
    bool safe(const QString &path, int text);
    void removeFile(const QString &path, int *count);
    void removeFolder(const QString &path);
    void putBack(const QString &installed, const QString &backup);
    void fail(int text, const QString &path, const FileFailure &failure)
    {
        m_report.failures.append({text, path, failure});
    }

    RecoveryReport &m_report;
    QStringList m_roots;
    QSet<QString> m_undone, m_kept;
};

void Undo::run(const QList<JournalRecord> &records, bool done)
{
    for (const JournalRecord &record : records) {
        if (record.type == Type::Root)
            m_roots.append(QDir::cleanPath(record.path));
        else if (record.type == Type::Undone)
            m_undone.insert(record.path);
        else if (record.type == Type::Keep)
            m_kept.insert(record.path);
    }
    // Last step first, so files go before their folders.
    for (auto it = records.crbegin(); it != records.crend(); ++it) {
        if (done)
            finish(*it);
        else
            undo(*it);
    }
}

void Undo::undo(const JournalRecord &record)
{
    switch (record.type) {
    case Type::Folder:
        if (!m_undone.contains(record.path))
            removeFolder(record.path);
        break;
    case Type::Temp:
    case Type::New:
        if (!m_undone.contains(record.path))
            removeFile(record.path, &m_report.files);
        break;
    case Type::Aside:
        putBack(record.path, record.backup);
        break;
    default:
        break;
    }
}

// The run was over: what it installed stays; its backups and any file that
// was never the user's data go.
void Undo::finish(const JournalRecord &record)
{
    int ignored = 0;
    if (record.type == Type::Aside && !m_kept.contains(record.backup))
        removeFile(record.backup, &ignored);
    else if (record.type == Type::Temp && !m_undone.contains(record.path))
        removeFile(record.path, &ignored);
}

// Nothing is touched through a link that appeared below a destination since:
// it could lead anywhere.
bool Undo::safe(const QString &path, int text)
{
    const QString parent = QFileInfo(path).path();
    for (const QString &root : std::as_const(m_roots)) {
        const bool below = parent == root || parent.startsWith(root + u'/');
        if (!below || LinkOnTheWay(root, parent).isEmpty())
            continue;
        fail(text, path, {FailureReason::LinkInTheWay, {}});
        return false;
    }
    return true;
}

void Undo::removeFile(const QString &path, int *count)
{
    if (EntryTypeOf(path) == EntryType::Missing || !safe(path, InstallText::FileNotDeleted))
        return;
    QFile file(path);
    if (file.remove())
        ++*count;
    else
        fail(InstallText::FileNotDeleted, path, {FailureReason::Other, file.errorString()});
}

void Undo::removeFolder(const QString &path)
{
    if (EntryTypeOf(path) != EntryType::Folder || !safe(path, InstallText::FolderNotDeleted))
        return;
    // Only an empty folder goes: anything put in it since is not ours.
    if (QDir().rmdir(path))
        ++m_report.folders;
    else
        fail(InstallText::FolderNotDeleted, path, {FailureReason::Other, {}});
}

void Undo::putBack(const QString &installed, const QString &backup)
{
    if (EntryTypeOf(backup) == EntryType::Missing || !safe(installed, InstallText::BackupKept))
        return;
    QString error;
    if (!ReplaceWith(backup, installed, &error)) {
        fail(InstallText::BackupKept, backup, {FailureReason::Other, error});
        return;
    }
    // When the two names were one file (kept aside, not yet replaced), the
    // rename leaves both.
    if (EntryTypeOf(backup) != EntryType::Missing)
        QFile::remove(backup);
    ++m_report.restored;
}

} // namespace

void UndoRun(const QList<JournalRecord> &records, bool done, RecoveryReport &report)
{
    Undo(report).run(records, done);
}

RecoveryReport RecoverInterruptedRuns(const QString &folder)
{
    RecoveryReport report;
    const QDir dir(folder);
    // Names hold the start time: the newest run is undone first.
    const QStringList journals = dir.entryList({QStringLiteral("run-*.journal")}, QDir::Files,
                                               QDir::Name | QDir::Reversed);
    for (const QString &name : journals) {
        const QString path = dir.filePath(name);
        QLockFile lock(path + QStringLiteral(".lock"));
        lock.setStaleLockTime(0); // only a lock of a process that is gone is stale
        if (!lock.tryLock(0))
            continue; // a run that is alive
        QFile file(path);
        QList<JournalRecord> records;
        QString language;
        if (file.open(QIODevice::ReadOnly) && DecodeJournal(file.readAll(), &records, &language)) {
            const bool done = !records.isEmpty() && records.last().type == Type::Done;
            UndoRun(records, done, report);
            if (!done) {
                ++report.runs;
                report.language = language;
            }
        }
        file.close();
        file.remove();
    }
    return report;
}
