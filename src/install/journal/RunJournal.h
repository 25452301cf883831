#pragma once

#include "install/journal/JournalRecord.h"
#include "package/WriteJournal.h"
#include "platform/ProcessLock.h"

#include <QFile>
#include <QSet>
#include <QStringList>

#include <mutex>

// The journal of one install run: a small file in the per-user application
// data folder, appended and flushed before every step that changes the
// destination, so that the next start can undo a run that a kill or a power
// cut ended (see Recovery.h). A lock beside it, which the system ends with
// the process, says that the run is alive. A run that ends as it should
// records its end durably and deletes its journal.
//
// For tests, QUILLON_TEST_FAULT=<record>:<n>[:stop|:hold] makes the process end at
// once (status 86), or ask itself to stop as the system would, right after
// the n-th record of that kind ("folder", "temp", "new", "aside", "done")
// has been written, before its step is taken (":hold": wait there until
// another process ends this one).
//
// Its calls may come from several threads at once.
class RunJournal : public WriteJournal
{
public:
    RunJournal();
    ~RunJournal() override;

    // Starts a journal in folder for a run in the given language. False, with
    // failure() saying why, when it cannot be written.
    [[nodiscard]] bool begin(const QString &folder, const QString &language);
    bool isOpen() const { return m_file.isOpen(); }
    QString fileName() const { return m_file.fileName(); }

    // A kind's destination folder; all of them before any step, since the
    // recovery acts only below the roots a journal names first.
    [[nodiscard]] bool addRoot(const QString &folder);
    [[nodiscard]] bool willMakeFolder(const QString &folder);
    [[nodiscard]] bool willCreate(const QString &path) override;
    [[nodiscard]] bool willInstall(const QString &path) override;
    [[nodiscard]] bool willKeepAside(const QString &path, const QString &backup) override;
    bool didNotCreate(const QString &path) override;
    // A backup that could not be put back: it stays whatever happens.
    void keepBackup(const QString &backup);

    // How the end of the run went.
    struct Ending
    {
        // The run's end is durable: no later start undoes what it did. When
        // false the next start will undo the run, and journalError says why.
        bool recorded = true;
        QString journalError;
        // The replaced files could not be made to last on disk: their
        // backups were kept while the journal holds them, for the next start
        // to delete.
        QString syncError;
        struct Leftover
        {
            QString path, error;
        };
        // Files of the run (backups, temporary files, packed copies) that
        // could not be deleted; the journal keeps them for the next start.
        QList<Leftover> notRemoved;
    };

    // The run is over and what it installed stays: the replaced files are
    // synced to disk, the end is recorded, then the backups not kept and
    // what is left of the run's temporary files are deleted, then the journal.
    Ending finish();

    FileFailure failure() const override
    {
        const std::lock_guard lock(m_mutex);
        return m_failure;
    }

    // Whether QUILLON_TEST_FAULT set a point to end at. Its count is of
    // records in the order one thread writes them, so a run with one
    // unpacks on one thread.
    bool hasFaultPoint() const { return m_fault.count > 0; }

    // The folder journals are kept in: QUILLON_JOURNAL_DIR when that is set,
    // else the per-user application data folder.
    static QString defaultFolder();

private:
    bool append(const JournalRecord &record);
    bool recordEnd(Ending &ending);
    bool removeJournal(QString *error);
    void removeLeftovers(const QStringList &paths, Ending &ending);
    void reachFaultPoint(JournalRecord::Type type);
    bool fail(const QString &message);

    // The copy step and the unpacking threads write to one journal at once.
    mutable std::recursive_mutex m_mutex;
    QFile m_file;
    ProcessLock m_lock;
    QStringList m_replaced, m_backups; // installed files kept aside, and where
    QSet<QString> m_kept;
    QStringList m_temps; // files announced by willCreate, in order
    FileFailure m_failure;
    struct Fault
    {
        QByteArray tag;
        int count = 0;
        QByteArray action; // "stop": a stop request; "hold": wait to be killed; else exit
    } m_fault;
};
