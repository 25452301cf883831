#include "SilentInstall.h"

#include "app/ConsoleInstallUi.h"
#include "i18n/Languages.h"
#include "i18n/TextNumbers.h"
#include "install/InstallContext.h"
#include "install/InstallRun.h"
#include "install/RunLock.h"
#include "install/journal/Recovery.h"
#include "install/verify/InstalledDataCheck.h"
#include "install/verify/RepairSelection.h"
#include "install/verify/RunReport.h"
#include "platform/ConsoleStream.h"
#include "platform/VersionStore.h"
#include "selection/PageChecks.h"

#include <QDir>

#include <algorithm>

SilentInstall::SilentInstall(const CommandLine &commandLine)
    : m_commandLine(commandLine), m_out(OpenConsoleStream(ConsoleStream::Channel::Output))
{}

namespace {

QString commandName(const CommandLine &commandLine)
{
    return commandLine.verify   ? QStringLiteral("verify")
           : commandLine.repair ? QStringLiteral("repair")
                                : QStringLiteral("install");
}

} // namespace

void SilentInstall::start()
{
    m_timer.start();
    SetCurrentLanguageName(m_commandLine.language.isEmpty() ? QStringLiteral("English")
                                                            : m_commandLine.language);
    LoadTextTable(m_texts, m_commandLine.settings.programFolder, CurrentLanguageName(),
                  TextSection::InstallForm);
    if (!m_texts.error.isEmpty()) // a file too large to be a language file, not read
        say(m_texts.error);
}

int SilentInstall::reportUsageError()
{
    start();
    RunReport report(commandName(m_commandLine));
    report.setError(m_commandLine.error);
    return finish(report, CannotStart);
}

int SilentInstall::run()
{
    start();
    RunReport report(commandName(m_commandLine));
    // A check writes nothing and waits for nobody; it only looks at the lock.
    RunLock lock;
    if (!prepare() || !selectKinds() || !chooseUnits() || !setDestinations() || !checkAsThePagesDo()
        || (!m_commandLine.verify && !takeRunLock(lock))) {
        report.setError(m_refusal);
        return finish(report, CannotStart);
    }
    return finish(report, runCommand(report, lock));
}

