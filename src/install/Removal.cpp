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

} // namespace

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
        if (ReplaceWith(file.backup, file.installed, &error)) {
            restored.insert(file.installed);
            continue;
        }
        if (context.journal)
            context.journal->keepBackup(file.backup);
        const QString line = FailureLine(context, InstallText::BackupKept, file.backup,
                                         {FailureReason::Other, error});
        context.ui.showWarning(line, QStringLiteral("Warning"));
        lists.status.append(line);
    }
    lists.replaced.clear();
    MarkUndone(lists.outcomes, restored);
    return int(restored.size());
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
    const QStringList &copied = context.kindLists(kind).copied;
    for (qsizetype i = from; i < copied.size(); ++i)
        RemoveFileReporting(context, kind, copied.at(i));
}
