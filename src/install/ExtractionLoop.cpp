#include "ExtractionLoop.h"

#include "i18n/TextNumbers.h"
#include "install/FailureLines.h"
#include "install/InstallContext.h"
#include "install/InstallUi.h"
#include "install/Removal.h"
#include "install/RunJournal.h"
#include "package/EntryType.h"
#include "package/PackageExtractor.h"
#include "package/PackageKind.h"
#include "selection/WizardState.h"

#include <QFileInfo>

namespace {

void fileFailed(InstallContext &context, const QString &installed, const FileFailure &failure)
{
    const DataKind kind = context.currentKind();
    ++context.kindLists(kind).failedFiles;
    context.kindLists(kind).outcomes.append(FileOutcome::failed(installed, failure));
    context.reportLine(kind,
                       FailureLine(context, InstallText::FileNotInstalled, installed, failure));
}

void extractOne(InstallContext &context, PackageExtractor &extractor, const QString &packed)
{
    const DataKind kind = context.currentKind();
    KindLists &lists = context.kindLists(kind);
    const QString installed = InstalledName(packed);
    // A folder on the way that became a link since the copy: nothing is read
    // or written through it, the packed copy included.
    const QString destination = context.state.kind(kind).destination;
    if (!LinkOnTheWay(destination, QFileInfo(packed).path()).isEmpty())
        return fileFailed(context, installed, {FailureReason::LinkInTheWay, {}});
    if (!extractor.extract(packed, installed))
        return fileFailed(context, installed, extractor.failure());
    // Only now is the installed file replaced; a failure above kept the old one.
    if (!extractor.replaced()) {
        lists.createdFiles.append(installed);
        lists.outcomes.append({installed, FileOutcome::Result::Installed});
        return;
    }
    lists.outcomes.append({installed, FileOutcome::Result::Replaced});
    if (!extractor.backupPath().isEmpty())
        lists.replaced.append({installed, extractor.backupPath()});
    context.reportLine(kind, context.text(InstallText::Overwritten) + NativePath(installed));
}

// The user cancelled before entry `next`: asks whether to remove what this
// kind has installed so far and does so on Yes.
void cancelFrom(InstallContext &context, qsizetype next)
{
    const DataKind kind = context.currentKind();
    const bool remove = context.removalConfirmed(QStringLiteral("Remove Files"));
    InstallContext::CancelRecord &record = context.cancelRecord;
    if (remove) {
        record.removalChosen = true;
        record.files += RemoveCreatedFiles(context, kind);
        record.restored += RestoreReplacedFiles(context, kind);
    }
    // The copies not yet unpacked are not the user's data either way.
    RemovePackedCopies(context, kind, next);
    if (remove)
        record.folders += RemoveCreatedFolders(context, kind, true);
    context.showProgress(0);
}

} // namespace

bool ExtractCopiedFiles(InstallContext &context)
{
    PackageExtractor extractor;
    extractor.setJournal(context.journal);
    extractor.setYield([&context] { context.ui.processEvents(); });
    const QStringList copied = context.currentLists().copied;
    const qsizetype count = copied.size();
    for (qsizetype i = 0; i < count; ++i) {
        if (context.cancelConfirmed(QStringLiteral("Installing Cancel"))) {
            cancelFrom(context, i);
            return false;
        }
        context.showProgress(static_cast<int>(double(i + 1) / count * 60 + 40));
        extractOne(context, extractor, copied.at(i));
    }
    context.showProgress(100);
    return true;
}
