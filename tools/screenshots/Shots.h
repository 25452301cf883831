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
// dialog with its Create Folder box, the last page after an install run with
// its completion question, and a second run's overwrite question and offer to
// save the status lists.
QList<Scenario> WizardScenarios();
