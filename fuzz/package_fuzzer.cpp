// Packed files as a data set may hold them, damaged in any way: unpacked for
// real from a temporary folder, as an install does. The first input byte picks
// the extension (.sty_, .sti_, .tex_, .tfc_), the rest is the packed file.
//
// Promises checked: the packed copy is gone afterwards; a success gives
// exactly the data that a plain reading of the header with zlib's own
// uncompress gives; a failure names the file and leaves nothing behind, neither
// an installed file nor a temporary one.

#include "FuzzSupport.h"

#include "package/DataHeader.h"
#include "package/PackageExtractor.h"
#include "package/PackageKind.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>

#include <zlib.h>

#include <optional>

namespace {

QTemporaryDir *folder = nullptr;

constexpr qint64 HeaderSize = 16;
// Far beyond what a few KB of stream inflate to, so that a larger claim is
// known to fail without inflating it here.
constexpr quint32 ReferenceLimit = 64 * 1024 * 1024;

// The data the file holds read plainly; nothing when it must fail.
std::optional<QByteArray> plainReading(const QByteArray &file, PackageKind kind)
{
    const QByteArrayView magic = PackageMagic(kind);
    if (!file.startsWith(magic))
        return file;
    if (file.size() < HeaderSize)
        return std::nullopt;
    const auto unpacked = qFromLittleEndian<quint32>(file.constData() + 8);
    const auto stored = qFromLittleEndian<quint32>(file.constData() + 12);
    if (stored >= unpacked) {
        if (file.size() - HeaderSize < qint64(unpacked))
            return std::nullopt;
        return file.mid(HeaderSize, unpacked);
    }
    if (file.size() - HeaderSize < qint64(stored) || unpacked > ReferenceLimit)
        return std::nullopt;
    QByteArray out(qsizetype(unpacked) + 1, Qt::Uninitialized);
    uLongf outSize = uLongf(out.size());
    const int result
            = uncompress(reinterpret_cast<Bytef *>(out.data()), &outSize,
                         reinterpret_cast<const Bytef *>(file.constData() + HeaderSize), stored);
    if (result != Z_OK || outSize != unpacked)
        return std::nullopt;
    out.resize(qsizetype(unpacked));
    return out;
}

std::optional<QByteArray> expectedInstall(const QByteArray &file, PackageKind kind)
{
    const std::optional<QByteArray> data = plainReading(file, kind);
    if (!data || !CheckDataHeader(PackageInfo{data->size()}, *data, kind))
        return std::nullopt;
    return data;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    Fuzz::require(file.open(QIODevice::ReadOnly), "an installed file can be read");
    return file.readAll();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static QTemporaryDir dir;
    Fuzz::require(dir.isValid(), "a temporary folder can be made");
    folder = &dir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    static const char *const extensions[] = {"/a.sty", "/a.sti", "/a.tex", "/a.tfc"};
    const QString installed = folder->path() + QLatin1String(extensions[data[0] % 4]);
    const QString packed = installed + u'_';
    const QByteArray file = Fuzz::bytes(data + 1, size - 1);
    Fuzz::writeFile(packed, file);
    const std::optional<QByteArray> expected = expectedInstall(file, *PackageKindForPath(packed));

    PackageExtractor extractor;
    const bool ok = extractor.extract(packed, installed);
    Fuzz::require(!QFile::exists(packed), "the packed copy is removed");
    Fuzz::require(ok == expected.has_value(), "the extractor agrees with a plain reading");
    if (ok) {
        Fuzz::require(readAll(installed) == *expected, "the installed data is the plain reading");
        Fuzz::require(QFile::remove(installed), "the installed file can be removed");
    } else {
        // The packed file's name holds the installed file's.
        Fuzz::require(extractor.errorString().contains(QDir::toNativeSeparators(installed)),
                      "a failure names the file");
    }
    Fuzz::require(
            QDir(folder->path())
                    .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            "nothing is left behind, neither an installed nor a temporary file");
    return 0;
}
