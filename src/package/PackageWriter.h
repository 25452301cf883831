#pragma once

#include "package/PackageKind.h"

#include <QString>

class QFile;
class QSaveFile;

// Writes one data file as a package: the kind's magic, the unpacked and stored
// sizes, and the payload as a zlib stream (the format zlib's compress writes)
// when that is smaller than the data, the data as it is otherwise. The data is
// read and deflated in chunks, so memory use does not grow with the file; the
// package is written under a temporary name and renamed into place when whole.
class PackageWriter
{
public:
    static constexpr qint64 ChunkSize = 256 * 1024;

    // zlib's compression level, Z_DEFAULT_COMPRESSION (-1) unless set.
    void setCompressionLevel(int level) { m_level = level; }

    [[nodiscard]] bool write(const QString &dataPath, const QString &packagePath, PackageKind kind);

    // Whether the last package written holds a zlib stream.
    bool isCompressed() const { return m_compressed; }
    // Names the file and the reason of the last failure.
    QString errorString() const { return m_error; }

private:
    enum class Outcome { Written, NotSmaller, Failed };

    Outcome writePackage(QFile &data, const QString &packagePath, PackageKind kind, bool compress);
    Outcome deflatePayload(QFile &data, QSaveFile &package, quint32 *storedSize);
    bool copyPayload(QFile &data, QSaveFile &package);
    bool readChunk(QFile &data, char *buffer, qint64 size);
    bool writeBytes(QSaveFile &package, const char *bytes, qint64 size);
    bool fail(const QString &message);

    int m_level = -1;
    bool m_compressed = false;
    QString m_error;
};
