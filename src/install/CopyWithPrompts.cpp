#include "CopyWithPrompts.h"

#include "i18n/TextNumbers.h"
#include "install/CancelDialogue.h"
#include "install/DestinationFolders.h"
#include "install/FailureLines.h"
#include "install/FileCopy.h"
#include "install/InstallContext.h"
#include "install/InstallUi.h"
#include "install/Removal.h"
#include "install/UnpackQueue.h"
#include "install/journal/RunJournal.h"
#include "package/EntryType.h"
#include "package/InstalledFileWriter.h"
#include "package/PackageKind.h"
#include "platform/FileReplacement.h"
#include "selection/WizardState.h"

#include <QFileInfo>

#include <optional>

namespace {

class CopyStep
{
public:
    explicit CopyStep(InstallContext &context)
        : m_context(context)
        , m_kind(context.currentKind())
        , m_lists(context.kindLists(m_kind))
        , m_copy([&context] { context.ui.processEvents(); }, context.journal)
    {}

    bool run();

private:
    // How the step goes on after an entry.
    enum class Next { Go, Refused, Cancelled };

    Next copyEntry(qsizetype i);
    bool cancelConfirmed();
    void stopUnpacking();
    bool refusedByWhatIsThere(qsizetype i, EntryType installed);
    void fileFailed(const QString &installedName, const FileFailure &failure);
    OverwriteAnswer askOverwrite(const QString &installedName);
    Next copy(qsizetype i, bool replacing);
    bool keepAside(const QString &packed, KindLists::Replaced *kept);
    void notOverwrittenFrom(qsizetype i);
    QString cancelCaption() const;

