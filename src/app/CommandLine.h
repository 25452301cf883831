#pragma once

#include "install/InstallUi.h"
#include "selection/DataKind.h"
#include "selection/RunSettings.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// The command line of the installer: the windows by default, or with
// --silent the unattended install (or repair), or with --verify the check of
// an installation.
struct CommandLine
{
    RunSettings settings;
    QString language; // --lang; empty: the language window asks
    bool silent = false;
    bool verify = false;   // --verify: compare the installed data with the data set
    bool repair = false;   // --silent --repair: install only what is missing or different
    QString reportFile;    // --report FILE: the JSON report, Qt form; empty: none
    QList<DataKind> kinds; // --kinds; empty: every present kind
    QMap<DataKind, QStringList> units;               // --units KIND=REL[;REL...]
    QMap<DataKind, QString> destinations;            // --dest KIND=DIR, Qt form
    OverwriteAnswer overwrite = OverwriteAnswer::No; // --overwrite all|none|cancel
    bool saveStatus = false;                         // --save-status yes|no
    // --wait SECONDS: how long an unattended install waits for another
    // installation on this computer to end.
    int waitSeconds = 600;
    bool recoverOnly = false; // --recover: only undo interrupted installations

    enum class Action { Run, Help, Version, UsageError };
    Action action = Action::Run;
    QString error; // for UsageError
    QString helpText;

    // Runs without windows.
    bool unattended() const { return silent || verify; }
};

// Parses arguments (the program name first). Relative folders are taken
// from the current folder; programFolder fills the defaults.
CommandLine ParseCommandLine(const QStringList &arguments, const QString &programFolder);
