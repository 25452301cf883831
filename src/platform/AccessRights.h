#pragma once

#include <QString>

// Whether this process may write path: a file, or a folder to create entries
// in. Asked after a write failed, to tell missing rights from other causes,
// and before a kind's destination is used. On Windows the access rights of the
// file or folder are looked up, not only its read-only attribute.
bool MayWrite(const QString &path);

// Whether this process may list the entries of a folder.
bool MayList(const QString &folder);
