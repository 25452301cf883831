#include "PackageWriter.h"

#include "package/FileFailure.h"
#include "package/PackageReader.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <zlib.h>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Frees zlib's deflate state on every way out.
struct Deflater
{
    z_stream stream{};
    bool started = false;
    ~Deflater()
    {
        if (started)
            deflateEnd(&stream);
    }
};

} // namespace

bool PackageWriter::fail(const QString &message)
{
    if (m_error.isEmpty())
        m_error = message;
    return false;
}

bool PackageWriter::write(const QString &dataPath, const QString &packagePath, PackageKind kind)
{
    m_error.clear();
    m_compressed = false;
    QFile data(dataPath);
    if (!data.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return fail(u"Cannot open \"%1\": %2"_s.arg(native(dataPath), data.errorString()));
    if (data.size() > std::numeric_limits<quint32>::max())
        return fail(u"Cannot pack \"%1\": a package holds at most 4 GiB - 1 bytes"_s.arg(
                native(dataPath)));

    Outcome outcome = writePackage(data, packagePath, kind, true);
    if (outcome == Outcome::NotSmaller) {
        if (!data.seek(0))
            return fail(u"Cannot read \"%1\": %2"_s.arg(native(dataPath), data.errorString()));
        outcome = writePackage(data, packagePath, kind, false);
    }
    m_compressed = outcome == Outcome::Written && m_compressed;
    return outcome == Outcome::Written;
}

PackageWriter::Outcome PackageWriter::writePackage(QFile &data, const QString &packagePath,
                                                   PackageKind kind, bool compress)
{
    const auto unpackedSize = quint32(data.size());
    // Unbuffered, so that a full disk fails the write that meets it instead of
    // a flush whose failure the commit would not see.
    QSaveFile package(packagePath);
    if (!package.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        fail(u"Cannot write \"%1\": %2"_s.arg(native(packagePath), package.errorString()));
        return Outcome::Failed;
    }
    uchar header[PackageReader::HeaderSize];
    const QByteArrayView magic = PackageMagic(kind);
    std::copy(magic.begin(), magic.end(), header);
    qToLittleEndian(unpackedSize, header + 8);
    qToLittleEndian(unpackedSize, header + 12); // raw until the stream proves smaller
    if (!writeBytes(package, reinterpret_cast<const char *>(header), sizeof header))
        return Outcome::Failed;

    if (compress) {
        quint32 storedSize = 0;
        const Outcome outcome = deflatePayload(data, package, &storedSize);
        if (outcome != Outcome::Written)
            return outcome;
        qToLittleEndian(storedSize, header + 12);
        if (!package.seek(12)) {
            fail(u"Cannot write \"%1\": cannot go back to its header (%2)"_s.arg(
                    native(packagePath), package.errorString()));
            return Outcome::Failed;
        }
        if (!writeBytes(package, reinterpret_cast<char *>(header + 12), 4))
            return Outcome::Failed;
        m_compressed = true;
    } else if (!copyPayload(data, package)) {
        return Outcome::Failed;
    }
    if (!package.commit()) {
        fail(u"Cannot write \"%1\": %2"_s.arg(native(packagePath), package.errorString()));
        return Outcome::Failed;
    }
    return Outcome::Written;
}

// Deflates the data into the package; gives up with NotSmaller as soon as the
// stream reaches the data's size, since a raw payload is then smaller.
PackageWriter::Outcome PackageWriter::deflatePayload(QFile &data, QSaveFile &package,
                                                     quint32 *storedSize)
{
    Deflater deflater;
    if (deflateInit(&deflater.stream, m_level) != Z_OK) {
        fail(u"Cannot pack \"%1\": zlib cannot start deflating"_s.arg(native(data.fileName())));
        return Outcome::Failed;
    }
    deflater.started = true;
    z_stream &z = deflater.stream;
    QByteArray input(ChunkSize, Qt::Uninitialized);
    QByteArray output(ChunkSize, Qt::Uninitialized);
    const qint64 size = data.size();
    qint64 left = size;
    qint64 stored = 0;
    int flush = Z_NO_FLUSH;
    while (flush != Z_FINISH) {
        const qint64 count = qMin(left, ChunkSize);
        if (!readChunk(data, input.data(), count))
            return Outcome::Failed;
        left -= count;
        flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
        z.next_in = reinterpret_cast<Bytef *>(input.data());
        z.avail_in = uInt(count);
        do {
            z.next_out = reinterpret_cast<Bytef *>(output.data());
            z.avail_out = uInt(output.size());
            deflate(&z, flush); // cannot fail with valid arguments
            const qint64 produced = output.size() - z.avail_out;
            stored += produced;
            if (stored >= size)
                return Outcome::NotSmaller;
            if (!writeBytes(package, output.constData(), produced))
                return Outcome::Failed;
        } while (z.avail_out == 0);
    }
    *storedSize = quint32(stored);
    return Outcome::Written;
}

bool PackageWriter::copyPayload(QFile &data, QSaveFile &package)
{
    QByteArray buffer(ChunkSize, Qt::Uninitialized);
    for (qint64 left = data.size(); left > 0;) {
        const qint64 count = qMin(left, ChunkSize);
        if (!readChunk(data, buffer.data(), count)
            || !writeBytes(package, buffer.constData(), count))
            return false;
        left -= count;
    }
    return true;
}

bool PackageWriter::readChunk(QFile &data, char *buffer, qint64 size)
{
    const qint64 got = data.read(buffer, size);
    if (got == size)
        return true;
    return fail(u"Cannot read \"%1\": %2"_s.arg(
            native(data.fileName()),
            got < 0 ? data.errorString() : u"the file became shorter while it was read"_s));
}

bool PackageWriter::writeBytes(QSaveFile &package, const char *bytes, qint64 size)
{
    if (WriteWhole(package, bytes, size))
        return true;
    return fail(
            u"Cannot write \"%1\": %2"_s.arg(native(package.fileName()), package.errorString()));
}
