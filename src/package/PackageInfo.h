#pragma once

#include <QtGlobal>

// What the last read package holds; one serves a whole extraction run.
struct PackageInfo
{
    // The number of data bytes after unpacking: the unpacked size of a
    // package, or the whole size of a file without the magic. 64 bits wide so
    // that a plain file larger than 4 GiB is not cut short.
    qint64 payloadSize = 0;
};
