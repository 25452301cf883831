#include "SilentInstall.h"

#include "app/ConsoleInstallUi.h"
#include "i18n/Languages.h"
#include "i18n/TextNumbers.h"
#include "install/InstallContext.h"
#include "install/InstallRun.h"
#include "platform/VersionStore.h"
#include "selection/PageChecks.h"

#include <QDir>
#include <QTextStream>

SilentInstall::SilentInstall(const CommandLine &commandLine) : m_commandLine(commandLine) {}

int SilentInstall::run()
{
    SetCurrentLanguageName(m_commandLine.language.isEmpty() ? QStringLiteral("English")
                                                            : m_commandLine.language);
    LoadTextTable(m_texts, m_commandLine.settings.programFolder, CurrentLanguageName(),
                  TextSection::InstallForm);
    if (!prepare() || !selectKinds() || !chooseUnits() || !setDestinations()
        || !checkAsThePagesDo())
        return CannotStart;
    return install();
}

bool SilentInstall::refuse(const QString &message)
{
    QTextStream(stdout) << QString(message).replace(QLatin1String("\r\n"), QLatin1String("\n"))
                        << '\n';
    return false;
}

bool SilentInstall::prepare()
{
    const RunSettings &settings = m_commandLine.settings;
    DataSetDescription description;
    QString error;
    if (!LoadDataSetDescription(settings.dataSetFolder, &description, &error))
        return refuse(GetText(m_texts, InstallText::DataSetUnreadable) + error);
    const auto store = OpenVersionStore(settings.registryFile, settings.programFolder);
    if (!m_state.prepare(description, settings.dataSetFolder, *store))
        return refuse(GetText(m_texts, InstallText::NoTargetApplication) + store->location() + u'\n'
                      + m_state.errorString());
    return true;
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

int SilentInstall::install()
{
    ConsoleInstallUi ui({m_commandLine.overwrite, m_commandLine.saveStatus}, m_texts);
    InstallContext context(m_state, m_texts, ui);
    context.statusFolder = m_commandLine.settings.statusFolder;
    InstallRun run(context);
    run.btInstallClick();
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
    return run.hasStatusLines() ? InstalledWithStatus : Installed;
}
