#include "PackageExtractor.h"

#include "package/DataHeader.h"
#include "package/EntryType.h"
#include "package/InstalledFileWriter.h"
#include "package/PackageReader.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

PackageExtractor::PackageExtractor() = default;
PackageExtractor::~PackageExtractor() = default;

bool PackageExtractor::fail(const FileFailure &failure, const QString &message)
{
    m_error = message;
    m_failure = failure;
    return false;
}

bool PackageExtractor::extract(const QString &packedPath, const QString &installedPath)
{
    unpack(packedPath, installedPath);
    return place();
}

bool PackageExtractor::unpack(const QString &packedPath, const QString &installedPath)
{
    m_info = {};
    m_backup.clear();
    m_replaced = false;
    m_keptExisting = false;
    m_error.clear();
    m_failure = {};
    m_packedPath = packedPath;
    m_installed.reset();
    m_unpacked = false;
    const std::optional<PackageKind> kind = PackageKindForPath(packedPath);
    if (!kind)
        return fail({FailureReason::Other, {}},
                    u"Cannot unpack \"%1\": the name does not end in a packed extension"_s.arg(
                            native(packedPath)));

    QFile packed(packedPath);
    if (!openPacked(packed))
        return false;
    m_installed = std::make_unique<InstalledFileWriter>(installedPath, m_journal);
    m_unpacked = streamIntoInstalledFile(packed, *kind, *m_installed)
                 && (m_installed->finishWriting() || writeFailed(*m_installed));
    return m_unpacked;
}

bool PackageExtractor::place(bool mayReplace)
{
    // Without a writer the packed copy could not be opened: it stays.
    if (!m_installed)
        return false;
    // Dropped on every way out, so that an unfinished temporary file goes.
    const std::unique_ptr<InstalledFileWriter> installed = std::move(m_installed);
    // The packed copy goes first: if it cannot be removed the installed file
    // is not committed, so success always means a clean destination.
    if (!removePackedCopy(m_packedPath) || !m_unpacked)
        return false;
    if (!installed->commit(mayReplace))
        return writeFailed(*installed);
    m_backup = installed->backupPath();
    m_replaced = installed->replaced();
    m_keptExisting = installed->keptExisting();
    return true;
}

// A link put in the packed copy's place could hand us any file to install
// where others can read it; a pipe would never end.
bool PackageExtractor::openPacked(QFile &packed)
{
    const QString path = packed.fileName();
    const EntryType type = EntryTypeOf(path);
    if (type == EntryType::Link || type == EntryType::Special) {
        QFile::remove(path); // the name only: never what it leads to
        return fail({FailureReason::LinkInTheWay, {}},
                    u"Cannot open \"%1\": it is a link or a special file"_s.arg(native(path)));
    }
    if (!packed.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return fail({FailureReason::CannotRead, packed.errorString()},
                    u"Cannot open \"%1\": %2"_s.arg(native(path), packed.errorString()));
    return true;
}

bool PackageExtractor::streamIntoInstalledFile(QFile &packed, PackageKind kind,
                                               InstalledFileWriter &installed)
{
    PackageReader reader;
    if (!reader.open(packed, kind)) {
        m_info = reader.info();
        return readFailed(reader, packed.fileName());
    }
    m_info = reader.info();
    if (!installed.open())
        return writeFailed(installed);
    return writeUnpackedData(reader, kind, packed.fileName(), installed);
}

bool PackageExtractor::writeUnpackedData(PackageReader &reader, PackageKind kind,
                                         const QString &packedPath, InstalledFileWriter &installed)
{
    QByteArray chunk(ChunkSize, Qt::Uninitialized);
    bool first = true;
    while (first || !reader.atEnd()) {
        const qint64 got = reader.read(chunk.data(), chunk.size());
        if (got < 0)
            return readFailed(reader, packedPath);
        // The first chunk holds the whole header record whenever the data does.
        if (first && !checkHeader(chunk.constData(), got, kind, installed.fileName()))
            return false;
        first = false;
        if (!installed.write(chunk.constData(), got))
            return writeFailed(installed);
        if (m_yield)
            m_yield();
        if (m_interrupted && m_interrupted())
            return fail({FailureReason::Other, {}},
                        u"Unpacking \"%1\" was stopped"_s.arg(native(packedPath)));
    }
    return true;
}

bool PackageExtractor::readFailed(const PackageReader &reader, const QString &packedPath)
{
    return fail(reader.failure(),
                u"Cannot unpack \"%1\": %2"_s.arg(native(packedPath), reader.errorString()));
}

bool PackageExtractor::writeFailed(const InstalledFileWriter &installed)
{
    return fail(installed.failure(), u"Cannot write \"%1\": %2"_s.arg(native(installed.fileName()),
                                                                      installed.errorString()));
}

bool PackageExtractor::checkHeader(const char *head, qint64 size, PackageKind kind,
                                   const QString &path)
{
    if (CheckDataHeader(m_info, QByteArrayView(head, size), kind))
        return true;
    const std::optional<qint32> number = DataFormatNumber(QByteArrayView(head, size), kind);
    if (!number)
        return fail({FailureReason::TooShort, {}},
                    u"Cannot install \"%1\": the data is %2 bytes long, shorter than the "
                    "%3-byte header record of %4 data"_s.arg(native(path))
                            .arg(m_info.payloadSize)
                            .arg(DataHeaderSize(kind))
                            .arg(PackageKindName(kind)));
    return fail({FailureReason::OldFormat, {}},
                u"Cannot install \"%1\": its format number %2 is older than %3"_s.arg(native(path))
                        .arg(*number)
                        .arg(OldestFormatNumber));
}

bool PackageExtractor::removePackedCopy(const QString &packedPath)
{
    QFile packed(packedPath);
    if (packed.remove())
        return true;
    if (m_error.isEmpty())
        return fail({WriteFailureReason(packed.error(), packedPath), packed.errorString()},
                    u"Cannot remove \"%1\": %2"_s.arg(native(packedPath), packed.errorString()));
    m_error += u" (the packed copy could not be removed either: %1)"_s.arg(packed.errorString());
    return false;
}
