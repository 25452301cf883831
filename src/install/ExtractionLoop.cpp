#include "ExtractionLoop.h"

#include "i18n/TextNumbers.h"
#include "install/FailureLines.h"
#include "install/InstallContext.h"
#include "install/InstallUi.h"
#include "install/Removal.h"
#include "install/UnpackQueue.h"
#include "install/journal/RunJournal.h"
#include "package/EntryType.h"
#include "package/PackageExtractor.h"
#include "package/PackageKind.h"
#include "selection/WizardState.h"

#include <QFileInfo>
#include <QThread>

#include <algorithm>

namespace {

void fileFailed(InstallContext &context, const QString &installed, const FileFailure &failure)
{
    const DataKind kind = context.currentKind();
    ++context.kindLists(kind).failedFiles;
    context.kindLists(kind).outcomes.append(FileOutcome::failed(installed, failure));
    context.reportLine(kind,
                       FailureLine(context, InstallText::FileNotInstalled, installed, failure));
}

// Puts entry `packed` in place once its data is unpacked, or reports why
// it could not be.
void placeOne(InstallContext &context, PackageExtractor *extractor, const QString &packed)
{
    const DataKind kind = context.currentKind();
    KindLists &lists = context.kindLists(kind);
    const QString installed = InstalledName(packed);
    if (!extractor)
        return fileFailed(context, installed, {FailureReason::LinkInTheWay, {}});
    if (!extractor->place(lists.mayReplace.contains(packed)))
        return fileFailed(context, installed, extractor->failure());
    // A file that appeared since the copy step found none: nobody was asked.
    if (extractor->keptExisting()) {
        lists.outcomes.append({installed, FileOutcome::Result::Kept});
        context.reportLine(kind, context.text(InstallText::NotOverwritten) + NativePath(installed));
        return;
    }
    // Only now is the installed file replaced; a failure above kept the old one.
    if (!extractor->replaced()) {
        lists.createdFiles.append(installed);
        lists.outcomes.append({installed, FileOutcome::Result::Installed});
        return;
    }
    lists.outcomes.append({installed, FileOutcome::Result::Replaced});
    if (!extractor->backupPath().isEmpty())
        lists.replaced.append({installed, extractor->backupPath()});
    context.reportLine(kind, context.text(InstallText::Overwritten) + NativePath(installed));
}

void extractOne(InstallContext &context, PackageExtractor &extractor, const QString &packed)
{
    // A folder on the way that became a link since the copy: nothing is read
    // or written through it, the packed copy included.
    const QString destination = context.state.kind(context.currentKind()).destination;
    if (!LinkOnTheWay(destination, QFileInfo(packed).path()).isEmpty())
        return placeOne(context, nullptr, packed);
    extractor.unpack(packed, InstalledName(packed));
    placeOne(context, &extractor, packed);
}

// The user cancelled before entry `next`: asks whether to remove what this
// kind has installed so far and does so on Yes.
void cancelFrom(InstallContext &context, qsizetype next)
{
    const DataKind kind = context.currentKind();
    const bool remove = context.removalConfirmed(QStringLiteral("Remove Files"));
    InstallContext::CancelRecord &record = context.cancelRecord;
    // The copies not yet unpacked are not the user's data either way; they go
    // first, so that what stood in their places can come back.
    RemovePackedCopies(context, kind, next);
    if (remove) {
        record.removalChosen = true;
        record.files += RemoveCreatedFiles(context, kind);
        record.restored += RestoreReplacedFiles(context, kind);
        record.folders += RemoveCreatedFolders(context, kind, true);
    }
    context.showProgress(0);
}

// One file after the other on the run's thread, letting window events run
// after every chunk.
bool extractInTurn(InstallContext &context, const QStringList &copied)
{
    PackageExtractor extractor;
    extractor.setJournal(context.journal);
    extractor.setYield([&context] { context.ui.processEvents(); });
    const qsizetype count = copied.size();
    for (qsizetype i = 0; i < count; ++i) {
        if (context.cancelConfirmed(QStringLiteral("Installing Cancel"))) {
            cancelFrom(context, i);
            return false;
        }
        context.showProgress(static_cast<int>(double(i + 1) / count * 60 + 40));
        extractOne(context, extractor, copied.at(i));
    }
    return true;
}

// Unpacked on worker threads and put in place here, in list order, so that
// every line, question and step of the bar is what extractInTurn gives.
bool extractOnWorkers(InstallContext &context, const QStringList &copied, UnpackQueue &queue)
{
    // Window events run at least this often while an entry is awaited.
    constexpr int EventsEveryMs = 50;
    const qsizetype count = copied.size();
    for (qsizetype i = 0; i < count; ++i) {
        // Nothing after the entries placed goes on while the question is up.
        if (context.state.cancelRequested)
            queue.pauseAfter(i - 1);
        if (context.cancelConfirmed(QStringLiteral("Installing Cancel"))) {
            queue.stop();
            cancelFrom(context, i);
            return false;
        }
        queue.resume();
        context.showProgress(static_cast<int>(double(i + 1) / count * 60 + 40));
        std::optional<UnpackQueue::Entry> entry;
        do {
            context.ui.processEvents();
            // Started after the step's first round of window events, so that
            // what that brings (a Cancel, another program filling the disk)
            // comes before anything is unpacked.
            queue.start();
            // Cancel pressed now is asked before the next entry; this one ends.
            if (context.state.cancelRequested)
                queue.pauseAfter(i);
        } while (!(entry = queue.take(i, EventsEveryMs)));
        placeOne(context, entry->extractor.get(), copied.at(i));
    }
    return true;
}

} // namespace

int UnpackWorkers(const InstallContext &context)
{
    if (context.journal && context.journal->hasFaultPoint())
        return 1;
    if (context.unpackWorkers > 0)
        return context.unpackWorkers;
    return std::clamp(QThread::idealThreadCount(), 1, 8);
}

bool ExtractCopiedFiles(InstallContext &context)
{
    const QStringList copied = context.currentLists().copied;
    const bool finished = context.unpackAhead
                                  ? extractOnWorkers(context, copied, *context.unpackAhead)
                                  : extractInTurn(context, copied);
    if (finished)
        context.showProgress(100);
    return finished;
}
