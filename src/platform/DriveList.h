#pragma once

#include <QByteArray>
#include <QList>
#include <QStorageInfo>
#include <QString>

#include <memory>

// What the install location dialog lets the user choose: only fixed drives.
enum class DriveType { Fixed, Remote, Other };

struct Drive
{
    QString root; // Qt form: "C:/" on Windows, a mount point ("/", "/home") elsewhere
    QString name; // the volume's label; may be empty
    DriveType type = DriveType::Other;
};

// The drives of the computer, as the location dialog's drive combo shows them.
class DriveList
{
public:
    virtual ~DriveList() = default;

    // The drives in the order the combo shows them.
    virtual QList<Drive> drives() const = 0;

    // The type of the drive with this root, asked again at the moment of the
    // call (a network share may have gone away since the list was made).
    virtual DriveType driveType(const QString &root) const = 0;
};

// The drives of this computer: on Windows the drive letters with the type the
// system gives them; elsewhere the mounted volumes, typed by their file system.
std::unique_ptr<DriveList> OpenDriveList();

// The type of a mounted file system from the name the system gives it
// ("ext4", "nfs4", "fuse.sshfs"): local disk file systems are fixed, network
// file systems remote, everything else (optical media, memory and pseudo file
// systems) other.
DriveType DriveTypeOfFileSystem(const QByteArray &fileSystemType);

// The index of the drive a path lies on: the drive with the longest root that
// holds the path; -1 when none does.
int DriveIndexOf(const QList<Drive> &drives, const QString &path);

// The drive as the combo shows it: its root in native form and its label.
QString DriveDisplayName(const Drive &drive);

// The volume a folder is on, found through the nearest folder on its path
// that exists (destinations are often made by the run), in any form the
// folder is given.
QStorageInfo VolumeOfFolder(const QString &folder);
