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
    const QString relative = QDir(base).relativeFilePath(QDir::cleanPath(path));
    const QStringList names = relative.split(u'/', Qt::SkipEmptyParts);
    QString at = base;
    for (qsizetype i = 0; i < names.size(); ++i) {
        at += (at.endsWith(u'/') ? QString() : QStringLiteral("/")) + names.at(i);
        const EntryType type = EntryTypeOf(at);
        const bool last = i + 1 == names.size();
        if (type == EntryType::Missing)
            break;
        if (type == EntryType::Link || type == EntryType::Special
            || (!last && type == EntryType::File))
            return at;
    }
    return {};
}
