#include "InstalledDataCheck.h"

#include "i18n/TextNumbers.h"
#include "install/FailureLines.h"
#include "install/InstallContext.h"
#include "install/ExtractionLoop.h"
#include "install/InstallUi.h"
#include "install/verify/CheckQueue.h"
#include "install/verify/Leftovers.h"
#include "package/EntryType.h"
#include "package/PackageKind.h"
#include "selection/WizardState.h"

#include <QFileInfo>

namespace {

int reasonText(Comparison comparison)
{
    switch (comparison) {
    case Comparison::Missing:
        return InstallText::ReasonMissing;
    case Comparison::DifferentSize:
        return InstallText::ReasonDifferentSize;
    case Comparison::DifferentContent:
        return InstallText::ReasonDifferentContent;
    case Comparison::LinkInTheWay:
        return InstallText::ReasonNotReadThroughLink;
    case Comparison::InstalledUnreadable:
    case Comparison::Identical:
    case Comparison::PackageDamaged:
        break;
    }
    return InstallText::ReasonInstalledUnreadable;
}

} // namespace

InstalledDataCheck::InstalledDataCheck(InstallContext &context) : m_context(context)
{
    m_comparer.setYield([&context] { context.ui.processEvents(); });
    m_timer.start();
}

InstalledDataCheck::~InstalledDataCheck() = default;

// On worker threads where there are cores for them, taken in order here.
Comparison InstalledDataCheck::compareAhead(DataKind kind, qsizetype i, int workers)
{
    if (!m_ahead || m_aheadKind != kind || i == 0) {
        const KindLists &lists = m_context.kindLists(kind);
        QStringList installed;
        installed.reserve(lists.destinationFiles.size());
        for (const QString &packed : lists.destinationFiles)
            installed.append(InstalledName(packed));
        m_ahead.reset();
        m_ahead = std::make_unique<CheckQueue>(
                lists.sourceFiles, installed, m_context.state.kind(kind).destination, workers);
        m_aheadKind = kind;
    }
    // Window events run at least this often while a file is awaited.
    constexpr int EventsEveryMs = 50;
    std::optional<CheckQueue::Result> result;
    while (!(result = m_ahead->take(i, EventsEveryMs)))
        m_context.ui.processEvents();
    m_failure = result->failure;
    return result->comparison;
}

Comparison InstalledDataCheck::checkFile(DataKind kind, qsizetype i)
{
    const KindLists &lists = m_context.kindLists(kind);
    const QString installed = InstalledName(lists.destinationFiles.at(i));
    Comparison comparison;
    if (const int workers = UnpackWorkers(m_context); workers > 1) {
        comparison = compareAhead(kind, i, workers);
    } else {
        comparison = linkOnTheWay(kind, installed)
                             ? Comparison::LinkInTheWay
                             : m_comparer.compare(lists.sourceFiles.at(i), installed);
        m_failure = m_comparer.failure();
    }
    // A package that cannot be unpacked leaves its file unchecked.
    m_checked += comparison != Comparison::PackageDamaged;
    switch (comparison) {
    case Comparison::Identical:
        break;
    case Comparison::Missing:
        ++m_missing;
        break;
    case Comparison::DifferentSize:
    case Comparison::DifferentContent:
    case Comparison::InstalledUnreadable:
    case Comparison::LinkInTheWay:
        ++m_different;
        break;
    case Comparison::PackageDamaged:
        ++m_failed;
        break;
    }
    return comparison;
}

void InstalledDataCheck::showLine(DataKind kind, qsizetype i, Comparison comparison)
{
    const KindLists &lists = m_context.kindLists(kind);
    if (comparison == Comparison::Identical)
        return;
    // A damaged package is the delivery's fault: the line names the package.
    if (comparison == Comparison::PackageDamaged) {
        m_context.ui.addMemoLine(FailureLine(m_context, InstallText::NotChecked,
                                             lists.sourceFiles.at(i), m_failure));
        return;
    }
    QString line = m_context.text(InstallText::NotAsDelivered)
                   + NativePath(InstalledName(lists.destinationFiles.at(i))) + QStringLiteral(" - ")
                   + m_context.text(reasonText(comparison));
    const QString message = m_failure.systemMessage.trimmed();
    if (comparison == Comparison::InstalledUnreadable && !message.isEmpty())
        line += QStringLiteral(" (") + message + u')';
    m_context.ui.addMemoLine(line);
}

