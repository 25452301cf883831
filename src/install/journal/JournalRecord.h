#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One line of a run's journal: a step the run is about to take, written and
// flushed before the step, so that whatever a kill or a power cut leaves
// behind is named in the journal.
struct JournalRecord
{
    enum class Type {
        Root,   // a kind's destination: nothing is undone through a link below it
        Folder, // a folder is about to be created
        Temp,   // a file that is never the user's data: a packed copy, a temporary file
        New,    // an installed file is about to appear where nothing was
        Aside,  // an installed file (path) is about to be kept aside under backup
        Undone, // what an earlier record on path announced did not happen
        Keep,   // the backup could not be put back: it must never be deleted
        Done,   // the run is over: what it installed stays, its backups go
    };
    Type type = Type::Done;
    QString path;
    QString backup; // Aside only

    bool operator==(const JournalRecord &) const = default;
};

// The first line of a journal: the format and the language of the run, in
// which the next start tells the user about it.
QByteArray JournalHeader(const QString &language);

// A record as one line, paths percent-encoded so that any name fits.
QByteArray EncodeRecord(const JournalRecord &record);

// The records of a journal's bytes, and its language. A last line cut short
// (a power cut while it was written) and lines of an unknown kind are left
// out. False when the bytes are not a journal.
bool DecodeJournal(const QByteArray &bytes, QList<JournalRecord> *records, QString *language);
