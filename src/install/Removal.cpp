#include "Removal.h"

#include "i18n/TextNumbers.h"
#include "install/FailureLines.h"
#include "install/InstallContext.h"
#include "install/InstallUi.h"
#include "install/journal/RunJournal.h"
#include "package/EntryType.h"
#include "platform/FileReplacement.h"
#include "selection/WizardState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

void warnNotDeleted(InstallContext &context, const QString &path)
{
    context.ui.showWarning(context.text(InstallText::CannotDeleteWarning) + QStringLiteral(" :")
                                   + NativePath(path),
                           QStringLiteral("Warning"));
}

// The earlier version of a replaced file could not be put back: it stays
// under its backup name, which the run's end must not delete.
void backupKept(InstallContext &context, DataKind kind, const QString &backup, const QString &error)
{
    if (context.journal)
        context.journal->keepBackup(backup);
    const QString line
            = FailureLine(context, InstallText::BackupKept, backup, {FailureReason::Other, error});
    context.ui.showWarning(line, QStringLiteral("Warning"));
    context.kindLists(kind).status.append(line);
}

} // namespace

bool PutBackPackedName(InstallContext &context, DataKind kind, const KindLists::Replaced &file)
{
    QString error;
    // The journal first says that what stands there now is not the run's to
    // remove, or a later recovery would delete the file put back.
    if (context.journal && !context.journal->didNotCreate(file.installed))
        error = context.journal->failure().systemMessage;
    else if (ReplaceWith(file.backup, file.installed, &error))
        return true;
    backupKept(context, kind, file.backup, error);
    return false;
}

bool RemoveFileReporting(InstallContext &context, DataKind kind, const QString &path)
{
    if (EntryTypeOf(path) == EntryType::Missing)
        return false;
    const QString destination = context.state.kind(kind).destination;
    const bool safe = LinkOnTheWay(destination, QFileInfo(path).path()).isEmpty();
    if (safe && QFile::remove(path))
        return true;
    warnNotDeleted(context, path);
    context.kindLists(kind).status.append(
            FailureLine(context, InstallText::FileNotDeleted, path,
                        {safe ? FailureReason::Other : FailureReason::LinkInTheWay, {}}));
    return false;
}

int RestoreReplacedFiles(InstallContext &context, DataKind kind)
{
    KindLists &lists = context.kindLists(kind);
    QSet<QString> restored;
    for (const KindLists::Replaced &file : std::as_const(lists.replaced)) {
        QString error;
        if (ReplaceWith(file.backup, file.installed, &error))
            restored.insert(file.installed);
        else
            backupKept(context, kind, file.backup, error);
    }
    lists.replaced.clear();
    MarkUndone(lists.outcomes, restored);
    int count = int(restored.size());
    // Their packed copies are gone by now.
    for (const KindLists::Replaced &file : std::as_const(lists.packedAside))
        count += PutBackPackedName(context, kind, file) ? 1 : 0;
    lists.packedAside.clear();
    return count;
}

int RemoveCreatedFiles(InstallContext &context, DataKind kind)
{
    KindLists &lists = context.kindLists(kind);
    QSet<QString> removed;
    for (const QString &file : std::as_const(lists.createdFiles)) {
        if (RemoveFileReporting(context, kind, file))
            removed.insert(file);
    }
    lists.createdFiles.clear();
    MarkUndone(lists.outcomes, removed);
    return int(removed.size());
}

int RemoveCreatedFolders(InstallContext &context, DataKind kind, bool warnEach)
{
    KindLists &lists = context.kindLists(kind);
    int removed = 0;
    for (qsizetype i = lists.createdFolders.size() - 1; i >= 0; --i) {
        const QString &folder = lists.createdFolders.at(i);
        if (!QFileInfo(folder).isDir())
            continue;
        if (QDir().rmdir(folder)) {
            ++removed;
            continue;
        }
        if (warnEach)
            warnNotDeleted(context, folder);
        lists.status.append(context.text(InstallText::FolderNotDeleted) + NativePath(folder));
    }
    lists.createdFolders.clear();
    return removed;
}

void RemovePackedCopies(InstallContext &context, DataKind kind, qsizetype from)
{
    KindLists &lists = context.kindLists(kind);
    for (qsizetype i = from; i < lists.copied.size(); ++i) {
        const QString &packed = lists.copied.at(i);
        if (!RemoveFileReporting(context, kind, packed)
            && EntryTypeOf(packed) != EntryType::Missing)
            continue;
        // A file that stood in the copy's place comes back once the copy is gone.
        for (qsizetype a = 0; a < lists.packedAside.size(); ++a) {
            if (lists.packedAside.at(a).installed == packed) {
                PutBackPackedName(context, kind, lists.packedAside.takeAt(a));
                break;
            }
        }
    }
}
