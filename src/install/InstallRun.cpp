#include "InstallRun.h"

#include "i18n/TextNumbers.h"
#include "install/CompletionDialogue.h"
#include "install/CopyWithPrompts.h"
#include "install/DestinationMapper.h"
#include "install/ExtractionLoop.h"
#include "install/FolderScan.h"
#include "install/InstallContext.h"
#include "install/InstallUi.h"
#include "install/UnitListBuilder.h"
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
    return true;
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
    m_outcome = Outcome::Aborted;
    m_context.showProgress(0);
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
    if (cancelled)
        reportCancel();
    // A run in which a kind failed or any file could not be installed is
    // never reported as completed.
    const bool runResult = !first && clean;
    m_outcome = runResult ? Outcome::Installed : Outcome::KindFailed;
    m_saved = CompletionDialogue(m_context).run(runResult);
    m_context.ui.setRunButtonsEnabled(true);
}

InstallRun::KindResult InstallRun::installKind(DataKind kind)
{
    m_context.ui.addMemoLine(m_context.text(textsOf(kind).started));
    const KindLists &lists = m_context.kindLists(kind);
    const bool finished
            = PrepareAndCopyKind(m_context) && (lists.refused || ExtractCopiedFiles(m_context));
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
    const qsizetype files = lists.sourceFiles.size();
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
    m_context.ui.addMemoLine(record.removalChosen ? m_context.text(InstallText::CancelledRemoved)
                                                            .arg(record.files)
                                                            .arg(record.folders)
                                                  : m_context.text(InstallText::CancelledKept));
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
