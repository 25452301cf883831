#pragma once

#include <QString>

// What stands at a path, looked at without following a link at its end.
enum class EntryType {
    Missing,
    File,    // a plain file
    Folder,  // a plain folder
    Link,    // a symbolic link or a junction, whatever it leads to
    Special, // a pipe, a device, a socket: never opened, never written
};

EntryType EntryTypeOf(const QString &path);

// The first entry below root on the way to path (path included) that is a
// link or a special file, or a file where a folder should be: writing to path
// would then land outside root or in something that is not a plain file.
// Empty when there is none; entries that do not exist yet are fine.
QString LinkOnTheWay(const QString &root, const QString &path);
