#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include "platform/StopSignals.h"
#include "selection/DataKind.h"

#include <optional>

class InstallContext;
class RunJournal;
class RunLock;

// What the Install button starts: collect the install lists, map them to the
// destinations, then install the selected kinds in the order STY, STI, DETAIL
// (folders, copy with overwrite questions, extraction), and end with the
// completion questions and, on request, the status files.
class InstallRun
{
public:
    explicit InstallRun(InstallContext &context);

    void btInstallClick();

    // Builds the install lists of the selected kinds and maps them to their
    // destinations, as the Install click does, then lets the context narrow
    // them. Installs nothing. False when the user cancelled.
    [[nodiscard]] bool collectLists();

    // How the last run ended, for callers that report it (the unattended
    // install). KindFailed: a kind failed, a file or folder could not be
    // installed, or the run was cancelled. NoSpace: a destination volume has
    // too little free space, nothing was written. Interrupted: the system
    // asked the program to stop, and what the run did was undone.
    enum class Outcome { NotStarted, Aborted, Installed, KindFailed, NoSpace, Interrupted };
    Outcome outcome() const { return m_outcome; }
    bool hasStatusLines() const;
    QStringList savedStatusFiles() const { return m_saved; }
    // Some status file that was to be saved could not be.
    bool statusFileNotSaved() const { return m_statusNotSaved; }

private:
    void clearLists();
    bool collectBasic();
    bool collectUser();
    bool anyUnitsChosen() const;
    void abort();
    void runProper();
    bool takeRunLock(RunLock &lock);
    bool startJournal(RunJournal &journal);
    bool addRoots(RunJournal &journal);
    bool installKinds();
    bool finishJournal(RunJournal &journal);
    DataKind kindHolding(const QString &path) const;
    void undoWholeRun();
    void endWithout(Outcome outcome);
    enum class KindResult { Installed, WithErrors, Failed, Cancelled };
    KindResult installKind(DataKind kind);
    KindResult reportResult(DataKind kind);
    void reportNotInstalled(DataKind kind);
    void reportCancel();
    void updateElapsed();

    InstallContext &m_context;
    QElapsedTimer m_timer;
    Outcome m_outcome = Outcome::NotStarted;
    QStringList m_saved;
    bool m_statusNotSaved = false;
    // From the Install click until the files are in place or undone.
    std::optional<StopSignalGuard> m_stopGuard;
};
