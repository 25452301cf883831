#include "Removal.h"

#include "i18n/TextNumbers.h"
#include "install/InstallContext.h"
#include "install/InstallUi.h"

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

void RemoveFileReporting(InstallContext &context, DataKind kind, const QString &path)
{
    if (!QFileInfo::exists(path) || QFile::remove(path))
        return;
    warnNotDeleted(context, path);
    context.kindLists(kind).status.append(context.text(InstallText::FileNotDeleted)
                                          + NativePath(path));
}

void RemoveCreatedFolders(InstallContext &context, DataKind kind, bool warnEach)
{
    KindLists &lists = context.kindLists(kind);
    for (qsizetype i = lists.createdFolders.size() - 1; i >= 0; --i) {
        const QString &folder = lists.createdFolders.at(i);
        if (!QFileInfo(folder).isDir() || QDir().rmdir(folder))
            continue;
        if (warnEach)
            warnNotDeleted(context, folder);
        lists.status.append(context.text(InstallText::FolderNotDeleted) + NativePath(folder));
    }
    lists.createdFolders.clear();
}

void RemovePackedCopies(InstallContext &context, DataKind kind, qsizetype from)
{
    const QStringList &copied = context.kindLists(kind).copied;
    for (qsizetype i = from; i < copied.size(); ++i)
        RemoveFileReporting(context, kind, copied.at(i));
}
