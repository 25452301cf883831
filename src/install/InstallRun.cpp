#include "InstallRun.h"

#include "i18n/Languages.h"
#include "i18n/TextNumbers.h"
#include "install/CancelDialogue.h"
#include "install/CompletionDialogue.h"
#include "install/CopyWithPrompts.h"
#include "install/DestinationMapper.h"
#include "install/DiskSpace.h"
#include "install/ExtractionLoop.h"
#include "install/FailureLines.h"
#include "install/FolderScan.h"
#include "install/InstallContext.h"
#include "install/InstallUi.h"
#include "install/RunLock.h"
#include "install/UnpackQueue.h"
#include "install/UnitListBuilder.h"
#include "install/journal/Recovery.h"
#include "install/journal/RunJournal.h"
#include "package/LockedJournal.h"
#include "selection/WizardState.h"

namespace {

struct KindTexts
{
    int title, started, installed, withErrors, failed;
};

KindTexts textsOf(DataKind kind)
{
    switch (kind) {
    case DataKind::STY:
        return {InstallText::StyTitle, InstallText::StyStarted, InstallText::StyInstalled,
                InstallText::StyInstalledWithErrors, InstallText::StyFailed};
    case DataKind::STI:
        return {InstallText::StiTitle, InstallText::StiStarted, InstallText::StiInstalled,
                InstallText::StiInstalledWithErrors, InstallText::StiFailed};
    case DataKind::DETAIL:
        break;
    }
    return {InstallText::DetailTitle, InstallText::DetailStarted, InstallText::DetailInstalled,
            InstallText::DetailInstalledWithErrors, InstallText::DetailFailed};
}

} // namespace

InstallRun::InstallRun(InstallContext &context) : m_context(context) {}

void InstallRun::btInstallClick()
{
    InstallUi &ui = m_context.ui;
    m_timer.start();
    m_saved.clear();
    m_statusNotSaved = false;
    // Cancel can be pressed on the last page before any run; that press is
    // not a cancel of this run.
    m_context.state.cancelRequested = false;
    ui.clearMemo();
    m_context.showProgress(0);
    ui.setRunButtonsEnabled(false);
    clearLists();

    if (m_context.state.userInstall && !anyUnitsChosen()) {
        m_outcome = Outcome::NotStarted;
        ui.showWarning(m_context.text(InstallText::NothingSelected),
                       QStringLiteral("Not Selected"));
        ui.setRunButtonsEnabled(true);
        return;
    }
    // One run at a time on this computer, from before the lists are built;
    // the unattended install holds the lock for its whole command.
    std::optional<RunLock> lock;
    if (!m_context.runLockHeld) {
        lock.emplace(m_context.lockFolder);
        if (!takeRunLock(*lock))
            return endWithout(Outcome::NotStarted);
    }
    // The system's requests to stop are answered by undoing the run.
    m_stopGuard.emplace();
    m_context.stopping = false;
    if (collectLists())
        runProper();
    else
        abort();
}

// The status lists are cleared before the lists are built, so that a source
// folder that cannot be read keeps its line.
void InstallRun::clearLists()
{
    for (KindLists &lists : m_context.lists) {
        lists.clearSources();
        lists.status.clear();
    }
}

bool InstallRun::collectLists()
{
    clearLists();
    if (!(m_context.state.userInstall ? collectUser() : collectBasic()))
        return false;
    if (m_context.narrowLists)
        m_context.narrowLists(m_context);
    // A stop while the lists were narrowed ends the run before it writes.
    return !m_context.stopping;
}

bool InstallRun::anyUnitsChosen() const
{
    // Only a selected kind counts: a tree ticked before the kind was
    // deselected on the first page has nothing to install.
    for (DataKind kind : AllDataKinds) {
        const KindState &state = m_context.state.kind(kind);
        if (state.selected && state.hasCheckedUnit)
            return true;
    }
    return false;
}

