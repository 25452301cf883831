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
    int title, started, installed, failed;
};

KindTexts textsOf(DataKind kind)
{
    switch (kind) {
    case DataKind::STY:
        return {InstallText::StyTitle, InstallText::StyStarted, InstallText::StyInstalled,
                InstallText::StyFailed};
    case DataKind::STI:
        return {InstallText::StiTitle, InstallText::StiStarted, InstallText::StiInstalled,
                InstallText::StiFailed};
    case DataKind::DETAIL:
        break;
    }
    return {InstallText::DetailTitle, InstallText::DetailStarted, InstallText::DetailInstalled,
            InstallText::DetailFailed};
}

} // namespace

InstallRun::InstallRun(InstallContext &context) : m_context(context) {}

void InstallRun::btInstallClick()
{
    InstallUi &ui = m_context.ui;
    m_timer.start();
    m_saved.clear();
    ui.clearMemo();
    m_context.showProgress(0);
    ui.setRunButtonsEnabled(false);
    for (KindLists &lists : m_context.lists) {
        lists.sourceFolders.clear();
        lists.sourceFiles.clear();
    }

    if (m_context.state.userInstall && !anyUnitsChosen()) {
        m_outcome = Outcome::NotStarted;
        ui.showWarning(m_context.text(InstallText::NothingSelected),
                       QStringLiteral("Not Selected"));
        ui.setRunButtonsEnabled(true);
        return;
    }
    const bool collected = m_context.state.userInstall ? collectUser() : collectBasic();
    if (collected)
        runProper();
    else
        abort();
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
    for (KindLists &lists : m_context.lists) {
        lists.status.clear();
        lists.clearRunRecords();
    }
    m_context.ui.setElapsedSeconds(0);

    bool first = true;
    bool failed = false;
    for (DataKind kind : AllDataKinds) {
        if (!m_context.state.kind(kind).selected || !m_context.kindLists(kind).unitsChosen)
            continue;
        if (failed) {
            reportNotInstalled(kind);
            continue;
        }
        m_context.state.currentKind = kind;
        m_context.ui.setStage(m_context.text(textsOf(kind).title));
        if (!first)
            m_context.showProgress(0);
        first = false;
        failed = !installKind(kind);
    }
    // A run in which a kind failed is never reported as completed.
    const bool runResult = !first && !failed;
    m_outcome = runResult ? Outcome::Installed : Outcome::KindFailed;
    m_saved = CompletionDialogue(m_context).run(runResult);
    m_context.ui.setRunButtonsEnabled(true);
}

bool InstallRun::installKind(DataKind kind)
{
    m_context.ui.addMemoLine(m_context.text(textsOf(kind).started));
    const bool installed = PrepareAndCopyKind(m_context) && ExtractCopiedFiles(m_context);
    updateElapsed();
    if (!installed) {
        reportNotInstalled(kind);
        return false;
    }
    m_context.ui.addMemoLine(m_context.text(textsOf(kind).installed));
    return true;
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
