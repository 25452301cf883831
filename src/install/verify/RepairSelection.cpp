#include "RepairSelection.h"

#include "i18n/TextNumbers.h"
#include "install/FailureLines.h"
#include "install/InstallContext.h"
#include "install/InstallUi.h"
#include "install/verify/InstalledDataCheck.h"
#include "package/EntryType.h"
#include "package/PackageKind.h"
#include "selection/WizardState.h"

#include <QFile>
#include <QFileInfo>

RepairSelection::RepairSelection(InstallContext &context) : m_context(context)
{
    m_context.narrowLists = [this](InstallContext &) { narrow(); };
}

RepairSelection::~RepairSelection()
{
    m_context.narrowLists = nullptr;
}

void RepairSelection::narrow()
{
    InstalledDataCheck check(m_context);
    for (DataKind kind : AllDataKinds) {
        if (m_context.state.kind(kind).selected)
            narrowKind(kind, check);
    }
    if (m_context.stopping)
        return;
    const int count = check.missing() + check.different();
    m_context.ui.addMemoLine(count + check.leftovers() == 0
                                     ? m_context.text(InstallText::NothingToRepair)
                                     : m_context.text(InstallText::RepairCount)
                                               .arg(count)
                                               .arg(check.missing())
                                               .arg(check.different()));
}

void RepairSelection::narrowKind(DataKind kind, InstalledDataCheck &check)
{
    KindLists &lists = m_context.kindLists(kind);
    WholeLists &whole = m_whole[KindIndex(kind)];
    whole = {lists.sourceFolders, lists.sourceFiles, lists.destinationFolders,
             lists.destinationFiles};
    QStringList sourceFiles, destinationFiles;
    for (qsizetype i = 0; i < whole.sourceFiles.size(); ++i) {
        m_context.ui.processEvents();
        // A stop ends the run before anything is installed; the lists stay
        // whole, for nothing else follows.
        if (m_context.stopRequested())
            return;
        const Comparison comparison = check.checkFile(kind, i);
        // A damaged package cannot repair anything; the check afterwards names it.
        if (comparison == Comparison::Identical || comparison == Comparison::PackageDamaged)
            continue;
        check.showLine(kind, i, comparison);
        sourceFiles.append(whole.sourceFiles.at(i));
        destinationFiles.append(whole.destinationFiles.at(i));
        m_reasons.insert(InstalledName(whole.destinationFiles.at(i)), ComparisonCode(comparison));
    }
    m_leftovers[KindIndex(kind)] = check.checkLeftovers(kind);
    lists.sourceFiles = sourceFiles;
    lists.destinationFiles = destinationFiles;
    // A folder that is there is left alone; a missing one is made again.
    lists.sourceFolders.clear();
    lists.destinationFolders.clear();
    for (qsizetype i = 0; i < whole.destinationFolders.size(); ++i) {
        if (QFileInfo(whole.destinationFolders.at(i)).isDir())
            continue;
        lists.sourceFolders.append(whole.sourceFolders.at(i));
        lists.destinationFolders.append(whole.destinationFolders.at(i));
    }
}

void RepairSelection::restoreLists()
{
    for (DataKind kind : AllDataKinds) {
        if (!m_context.state.kind(kind).selected)
            continue;
        KindLists &lists = m_context.kindLists(kind);
        const WholeLists &whole = m_whole[KindIndex(kind)];
        lists.sourceFolders = whole.sourceFolders;
        lists.sourceFiles = whole.sourceFiles;
        lists.destinationFolders = whole.destinationFolders;
        lists.destinationFiles = whole.destinationFiles;
    }
}

void RepairSelection::removeLeftovers()
{
    for (DataKind kind : AllDataKinds) {
        const QString &destination = m_context.state.kind(kind).destination;
        KindLists &lists = m_context.kindLists(kind);
        for (const QString &leftover : std::as_const(m_leftovers[KindIndex(kind)])) {
            // Looked at again: nothing is removed through a link put there since.
            QFile file(leftover);
            if (LinkOnTheWay(destination, QFileInfo(leftover).path()).isEmpty() && file.remove()) {
                m_context.ui.addMemoLine(m_context.text(InstallText::LeftoverRemoved)
                                         + NativePath(leftover));
                lists.outcomes.append(
                        {leftover, FileOutcome::Result::Removed, QStringLiteral("leftover")});
                continue;
            }
            const FileFailure failure{WriteFailureReason(file.error(), leftover),
                                      file.errorString()};
            m_context.ui.addMemoLine(
                    FailureLine(m_context, InstallText::FileNotDeleted, leftover, failure));
            lists.outcomes.append(FileOutcome::failed(leftover, failure));
        }
        m_leftovers[KindIndex(kind)].clear();
    }
}

void RepairSelection::markReasons()
{
    for (KindLists &lists : m_context.lists) {
        for (FileOutcome &outcome : lists.outcomes) {
            if (outcome.result == FileOutcome::Result::Installed
                || outcome.result == FileOutcome::Result::Replaced)
                outcome.reason = m_reasons.value(outcome.path);
        }
    }
}
