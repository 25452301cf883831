#pragma once

#include "package/FileFailure.h"

#include <QString>
#include <QStringList>

class InstallContext;

class RunJournal;

// Creates folder and any missing folders above it, appending each folder it
// created to created (parents first) and telling journal, when given, before
// each. False when a folder could not be made.
[[nodiscard]] bool MakeFolder(const QString &folder, QStringList &created,
                              RunJournal *journal = nullptr);

// Creates the current kind's destination folder and the folders of its
// destination folder list. A folder that cannot be created gets a status
// line with its reason, and (except for the first entry) a folder that exists
// already gets one too. Nothing is created through a link or in place of a
// special file below the destination: such a folder gets a line instead. Returns false, with the
// kind refused, when the destination folder itself cannot be created or written.
[[nodiscard]] bool CreateDestinationFolders(InstallContext &context);

// Gives up the current kind before anything is written to folder: one status
// line says why (for missing rights: run as administrator), and the folders
// this run made for the kind are taken away again.
void RefuseKind(InstallContext &context, const QString &folder, FailureReason reason);
