#pragma once

#include <QString>
#include <QStringList>

// The file system steps that replace an installed file so that its earlier
// version can be put back, which Qt does not offer: a second name for a file
// (a hard link), a rename over an existing file, and making data last on disk.

// How KeepAside kept the earlier version.
enum class AsideResult {
    Linked, // the file has a second name; the installed name still holds it
    Moved,  // the volume has no hard links: the file was renamed to the backup name
    Failed,
};

// Keeps the file at path under backup, on the same volume, as a hard link
// where the volume allows it, so that the installed name is never missing;
// else by renaming it. backup must not exist. error gets the system's message.
// On Windows a read-only file loses that attribute first, since Windows
// neither replaces nor deletes a read-only file: the backup must be deletable
// at the end of the run, and a hard link shares the attribute.
AsideResult KeepAside(const QString &path, const QString &backup, QString *error);

// Renames from to to in one step, replacing a file at to, a read-only one
// too. A link at to is replaced itself, never followed. When it fails because
// nothing is at from, fromMissing (if given) is set.
bool ReplaceWith(const QString &from, const QString &to, QString *error,
                 bool *fromMissing = nullptr);

// Renames from to to in one step, only when nothing stands at to: never
// replaces a file and never follows a link there.
bool RenameNew(const QString &from, const QString &to, QString *error);

// Whether anything (a link included) stands at path. A name that could not
// be looked at (error says why) is not taken for a free one.
enum class NameState { Free, Taken, Failed };
NameState LookAtName(const QString &path, QString *error);

// What a removal did. Unlike a look before removing, the result never takes
// a name that could not be looked at for a name that is gone.
enum class RemoveResult {
    Removed,
    NothingToRemove, // nothing there; for a folder also: not empty, or not a folder
    Failed,          // error says why
};

// Deletes the file at path, a link as a link, never what it leads to.
RemoveResult RemoveIfPresent(const QString &path, QString *error);

// Removes the folder at path if it is empty: anything put in it is not the
// caller's to remove. A link there is left alone.
RemoveResult RemoveEmptyFolder(const QString &path, QString *error);

// Makes the data of files written lately last on disk (a power cut after this
// returns does not lose them): the volumes that hold the files are synced.
// A file that is gone needs nothing; one that cannot be opened fails it.
bool SyncToDisk(const QStringList &files, QString *error);
