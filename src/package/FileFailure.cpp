#include "FileFailure.h"

#include "platform/AccessRights.h"

#include <QFileInfo>
#include <QStorageInfo>

namespace {

bool diskIsFull(const QString &folder)
{
    const QStorageInfo storage(folder);
    return storage.isValid() && storage.bytesAvailable() < qMax(storage.blockSize(), 1);
}

// The nearest folder at or above path that exists, or a file standing in
// the place of one.
QFileInfo nearestExisting(const QString &path)
{
    QFileInfo info(path);
    while (!info.exists()) {
        const QString parent = info.absolutePath();
        if (parent == info.absoluteFilePath())
            break;
        info = QFileInfo(parent);
    }
    return info;
}

} // namespace

FailureReason WriteFailureReason(QFileDevice::FileError error, const QString &path)
{
    if (error == QFileDevice::ResourceError)
        return FailureReason::DiskFull;
    const QFileInfo target(path);
    const QString folder = target.absolutePath();
    if (!QFileInfo(folder).isDir())
        return FailureReason::FolderMissing;
    if (!MayWrite(folder) || (target.exists() && !MayWrite(path)))
        return FailureReason::NoPermission;
    if (diskIsFull(folder))
        return FailureReason::DiskFull;
    return FailureReason::Other;
}

FailureReason FolderFailureReason(const QString &folder)
{
    const QFileInfo existing = nearestExisting(folder);
    if (existing.exists() && !existing.isDir())
        return FailureReason::FileInTheWay;
    if (!MayWrite(existing.absoluteFilePath()))
        return FailureReason::NoPermission;
    if (diskIsFull(existing.absoluteFilePath()))
        return FailureReason::DiskFull;
    return FailureReason::Other;
}

bool WriteWhole(QIODevice &device, const char *data, qint64 size)
{
    while (size > 0) {
        const qint64 written = device.write(data, size);
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}
