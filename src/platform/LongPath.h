#pragma once

#include <QString>

// Win32 calls take paths of any length in the "\\?\" form, but only fully
// qualified: the system takes everything after "\\?\" as written, so
// "\\?\\tmp\x" is an invalid name and "\\?\a\..\b" a name with dots in it.

// The "\\?\" form of a path in any form a person or a registry value gives:
// "C:\a", "C:/a", "\a" and "/a" (on the current drive), "a\b" (below the
// current folder), "D:a" (below drive D's current folder), "\\server\share\a"
// (as "\\?\UNC\server\share\a"). The path is qualified as the system
// qualifies it, as Qt does before it opens a file, so both reach the same
// file. A path in the "\\?\" form or a device path ("\\.\") is kept as given.
// Windows only; elsewhere the path made absolute and clean.
QString LongPathForm(const QString &path);

// The "\\?\" form of a fully qualified native path ("C:\a", "\\server\share\a").
QString LongFormOfQualified(const QString &qualified);

// The root of the drive or share of a fully qualified native path, in any of
// the forms above: "C:\", "\\server\share\"; empty when it has none.
QString RootOfQualified(const QString &qualified);
