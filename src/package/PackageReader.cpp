#include "PackageReader.h"

#include "package/PayloadStream.h"

#include <QtEndian>

using namespace Qt::StringLiterals;

PackageReader::PackageReader() = default;
PackageReader::~PackageReader() = default;

bool PackageReader::fail(const QString &reason)
{
    m_error = reason;
    m_stream.reset();
    return false;
}

bool PackageReader::open(QIODevice &device, PackageKind kind)
{
    m_stream = std::make_unique<PayloadStream>(device);
    m_info = {};
    m_isPackage = false;
    m_error.clear();

    char header[HeaderSize];
    if (!device.seek(0))
        return fail(u"cannot move to the start of the file: %1"_s.arg(device.errorString()));
    const qint64 got = device.read(header, HeaderSize);
    if (got < 0)
        return fail(u"read error: %1"_s.arg(device.errorString()));

    // The magic is compared with its zero byte, so "STYComp" followed by
    // anything else, or another kind's magic, is plain data.
    const QByteArrayView magic = PackageMagic(kind);
    if (got >= magic.size() && QByteArrayView(header, magic.size()) == magic)
        return startPackage(header, got);
    return startPlainFile(device);
}

bool PackageReader::startPackage(const char *header, qint64 headerSize)
{
    m_isPackage = true;
    if (headerSize < HeaderSize)
        return fail(u"the package header is truncated (%1 of %2 bytes)"_s.arg(headerSize)
                            .arg(HeaderSize));
    const quint32 unpackedSize = qFromLittleEndian<quint32>(header + 8);
    const quint32 storedSize = qFromLittleEndian<quint32>(header + 12);
    m_info.payloadSize = unpackedSize;
    const bool started = storedSize < unpackedSize
                                 ? m_stream->startCompressed(storedSize, unpackedSize)
                                 : m_stream->startRaw(unpackedSize);
    return started || fail(m_stream->errorString());
}

bool PackageReader::startPlainFile(QIODevice &device)
{
    m_info.payloadSize = device.size();
    if (!device.seek(0))
        return fail(u"cannot move to the start of the file: %1"_s.arg(device.errorString()));
    return m_stream->startRaw(m_info.payloadSize) || fail(m_stream->errorString());
}

qint64 PackageReader::read(char *out, qint64 maxSize)
{
    if (!m_stream)
        return -1;
    const qint64 got = m_stream->read(out, maxSize);
    if (got < 0)
        fail(m_stream->errorString());
    return got;
}

bool PackageReader::atEnd() const
{
    return m_stream && m_stream->atEnd();
}

QString PackageReader::errorString() const
{
    return m_error;
}
