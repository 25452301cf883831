#pragma once

#include "package/FileFailure.h"

#include <QList>
#include <QString>
#include <QStringList>

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
// run whose journal says it was over only loses its remaining backups and
// temporary files. A journal is deleted once every step of it is done; one
// that could not be read, that holds a record no run of ours writes (see
// RecordTrust.h), or of which a step could not be done stays for the next
// start, and report.failures says why.
RecoveryReport RecoverInterruptedRuns(const QString &folder);

// The journals in folder that a start could not undo yet and that no live
// run holds: while one is there no run may start, or undoing it later would
// undo that run too. The folder itself when it cannot be listed. Reads,
// never writes.
QStringList PendingJournals(const QString &folder);

// What the next start will undo, without undoing anything: interrupted runs
// whose journals are waiting, the files and folders of theirs still there,
// the replaced files whose earlier versions are kept. Reads, never writes.
struct PendingUndo
{
    int runs = 0, files = 0, folders = 0, restored = 0;
};
PendingUndo DescribePendingRuns(const QString &folder);
