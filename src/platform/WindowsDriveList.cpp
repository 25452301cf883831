#include "WindowsDriveList.h"

#include "platform/LongPath.h"

#include <QDir>
#include <QStorageInfo>

#include <windows.h>

QList<Drive> WindowsDriveList::drives() const
{
    QList<Drive> list;
    for (const QFileInfo &drive : QDir::drives()) {
        const QString root = drive.absoluteFilePath(); // "C:/"
        const DriveType type = driveType(root);
        // Only a fixed drive is asked for its label: an empty optical drive or
        // a lost network share can keep the caller waiting.
        const QString name = type == DriveType::Fixed ? QStorageInfo(root).name() : QString();
        list.append({root, name, type});
    }
    return list;
}

DriveType WindowsDriveList::driveType(const QString &root) const
{
    // The system wants the root itself, "C:\" or "\\server\share\", with its
    // backslash, whatever form the root was given in.
    const std::wstring native = RootOfQualified(LongPathForm(root)).toStdWString();
    switch (GetDriveTypeW(native.c_str())) {
    case DRIVE_FIXED:
        return DriveType::Fixed;
    case DRIVE_REMOTE:
        return DriveType::Remote;
    default:
        return DriveType::Other;
    }
}