bool InstallRun::collectBasic()
{
    m_context.ui.setStage(m_context.text(InstallText::CollectingTitle));
    m_context.ui.setPercentVisible(false);
    m_context.ui.addMemoLine(m_context.text(InstallText::Collecting));
    m_context.scanProgress = 0;
    for (DataKind kind : AllDataKinds) {
        const KindState &state = m_context.state.kind(kind);
        m_context.kindLists(kind).unitsChosen = state.selected;
        if (!state.selected)
            continue;
        m_context.state.currentKind = kind;
        ScanFolder(m_context, state.sourceFolder, true);
    }
    return MapToDestinationPaths(m_context);
}

bool InstallRun::collectUser()
{
    m_context.ui.setStage(m_context.text(InstallText::CollectingTitle));
    m_context.ui.setPercentVisible(true);
    m_context.ui.addMemoLine(m_context.text(InstallText::Collecting));
    m_context.scanProgress = 0;
    // A cancelled kind ends the collecting; the mapping still runs, as it
    // always did, and the run then takes the abort branch.
    bool built = true;
    for (DataKind kind : AllDataKinds) {
        const KindState &state = m_context.state.kind(kind);
        m_context.kindLists(kind).unitsChosen = state.selected && state.hasCheckedUnit;
        if (!state.selected || !built)
            continue;
        m_context.state.currentKind = kind;
        built = BuildFromChosenUnits(m_context);
    }
    const bool mapped = MapToDestinationPaths(m_context);
    return built && mapped;
}

void InstallRun::abort()
{
    m_stopGuard.reset();
    m_context.showProgress(0);
    if (m_context.stopping)
        return endWithout(Outcome::Interrupted);
    m_outcome = Outcome::Aborted;
    CompletionDialogue(m_context).askToClose(m_context.text(InstallText::CloseQuestion),
                                             QStringLiteral("Close Installer"));
    m_context.ui.setRunButtonsEnabled(true);
}

void InstallRun::runProper()
{
    for (KindLists &lists : m_context.lists)
        lists.clearRunRecords();
    m_context.cancelRecord = {};
    m_context.ui.setElapsedSeconds(0);
    if (!CheckDiskSpace(m_context))
        return endWithout(Outcome::NoSpace);
    RunJournal journal;
    if (!startJournal(journal))
        return endWithout(Outcome::NotStarted);
    const bool installed = installKinds();
    // Never "complete" unless no later start can undo it and nothing is left.
    const bool runResult = finishJournal(journal) && installed;
    m_stopGuard.reset();
    if (m_context.stopping)
        return endWithout(Outcome::Interrupted);
    m_outcome = runResult ? Outcome::Installed : Outcome::KindFailed;
    CompletionDialogue completion(m_context);
    m_saved = completion.run(runResult);
    m_statusNotSaved = completion.notSaved() > 0;
    m_context.ui.setRunButtonsEnabled(true);
}

// The run ends before its questions: nothing to save, nothing to ask.
void InstallRun::endWithout(Outcome outcome)
{
    m_stopGuard.reset();
    m_outcome = outcome;
    m_context.ui.setRunButtonsEnabled(true);
}

bool InstallRun::takeRunLock(RunLock &lock)
{
    QString refusal;
    switch (lock.tryTake()) {
    case ProcessLock::Result::Taken:
        return true;
    case ProcessLock::Result::Held: {
        const RunLock::Holder holder = lock.holder();
        refusal = m_context.text(InstallText::RunInProgressWindow)
                          .arg(holder.process, holder.user, holder.started);
        break;
    }
    case ProcessLock::Result::Failed:
        refusal = m_context.text(InstallText::RunLockNotTaken) + lock.errorString();
        break;
    }
    m_context.ui.showWarning(refusal, QStringLiteral("Warning"));
    return false;
}

