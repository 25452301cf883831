#include "EntryType.h"

#include <QDir>
#include <QFileInfo>

EntryType EntryTypeOf(const QString &path)
{
    const QFileInfo info(path);
    // A link is asked about first: everything else follows it.
    if (info.isSymbolicLink() || info.isJunction())
        return EntryType::Link;
    if (!info.exists())
        return EntryType::Missing;
    if (info.isDir())
        return EntryType::Folder;
    return info.isFile() ? EntryType::File : EntryType::Special;
}

QString LinkOnTheWay(const QString &root, const QString &path)
{
    const QString base = QDir::cleanPath(root);
    const QString target = QDir::cleanPath(path);
    const QString prefix = base.endsWith(u'/') ? base : base + u'/';
    if (!target.startsWith(prefix))
        return {}; // not below root: nothing here is the run's to check
    // Each entry from the first below root down to path itself.
    for (qsizetype end = prefix.size();; ++end) {
        end = target.indexOf(u'/', end);
        const bool last = end < 0;
        const QString at = last ? target : target.left(end);
        const EntryType type = EntryTypeOf(at);
        if (type == EntryType::Missing)
            return {};
        if (type == EntryType::Link || type == EntryType::Special
            || (!last && type == EntryType::File))
            return at;
        if (last)
            return {};
    }
}
