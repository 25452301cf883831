#include "PackageReader.h"

#include "package/PayloadStream.h"

#include <QFile>
#include <QtEndian>

using namespace Qt::StringLiterals;

PackageReader::PackageReader() = default;
PackageReader::~PackageReader() = default;

bool PackageReader::fail(FailureReason reason, const QString &phrase, const QString &systemMessage)
{
    m_error = phrase;
    m_failure = {reason, systemMessage};
    m_stream.reset();
    return false;
}

bool PackageReader::streamFailed()
{
    return fail(m_stream->failure().reason, m_stream->errorString(),
                m_stream->failure().systemMessage);
}

bool PackageReader::seekFailed(QIODevice &device)
{
    return fail(FailureReason::CannotRead,
                u"cannot move to the start of the file: %1"_s.arg(device.errorString()),
                device.errorString());
}

bool PackageReader::open(QIODevice &device, PackageKind kind)
{
    m_stream = std::make_unique<PayloadStream>(device);
    m_info = {};
    m_isPackage = false;
    m_error.clear();
    m_failure = {};

    char header[HeaderSize];
    if (!device.seek(0))
        return seekFailed(device);
    const qint64 got = device.read(header, HeaderSize);
    if (got < 0)
        return fail(FailureReason::CannotRead, u"read error: %1"_s.arg(device.errorString()),
                    device.errorString());

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
        return fail(FailureReason::WrongSize,
                    u"the package header is truncated (%1 of %2 bytes)"_s.arg(headerSize)
                            .arg(HeaderSize));
    const quint32 unpackedSize = qFromLittleEndian<quint32>(header + 8);
    const quint32 storedSize = qFromLittleEndian<quint32>(header + 12);
    m_info.payloadSize = unpackedSize;
    const bool started = storedSize < unpackedSize
                                 ? m_stream->startCompressed(storedSize, unpackedSize)
                                 : m_stream->startRaw(unpackedSize);
    return started || streamFailed();
}

bool PackageReader::startPlainFile(QIODevice &device)
{
    m_info.payloadSize = device.size();
    if (!device.seek(0))
        return seekFailed(device);
    return m_stream->startRaw(m_info.payloadSize) || streamFailed();
}

qint64 PackageReader::read(char *out, qint64 maxSize)
{
    if (!m_stream)
        return -1;
    const qint64 got = m_stream->read(out, maxSize);
    if (got < 0)
        streamFailed();
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

qint64 ClaimedDataSize(const QString &path, PackageKind kind)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return -1;
    char header[PackageReader::HeaderSize];
    const QByteArrayView magic = PackageMagic(kind);
    if (file.read(header, sizeof header) == sizeof header
        && QByteArrayView(header, magic.size()) == magic)
        return qFromLittleEndian<quint32>(header + 8);
    return file.size();
}
