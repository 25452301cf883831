#pragma once

#include <QString>

class InstallContext;

// The destination path of a source path: the part below sourceFolder, put
// under destinationFolder.
QString MapToDestination(const QString &sourcePath, const QString &sourceFolder,
                         const QString &destinationFolder);

// Fills the destination lists of every selected kind from its source lists and
// moves the bar from 0 to 10. Returns false when the user confirmed a cancel.
[[nodiscard]] bool MapToDestinationPaths(InstallContext &context);
