#include "Shots.h"

#include "DemoDataSet.h"
#include "ShotSession.h"
#include "shell/TLanguageForm.h"
#include "shell/TMainForm.h"

#include <memory>

namespace {

// The language window (its texts are always English, so it is taken once,
// with the English pictures) and the welcome window in the session's language.
void walkShell(ShotSession &session)
{
    DemoDataSet dataSet(session.programFolder(), session.dataRoot());
    if (!dataSet.isValid())
        return session.report(dataSet.errorString());
    RunSettings settings = dataSet.settings();
    // The readme pictures lie beside the language files.
    settings.programFolder = session.programFolder();
    auto languageWindow = std::make_unique<TLanguageForm>(settings);
    if (session.language() == QLatin1String("English"))
        session.grab(languageWindow.get(), QStringLiteral("language-window"));
    languageWindow->ChooseLanguage(session.language());
    if (TMainForm *welcome = languageWindow->welcomeWindow())
        session.grab(welcome, QStringLiteral("welcome-window"));
    else
        session.report(QStringLiteral("The welcome window did not open"));
}

} // namespace

QList<Scenario> ShellScenarios()
{
    return {{QStringLiteral("shell"), walkShell}};
}
