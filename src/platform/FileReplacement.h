#pragma once

#include <QString>

// Puts a finished new file in place of an existing file in one step, so that
// at every moment the target is either the old file or the new one: the new
// file's data are written to disk first, then it is renamed over the target.
// On failure the target is untouched, the new file is left where it is, and
// *error says why (a file in use by another program on Windows is one reason).
[[nodiscard]] bool ReplaceFileDurably(const QString &newFile, const QString &target,
                                      QString *error);
