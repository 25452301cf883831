#pragma once

#include "install/KindLists.h"
#include "selection/DataKind.h"

#include <QString>

class InstallContext;

// Deletes a file of the run if it exists. A file that cannot be deleted is
// shown in a warning and gets a status line of the kind; the caller goes on.
// Nothing is deleted through a link below the kind's destination. True when
// the file was there and is gone.
bool RemoveFileReporting(InstallContext &context, DataKind kind, const QString &path);

// Deletes the installed data files that this run created for the kind, as
// RemoveFileReporting does, and marks their outcomes undone. Returns how
// many were deleted.
int RemoveCreatedFiles(InstallContext &context, DataKind kind);

// Puts back the earlier versions of the installed files this run replaced
// for the kind, and marks their outcomes undone, and the files it kept aside
// from its packed copies' places (call it once those copies are gone). One
// that cannot be put back stays where it is kept, and a status line (and a
// warning) says where. Returns how many were put back.
int RestoreReplacedFiles(InstallContext &context, DataKind kind);

// Removes the folders that this run created for the kind, deepest first. Only
// empty folders go; one that cannot be removed gets a status line (and a
// warning when warnEach is set). Returns how many were removed.
int RemoveCreatedFolders(InstallContext &context, DataKind kind, bool warnEach);

// Deletes the packed copies of the kind that are still in the destination.
// They are never the user's data, so they go whatever else is kept; a file
// that stood in a copy's place is put back.
void RemovePackedCopies(InstallContext &context, DataKind kind, qsizetype from = 0);

// Puts back a file that was kept aside from a packed copy's place, once that
// copy is gone. One that cannot be put back stays under its backup name, as
// RestoreReplacedFiles says. True when it is back.
bool PutBackPackedName(InstallContext &context, DataKind kind, const KindLists::Replaced &file);
