#include "DestinationMapper.h"

#include "install/InstallContext.h"
#include "install/InstallUi.h"
#include "selection/WizardState.h"

QString MapToDestination(const QString &sourcePath, const QString &sourceFolder,
                         const QString &destinationFolder)
{
    // A destination that is a drive's root already ends in a separator; a
    // doubled one would turn "/" into the network path "//".
    const QString base
            = destinationFolder.endsWith(u'/') ? destinationFolder.chopped(1) : destinationFolder;
    return base + u'/' + sourcePath.mid(sourceFolder.size() + 1);
}

namespace {

int entriesToMap(InstallContext &context)
{
    int total = 0;
    for (DataKind kind : AllDataKinds) {
        if (context.state.kind(kind).selected) {
            const KindLists &lists = context.kindLists(kind);
            total += lists.sourceFolders.size() + lists.sourceFiles.size();
        }
    }
    return total;
}

} // namespace

bool MapToDestinationPaths(InstallContext &context)
{
    const int total = entriesToMap(context);
    int mapped = 0;
    for (DataKind kind : AllDataKinds) {
        const KindState &kindState = context.state.kind(kind);
        if (!kindState.selected)
            continue;
        context.state.currentKind = kind;
        KindLists &lists = context.kindLists(kind);
        const auto map = [&](const QStringList &from, QStringList &to) {
            to.clear();
            for (const QString &path : from) {
                if (context.cancelConfirmed(QStringLiteral("Cancel")))
                    return false;
                to.append(MapToDestination(path, kindState.sourceFolder, kindState.destination));
                context.ui.setProgressBar(10 * ++mapped / total);
            }
            return true;
        };
        if (!map(lists.sourceFolders, lists.destinationFolders)
            || !map(lists.sourceFiles, lists.destinationFiles))
            return false;
    }
    context.ui.setProgressBar(10);
    return true;
}
