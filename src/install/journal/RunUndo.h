#pragma once

#include <QList>
#include <QString>

#include <functional>

struct JournalRecord;
struct RecoveryReport;

// Undoes one run from its records, last step first, adding to report: the
// files and folders it made go (a folder only when empty), the files it
// replaced come back. A run whose journal says it was over (done) keeps what
// it installed: once the replaced files are synced to disk only its backups
// and temporary files go. Nothing is touched through a link below a
// destination root; what could not be done is in report.failures.
//
// A file put back where the run had also made one (a packed copy's place)
// is first recorded through leaveAlone, so that undoing the same records
// again, after a step that failed, never deletes it; without leaveAlone, or
// when it returns false, such a file stays kept aside.
void UndoRun(const QList<JournalRecord> &records, bool done, RecoveryReport &report,
             const std::function<bool(const QString &)> &leaveAlone = {});
