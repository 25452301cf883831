// Command lines as a deployment tool or a person may type them: the input is
// the arguments after the program's name, separated by zero bytes.
//
// Promises checked: a usage error says why; a run has its folders set, a
// known language or none, absolute destinations, and the unattended install's
// options only with --silent.

#include "FuzzSupport.h"

#include "app/CommandLine.h"
#include "i18n/Languages.h"

#include <QCoreApplication>
#include <QDir>

namespace {

const QString ProgramFolder = QStringLiteral("/opt/quillon");

void checkRun(const CommandLine &line)
{
    const RunSettings &settings = line.settings;
    Fuzz::require(settings.programFolder == ProgramFolder && !settings.dataSetFolder.isEmpty()
                          && !settings.statusFolder.isEmpty(),
                  "a run has its folders");
    Fuzz::require(line.language.isEmpty() || LanguageNames().contains(line.language),
                  "a run's language is one of the seven");
    for (const QString &destination : line.destinations)
        Fuzz::require(QDir::isAbsolutePath(destination), "a destination is absolute");
    Fuzz::require(line.silent
                          || (line.kinds.isEmpty() && line.units.isEmpty()
                              && line.destinations.isEmpty()),
                  "the unattended install's options come only with --silent");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // The parser's help text names the program through the application object.
    static QCoreApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QStringList arguments{QStringLiteral("quillon")};
    for (const QByteArray &argument : Fuzz::bytes(data, size).split('\0'))
        arguments.append(QString::fromUtf8(argument));
    const CommandLine line = ParseCommandLine(arguments, ProgramFolder);
    Fuzz::require((line.action == CommandLine::Action::UsageError) == !line.error.isEmpty(),
                  "a usage error, and only one, says why");
    if (line.action == CommandLine::Action::Run)
        checkRun(line);
    return 0;
}
