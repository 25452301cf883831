#pragma once

#include "package/FileFailure.h"
#include "package/PackageKind.h"

#include <QString>

#include <functional>

class PackageReader;
class QFile;

// How an installed data file stands against the data its package unpacks to.
enum class Comparison {
    Identical,
    Missing,             // no installed file
    DifferentSize,       // its size is not the package's data size
    DifferentContent,    // same size, other bytes
    InstalledUnreadable, // the installed file could not be read
    LinkInTheWay,        // a link or a special file stands in its place: never opened
    PackageDamaged,      // the package cannot be unpacked: nothing to compare with
};

// Compares an installed data file with its package without writing anything:
// the package is inflated chunk by chunk and each chunk compared with the same
// bytes of the installed file, so memory use is two chunks whatever the sizes.
// A package whose data the installer would refuse (too short, too old a
// format) counts as damaged, as it would fail the install.
class InstalledFileComparer
{
public:
    // Data is unpacked and compared in chunks of this size.
    static constexpr qint64 ChunkSize = 256 * 1024;

    InstalledFileComparer();

    // Compares the data of the package at packedPath with installedPath.
    // A missing installed file, or a link or special file in its place, is
    // told without reading the package; any other result has read the whole
    // package, so a difference is never a damaged package in disguise.
    [[nodiscard]] Comparison compare(const QString &packedPath, const QString &installedPath);

    // For InstalledUnreadable and PackageDamaged: the file and the reason.
    QString errorString() const { return m_error; }
    // The reason of those two, with the system's or zlib's message.
    const FileFailure &failure() const { return m_failure; }

    // Called after every chunk compared, so that window events keep running
    // during a large file.
    void setYield(std::function<void()> yield) { m_yield = std::move(yield); }
    // Asked after every chunk; true gives the comparison up.
    void setInterrupt(std::function<bool()> interrupt) { m_interrupt = std::move(interrupt); }

private:
    Comparison compareOpen(QFile &packed, PackageKind kind, QFile &installed);
    Comparison compareData(PackageReader &reader, PackageKind kind, QFile &installed,
                           Comparison result);
    Comparison compareChunk(QFile &installed, qint64 size);
    bool headerAccepted(const PackageReader &reader, PackageKind kind, qint64 size);
    bool readInstalled(QFile &installed, qint64 size);
    Comparison packageDamaged(const FileFailure &failure, const QString &phrase);
    Comparison installedUnreadable(const QFile &installed);

    QString m_packedPath;
    QByteArray m_packageChunk;
    QByteArray m_installedChunk;
    QString m_error;
    FileFailure m_failure;
    std::function<void()> m_yield;
    std::function<bool()> m_interrupt;
};
