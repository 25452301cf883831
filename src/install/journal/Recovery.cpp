#include "Recovery.h"

#include "i18n/TextNumbers.h"
#include "install/journal/JournalRecord.h"
#include "install/journal/RecordTrust.h"
#include "install/journal/RunUndo.h"
#include "package/EntryType.h"
#include "platform/FileReplacement.h"
#include "platform/FolderListing.h"
#include "platform/ProcessLock.h"

#include <QDir>
#include <QFile>
#include <QSet>

namespace {

using Type = JournalRecord::Type;

// One journal as read from its file.
struct Journal
{
    enum class State { Unreadable, NotAJournal, Untrusted, Interrupted, Over } state;
    QList<JournalRecord> records;
    QString language;
    qsizetype headerSize = 0;
    QString problem; // the system's message, or the path of the untrusted record

    // Whether a step was recorded at all: a run killed before its first
    // step did nothing.
    bool hasSteps() const
    {
        return std::any_of(records.cbegin(), records.cend(),
                           [](const JournalRecord &r) { return r.type != Type::Root; });
    }
};

// The files in folder named run-*<suffix>, the newest run first (names hold
// the start time). False, with error, when the folder could not be listed:
// a journal in it could then be missed.
bool journalsIn(const QString &folder, QStringList *paths, QString *error,
                QLatin1StringView suffix = QLatin1StringView(".journal"))
{
    QStringList names;
    const Listing listing = ListFolder(folder, &names, error);
    if (listing == Listing::Failed)
        return false;
    names.sort();
    for (auto name = names.crbegin(); name != names.crend(); ++name) {
        if (name->startsWith(QLatin1String("run-")) && name->endsWith(suffix))
            paths->append(QDir(folder).filePath(*name));
    }
    return true;
}

QString lockOf(const QString &journal)
{
    return journal + QStringLiteral(".lock");
}

Journal readJournal(const QString &path)
{
    Journal journal{Journal::State::Unreadable, {}, {}, 0, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        journal.problem = file.errorString();
        return journal;
    }
    const QByteArray bytes = file.readAll();
    // A read that failed part way would make a run look shorter than it was.
    if (file.error() != QFileDevice::NoError) {
        journal.problem = file.errorString();
        return journal;
    }
    if (!DecodeJournal(bytes, &journal.records, &journal.language)) {
        journal.state = Journal::State::NotAJournal;
        return journal;
    }
    journal.headerSize = bytes.indexOf('\n') + 1;
    if (const std::optional<QString> refused = UntrustedRecordPath(journal.records)) {
        journal.state = Journal::State::Untrusted;
        journal.problem = *refused;
    } else if (!journal.records.isEmpty() && journal.records.last().type == Type::Done)
        journal.state = Journal::State::Over;
    else
        journal.state = Journal::State::Interrupted;
    return journal;
}

// Every step of the journal is done: it goes. A journal of an undone run
// that cannot be deleted is cut back to its header, which undoes nothing,
// so that it is never undone again after later runs.
void closeJournal(const QString &path, const Journal &journal, RecoveryReport &report)
{
    QString error;
    if (RemoveIfPresent(path, &error) != RemoveResult::Failed
        || journal.state == Journal::State::Over)
        return; // a journal of a finished run that stays does no harm
    QFile file(path);
    if (!file.resize(journal.headerSize))
        report.failures.append({InstallText::FileNotDeleted, path, {FailureReason::Other, error}});
}

// Notes in the journal at path that the file is not the run's to remove.
bool appendUndone(const QString &path, const QString &file)
{
    QFile journal(path);
    const QByteArray line = EncodeRecord({Type::Undone, file, {}});
    return journal.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)
           && journal.write(line) == line.size();
}

