#pragma once

#include <QFileInfoList>
#include <QString>

class InstallContext;

// Where the system keeps Windows's rules for names (context.windowsNames),
// entries of the data set whose names break them are refused while the lists
// are built, before anything opens them: nothing later (disk space, copy,
// check, repair) ever meets a device name, a name Windows would shorten, or
// two names that Windows takes for one. The look costs a pass over each name
// beside the system's listing of its folder.

// An entry the system cannot look at, whose name breaks a rule: it is taken
// into the listing only to be refused, a folder unless it has a packed name.
bool SeenOnlyByName(const QFileInfo &entry);

// Takes out of one folder's entries (those the scan installs) every one
// whose name breaks a rule, or that differs from another only in letter case
// (all of those: none may be written over another). A refused file gets a
// line and counts as failed (KindLists::refusedFiles); a refused folder gets
// a line and counts as a folder that could not be read.
void RefuseWindowsNames(InstallContext &context, QFileInfoList &entries);

// For a unit folder chosen in a User install, which the scan of its parent
// never judged: false, with its line, when its name breaks a rule or differs
// only in case from a folder beside it.
bool AcceptChosenFolder(InstallContext &context, const QString &folder);
