// screenshots: saves pictures of the installer's windows in given languages.
//
//   screenshots OUTPUT_DIR PROGRAM_DIR LANGUAGE...
//
// PROGRAM_DIR holds the language files. Each window is saved, frame
// included, as OUTPUT_DIR/<name>-<language>.png. Run it on a display with a
// window manager (scripts/screenshots.sh starts Xvfb and one).

#include "ShotSession.h"
#include "Shots.h"

#include "i18n/Languages.h"
#include "ui/QtTranslations.h"
#include "ui/QuillonApplication.h"

#include <QDir>
#include <QTextStream>

namespace {

QList<Scenario> AllScenarios()
{
    return ShellScenarios() + WizardScenarios();
}

} // namespace

int main(int argc, char *argv[])
{
    QuillonApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 3) {
        err << "usage: screenshots OUTPUT_DIR PROGRAM_DIR LANGUAGE...\n";
        return 2;
    }
    const QString outputFolder = args.at(0);
    if (!QDir().mkpath(outputFolder)) {
        err << "Cannot create " << QDir::toNativeSeparators(outputFolder) << '\n';
        return 1;
    }
    int failures = 0;
    for (const QString &language : args.mid(2)) {
        SetCurrentLanguageName(language);
        UseQtTranslations(language);
        ShotSession session(outputFolder, language, args.at(1));
        for (const Scenario &scenario : AllScenarios())
            scenario.run(session);
        for (const QString &file : session.saved())
            out << QDir::toNativeSeparators(file) << '\n';
        for (const QString &error : session.errors())
            err << error << '\n';
        failures += int(session.errors().size());
    }
    return failures == 0 ? 0 : 1;
}
