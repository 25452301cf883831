#include "DriveList.h"

#ifdef Q_OS_WIN
#include "platform/WindowsDriveList.h"
#else
#include "platform/MountedVolumeDriveList.h"
#endif

#include <QDir>
#include <QFileInfo>

namespace {

// Drive letters are the same drive whatever their case; mount points are not.
#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity RootCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity RootCase = Qt::CaseSensitive;
#endif

bool liesOn(const QString &path, const QString &root)
{
    if (path.compare(root, RootCase) == 0)
        return true;
    const QString prefix = root.endsWith(u'/') ? root : root + u'/';
    return path.startsWith(prefix, RootCase);
}

} // namespace

std::unique_ptr<DriveList> OpenDriveList()
{
#ifdef Q_OS_WIN
    return std::make_unique<WindowsDriveList>();
#else
    return std::make_unique<MountedVolumeDriveList>();
#endif
}

DriveType DriveTypeOfFileSystem(const QByteArray &fileSystemType)
{
    static const QByteArrayList fixed{"ext2",     "ext3",    "ext4", "xfs",      "btrfs",  "jfs",
                                      "reiserfs", "f2fs",    "zfs",  "bcachefs", "nilfs2", "ntfs",
                                      "ntfs3",    "fuseblk", "vfat", "msdos",    "exfat",  "hfs",
                                      "hfsplus",  "apfs",    "ufs",  "overlay"};
    static const QByteArrayList remote{"nfs",   "nfs4",   "cifs",  "smb",  "smb2", "smb3",
                                       "smbfs", "sshfs",  "afs",   "9p",   "ceph", "glusterfs",
                                       "davfs", "lustre", "ncpfs", "coda", "gfs2", "ocfs2"};
    QByteArray type = fileSystemType.toLower();
    // FUSE file systems carry their real kind after the dot: "fuse.sshfs".
    if (type.startsWith("fuse.") && type.size() > 5)
        type = type.mid(5);
    if (fixed.contains(type))
        return DriveType::Fixed;
    if (remote.contains(type))
        return DriveType::Remote;
    return DriveType::Other;
}

int DriveIndexOf(const QList<Drive> &drives, const QString &path)
{
    int best = -1;
    for (int i = 0; i < drives.size(); ++i) {
        const QString &root = drives.at(i).root;
        if (liesOn(path, root) && (best < 0 || root.size() > drives.at(best).root.size()))
            best = i;
    }
    return best;
}

QString DriveDisplayName(const Drive &drive)
{
    const QString root = QDir::toNativeSeparators(drive.root);
    return drive.name.isEmpty() ? root : root + QStringLiteral("  [") + drive.name + u']';
}

QStorageInfo VolumeOfFolder(const QString &folder)
{
    QFileInfo info(folder);
    while (!info.exists() && info.absolutePath() != info.absoluteFilePath())
        info = QFileInfo(info.absolutePath());
    return QStorageInfo(info.absoluteFilePath());
}
