#pragma once

#include "selection/DataKind.h"

#include <QString>
#include <QStringList>

class InstallContext;

// The packed-file suffixes a kind installs, lower case.
const QStringList &AcceptedSuffixes(DataKind kind);

// True when the last five characters of path, lower-cased, are one of the
// kind's packed-file suffixes.
bool IsPackedFileOf(DataKind kind, const QString &path);

// Appends the folders and packed files below folder to the current kind's
// source lists, in listing order, a folder before its contents. Hidden
// entries, names starting with "." and symbolic links or junctions are
// skipped: a link could lead outside the data set or round in a loop.
// A folder that is missing or cannot be listed contributes nothing but a
// status line naming it, and is counted in the kind's unreadFolders.
void ScanFolder(InstallContext &context, const QString &folder, bool recursive);
