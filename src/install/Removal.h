#pragma once

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
// for the kind, and marks their outcomes undone. One that cannot be put back
// stays where it is kept, and a status line (and a warning) says where.
// Returns how many were put back.
int RestoreReplacedFiles(InstallContext &context, DataKind kind);

// Removes the folders that this run created for the kind, deepest first. Only
// empty folders go; one that cannot be removed gets a status line (and a
// warning when warnEach is set). Returns how many were removed.
int RemoveCreatedFolders(InstallContext &context, DataKind kind, bool warnEach);

// Deletes the packed copies of the kind that are still in the destination.
// They are never the user's data, so they go whatever else is kept.
void RemovePackedCopies(InstallContext &context, DataKind kind, qsizetype from = 0);
