#include "AccessRights.h"

#include <QFileInfo>

#ifdef Q_OS_WIN
// Qt looks up the access rights of NTFS files only while this is non-zero;
// otherwise it reports just the read-only attribute, which a folder such as
// "Program Files" does not carry although a user may not write there.
extern Q_CORE_EXPORT int qt_ntfs_permission_lookup;

namespace {

struct RightsLookup
{
    RightsLookup() { ++qt_ntfs_permission_lookup; }
    ~RightsLookup() { --qt_ntfs_permission_lookup; }
};

} // namespace

bool MayWrite(const QString &path)
{
    const RightsLookup lookup;
    return QFileInfo(path).isWritable();
}

bool MayList(const QString &folder)
{
    const RightsLookup lookup;
    return QFileInfo(folder).isReadable();
}
#else
bool MayWrite(const QString &path)
{
    return QFileInfo(path).isWritable();
}

// Listing needs the right to read the folder and to look up its entries.
bool MayList(const QString &folder)
{
    const QFileInfo info(folder);
    return info.isReadable() && info.isExecutable();
}
#endif
