#include "DestinationFolders.h"

#include "i18n/TextNumbers.h"
#include "install/InstallContext.h"
#include "selection/WizardState.h"

#include <QDir>
#include <QFileInfo>

bool MakeFolder(const QString &folder, QStringList &created)
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
        if (!QDir().mkdir(path))
            return false;
        created.append(path);
    }
    return QFileInfo(folder).isDir();
}

void CreateDestinationFolders(InstallContext &context)
{
    const DataKind kind = context.currentKind();
    KindLists &lists = context.kindLists(kind);
    const QString destination = context.state.kind(kind).destination;
    const auto notCreated = [&](const QString &folder) {
        context.reportLine(kind, context.text(InstallText::FolderNotCreated) + NativePath(folder));
    };

    if (!MakeFolder(destination, lists.createdFolders))
        notCreated(destination);
    for (qsizetype i = 0; i < lists.destinationFolders.size(); ++i) {
        const QString &folder = lists.destinationFolders.at(i);
        if (!QFileInfo(folder).isDir()) {
            if (!MakeFolder(folder, lists.createdFolders))
                notCreated(folder);
        } else if (i > 0) {
            context.reportLine(kind, context.text(InstallText::FolderExists) + NativePath(folder));
        }
    }
}