    InstallContext &m_context;
    const DataKind m_kind;
    KindLists &m_lists;
    FileCopy m_copy;
    std::optional<OverwriteAnswer> m_remembered; // the answer to the last question
    bool m_attempted = false;                    // a copy of this kind was tried
};

QString CopyStep::cancelCaption() const
{
    return m_kind == DataKind::STY ? QStringLiteral("Cancel") : QStringLiteral("Cancel Installing");
}

bool CopyStep::run()
{
    m_context.ui.setProgressBar(10);
    // The cancel request is not cleared here: a Cancel pressed while the
    // previous kind's last file was unpacked is asked about before this kind
    // copies anything.
    m_lists.copied.clear();
    m_lists.mayReplace.clear();
    const qsizetype count = m_lists.sourceFiles.size();
    for (qsizetype i = 0; i < count; ++i) {
        if (cancelConfirmed()) {
            stopUnpacking();
            RunCopyCancelDialogue(m_context);
            return false;
        }
        m_context.showProgress(static_cast<int>(double(i + 1) / count * 30 + 10));
        switch (copyEntry(i)) {
        case Next::Go:
            break;
        case Next::Refused:
            stopUnpacking();
            return true;
        case Next::Cancelled:
            return false;
        }
    }
    if (m_context.unpackAhead)
        m_context.unpackAhead->close();
    m_context.showProgress(40);
    return true;
}

// The workers unpacking ahead wait while the question is up, as they do
// while the extraction asks it.
bool CopyStep::cancelConfirmed()
{
    UnpackQueue *queue = m_context.unpackAhead;
    if (queue && m_context.state.cancelRequested)
        queue->pauseAfter(-1);
    const bool confirmed = m_context.cancelConfirmed(cancelCaption());
    if (queue && !confirmed)
        queue->resume();
    return confirmed;
}

// Nothing is unpacked ahead any more; what was goes with its temporary file.
void CopyStep::stopUnpacking()
{
    if (m_context.unpackAhead)
        m_context.unpackAhead->stop();
}

CopyStep::Next CopyStep::copyEntry(qsizetype i)
{
    const QString installedName = InstalledName(m_lists.destinationFiles.at(i));
    const EntryType installed = EntryTypeOf(installedName);
    if (refusedByWhatIsThere(i, installed))
        return Next::Go;
    if (installed == EntryType::Missing) {
        // A look that failed proves nothing: the file may be there, and only
        // a file found missing is installed without a question.
        QString error;
        const NameState state = LookAtName(installedName, &error);
        if (state == NameState::Free)
            return copy(i, false);
        if (state == NameState::Failed) {
            fileFailed(installedName, {FailureReason::Other, error});
            return Next::Go;
        }
    }
    if (m_remembered != OverwriteAnswer::All)
        m_remembered = askOverwrite(installedName);
    switch (*m_remembered) {
    case OverwriteAnswer::Yes:
    case OverwriteAnswer::All:
        // "Overwritten" is said by the extraction, once the file has been.
        return copy(i, true);
    case OverwriteAnswer::No:
        m_context.reportLine(m_kind, m_context.text(InstallText::NotOverwritten)
                                             + NativePath(installedName));
        m_lists.outcomes.append({installedName, FileOutcome::Result::Kept});
        break;
    case OverwriteAnswer::Cancel:
        stopUnpacking();
        notOverwrittenFrom(i);
        // The installed data files stay; the packed copies and the empty
        // folders this step made are only ours.
        RemovePackedCopies(m_context, m_kind);
        RemoveCreatedFolders(m_context, m_kind, false);
        return Next::Cancelled;
    }
    return Next::Go;
}

// A link or a special file in the installed file's place or on its way
// below the destination, or a folder in its place: the file fails at once,
// with no question, and nothing is written there.
bool CopyStep::refusedByWhatIsThere(qsizetype i, EntryType installed)
{
    const QString packed = m_lists.destinationFiles.at(i);
    const QString installedName = InstalledName(packed);
    const QString destination = m_context.state.kind(m_kind).destination;
    const QString linkOnTheWay = LinkOnTheWay(destination, QFileInfo(packed).path());
    if (!linkOnTheWay.isEmpty() || installed == EntryType::Link || installed == EntryType::Special)
        fileFailed(installedName, {FailureReason::LinkInTheWay, {}});
    else if (installed == EntryType::Folder)
        fileFailed(installedName, {FailureReason::FolderInTheWay, {}});
    else
        return false;
    return true;
}

void CopyStep::fileFailed(const QString &installedName, const FileFailure &failure)
{
    ++m_lists.failedFiles;
    m_lists.outcomes.append(FileOutcome::failed(installedName, failure));
    m_context.reportLine(
            m_kind, FailureLine(m_context, InstallText::FileNotInstalled, installedName, failure));
}

OverwriteAnswer CopyStep::askOverwrite(const QString &installedName)
{
    const QString separator = m_kind == DataKind::STY ? QStringLiteral("\n") : QString();
    UnpackQueue *queue = m_context.unpackAhead;
    if (queue)
        queue->pauseAfter(-1);
    const OverwriteAnswer answer = m_context.ui.askOverwrite(
            m_context.text(InstallText::OverwriteQuestion) + separator + NativePath(installedName));
    if (queue)
        queue->resume();
    return answer;
}

// A file in the packed copy's place is kept aside like a replaced file, so
// that undoing the run gives it back.
bool CopyStep::keepAside(const QString &packed, KindLists::Replaced *kept)
{
    if (!m_context.journal || EntryTypeOf(packed) != EntryType::File)
        return true;
    const QString backup = NameBeside(packed, InstalledFileWriter::BackupSuffix);
    QString error;
    if (!m_context.journal->willKeepAside(packed, backup)) {
        fileFailed(InstalledName(packed), m_context.journal->failure());
        return false;
    }
    if (KeepAside(packed, backup, &error) == AsideResult::Failed) {
        fileFailed(InstalledName(packed),
                   {WriteFailureReason(QFileDevice::RenameError, packed), error});
        return false;
    }
    *kept = {packed, backup};
    return true;
}

CopyStep::Next CopyStep::copy(qsizetype i, bool replacing)
{
    const QString &target = m_lists.destinationFiles.at(i);
    const bool first = !m_attempted;
    m_attempted = true;
    KindLists::Replaced kept;
    if (!keepAside(target, &kept))
        return Next::Go;
    if (m_copy.copy(m_lists.sourceFiles.at(i), target)) {
        m_lists.copied.append(target);
        if (m_context.unpackAhead)
            m_context.unpackAhead->append(target);
        if (replacing)
            m_lists.mayReplace.insert(target);
        if (!kept.backup.isEmpty())
            m_lists.packedAside.append(kept);
        return Next::Go;
    }
    if (!kept.backup.isEmpty())
        PutBackPackedName(m_context, m_kind, kept);
    const FileFailure &failure = m_copy.failure();
    if (first && failure.reason == FailureReason::NoPermission) {
        RefuseKind(m_context, QFileInfo(target).path(), failure.reason);
        return Next::Refused;
    }
    fileFailed(InstalledName(target), failure);
    return Next::Go;
}

void CopyStep::notOverwrittenFrom(qsizetype i)
{
    for (; i < m_lists.destinationFiles.size(); ++i) {
        const QString installedName = InstalledName(m_lists.destinationFiles.at(i));
        m_lists.status.append(m_context.text(InstallText::NotOverwritten)
                              + NativePath(installedName));
        // The report calls kept only what was there; the rest was not attempted.
        if (EntryTypeOf(installedName) != EntryType::Missing)
            m_lists.outcomes.append({installedName, FileOutcome::Result::Kept});
    }
}

} // namespace

bool PrepareAndCopyKind(InstallContext &context)
{
    if (!CreateDestinationFolders(context))
        return true;
    return CopyStep(context).run();
}
