// screenshots: saves pictures of the installer's windows in given languages.
//
//   screenshots [--data-root DIR] [--only NAME,...] OUTPUT_DIR PROGRAM_DIR LANGUAGE...
//   screenshots --contact-sheet SHEET.png SHOT_NAME OUTPUT_DIR LANGUAGE...
//
// PROGRAM_DIR holds the language files. Each window is saved, frame
// included, as OUTPUT_DIR/<language>/<name>.png. The demonstration data is
// made in DIR, which must be empty or missing, or else in a new temporary
// folder. --only saves the pictures named and no others. Run it on a display with a window manager
// (scripts/screenshots.sh starts Xvfb and one). The second form puts one window's pictures of the
// languages side by side into SHEET.png.

#include "ContactSheet.h"
#include "ShotSession.h"
#include "Shots.h"

#include "i18n/Languages.h"
#include "ui/LanguageFont.h"
#include "ui/QtTranslations.h"
#include "ui/QuillonApplication.h"

#include <QCursor>
#include <QDir>
#include <QTextStream>

namespace {

const int SheetColumns = 4;

QList<Scenario> AllScenarios()
{
    return ShellScenarios() + WizardScenarios() + RecoveryScenarios();
}

int usage()
{
    QTextStream(stderr) << "usage: screenshots [--data-root DIR] [--only NAME,...] OUTPUT_DIR "
                           "PROGRAM_DIR LANGUAGE...\n"
                           "       screenshots --contact-sheet SHEET.png SHOT_NAME OUTPUT_DIR "
                           "LANGUAGE...\n";
    return 2;
}

int contactSheet(const QStringList &args)
{
    QString error;
    if (!MakeContactSheet(args.at(0), args.at(1), args.at(2), args.mid(3), SheetColumns, &error)) {
        QTextStream(stderr) << error << '\n';
        return 1;
    }
    QTextStream(stdout) << QDir::toNativeSeparators(args.at(0)) << '\n';
    return 0;
}

int shoot(const QString &dataRoot, const QStringList &only, const QStringList &args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    int failures = 0;
    for (const QString &language : args.mid(2)) {
        SetCurrentLanguageName(language);
        UseQtTranslations(language);
        UseLanguageFont(language);
        ShotSession session(args.at(0), language, args.at(1), dataRoot);
        session.saveOnly(only);
        for (const Scenario &scenario : AllScenarios())
            scenario.run(session);
        for (const QString &file : session.saved())
            out << QDir::toNativeSeparators(file) << '\n';
        for (const QString &error : session.errors())
            err << language << ": " << error << '\n';
        failures += int(session.errors().size());
    }
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QuillonApplication app(argc, argv);
    // The same pictures at every run: no blinking text cursor caught on or
    // off, no control lit by a mouse pointer that happens to rest on it.
    QApplication::setCursorFlashTime(0);
    QCursor::setPos(0, 0);
    QStringList args = app.arguments().mid(1);
    if (args.value(0) == QLatin1String("--contact-sheet"))
        return args.size() < 5 ? usage() : contactSheet(args.mid(1));
    QString dataRoot;
    QStringList only;
    while (args.value(0) == QLatin1String("--data-root")
           || args.value(0) == QLatin1String("--only")) {
        if (args.value(0) == QLatin1String("--data-root"))
            dataRoot = args.value(1);
        else
            only = args.value(1).split(u',', Qt::SkipEmptyParts);
        args = args.mid(2);
    }
    return args.size() < 3 ? usage() : shoot(dataRoot, only, args);
}
