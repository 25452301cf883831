#include "RunUndo.h"

#include "i18n/TextNumbers.h"
#include "install/journal/JournalRecord.h"
#include "install/journal/Recovery.h"
#include "package/EntryType.h"
#include "platform/FileReplacement.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

using Type = JournalRecord::Type;

class Undo
{
public:
    Undo(RecoveryReport &report, const std::function<bool(const QString &)> &leaveAlone)
        : m_report(report), m_leaveAlone(leaveAlone)
    {}

    void run(const QList<JournalRecord> &records, bool done);

private:
    void undo(const JournalRecord &record);
    void finish(const QList<JournalRecord> &records);
    bool safe(const QString &path, int text);
    void removeFile(const QString &path, int *count);
    void removeFolder(const QString &path);
    void putBack(const QString &installed, const QString &backup);
    void fail(int text, const QString &path, const FileFailure &failure)
    {
        m_report.failures.append({text, path, failure});
    }

    RecoveryReport &m_report;
    const std::function<bool(const QString &)> &m_leaveAlone;
    QStringList m_roots;
    QSet<QString> m_undone, m_kept, m_made; // m_made: what Temp and New records name
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
        else if (record.type == Type::Temp || record.type == Type::New)
            m_made.insert(record.path);
    }
    if (done)
        return finish(records);
    // Last step first, so files go before their folders.
    for (auto it = records.crbegin(); it != records.crend(); ++it)
        undo(*it);
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
// was never the user's data go, the backups only once what replaced them is
// on disk.
void Undo::finish(const QList<JournalRecord> &records)
{
    QStringList replaced, leftovers;
    for (const JournalRecord &record : records) {
        if (record.type == Type::Aside && !m_kept.contains(record.backup)) {
            replaced.append(record.path);
            leftovers.append(record.backup);
        } else if (record.type == Type::Temp && !m_undone.contains(record.path)) {
            leftovers.append(record.path);
        }
    }
    QString error;
    if (!replaced.isEmpty() && !SyncToDisk(replaced, &error)) {
        fail(InstallText::SyncFailed, replaced.first(), {FailureReason::Other, error});
        return;
    }
    int ignored = 0;
    for (const QString &path : std::as_const(leftovers))
        removeFile(path, &ignored);
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
    if (!safe(path, InstallText::FileNotDeleted))
        return;
    QString error;
    switch (RemoveIfPresent(path, &error)) {
    case RemoveResult::Removed:
        ++*count;
        break;
    case RemoveResult::NothingToRemove:
        break;
    case RemoveResult::Failed:
        fail(InstallText::FileNotDeleted, path, {FailureReason::Other, error});
        break;
    }
}

void Undo::removeFolder(const QString &path)
{
    if (!safe(path, InstallText::FolderNotDeleted))
        return;
    QString error;
    switch (RemoveEmptyFolder(path, &error)) {
    case RemoveResult::Removed:
        ++m_report.folders;
        break;
    case RemoveResult::NothingToRemove: // anything put in it since is not ours
        break;
    case RemoveResult::Failed:
        fail(InstallText::FolderNotDeleted, path, {FailureReason::Other, error});
        break;
    }
}

void Undo::putBack(const QString &installed, const QString &backup)
{
    if (!safe(installed, InstallText::BackupKept))
        return;
    // Only a plain file comes back: a link put under the backup's name could
    // hand anything to the installed name.
    const EntryType type = EntryTypeOf(backup);
    if (type == EntryType::Link || type == EntryType::Special) {
        fail(InstallText::BackupKept, backup, {FailureReason::LinkInTheWay, {}});
        return;
    }
    QString error;
    // Where the run made a file too, the file put back must never be taken
    // for it.
    if (m_made.contains(installed) && !m_undone.contains(installed)) {
        if (!m_leaveAlone || !m_leaveAlone(installed)) {
            if (EntryTypeOf(backup) != EntryType::Missing)
                fail(InstallText::BackupKept, backup, {FailureReason::NotRecorded, {}});
            return;
        }
        m_undone.insert(installed);
    }
    bool missing = false;
    if (!ReplaceWith(backup, installed, &error, &missing)) {
        if (!missing) // already back, or never kept aside
            fail(InstallText::BackupKept, backup, {FailureReason::Other, error});
        return;
    }
    // When the two names were one file (kept aside, not yet replaced), the
    // rename leaves both.
    if (RemoveIfPresent(backup, &error) == RemoveResult::Failed)
        fail(InstallText::FileNotDeleted, backup, {FailureReason::Other, error});
    ++m_report.restored;
}

} // namespace

void UndoRun(const QList<JournalRecord> &records, bool done, RecoveryReport &report,
             const std::function<bool(const QString &)> &leaveAlone)
{
    Undo(report, leaveAlone).run(records, done);
}
