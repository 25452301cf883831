#pragma once

#include "package/FileFailure.h"
#include "package/PackageInfo.h"
#include "package/PackageKind.h"

#include <QIODevice>
#include <QString>

#include <memory>

class PayloadStream;

// Reads the data a packed file holds, in chunks. A package of the expected
// kind starts with the kind's magic, then the unpacked size and the stored
// size (32-bit little-endian), then the payload: a zlib stream when the stored
// size is below the unpacked size, the data as it is otherwise. A file that
// does not start with the magic is taken as plain data: its whole content.
//
// Every byte count is checked, so a truncated or damaged package fails rather
// than giving short or stale data, and memory use does not depend on the sizes
// the header claims.
class PackageReader
{
public:
    // Package header: magic (8 bytes), unpacked size, stored size.
    static constexpr qint64 HeaderSize = 16;

    PackageReader();
    ~PackageReader();
    PackageReader(const PackageReader &) = delete;
    PackageReader &operator=(const PackageReader &) = delete;

    // Reads the header of the packed file open on device (random access,
    // positioned anywhere) and prepares to read its data. On success info()
    // holds the payload size.
    [[nodiscard]] bool open(QIODevice &device, PackageKind kind);

    // Fills out with the next maxSize data bytes, or fewer at the end of the
    // data. Returns the count, 0 at the end, -1 on failure.
    qint64 read(char *out, qint64 maxSize);

    bool atEnd() const;
    const PackageInfo &info() const { return m_info; }
    // True when the file started with the kind's magic.
    bool isPackage() const { return m_isPackage; }
    // Why the last call failed, as a phrase to follow "Cannot unpack ...: ".
    QString errorString() const;
    // The reason of the last failure, with the device's or zlib's message.
    const FileFailure &failure() const { return m_failure; }

private:
    bool startPackage(const char *header, qint64 headerSize);
    bool startPlainFile(QIODevice &device);
    bool fail(FailureReason reason, const QString &phrase, const QString &systemMessage = {});
    bool streamFailed();
    bool seekFailed(QIODevice &device);

    std::unique_ptr<PayloadStream> m_stream;
    PackageInfo m_info;
    bool m_isPackage = false;
    QString m_error;
    FileFailure m_failure;
};

// The number of data bytes the packed file at path will give: the unpacked
// size its header claims, or its whole size when it is not a package of the
// kind. A header can lie; this is for estimates only. -1 when the file cannot
// be read.
qint64 ClaimedDataSize(const QString &path, PackageKind kind);
