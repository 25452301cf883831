// windows-shots: saves pictures of the installer's windows as the Windows
// build shows them, in given languages.
//
//   windows-shots OUTPUT_DIR DATASET_DIR LANGUAGE...
//
// The language files lie beside the program; the installed Vestra versions
// come from the registry. The data set's data must be installed already, so
// that the install run asks before overwriting. Each window is saved, frame
// included, as OUTPUT_DIR/<name>-<language>.png: welcome-window,
// wizard-page1, wizard-page2, location-dialog, wizard-page5 and
// overwrite-question. scripts/windows-check.sh --screenshots runs it under
// Wine on a virtual display with a window manager.

#include "WindowShooter.h"
#include "WizardWalk.h"

#include "i18n/Languages.h"
#include "platform/ConsoleStream.h"
#include "ui/QtTranslations.h"
#include "ui/QuillonApplication.h"

#include <QDir>
#include <QTemporaryDir>

int main(int argc, char *argv[])
{
    QuillonApplication app(argc, argv);
    const auto out = OpenConsoleStream(ConsoleStream::Channel::Output);
    const auto err = OpenConsoleStream(ConsoleStream::Channel::Error);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 3) {
        err->write(QStringLiteral("usage: windows-shots OUTPUT_DIR DATASET_DIR LANGUAGE...\n"));
        return 2;
    }
    QTemporaryDir status;
    RunSettings settings;
    settings.programFolder = QCoreApplication::applicationDirPath();
    settings.dataSetFolder = QDir::fromNativeSeparators(args.at(1));
    settings.statusFolder = status.path();
    int failures = 0;
    for (const QString &language : args.mid(2)) {
        SetCurrentLanguageName(language);
        UseQtTranslations(language);
        WindowShooter shooter(QDir::fromNativeSeparators(args.at(0)), language);
        WalkWelcomeAndWizard(settings, language, shooter);
        for (const QString &file : shooter.saved())
            out->write(QDir::toNativeSeparators(file) + u'\n');
        for (const QString &error : shooter.errors())
            err->write(error + u'\n');
        failures += int(shooter.errors().size());
    }
    return failures == 0 ? 0 : 1;
}
