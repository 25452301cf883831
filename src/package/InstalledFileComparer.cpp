#include "InstalledFileComparer.h"

#include "package/DataHeader.h"
#include "package/EntryType.h"
#include "package/PackageReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>

using namespace Qt::StringLiterals;

InstalledFileComparer::InstalledFileComparer()
    : m_packageChunk(ChunkSize, Qt::Uninitialized), m_installedChunk(ChunkSize, Qt::Uninitialized)
{}

Comparison InstalledFileComparer::packageDamaged(const FileFailure &failure, const QString &phrase)
{
    m_error = u"Cannot unpack \"%1\": %2"_s.arg(QDir::toNativeSeparators(m_packedPath), phrase);
    m_failure = failure;
    return Comparison::PackageDamaged;
}

Comparison InstalledFileComparer::installedUnreadable(const QFile &installed)
{
    m_error = u"Cannot read \"%1\": %2"_s.arg(QDir::toNativeSeparators(installed.fileName()),
                                              installed.errorString());
    m_failure = {FailureReason::CannotRead, installed.errorString()};
    return Comparison::InstalledUnreadable;
}

Comparison InstalledFileComparer::compare(const QString &packedPath, const QString &installedPath)
{
    m_packedPath = packedPath;
    m_error.clear();
    m_failure = {};
    // Nothing is read when there is nothing to compare with, and nothing is
    // opened that is not a plain file: a link could lead anywhere, a pipe
    // would never end.
    switch (EntryTypeOf(installedPath)) {
    case EntryType::Missing:
        return Comparison::Missing;
    case EntryType::Link:
    case EntryType::Special:
        return Comparison::LinkInTheWay;
    case EntryType::File:
    case EntryType::Folder:
        break;
    }
    const std::optional<PackageKind> kind = PackageKindForPath(packedPath);
    if (!kind)
        return packageDamaged({FailureReason::Other, {}},
                              u"the name does not end in a packed extension"_s);
    QFile installed(installedPath);
    if (!installed.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return installedUnreadable(installed);
    QFile packed(packedPath);
    if (!packed.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return packageDamaged({FailureReason::CannotRead, packed.errorString()},
                              packed.errorString());
    return compareOpen(packed, *kind, installed);
}

Comparison InstalledFileComparer::compareOpen(QFile &packed, PackageKind kind, QFile &installed)
{
    PackageReader reader;
    if (!reader.open(packed, kind))
        return packageDamaged(reader.failure(), reader.errorString());
    const bool sameSize = reader.info().payloadSize == installed.size();
    return compareData(reader, kind, installed,
                       sameSize ? Comparison::Identical : Comparison::DifferentSize);
}

// Once a difference is found the rest of the package is still unpacked, so
// that "different" always means a sound package that a repair can install,
// never a damaged one whose bytes went astray.
Comparison InstalledFileComparer::compareData(PackageReader &reader, PackageKind kind,
                                              QFile &installed, Comparison result)
{
    bool first = true;
    while (first || !reader.atEnd()) {
        const qint64 got = reader.read(m_packageChunk.data(), ChunkSize);
        if (got < 0)
            return packageDamaged(reader.failure(), reader.errorString());
        // The first chunk holds the whole header record whenever the data does.
        if (first && !headerAccepted(reader, kind, got))
            return Comparison::PackageDamaged;
        first = false;
        if (result == Comparison::Identical)
            result = compareChunk(installed, got);
        if (result == Comparison::InstalledUnreadable)
            return result;
        if (m_yield)
            m_yield();
        if (m_interrupt && m_interrupt())
            return Comparison::InstalledUnreadable; // given up: nobody reads the result
    }
    return result;
}

Comparison InstalledFileComparer::compareChunk(QFile &installed, qint64 size)
{
    if (!readInstalled(installed, size))
        return installed.error() == QFileDevice::NoError ? Comparison::DifferentSize
                                                         : installedUnreadable(installed);
    if (std::memcmp(m_packageChunk.constData(), m_installedChunk.constData(), size_t(size)) != 0)
        return Comparison::DifferentContent;
    return Comparison::Identical;
}

// The same check of the header record as the extraction makes: data it
// would refuse was never installed from this package.
bool InstalledFileComparer::headerAccepted(const PackageReader &reader, PackageKind kind,
                                           qint64 size)
{
    const QByteArrayView head(m_packageChunk.constData(), size);
    if (CheckDataHeader(reader.info(), head, kind))
        return true;
    const std::optional<qint32> number = DataFormatNumber(head, kind);
    if (!number)
        packageDamaged({FailureReason::TooShort, {}},
                       u"the data is %1 bytes long, shorter than the %2-byte header record of "
                       "%3 data"_s.arg(reader.info().payloadSize)
                               .arg(DataHeaderSize(kind))
                               .arg(PackageKindName(kind)));
    else
        packageDamaged(
                {FailureReason::OldFormat, {}},
                u"its format number %1 is older than %2"_s.arg(*number).arg(OldestFormatNumber));
    return false;
}

// Reads exactly size bytes of the installed file; false on a read error or
// when the file ends first (it changed since its size was taken).
bool InstalledFileComparer::readInstalled(QFile &installed, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 got = installed.read(m_installedChunk.data() + done, size - done);
        if (got <= 0)
            return false;
        done += got;
    }
    return true;
}
