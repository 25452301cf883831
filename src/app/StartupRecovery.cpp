#include "StartupRecovery.h"

#include "app/CommandLine.h"
#include "app/SilentInstall.h"
#include "i18n/Languages.h"
#include "i18n/LocalTexts.h"
#include "i18n/TextNumbers.h"
#include "i18n/TextTable.h"
#include "install/FailureLines.h"
#include "install/journal/Recovery.h"
#include "install/journal/RunJournal.h"
#include "ui/MessageBoxes.h"

#include <QTextStream>

namespace {

bool somethingToSay(const RecoveryReport &report)
{
    return report.runs > 0 || !report.failures.isEmpty();
}

// The texts of the language given, else of the run undone, else English.
LanguageTextTable textsAbout(const RecoveryReport &report, const CommandLine &commandLine)
{
    QString language = commandLine.language;
    if (language.isEmpty())
        language = report.language.isEmpty() ? QStringLiteral("English") : report.language;
    LanguageTextTable texts;
    LoadTextTable(texts, commandLine.settings.programFolder, language, TextSection::InstallForm);
    return texts;
}

// The message about what was undone: one text when a run was, then a line
// for each thing that could not be undone.
QString messageAbout(const RecoveryReport &report, const CommandLine &commandLine)
{
    const LanguageTextTable texts = textsAbout(report, commandLine);
    QStringList lines;
    if (report.runs > 0)
        lines.append(GetText(texts, InstallText::Recovered)
                             .arg(report.files)
                             .arg(report.folders)
                             .arg(report.restored));
    for (const RecoveryReport::Failure &failure : report.failures)
        lines.append(FailureLine(texts, failure.text, failure.path, failure.failure));
    return lines.join(u'\n');
}

void print(const QString &text)
{
    QTextStream(stdout) << QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n"))
                        << '\n';
}

} // namespace

int RecoverOnly(const CommandLine &commandLine)
{
    const RecoveryReport report = RecoverInterruptedRuns(RunJournal::defaultFolder());
    if (somethingToSay(report)) {
        print(messageAbout(report, commandLine));
    } else {
        LanguageTextTable texts;
        LoadTextTable(texts, commandLine.settings.programFolder,
                      commandLine.language.isEmpty() ? QStringLiteral("English")
                                                     : commandLine.language,
                      TextSection::InstallForm);
        print(GetText(texts, InstallText::NothingToRecover));
    }
    return report.failures.isEmpty() ? SilentInstall::Installed : SilentInstall::KindFailed;
}

void RecoverBeforeSilentInstall(const CommandLine &commandLine)
{
    const RecoveryReport report = RecoverInterruptedRuns(RunJournal::defaultFolder());
    if (somethingToSay(report))
        print(messageAbout(report, commandLine));
}

void RecoverBeforeWindows(const CommandLine &commandLine)
{
    const RecoveryReport report = RecoverInterruptedRuns(RunJournal::defaultFolder());
    if (somethingToSay(report)) {
        const LanguageTextTable texts = textsAbout(report, commandLine);
        ShowMessageBox(nullptr,
                       report.failures.isEmpty() ? QMessageBox::Information : QMessageBox::Warning,
                       TextOr(texts, InstallText::InterruptedCaption,
                              QStringLiteral("Interrupted Installation")),
                       messageAbout(report, commandLine),
                       {TextOr(texts, InstallText::OkButton, QStringLiteral("OK")), {}, {}});
    }
}
