#pragma once

#include "package/EntryType.h"
#include "package/FileFailure.h"

#include <QFile>
#include <QString>

class WriteJournal;

// Writes an installed data file under a temporary name beside it and puts it
// in place only when commit() is called; until then, and when anything
// fails, the target is untouched and no partial file is left. The installed
// name always holds either the whole old file or the whole new one.
//
// Nothing is written through a link: the temporary file is created new, and
// a target that is a link, a special file or a folder fails. With a journal,
// every file made is recorded before it is made, and a replaced file is kept
// aside under a backup name (a hard link where the volume has them) that the
// run deletes at its end or puts back when it is undone. The backup, not a
// sync per file, is what keeps the old version safe from a power cut: the
// run syncs the volume once before it deletes the backups.
//
// The temporary name is the target's name, six random characters and
// TemporarySuffix ("Coat.sty.a1B2c3.quillon-part"), the backup's ends in
// BackupSuffix, so that what an interrupted run leaves behind can be told
// from the user's files by anyone who finds it.
class InstalledFileWriter
{
public:
    static constexpr QLatin1StringView TemporarySuffix{".quillon-part"};
    static constexpr QLatin1StringView BackupSuffix{".quillon-old"};

    explicit InstalledFileWriter(const QString &target, WriteJournal *journal = nullptr);
    ~InstalledFileWriter();

    [[nodiscard]] bool open();
    [[nodiscard]] bool write(const char *data, qint64 size);
    // Closes the file once all is written, so that no handle stays open while
    // it waits for commit() (which also closes it when this was not called).
    [[nodiscard]] bool finishWriting();
    // With mayReplace false a file at the target is kept, and the new data
    // dropped: true, with keptExisting().
    [[nodiscard]] bool commit(bool mayReplace = true);
    QString errorString() const;
    // Why the last call failed: a full disk, missing rights, a link in the
    // way, or the system's message.
    const FileFailure &failure() const { return m_failure; }
    QString fileName() const { return m_target; }
    // After a commit that replaced a file with a journal: where the earlier
    // version is kept until the run ends.
    QString backupPath() const { return m_backup; }
    // After a commit: whether it replaced an installed file.
    bool replaced() const { return m_replaced; }
    // After a commit(false): whether a file stood at the target and was kept.
    bool keptExisting() const { return m_keptExisting; }

private:
    bool refused(EntryType target);
    bool replaceTarget();
    bool putNewTarget();
    bool placed();
    bool failed();
    bool fail(const FileFailure &failure);

    QString m_target;
    WriteJournal *m_journal;
    QFile m_file;
    bool m_tempMade = false; // the temporary file exists and is ours to remove
    QString m_backup;
    bool m_replaced = false;
    bool m_keptExisting = false;
    QString m_error;
    FileFailure m_failure;
};

// A name beside path that no file is likely to have: path, a dot, random
// letters and the suffix (which starts with its dot).
QString NameBeside(const QString &path, QLatin1StringView suffix);
