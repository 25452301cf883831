#pragma once

#include "install/journal/JournalRecord.h"
#include "package/WriteJournal.h"

#include <QFile>
#include <QLockFile>
#include <QSet>
#include <QStringList>

#include <memory>

// The journal of one install run: a small file in the per-user application
// data folder, appended and flushed before every step that changes the
// destination, so that the next start can undo a run that a kill or a power
// cut ended (see Recovery.h). A lock file beside it says that the run is
// alive. A run that ends as it should deletes its journal.
//
// For tests, QUILLON_TEST_FAULT=<record>:<n>[:stop] makes the process end at
// once (status 86), or ask itself to stop as the system would, right after
// the n-th record of that kind ("folder", "temp", "new", "aside", "done")
// has been written, before its step is taken.
class RunJournal : public WriteJournal
{
public:
    RunJournal();
    ~RunJournal() override;

    // Starts a journal in folder for a run in the given language. False, with
    // failure() naming the file, when it cannot be written.
    [[nodiscard]] bool begin(const QString &folder, const QString &language);
    bool isOpen() const { return m_file.isOpen(); }
    QString fileName() const { return m_file.fileName(); }

    // A kind's destination folder, before anything is made below it.
    [[nodiscard]] bool addRoot(const QString &folder);
    [[nodiscard]] bool willMakeFolder(const QString &folder);
    [[nodiscard]] bool willCreate(const QString &path) override;
    [[nodiscard]] bool willInstall(const QString &path) override;
    [[nodiscard]] bool willKeepAside(const QString &path, const QString &backup) override;
    void didNotCreate(const QString &path) override;
    // A backup that could not be put back: it stays whatever happens.
    void keepBackup(const QString &backup);

    // The run is over and what it installed stays: the replaced files are
    // synced to disk, then the backups not kept are deleted, then the journal.
    // Returns the backups that could not be deleted.
    QStringList finish();

    FileFailure failure() const override { return m_failure; }

    // Whether QUILLON_TEST_FAULT set a point to end at. Its count is of
    // records in the order one thread writes them, so a run with one
    // unpacks on one thread.
    bool hasFaultPoint() const { return m_fault.count > 0; }

    // The folder journals are kept in: QUILLON_JOURNAL_DIR when that is set,
    // else the per-user application data folder.
    static QString defaultFolder();

private:
    bool append(const JournalRecord &record);
    void reachFaultPoint(JournalRecord::Type type);

    QFile m_file;
    std::unique_ptr<QLockFile> m_lock;
    QStringList m_replaced, m_backups; // installed files kept aside, and where
    QSet<QString> m_kept;
    FileFailure m_failure;
    struct Fault
    {
        QByteArray tag;
        int count = 0;
        bool stop = false;
    } m_fault;
};
