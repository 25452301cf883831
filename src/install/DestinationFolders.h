#pragma once

#include <QString>
#include <QStringList>

class InstallContext;

// Creates folder and any missing folders above it, appending each folder it
// created to created (parents first). False when a folder could not be made.
[[nodiscard]] bool MakeFolder(const QString &folder, QStringList &created);

// Creates the current kind's destination folder and the folders of its
// destination folder list. A folder that cannot be created, and (except for
// the first entry) a folder that exists already, gets a status line.
void CreateDestinationFolders(InstallContext &context);
