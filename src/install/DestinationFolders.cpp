#include "DestinationFolders.h"

#include "i18n/TextNumbers.h"
#include "install/FailureLines.h"
#include "install/InstallContext.h"
#include "install/Removal.h"
#include "install/journal/RunJournal.h"
#include "package/EntryType.h"
#include "platform/AccessRights.h"
#include "selection/WizardState.h"

#include <QDir>
#include <QFileInfo>

bool MakeFolder(const QString &folder, QStringList &created, RunJournal *journal)
{
    QStringList missing;
    for (QString path = QDir::cleanPath(folder); !QFileInfo(path).exists();) {
        missing.prepend(path);
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            break;
        path = parent;
    }
    for (const QString &path : std::as_const(missing)) {
        if (journal && !journal->willMakeFolder(path))
            return false;
        if (!QDir().mkdir(path)) {
            if (journal)
                journal->didNotCreate(path);
            return false;
        }
        created.append(path);
    }
    return QFileInfo(folder).isDir();
}

void RefuseKind(InstallContext &context, const QString &folder, FailureReason reason)
{
    const DataKind kind = context.currentKind();
    KindLists &lists = context.kindLists(kind);
    lists.refused = true;
    // Missing rights are one message for the kind, not one line per file.
    if (reason == FailureReason::NoPermission)
        context.reportLine(kind,
                           context.text(InstallText::RunAsAdministrator) + NativePath(folder));
    else
        context.reportLine(
                kind, FailureLine(context, InstallText::FolderNotCreated, folder, {reason, {}}));
    RemoveCreatedFolders(context, kind, false);
}

namespace {

void createFolder(InstallContext &context, const QString &destination, qsizetype i)
{
    const DataKind kind = context.currentKind();
    KindLists &lists = context.kindLists(kind);
    const QString &folder = lists.destinationFolders.at(i);
    if (!LinkOnTheWay(destination, folder).isEmpty()) {
        context.reportLine(kind, FailureLine(context, InstallText::FolderNotCreated, folder,
                                             {FailureReason::LinkInTheWay, {}}));
    } else if (!QFileInfo(folder).isDir()) {
        if (!MakeFolder(folder, lists.createdFolders, context.journal))
            context.reportLine(kind, FailureLine(context, InstallText::FolderNotCreated, folder,
                                                 {FolderFailureReason(folder), {}}));
    } else if (i > 0) {
        context.reportLine(kind, context.text(InstallText::FolderExists) + NativePath(folder));
    }
}

} // namespace

bool CreateDestinationFolders(InstallContext &context)
{
    const DataKind kind = context.currentKind();
    KindLists &lists = context.kindLists(kind);
    const QString destination = context.state.kind(kind).destination;
    if (!MakeFolder(destination, lists.createdFolders, context.journal)) {
        RefuseKind(context, destination, FolderFailureReason(destination));
        return false;
    }
    // A kind with nothing to install (a repair of an intact kind) needs no
    // right to write.
    const bool nothingToDo = lists.sourceFiles.isEmpty() && lists.destinationFolders.isEmpty();
    if (!nothingToDo && !MayWrite(destination)) {
        RefuseKind(context, destination, FailureReason::NoPermission);
        return false;
    }
    for (qsizetype i = 0; i < lists.destinationFolders.size(); ++i)
        createFolder(context, destination, i);
    return true;
}
