#pragma once

#include <QList>
#include <QString>

#include <functional>

class ShotSession;

// One walk through some windows of the installer that saves a picture at
// each stop. A new window gets its own scenario: write a function that
// returns it and add it to AllScenarios() in main.cpp.
struct Scenario
{
    QString name;
    std::function<void(ShotSession &)> run;
};

// The language window and the welcome window.
QList<Scenario> ShellScenarios();
// The wizard's five pages, the "Not Selected" warning, the install location
// dialog with its Create Folder box and its refusal of a version's folder,
// the last page after an install run with its completion question, a second
// run's overwrite question and offer to save the status lists, a third run
// cancelled with its cancel, remove-files and close questions, and the
// warning about two kinds in one folder.
QList<Scenario> WizardScenarios();
// The message at start about an interrupted run that was undone.
QList<Scenario> RecoveryScenarios();
