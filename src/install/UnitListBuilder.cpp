#include "UnitListBuilder.h"

#include "i18n/TextNumbers.h"
#include "install/FolderScan.h"
#include "install/InstallContext.h"
#include "install/InstallUi.h"
#include "install/NameRefusal.h"
#include "selection/UnitTree.h"
#include "selection/WizardState.h"

#include <QCollator>

#include <algorithm>

namespace {

bool cancelled(InstallContext &context)
{
    if (!context.cancelConfirmed(QStringLiteral("Cancel")))
        return false;
    context.showProgress(0);
    return true;
}

} // namespace

void SortPaths(QStringList &paths)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(paths.begin(), paths.end(), collator);
}

bool BuildFromChosenUnits(InstallContext &context)
{
    context.state.cancelRequested = false;
    context.ui.setStage(context.text(InstallText::CollectingTitle));
    context.ui.setPercentVisible(false);
    if (!context.state.userInstall)
        return true;

    KindLists &lists = context.currentLists();
    lists.clearSources();
    QStringList roots;
    const UnitTree &tree = context.currentTree();
    for (int i = 0; i < tree.nodeCount();) {
        if (cancelled(context))
            return false;
        const UnitNode &node = tree.node(i);
        int next = i + 1;
        if (node.image != UnitUnchecked && !node.folder.isEmpty()
            && !AcceptChosenFolder(context, node.folder)) {
            i = tree.subtreeEnd(i); // nothing below a refused folder is taken
            continue;
        }
        if (node.image != UnitUnchecked && !node.folder.isEmpty()) {
            if (node.image == UnitChecked) {
                roots.append(node.folder);
                next = tree.subtreeEnd(i); // the checked folder is scanned whole
            }
            lists.sourceFolders.append(node.folder);
        }
        i = next;
    }

    SortPaths(roots);
    for (const QString &root : std::as_const(roots)) {
        if (cancelled(context))
            return false;
        ScanFolder(context, root, true);
    }
    SortPaths(lists.sourceFolders);
    SortPaths(lists.sourceFiles);
    return true;
}
