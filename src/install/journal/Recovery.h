#pragma once

#include "package/FileFailure.h"

#include <QList>
#include <QString>

struct JournalRecord;

// What undoing the interrupted runs did, for the one message that tells the
// user about it.
struct RecoveryReport
{
    int runs = 0;     // interrupted runs found and undone
    int files = 0;    // files they had made that were removed
    int folders = 0;  // folders they had made that were removed
    int restored = 0; // replaced files put back as they were
    QString language; // of the last run undone: the message is in its language

    // What could not be undone: the text that says so (e.g. "Could not delete
    // the file: "), the path and why.
    struct Failure
    {
        int text = 0;
        QString path;
        FileFailure failure;
    };
    QList<Failure> failures;
};

// Finds the journals in folder that no live run holds (see RunJournal),
// newest first, and undoes each run: removes the files and folders it made
// and puts back the files it replaced, so the destination is as it was. A
// run whose journal says it was over only loses its remaining backups. Each
// journal is deleted afterwards; what could not be undone is in the report.
RecoveryReport RecoverInterruptedRuns(const QString &folder);

// Undoes one run from its records (done: the run was over, only its backups
// and leftovers go), adding to report.
void UndoRun(const QList<JournalRecord> &records, bool done, RecoveryReport &report);
