#include "StoredBlock.h"

#include "package/PayloadStream.h"

#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

bool failWith(QString *reason, const QString &text)
{
    if (reason)
        *reason = text;
    return false;
}

bool readStoredSize(QIODevice &device, quint32 *storedSize, QString *reason)
{
    uchar bytes[4];
    const qint64 got = device.read(reinterpret_cast<char *>(bytes), sizeof bytes);
    if (got != qint64(sizeof bytes))
        return failWith(reason, got < 0 ? u"read error: %1"_s.arg(device.errorString())
                                        : u"the file is truncated before the stored size"_s);
    *storedSize = qFromLittleEndian<quint32>(bytes);
    return true;
}

} // namespace

bool ReadStoredBlock(QIODevice &device, char *buffer, quint32 expectedSize, int mode,
                     QString *reason)
{
    if (mode == UnsupportedBlock)
        return failWith(reason, u"block mode 1 is not supported"_s);

    PayloadStream stream(device);
    quint32 storedSize = expectedSize;
    if (mode == CompressedBlock && !readStoredSize(device, &storedSize, reason))
        return false;
    const qint64 start = device.pos();
    const bool compressed = storedSize < expectedSize;
    const bool started = compressed ? stream.startCompressed(storedSize, expectedSize)
                                    : stream.startRaw(expectedSize);
    if (!started || stream.read(buffer, expectedSize) != qint64(expectedSize))
        return failWith(reason, stream.errorString());
    // Bytes stored after the end of the stream are skipped, so that the next
    // block starts where it should.
    if (compressed && !device.isSequential() && !device.seek(start + storedSize))
        return failWith(reason, u"cannot move past the block: %1"_s.arg(device.errorString()));
    return true;
}
