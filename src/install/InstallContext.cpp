#include "InstallContext.h"

#include "i18n/TextNumbers.h"
#include "i18n/TextTable.h"
#include "install/InstallUi.h"
#include "install/RunLock.h"
#include "install/journal/RunJournal.h"
#include "platform/PlatformPaths.h"
#include "platform/StopSignals.h"
#include "selection/WizardState.h"

#include <QDir>

InstallContext::InstallContext(WizardState &state, const LanguageTextTable &texts, InstallUi &ui)
    : state(state)
    , texts(texts)
    , ui(ui)
    , statusFolder(DefaultStatusFolder())
    , journalFolder(RunJournal::defaultFolder())
    , lockFolder(RunLock::defaultFolder())
{}

KindLists &InstallContext::currentLists()
{
    return kindLists(currentKind());
}

DataKind InstallContext::currentKind() const
{
    return state.currentKind;
}

const UnitTree &InstallContext::currentTree() const
{
    return state.kind(currentKind()).units;
}

QString InstallContext::text(int number) const
{
    return GetText(texts, number);
}

void InstallContext::showProgress(int value)
{
    ui.setProgressBar(value);
    ui.setPercentLabel(value);
}

bool InstallContext::stopRequested()
{
    if (!stopping && StopRequested()) {
        stopping = true;
        ui.addMemoLine(text(InstallText::RunStopped));
    }
    return stopping;
}

bool InstallContext::cancelConfirmed(const QString &caption)
{
    ui.processEvents();
    if (stopRequested())
        return true;
    if (!state.cancelRequested)
        return false;
    state.cancelRequested = false;
    // Closing is allowed only while the question is up; left set afterwards,
    // the close box would end the window in the middle of the run.
    state.closingAllowed = true;
    const bool yes = ui.askYesNo(Question::CancelRun, text(InstallText::CancelQuestion), caption);
    state.closingAllowed = false;
    return yes;
}

bool InstallContext::removalConfirmed(const QString &caption)
{
    return stopRequested()
           || ui.askYesNo(Question::RemoveFiles, text(InstallText::RemoveFilesQuestion), caption);
}

void InstallContext::reportLine(DataKind kind, const QString &line)
{
    kindLists(kind).status.append(line);
    ui.addMemoLine(line);
}

QString NativePath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}