void SilentInstall::say(const QString &text) const
{
    m_out->write(QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")) + u'\n');
}

bool SilentInstall::refuse(const QString &message)
{
    m_refusal = message;
    say(message);
    return false;
}

bool SilentInstall::prepare()
{
    const RunSettings &settings = m_commandLine.settings;
    DataSetDescription description;
    QString error;
    DataSetProblem problem;
    if (!LoadDataSetDescription(settings.dataSetFolder, &description, &error, &problem))
        return refuse(DataSetProblemMessage(problem, m_texts));
    m_description = description;
    const auto store = OpenVersionStore(settings.registryFile, settings.programFolder);
    if (m_state.prepare(description, settings.dataSetFolder, *store))
        return true;
    QString message = GetText(m_texts, InstallText::NoTargetApplication) + store->location();
    // The text says that none was found and where; the state's reason adds
    // something only when the store could not be read or a version has no folder.
    if (!store->errorString().isEmpty() || !m_state.versionList.isEmpty())
        message += u'\n' + m_state.errorString();
    return refuse(message);
}

bool SilentInstall::selectKinds()
{
    for (DataKind kind : AllDataKinds) {
        KindState &state = m_state.kind(kind);
        const bool named = m_commandLine.kinds.contains(kind);
        if (named && !state.enabled)
            return refuse(QStringLiteral("The data set holds no %1 data.").arg(DataKindName(kind)));
        state.checked = m_commandLine.kinds.isEmpty() || named;
    }
    m_state.takeSelection();
    if (const auto refusal = PageChecks::checkSelection(m_state, m_texts))
        return refuse(refusal->text);
    for (DataKind kind : AllDataKinds) {
        const bool given
                = m_commandLine.units.contains(kind) || m_commandLine.destinations.contains(kind);
        if (given && !m_state.kind(kind).selected)
            return refuse(QStringLiteral("%1 is not installed in this run; --units and --dest "
                                         "name only kinds that are.")
                                  .arg(DataKindName(kind)));
    }
    return true;
}

// A User install of the named units; a kind without --units is installed whole.
bool SilentInstall::chooseUnits()
{
    m_state.userInstall = !m_commandLine.units.isEmpty();
    if (!m_state.userInstall)
        return true;
    for (DataKind kind : AllDataKinds) {
        if (m_state.kind(kind).selected && !chooseUnitsOf(kind, m_commandLine.units.value(kind)))
            return false;
    }
    return true;
}

bool SilentInstall::chooseUnitsOf(DataKind kind, const QStringList &units)
{
    KindState &state = m_state.kind(kind);
    if (!state.units.build(kind, state.sourceFolder, state.folderName))
        return refuse(GetText(m_texts, InstallText::SourceFolderMissing) + u'\n'
                      + QDir::toNativeSeparators(state.sourceFolder));
    if (!units.isEmpty()) {
        state.units.setAllChecked(false);
        for (const QString &unit : units) {
            const int node = state.units.findByFolder(unit);
            if (node < 0)
                return refuse(QStringLiteral("%1 has no unit %2").arg(DataKindName(kind), unit));
            state.units.setChecked(node, true);
        }
    }
    state.hasCheckedUnit = state.units.hasCheckedUnit();
    return true;
}

bool SilentInstall::setDestinations()
{
    for (DataKind kind : AllDataKinds) {
        KindState &state = m_state.kind(kind);
        if (state.selected)
            state.destination
                    = m_commandLine.destinations.value(kind, m_state.defaultDestination(kind));
    }
    return true;
}

bool SilentInstall::checkAsThePagesDo()
{
    for (DataKind kind : AllDataKinds) {
        if (!m_state.kind(kind).selected)
            continue;
        if (const auto refusal = PageChecks::checkDestination(kind, m_state, m_texts))
            return refuse(refusal->text);
    }
    return true;
}

QString SilentInstall::runLockText(const RunLock &lock, int number) const
{
    const RunLock::Holder holder = lock.holder();
    const QString text = GetText(m_texts, number);
    // In one pass, so that nothing in the holder's note is taken for a place holder.
    if (number == InstallText::RunWaiting)
        return text.arg(holder.process, holder.user, holder.started,
                        QString::number(m_commandLine.waitSeconds));
    return text.arg(holder.process, holder.user, holder.started);
}

// Waits for another installation on this computer to end, saying so once.
bool SilentInstall::takeRunLock(RunLock &lock)
{
    const auto waiting = [&] { say(runLockText(lock, InstallText::RunWaiting)); };
    switch (lock.take(m_commandLine.waitSeconds, waiting)) {
    case ProcessLock::Result::Taken:
        return true;
    case ProcessLock::Result::Held:
        return refuse(runLockText(lock, InstallText::RunStillInProgress));
    case ProcessLock::Result::Failed:
        break;
    }
    return refuse(GetText(m_texts, InstallText::RunLockNotTaken) + lock.errorString());
}

int SilentInstall::runCommand(RunReport &report, RunLock &lock)
{
    // A repair replaces exactly the files it found different.
    const OverwriteAnswer overwrite
            = m_commandLine.repair ? OverwriteAnswer::All : m_commandLine.overwrite;
    ConsoleInstallUi ui(*m_out, {overwrite, m_commandLine.saveStatus}, m_texts);
    InstallContext context(m_state, m_texts, ui);
    context.statusFolder = m_commandLine.settings.statusFolder;
    context.presetOverwrite = overwrite;
    context.runLockHeld = lock.isTaken();
    // A check while another run installs sees its work half done.
    const bool runInProgress = m_commandLine.verify && lock.isHeld();
    if (runInProgress)
        say(runLockText(lock, InstallText::RunInProgressCheck));
    int status = m_commandLine.verify   ? verify(context)
                 : m_commandLine.repair ? repair(context, ui)
                                        : install(context, ui);
    if (runInProgress)
        status = std::max(status, int(InstalledWithStatus));
    // A run that could not start said why in its one warning.
    if (status == CannotStart) {
        report.setError(ui.lastWarning());
        return status;
    }
    report.setKinds(context);
    if (!m_commandLine.verify)
        report.setUndone(m_undone);
    return status;
}

int SilentInstall::install(InstallContext &context, ConsoleInstallUi &ui)
{
    InstallRun run(context);
    run.btInstallClick();
    m_undone = run.outcome() == InstallRun::Outcome::Interrupted;
    RecordUnattempted(context);
    ui.print(GetText(m_texts, InstallText::ElapsedSeconds) + QString::number(ui.elapsedSeconds()));
    // In the wizard a person would have been offered to save them.
    if (run.hasStatusLines() && !m_commandLine.saveStatus)
        ui.print(GetText(m_texts, InstallText::StatusLinesNotSaved));

    switch (run.outcome()) {
    case InstallRun::Outcome::NotStarted:
    case InstallRun::Outcome::NoSpace:
        return CannotStart;
    case InstallRun::Outcome::Aborted:
    case InstallRun::Outcome::KindFailed:
    case InstallRun::Outcome::Interrupted:
        return KindFailed;
    case InstallRun::Outcome::Installed:
        break;
    }
    // A status file asked for and missing fails the run, as a report does.
    if (run.statusFileNotSaved())
        return KindFailed;
    return run.hasStatusLines() ? InstalledWithStatus : Installed;
}

int SilentInstall::verify(InstallContext &context)
{
    // A check writes nothing, not even the undoing of an interrupted run: it
    // says what the next start will undo, and does not pass while one waits.
    const PendingUndo pending = DescribePendingRuns(context.journalFolder);
    if (pending.runs > 0)
        say(GetText(m_texts, InstallText::RecoveryPending)
                    .arg(pending.files)
                    .arg(pending.folders)
                    .arg(pending.restored));
    InstalledDataCheck check(context);
    if (!InstallRun(context).collectLists())
        return KindFailed;
    check.checkAll();
    const int status = endCheck(check, false);
    return pending.runs > 0 ? std::max(status, int(InstalledWithStatus)) : status;
}

// The repair is an install run narrowed to what is missing or different,
// followed by a check of the whole selection.
int SilentInstall::repair(InstallContext &context, ConsoleInstallUi &ui)
{
    RepairSelection selection(context);
    const int installed = install(context, ui);
    selection.markReasons();
    if (installed == CannotStart)
        return installed;
    if (!m_undone)
        selection.removeLeftovers();
    selection.restoreLists();
    ui.print(GetText(m_texts, InstallText::CheckingRepair));
    InstalledDataCheck check(context);
    check.checkAll();
    return endCheck(check, true) == Installed ? installed : KindFailed;
}

int SilentInstall::endCheck(InstalledDataCheck &check, bool afterRepair)
{
    check.showSummary();
    switch (check.verdict()) {
    case InstalledDataCheck::Verdict::Identical:
        say(GetText(m_texts,
                    afterRepair ? InstallText::RepairComplete : InstallText::CheckIdentical));
        return Installed;
    case InstalledDataCheck::Verdict::MissingOrDifferent:
        say(GetText(m_texts,
                    afterRepair ? InstallText::RepairIncomplete : InstallText::CheckDifferent));
        return afterRepair ? KindFailed : InstalledWithStatus;
    case InstalledDataCheck::Verdict::Incomplete:
        break;
    }
    say(GetText(m_texts,
                afterRepair ? InstallText::RepairIncomplete : InstallText::CheckIncomplete));
    return KindFailed;
}

// Writes the report when one was asked for. A report that cannot be written
// fails the run: the tool that asked for it would find nothing.
int SilentInstall::finish(RunReport &report, int status)
{
    const QString &file = m_commandLine.reportFile;
    if (file.isEmpty())
        return status;
    if (!m_commandLine.settings.dataSetFolder.isEmpty())
        report.setDataSet(m_commandLine.settings.dataSetFolder,
                          m_description ? &*m_description : nullptr);
    report.setVestra(m_state);
    report.setResult(status, m_timer.elapsed() / 1000.0);
    if (report.save(file)) {
        say(GetText(m_texts, InstallText::ReportWritten) + QDir::toNativeSeparators(file));
        return status;
    }
    say(GetText(m_texts, InstallText::ReportNotWritten) + report.errorString());
    return std::max(status, int(KindFailed));
}
