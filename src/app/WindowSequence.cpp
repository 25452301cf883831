#include "WindowSequence.h"

#include "app/CommandLine.h"
#include "shell/TLanguageForm.h"

#include <QApplication>

TLanguageForm *StartWindows(const CommandLine &commandLine)
{
    auto *languageForm = new TLanguageForm(commandLine.settings);
    languageForm->setAttribute(Qt::WA_DeleteOnClose);
    if (commandLine.language.isEmpty())
        languageForm->show();
    else
        languageForm->ChooseLanguage(commandLine.language);
    return languageForm;
}

int RunWindows(const CommandLine &commandLine)
{
    // The program ends with its main window, the language window, which
    // takes the welcome window and the wizard down with it. Qt's own rule
    // (the last visible window closed) is not used: which windows count for
    // it depends on whether their owner was ever shown.
    QApplication::setQuitOnLastWindowClosed(false);
    TLanguageForm *languageForm = StartWindows(commandLine);
    QObject::connect(languageForm, &QObject::destroyed, qApp, &QCoreApplication::quit);
    return QApplication::exec();
}
