#pragma once

#include "platform/DriveList.h"

// The drive letters of Windows with the type the system gives each.
class WindowsDriveList : public DriveList
{
public:
    QList<Drive> drives() const override;
    DriveType driveType(const QString &root) const override;
};