void recoverOne(const QString &path, RecoveryReport &report)
{
    ProcessLock lock;
    QString error;
    switch (lock.tryLock(lockOf(path), &error)) {
    case ProcessLock::Result::Held:
        return; // a run that is alive
    case ProcessLock::Result::Failed:
        report.failures.append(
                {InstallText::JournalUnreadable, path, {FailureReason::Other, error}});
        return;
    case ProcessLock::Result::Taken:
        break;
    }
    const Journal journal = readJournal(path);
    switch (journal.state) {
    case Journal::State::Unreadable:
        report.failures.append(
                {InstallText::JournalUnreadable, path, {FailureReason::Other, journal.problem}});
        break;
    case Journal::State::NotAJournal: // nothing in it can be undone
        RemoveIfPresent(path, &error);
        break;
    case Journal::State::Untrusted:
        report.failures.append({InstallText::JournalRefused,
                                journal.problem,
                                {FailureReason::Other, QDir::toNativeSeparators(path)}});
        break;
    case Journal::State::Interrupted:
    case Journal::State::Over: {
        const qsizetype failures = report.failures.size();
        const bool over = journal.state == Journal::State::Over;
        UndoRun(journal.records, over, report,
                [&path](const QString &file) { return appendUndone(path, file); });
        if (!over && journal.hasSteps()) {
            ++report.runs;
            report.language = journal.language;
        }
        if (report.failures.size() == failures)
            closeJournal(path, journal, report);
        break;
    }
    }
    lock.unlockAndRemove();
}

// A run killed between taking its lock and writing its journal leaves the
// lock alone.
void removeStrayLocks(const QString &folder)
{
    QStringList locks;
    QString error;
    journalsIn(folder, &locks, &error, QLatin1StringView(".journal.lock"));
    for (const QString &lock : std::as_const(locks)) {
        ProcessLock probe;
        if (!QFile::exists(lock.chopped(5)) && probe.tryLock(lock) == ProcessLock::Result::Taken)
            probe.unlockAndRemove();
    }
}

} // namespace

RecoveryReport RecoverInterruptedRuns(const QString &folder)
{
    RecoveryReport report;
    QStringList journals;
    QString error;
    if (!journalsIn(folder, &journals, &error))
        report.failures.append(
                {InstallText::JournalFolderUnreadable, folder, {FailureReason::Other, error}});
    for (const QString &path : std::as_const(journals))
        recoverOne(path, report);
    removeStrayLocks(folder);
    return report;
}

QStringList PendingJournals(const QString &folder)
{
    QStringList pending, journals;
    QString error;
    if (!journalsIn(folder, &journals, &error))
        return {folder}; // what is in it cannot be known
    for (const QString &path : std::as_const(journals)) {
        if (ProcessLock::isHeld(lockOf(path)))
            continue;
        const Journal journal = readJournal(path);
        const bool harmless
                = journal.state == Journal::State::NotAJournal
                  || journal.state == Journal::State::Over
                  || (journal.state == Journal::State::Interrupted && !journal.hasSteps());
        if (!harmless)
            pending.append(path);
    }
    return pending;
}

PendingUndo DescribePendingRuns(const QString &folder)
{
    PendingUndo undo;
    for (const QString &path : PendingJournals(folder)) {
        ++undo.runs;
        const Journal journal = readJournal(path);
        if (journal.state != Journal::State::Interrupted)
            continue;
        QSet<QString> undone;
        for (const JournalRecord &record : journal.records) {
            if (record.type == Type::Undone)
                undone.insert(record.path);
        }
        for (const JournalRecord &record : journal.records) {
            const bool ours = !undone.contains(record.path);
            const EntryType type
                    = EntryTypeOf(record.type == Type::Aside ? record.backup : record.path);
            if ((record.type == Type::Temp || record.type == Type::New) && ours
                && type != EntryType::Missing)
                ++undo.files;
            else if (record.type == Type::Folder && ours && type == EntryType::Folder)
                ++undo.folders;
            else if (record.type == Type::Aside && type == EntryType::File)
                ++undo.restored;
        }
    }
    return undo;
}
