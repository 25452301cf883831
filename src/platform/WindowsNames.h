#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The rules a file or folder name must keep to exist on Windows. Data sets
// are made on any system and installed on Windows, where a name against these
// rules opens a device, loses its last dot, or lands on another file.

enum class WindowsNameRule {
    Allowed,
    DeviceName,         // CON, PRN, AUX, NUL, COM0-COM9, LPT0-LPT9, with any extension
    EndsInDotOrSpace,   // Windows drops them, so "a." is "a"
    ForbiddenCharacter, // < > : " | ? * \ / or a control character
    CaseOnly,           // another name in the folder differs from it only in letter case
};

// The rule a single name breaks, or Allowed. CaseOnly needs the folder's
// other names: see WindowsNameProblems.
WindowsNameRule WindowsNameRuleOf(QStringView name);

// The same text for two names that Windows takes for one (its comparison
// ignores letter case, one UTF-16 unit at a time).
QString WindowsNameKey(QStringView name);

struct WindowsNameProblem
{
    qsizetype index = -1; // of the name in the list given
    WindowsNameRule rule = WindowsNameRule::Allowed;
    QString other; // for CaseOnly: the first other name it collides with
};

// The names of one folder that cannot exist there on Windows, in list order.
// Names that differ only in case are all refused: none may be written over
// another, and which of them was meant cannot be told.
QList<WindowsNameProblem> WindowsNameProblems(const QStringList &names);

// The rule in English, for the delivery tool's console lines.
QString WindowsNameRuleText(WindowsNameRule rule, const QString &other = {});

// True where the file system keeps Windows's rules (on Windows): there the
// installer refuses names that break them before it touches anything.
bool SystemKeepsWindowsNames();
