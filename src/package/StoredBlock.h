#pragma once

#include <QIODevice>
#include <QString>

// How ReadStoredBlock finds a block; any other value reads like RawBlock.
enum StoredBlockMode : int {
    RawBlock = 0,         // expected-size bytes as they are
    UnsupportedBlock = 1, // fails at once, reading nothing
    CompressedBlock = 2,  // a 4-byte stored size, then the stored bytes
};

// Reads one block from the device's current position into buffer, which holds
// at least expectedSize bytes. A compressed block whose stored size is not
// below expectedSize is read raw. Fails on a short read, on a zlib error and on
// a stream that inflates to more or fewer than expectedSize bytes; reason, when
// given, then says why. Memory use besides buffer is bounded by fixed chunks,
// whatever the stored size says.
[[nodiscard]] bool ReadStoredBlock(QIODevice &device, char *buffer, quint32 expectedSize, int mode,
                                   QString *reason = nullptr);
