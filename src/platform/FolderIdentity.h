#pragma once

#include <QString>

// A folder's identity, for telling whether two paths name the same folder:
// the path made absolute and clean, with links (and on Windows short names,
// junctions and the drive's own spelling) resolved as far as the folder
// exists, and on Windows in one case, since there the same folder has
// several spellings. Only for comparing: never shown, never opened.
QString FolderIdentity(const QString &path);

// True when both paths name the same folder; two empty paths are the same,
// an empty path and a folder are not.
bool IsSameFolder(const QString &a, const QString &b);
