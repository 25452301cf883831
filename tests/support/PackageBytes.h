#pragma once

#include <QByteArray>
#include <QtEndian>

#include <zlib.h>

// Packages built byte by byte from literal headers and zlib's own compress, so
// that the reader is never checked only against the project's writer.
namespace PackageBytes {

inline QByteArray le32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// magic is the seven characters; the zero byte is added here.
inline QByteArray header(const char *magic, quint32 unpacked, quint32 stored)
{
    return QByteArray(magic, 7) + '\0' + le32(unpacked) + le32(stored);
}

inline QByteArray zlibCompress(const QByteArray &data)
{
    uLongf size = compressBound(uLong(data.size()));
    QByteArray out(qsizetype(size), '\0');
    compress(reinterpret_cast<Bytef *>(out.data()), &size,
             reinterpret_cast<const Bytef *>(data.constData()), uLong(data.size()));
    out.resize(qsizetype(size));
    return out;
}

// A compressed package of data, as the delivery tool writes it.
inline QByteArray compressed(const char *magic, const QByteArray &data)
{
    const QByteArray stream = zlibCompress(data);
    return header(magic, quint32(data.size()), quint32(stream.size())) + stream;
}

// A package whose payload is stored as it is (stored size = unpacked size).
inline QByteArray raw(const char *magic, const QByteArray &data)
{
    return header(magic, quint32(data.size()), quint32(data.size())) + data;
}

// Text-like data that compresses well, with a format number at offset.
inline QByteArray data(qsizetype size, qint32 formatNumber = 600, qsizetype offset = 0)
{
    QByteArray bytes;
    bytes.reserve(size);
    for (int i = 0; bytes.size() < size; ++i)
        bytes += "style " + QByteArray::number(i % 97) + " panel " + QByteArray::number(i % 13)
                 + ";\n";
    bytes.resize(size);
    if (size >= offset + 4)
        qToLittleEndian(formatNumber, bytes.data() + offset);
    return bytes;
}

inline QByteArray styData(qsizetype size = 4000, qint32 formatNumber = 600)
{
    return data(size, formatNumber, 0);
}

inline QByteArray stiData(qsizetype size = 4000, qint32 formatNumber = 600)
{
    return data(size, formatNumber, 20);
}

} // namespace PackageBytes
