#pragma once

#include <QFileDevice>
#include <QString>

// Why a file could not be installed, as the lower layers see it. They name the
// reason; the installer turns it into a text of the user's language.
enum class FailureReason {
    None,
    DoesNotInflate, // the package's compressed data is damaged
    WrongSize,      // the package holds more or fewer bytes than its header says
    TooShort,       // the data is shorter than its kind's header record
    OldFormat,      // the data's format is older than this installer reads
    CannotRead,     // the packed file could not be read
    FolderMissing,  // the folder to write into is not there: it could not be created
    FileInTheWay,   // a file has the name of a folder to create
    NoPermission,   // this process may not write there
    DiskFull,       // the disk is full
    LinkInTheWay,   // a link or a special file stands in the file's place or on its way
    FolderInTheWay, // a folder has the name of the file to write
    NotRecorded,    // the run's journal could not record the step, so it was not taken
    NotRemoved,     // a file the run made could not be deleted
    NameNotAllowed, // the name cannot exist on this system (Windows): never opened nor written
    Other,          // only the system's message says why
};

// A failure as a lower layer reports it, next to its errorString(): the
// reason, and the system's own message (the file system's or zlib's) where
// there is one.
struct FileFailure
{
    FailureReason reason = FailureReason::None;
    QString systemMessage;
};

// Why writing the file at path failed, judged right after the failure: error
// is the device's error (a full disk gives ResourceError), the rest is looked
// up on disk.
FailureReason WriteFailureReason(QFileDevice::FileError error, const QString &path);

// Why the folder at path could not be created.
FailureReason FolderFailureReason(const QString &folder);

// Writes all of data, repeating a short write: the system reports a full disk
// only on the write after the one that filled it, so that error() says why.
[[nodiscard]] bool WriteWhole(QIODevice &device, const char *data, qint64 size);
