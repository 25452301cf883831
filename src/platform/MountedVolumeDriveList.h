#pragma once

#include "platform/DriveList.h"

// The mounted volumes of a system without drive letters, typed by file system.
class MountedVolumeDriveList : public DriveList
{
public:
    // Every mounted folder once, sorted by its root; mounts of single files
    // and volumes that are not ready are left out.
    QList<Drive> drives() const override;
    DriveType driveType(const QString &root) const override;
};
