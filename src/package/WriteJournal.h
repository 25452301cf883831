#pragma once

#include "package/FileFailure.h"

#include <QString>

// Where a writer of installed files says what it is about to do, before it
// does it, so that a run cut short by a kill or a power cut can be undone
// from the record. Each call returns false when it could not be recorded;
// the writer then does not take the step and reports failure().
class WriteJournal
{
public:
    virtual ~WriteJournal() = default;

    // A file that is never the user's data (a temporary file, a packed copy)
    // is about to be created at path.
    [[nodiscard]] virtual bool willCreate(const QString &path) = 0;
    // An installed file is about to appear at path, where nothing was.
    [[nodiscard]] virtual bool willInstall(const QString &path) = 0;
    // The installed file at path is about to be kept aside under backup and
    // replaced; undoing puts it back.
    [[nodiscard]] virtual bool willKeepAside(const QString &path, const QString &backup) = 0;
    // What willCreate or willInstall announced did not happen, or what the
    // run made there is gone and something else was put back: an undo must
    // leave whatever is at path alone. False when it could not be recorded.
    virtual bool didNotCreate(const QString &path) = 0;

    virtual FileFailure failure() const = 0;
};
