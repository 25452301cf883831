#pragma once

#include "app/CommandLine.h"
#include "i18n/TextTable.h"
#include "platform/ConsoleStream.h"
#include "selection/WizardState.h"

#include <QElapsedTimer>

#include <memory>
#include <optional>

class ConsoleInstallUi;
class InstallContext;
class InstalledDataCheck;
class RunLock;
class RunReport;

// The unattended install: the wizard's preparation and checks, then the
// install run, with everything shown on the console and every question
// answered by the command line. With --verify the same preparation leads to
// a check of the installed data instead, and with --repair to an install of
// only what the check finds missing or different.
class SilentInstall
{
public:
    // The exit statuses.
    enum Status {
        Installed = 0,           // everything installed, no status line; verify: all identical
        InstalledWithStatus = 1, // installed, with files kept, replaced or folders that existed;
                                 // verify: something is missing or different
        KindFailed = 2,          // a kind or any file failed, or the run was cancelled;
                                 // verify: a package or source folder could not be read
        CannotStart = 3,         // bad option, no data set, no Vestra, refused destination
    };

    explicit SilentInstall(const CommandLine &commandLine);
    int run();
    // A command line that could not be used: the report, when its file was
    // named, says why. Returns the exit status.
    int reportUsageError();

private:
    void start();
    bool prepare();
    bool selectKinds();
    bool chooseUnits();
    bool chooseUnitsOf(DataKind kind, const QStringList &units);
    bool setDestinations();
    bool checkAsThePagesDo();
    bool takeRunLock(RunLock &lock);
    QString runLockText(const RunLock &lock, int number) const;
    int runCommand(RunReport &report, RunLock &lock);
    int install(InstallContext &context, ConsoleInstallUi &ui);
    int verify(InstallContext &context);
    int repair(InstallContext &context, ConsoleInstallUi &ui);
    int endCheck(InstalledDataCheck &check, bool afterRepair);
    int finish(RunReport &report, int status);
    bool refuse(const QString &message);
    void say(const QString &text) const;

    const CommandLine &m_commandLine;
    std::unique_ptr<ConsoleStream> m_out;
    LanguageTextTable m_texts;
    WizardState m_state;
    std::optional<DataSetDescription> m_description;
    QString m_refusal;     // why the run could not start, for the report
    bool m_undone = false; // a stop request undid the run
    QElapsedTimer m_timer;
};
