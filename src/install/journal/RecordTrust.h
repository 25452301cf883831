#pragma once

#include <QList>
#include <QString>

#include <optional>

struct JournalRecord;

// Whether a journal is one that a run of ours could have written: every step
// lies below a destination root recorded before the first step (folders also
// on the way to one), in a clean absolute path, and names a file of the form
// its step makes: a data file, a packed copy, or a temporary or backup name
// beside an installed one. Recovery acts on nothing else, whoever put the
// journal there. Returns the path of the first record that breaks these
// rules (which may be empty), or nothing when every one keeps them.
std::optional<QString> UntrustedRecordPath(const QList<JournalRecord> &records);