bool InstallRun::startJournal(RunJournal &journal)
{
    // A run that could not be undone yet must be undone before anything
    // else is done to the files it names, or undoing it later would undo
    // this run too.
    const QStringList pending = PendingJournals(m_context.journalFolder);
    if (!pending.isEmpty()) {
        m_context.ui.showWarning(m_context.text(InstallText::PendingRunBlocks)
                                         + NativePath(pending.first()),
                                 QStringLiteral("Warning"));
        return false;
    }
    if (journal.begin(m_context.journalFolder, CurrentLanguageName()) && addRoots(journal)) {
        m_context.journal = &journal;
        return true;
    }
    // "Not recorded" is what the run would say of a step; here the journal is the subject.
    FileFailure failure = journal.failure();
    if (failure.reason == FailureReason::NotRecorded)
        failure.reason = FailureReason::Other;
    m_context.ui.showWarning(
            FailureLine(m_context, InstallText::JournalNotWritable, journal.fileName(), failure),
            QStringLiteral("Warning"));
    return false;
}

// Every destination of the run, before any step: the recovery acts only
// below the roots a journal names first.
bool InstallRun::addRoots(RunJournal &journal)
{
    for (DataKind kind : AllDataKinds) {
        if (m_context.state.kind(kind).selected && m_context.kindLists(kind).unitsChosen
            && !journal.addRoot(m_context.state.kind(kind).destination))
            return false;
    }
    return true;
}

// The selected kinds in order; true when every one was installed cleanly.
bool InstallRun::installKinds()
{
    bool first = true;
    bool clean = true;
    bool cancelled = false;
    for (DataKind kind : AllDataKinds) {
        if (!m_context.state.kind(kind).selected || !m_context.kindLists(kind).unitsChosen)
            continue;
        if (cancelled) {
            reportNotInstalled(kind);
            continue;
        }
        m_context.state.currentKind = kind;
        m_context.ui.setStage(m_context.text(textsOf(kind).title));
        if (!first)
            m_context.showProgress(0);
        first = false;
        const KindResult result = installKind(kind);
        cancelled = result == KindResult::Cancelled;
        clean = clean && result == KindResult::Installed;
    }
    // A stop that came after the last look is honoured all the same.
    if (m_context.stopRequested())
        undoWholeRun();
    if (cancelled || m_context.stopping)
        reportCancel();
    // A run in which a kind failed or any file could not be installed is
    // never reported as completed.
    return !first && clean;
}

// A stop undoes the whole run, whichever step it came in, as the next start
// would after a kill.
void InstallRun::undoWholeRun()
{
    m_context.cancelRecord.removalChosen = true;
    for (DataKind kind : AllDataKinds) {
        if (m_context.state.kind(kind).selected)
            RemoveWhatTheRunInstalled(m_context, kind);
    }
}

bool InstallRun::finishJournal(RunJournal &journal)
{
    m_context.journal = nullptr;
    const RunJournal::Ending ending = journal.finish();
    for (const RunJournal::Ending::Leftover &file : ending.notRemoved) {
        const DataKind kind = kindHolding(file.path);
        const FileFailure failure{FailureReason::NotRemoved, file.error};
        m_context.kindLists(kind).outcomes.append(FileOutcome::failed(file.path, failure));
        m_context.reportLine(
                kind, FailureLine(m_context, InstallText::FileNotDeleted, file.path, failure));
    }
    const DataKind first = kindHolding({});
    if (!ending.syncError.isEmpty())
        m_context.reportLine(first, FailureLine(m_context, InstallText::SyncFailed,
                                                m_context.state.kind(first).destination,
                                                {FailureReason::Other, ending.syncError}));
    if (!ending.recorded)
        m_context.reportLine(first,
                             FailureLine(m_context, InstallText::EndNotRecorded, journal.fileName(),
                                         {FailureReason::Other, ending.journalError}));
    return ending.recorded && ending.syncError.isEmpty() && ending.notRemoved.isEmpty();
}

