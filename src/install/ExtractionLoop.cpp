#include "ExtractionLoop.h"

#include "i18n/TextNumbers.h"
#include "install/FailureLines.h"
#include "install/InstallContext.h"
#include "install/InstallUi.h"
#include "install/Removal.h"
#include "package/PackageExtractor.h"
#include "package/PackageKind.h"

#include <QFileInfo>

namespace {

void extractOne(InstallContext &context, PackageExtractor &extractor, const QString &packed)
{
    const DataKind kind = context.currentKind();
    KindLists &lists = context.kindLists(kind);
    const QString installed = InstalledName(packed);
    const bool existed = QFileInfo::exists(installed);
    if (!extractor.extract(packed, installed)) {
        ++lists.failedFiles;
        lists.outcomes.append(FileOutcome::failed(installed, extractor.failure()));
        context.reportLine(kind, FailureLine(context, InstallText::FileNotInstalled, installed,
                                             extractor.failure()));
        return;
    }
    // Only now is the installed file replaced; a failure above kept the old one.
    if (existed)
        context.reportLine(kind, context.text(InstallText::Overwritten) + NativePath(installed));
    else
        lists.createdFiles.append(installed);
    lists.outcomes.append(
            {installed, existed ? FileOutcome::Result::Replaced : FileOutcome::Result::Installed});
}

// The user cancelled before entry `next`: asks whether to remove what this
// kind has installed so far and does so on Yes.
void cancelFrom(InstallContext &context, qsizetype next)
{
    const DataKind kind = context.currentKind();
    const bool remove = context.ui.askYesNo(Question::RemoveFiles,
                                            context.text(InstallText::RemoveFilesQuestion),
                                            QStringLiteral("Remove Files"));
    InstallContext::CancelRecord &record = context.cancelRecord;
    if (remove) {
        record.removalChosen = true;
        record.files += RemoveCreatedFiles(context, kind);
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