// The install's rule: nothing below the destination is read through a link
// or a special file on the way to it. Files come folder by folder, so each
// folder is looked at once.
bool InstalledDataCheck::linkOnTheWay(DataKind kind, const QString &installed)
{
    const QString &destination = m_context.state.kind(kind).destination;
    const QString folder = QFileInfo(installed).path();
    if (folder != m_lastFolder || destination != m_lastDestination) {
        m_lastFolder = folder;
        m_lastDestination = destination;
        m_lastFolderLinked = !LinkOnTheWay(destination, folder).isEmpty();
    }
    return m_lastFolderLinked;
}

bool InstalledDataCheck::takesPart(DataKind kind) const
{
    return m_context.state.kind(kind).selected && m_context.kindLists(kind).unitsChosen;
}

void InstalledDataCheck::checkAll()
{
    qsizetype total = 0;
    for (DataKind kind : AllDataKinds)
        total += takesPart(kind) ? m_context.kindLists(kind).destinationFiles.size() : 0;
    m_done = 0;
    for (DataKind kind : AllDataKinds) {
        if (takesPart(kind))
            checkKind(kind, total);
    }
    m_context.showProgress(100);
}

void InstalledDataCheck::checkKind(DataKind kind, qsizetype total)
{
    m_context.state.currentKind = kind;
    const QString title = m_context.text(InstallText::CheckingKind).arg(DataKindName(kind));
    m_context.ui.setStage(title);
    m_context.ui.addMemoLine(title);
    KindLists &lists = m_context.kindLists(kind);
    // Refused for their names as the lists were built: never opened, so not checked.
    m_failed += int(lists.refusedFiles.size());
    lists.outcomes += lists.refusedFiles;
    for (qsizetype i = 0; i < lists.destinationFiles.size(); ++i) {
        m_context.ui.processEvents();
        const Comparison comparison = checkFile(kind, i);
        showLine(kind, i, comparison);
        if (const auto outcome = FileOutcome::checked(InstalledName(lists.destinationFiles.at(i)),
                                                      comparison, m_failure))
            lists.outcomes.append(*outcome);
        m_context.showProgress(static_cast<int>(100 * ++m_done / total));
    }
    for (const QString &leftover : checkLeftovers(kind))
        lists.outcomes.append(
                {leftover, FileOutcome::Result::Different, QStringLiteral("leftover")});
}

QStringList InstalledDataCheck::checkLeftovers(DataKind kind)
{
    const KindLists &lists = m_context.kindLists(kind);
    QStringList installed;
    installed.reserve(lists.destinationFiles.size());
    for (const QString &packed : lists.destinationFiles)
        installed.append(InstalledName(packed));
    const QStringList leftovers = FindLeftovers(m_context.state.kind(kind).destination, installed);
    for (const QString &leftover : leftovers)
        m_context.ui.addMemoLine(m_context.text(InstallText::NotAsDelivered) + NativePath(leftover)
                                 + QStringLiteral(" - ")
                                 + m_context.text(InstallText::ReasonLeftover));
    m_leftovers += int(leftovers.size());
    return leftovers;
}

void InstalledDataCheck::showSummary()
{
    m_context.ui.addMemoLine(m_context.text(InstallText::CheckSummary)
                                     .arg(m_checked)
                                     .arg(m_missing)
                                     .arg(m_different)
                                     .arg(m_failed)
                                     .arg(QString::number(m_timer.elapsed() / 1000.0, 'f', 1)));
    if (m_leftovers > 0)
        m_context.ui.addMemoLine(m_context.text(InstallText::LeftoverCount).arg(m_leftovers));
}

InstalledDataCheck::Verdict InstalledDataCheck::verdict() const
{
    bool unread = false;
    for (DataKind kind : AllDataKinds)
        unread = unread || (takesPart(kind) && m_context.kindLists(kind).unreadFolders > 0);
    if (unread || m_failed > 0)
        return Verdict::Incomplete;
    return m_missing + m_different + m_leftovers > 0 ? Verdict::MissingOrDifferent
                                                     : Verdict::Identical;
}
