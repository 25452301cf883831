#include "MountedVolumeDriveList.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

QList<Drive> MountedVolumeDriveList::drives() const
{
    QList<Drive> list;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (!volume.isValid() || !volume.isReady() || !QFileInfo(root).isDir())
            continue;
        const bool listed = std::any_of(list.cbegin(), list.cend(),
                                        [&root](const Drive &d) { return d.root == root; });
        if (!listed)
            list.append({root, volume.name(), DriveTypeOfFileSystem(volume.fileSystemType())});
    }
    std::sort(list.begin(), list.end(),
              [](const Drive &a, const Drive &b) { return a.root < b.root; });
    return list;
}

DriveType MountedVolumeDriveList::driveType(const QString &root) const
{
    const QStorageInfo volume(root);
    if (!volume.isValid() || !volume.isReady()
        || volume.rootPath() != QDir::cleanPath(QFileInfo(root).absoluteFilePath()))
        return DriveType::Other;
    return DriveTypeOfFileSystem(volume.fileSystemType());
}
