#pragma once

#include "package/FileFailure.h"
#include "package/PackageInfo.h"
#include "package/PackageKind.h"

#include <QString>

#include <functional>
#include <memory>

class QFile;
class InstalledFileWriter;
class PackageReader;
class WriteJournal;

// Turns a packed copy in the destination folder into its installed data file.
// The data is streamed from the packed copy into a temporary file beside the
// installed file, which is renamed into place only when the whole file has
// been read, checked and written; memory use is a fixed chunk per file.
class PackageExtractor
{
public:
    PackageExtractor();
    ~PackageExtractor(); // drops a file unpacked and not placed

    // Data is unpacked and written in chunks of this size.
    static constexpr qint64 ChunkSize = 256 * 1024;

    // Unpacks the packed copy at packedPath into installedPath and removes the
    // packed copy, whether the unpacking succeeded or not (it is never the
    // user's data). On failure nothing is left at installedPath that was not
    // there before (an installed file that was there stays untouched) and
    // errorString() names the file and the reason. A packed copy that cannot
    // be opened fails too and is left where it is; one that is a link or a
    // special file is never opened.
    [[nodiscard]] bool extract(const QString &packedPath, const QString &installedPath);

    // extract() in two halves, so that the unpacking can run on a worker
    // thread while the installed files are put in place in list order:
    // unpack() writes the data under a temporary name and touches nothing
    // else (the journal is told of the temporary file); place() then removes
    // the packed copy and puts the data in place, and must follow it on any
    // thread. extract() is unpack() then place(); place() returns what
    // extract() would, and a failure of unpack() is also one of place().
    // With mayReplace false a file that stands at the installed name is
    // kept, and the unpacked data dropped (see keptExisting()).
    bool unpack(const QString &packedPath, const QString &installedPath);
    [[nodiscard]] bool place(bool mayReplace = true);

    QString errorString() const { return m_error; }
    // The reason of the last failure, with the system's or zlib's message.
    const FileFailure &failure() const { return m_failure; }
    // The payload size of the last file.
    const PackageInfo &info() const { return m_info; }
    // After an extraction that replaced an installed file with a journal set:
    // where its earlier version is kept until the run ends.
    QString backupPath() const { return m_backup; }
    // After a successful extraction: whether it replaced an installed file.
    bool replaced() const { return m_replaced; }
    // After a successful place(false): a file stood at the installed name
    // and was kept.
    bool keptExisting() const { return m_keptExisting; }

    // The run's journal, told of every file before it is made (see
    // InstalledFileWriter); without one nothing is recorded or kept aside.
    void setJournal(WriteJournal *journal) { m_journal = journal; }

    // Called after every chunk written, so that the caller can let window
    // events run during a large file.
    void setYield(std::function<void()> yield) { m_yield = std::move(yield); }
    // Asked after every chunk: true stops the unpacking there, as a failure
    // that leaves nothing behind but the packed copy.
    void setInterrupt(std::function<bool()> interrupted) { m_interrupted = std::move(interrupted); }

private:
    bool streamIntoInstalledFile(QFile &packed, PackageKind kind, InstalledFileWriter &installed);
    bool writeUnpackedData(PackageReader &reader, PackageKind kind, const QString &packedPath,
                           InstalledFileWriter &installed);
    bool checkHeader(const char *head, qint64 size, PackageKind kind, const QString &path);
    bool removePackedCopy(const QString &packedPath);
    bool readFailed(const PackageReader &reader, const QString &packedPath);
    bool writeFailed(const InstalledFileWriter &installed);
    bool fail(const FileFailure &failure, const QString &message);

    bool openPacked(QFile &packed);

    QString m_packedPath;
    // Between unpack() and place(), once the packed copy could be opened.
    std::unique_ptr<InstalledFileWriter> m_installed;
    bool m_unpacked = false; // the whole data waits under the temporary name
    PackageInfo m_info;
    QString m_backup;
    bool m_replaced = false;
    bool m_keptExisting = false;
    WriteJournal *m_journal = nullptr;
    QString m_error;
    FileFailure m_failure;
    std::function<void()> m_yield;
    std::function<bool()> m_interrupted;
};
