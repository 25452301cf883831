#pragma once

#include "selection/DataKind.h"

#include <QString>
#include <QStringList>

class WizardState;

// What the wizard hands the install location dialog when a folder button is
// pressed. Paths in Qt form.
struct LocationSetup
{
    QStringList versionList;       // installed versions, shown in the version combo
    QStringList versionFolderList; // per version its "/Bin" folder, never a destination
    QString startPath;             // the kind's current destination
    QStringList otherDestinations; // the destinations of two other kinds ("" when none)
    QStringList protectedFolderList;
    QString baseFolder;
};

// The rules of the install location dialog that need no window.
namespace LocationRules {

// The set-up of a kind's folder button. The other destinations are: for STY
// none, for STI the STY destination, for DETAIL the STI and STY destinations.
LocationSetup SetupFor(DataKind kind, const WizardState &state);

// A drive letter with its colon alone ("D:") stands for the drive's root ("D:/").
QString WithRootSeparator(const QString &path);

// The nearest existing folder at or above an absolute path, or empty.
QString NearestExistingFolder(const QString &path);

// The folder the dialog opens on: the start path when it names an existing
// folder, otherwise the nearest existing folder above it, otherwise the
// platform's fallback ("C:/" on Windows, "/" elsewhere).
QString StartFolder(const QString &startPath);

// The folder the dialog offers first: the start path itself where it names a
// folder not made yet below an existing one (a kind's default folder before
// the first install, which the install makes), so that OK gives it back;
// otherwise StartFolder().
QString StartChoice(const QString &startPath);

// True when the path names one of the versions' own folders.
bool IsVersionFolder(const QString &path, const QStringList &versionFolderList);

// True for a name every file system the data goes to can hold as a folder
// name: not empty, not "." or "..", at most 255 characters, no separator,
// none of  < > : " | ? *  or control characters, no blank or dot at the end,
// and not a device name of Windows (CON, NUL, COM1 ...).
bool IsValidFolderName(const QString &name);

enum class DeleteRefusal {
    None,
    ProtectedFolder,  // a folder of the target application, or a version's own folder
    OtherDestination, // where another kind is to be installed
    NotEmpty,         // only an empty folder is deleted
    Missing,          // nothing to delete
};

// Why a folder may not be deleted from the dialog, checked in this order;
// folders compare by what they are (see FolderIdentity).
DeleteRefusal CheckDelete(const QString &folder, const LocationSetup &setup);

} // namespace LocationRules