// The kind installed into the folder that holds path; the first kind of the
// run for anything else.
DataKind InstallRun::kindHolding(const QString &path) const
{
    std::optional<DataKind> first;
    for (DataKind kind : AllDataKinds) {
        if (!m_context.state.kind(kind).selected || !m_context.kindLists(kind).unitsChosen)
            continue;
        if (!first)
            first = kind;
        if (!path.isEmpty() && path.startsWith(m_context.state.kind(kind).destination + u'/'))
            return kind;
    }
    return first.value_or(m_context.currentKind());
}

InstallRun::KindResult InstallRun::installKind(DataKind kind)
{
    m_context.ui.addMemoLine(m_context.text(textsOf(kind).started));
    KindLists &lists = m_context.kindLists(kind);
    // Files whose names cannot exist here were refused as the lists were built.
    lists.failedFiles += int(lists.refusedFiles.size());
    lists.outcomes += lists.refusedFiles;
    // With worker threads, each copy is unpacked as soon as it is made.
    const int workers = UnpackWorkers(m_context);
    LockedJournal locked(m_context.journal);
    std::optional<UnpackQueue> ahead;
    if (workers > 1)
        ahead.emplace(m_context.state.kind(kind).destination,
                      m_context.journal ? &locked : nullptr, workers);
    m_context.unpackAhead = ahead ? &*ahead : nullptr;
    const bool finished
            = PrepareAndCopyKind(m_context) && (lists.refused || ExtractCopiedFiles(m_context));
    m_context.unpackAhead = nullptr;
    ahead.reset();
    updateElapsed();
    if (!finished) {
        reportNotInstalled(kind);
        return KindResult::Cancelled;
    }
    return reportResult(kind);
}

// The line that closes a kind that ran to its end: installed, installed with
// errors (N of M files), or failed when nothing of it could be installed.
InstallRun::KindResult InstallRun::reportResult(DataKind kind)
{
    const KindLists &lists = m_context.kindLists(kind);
    const qsizetype files = lists.sourceFiles.size() + lists.refusedFiles.size();
    const bool nothing = lists.refused || (files > 0 && lists.failedFiles == files)
                         || (files == 0 && lists.unreadFolders > 0);
    if (nothing) {
        reportNotInstalled(kind);
        return KindResult::Failed;
    }
    if (lists.failedFiles == 0 && lists.unreadFolders == 0) {
        m_context.ui.addMemoLine(m_context.text(textsOf(kind).installed));
        return KindResult::Installed;
    }
    // Files inside a folder that could not be read are not known, so that
    // case is counted in folders.
    const QString line
            = lists.failedFiles > 0
                      ? m_context.text(textsOf(kind).withErrors).arg(lists.failedFiles).arg(files)
                      : m_context.text(InstallText::InstalledWithUnreadFolders)
                                .arg(DataKindName(kind))
                                .arg(lists.unreadFolders);
    m_context.reportLine(kind, line);
    return KindResult::WithErrors;
}

void InstallRun::reportCancel()
{
    const InstallContext::CancelRecord &record = m_context.cancelRecord;
    if (!record.removalChosen)
        m_context.ui.addMemoLine(m_context.text(InstallText::CancelledKept));
    else if (record.restored == 0)
        m_context.ui.addMemoLine(m_context.text(InstallText::CancelledRemoved)
                                         .arg(record.files)
                                         .arg(record.folders));
    else
        m_context.ui.addMemoLine(m_context.text(InstallText::CancelledRemovedRestored)
                                         .arg(record.files)
                                         .arg(record.folders)
                                         .arg(record.restored));
}

void InstallRun::reportNotInstalled(DataKind kind)
{
    m_context.reportLine(kind, m_context.text(textsOf(kind).failed));
}

void InstallRun::updateElapsed()
{
    m_context.ui.setElapsedSeconds(static_cast<int>(m_timer.elapsed() / 1000));
}

bool InstallRun::hasStatusLines() const
{
    for (DataKind kind : AllDataKinds) {
        if (m_context.state.kind(kind).selected
            && !m_context.lists[KindIndex(kind)].status.isEmpty())
            return true;
    }
    return false;
}
