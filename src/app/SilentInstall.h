#pragma once

#include "app/CommandLine.h"
#include "i18n/TextTable.h"
#include "platform/ConsoleStream.h"
#include "selection/WizardState.h"

#include <memory>
#include <optional>

class ConsoleInstallUi;

// The unattended install: the wizard's preparation and checks, then the
// install run, with everything shown on the console and every question
// answered by the command line.
class SilentInstall
{
public:
    // The exit statuses.
    enum Status {
        Installed = 0,           // everything installed, no status line
        InstalledWithStatus = 1, // installed, with skipped or failed files
        KindFailed = 2,          // a kind failed or the run was cancelled
        CannotStart = 3,         // bad option, no data set, no Vestra, refused destination
    };

    explicit SilentInstall(const CommandLine &commandLine);
    int run();

private:
    bool prepare();
    bool selectKinds();
    bool chooseUnits();
    bool chooseUnitsOf(DataKind kind, const QStringList &units);
    bool setDestinations();
    bool checkAsThePagesDo();
    int install();
    bool refuse(const QString &message);

    const CommandLine &m_commandLine;
    std::unique_ptr<ConsoleStream> m_out;
    LanguageTextTable m_texts;
    WizardState m_state;
};
