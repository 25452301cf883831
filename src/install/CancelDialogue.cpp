#include "CancelDialogue.h"

#include "i18n/TextNumbers.h"
#include "install/InstallContext.h"
#include "install/InstallUi.h"
#include "install/Removal.h"
#include "selection/WizardState.h"

void RemoveWhatTheRunInstalled(InstallContext &context, DataKind kind)
{
    context.cancelRecord.files += RemoveCreatedFiles(context, kind);
    context.cancelRecord.restored += RestoreReplacedFiles(context, kind);
    context.cancelRecord.folders += RemoveCreatedFolders(context, kind, false);
}

void RunCopyCancelDialogue(InstallContext &context)
{
    const DataKind current = context.currentKind();
    const bool remove = context.removalConfirmed(QStringLiteral("Delete Files"));
    // The packed copies go in any case: they were never extracted and are not
    // the user's data.
    RemovePackedCopies(context, current);
    if (!remove)
        return;

    context.cancelRecord.removalChosen = true;
    context.cancelRecord.folders += RemoveCreatedFolders(context, current, false);
    for (DataKind kind : AllDataKinds) {
        if (kind == current)
            break;
        if (context.state.kind(kind).selected)
            RemoveWhatTheRunInstalled(context, kind);
    }
    context.showProgress(0);
}
