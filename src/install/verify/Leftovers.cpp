#include "Leftovers.h"

#include "package/EntryType.h"
#include "package/InstalledFileWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace {

// The installed name a leftover's name belongs to; empty for any other name.
QString installedNameOf(const QString &name)
{
    if (name.endsWith(u'_'))
        return name.chopped(1);
    for (QLatin1StringView suffix :
         {InstalledFileWriter::TemporarySuffix, InstalledFileWriter::BackupSuffix}) {
        // The name, a dot, six random characters, the suffix: see NameBeside.
        const qsizetype stem = name.size() - suffix.size() - 7;
        if (stem > 0 && name.endsWith(suffix) && name.at(stem) == u'.')
            return name.left(stem);
    }
    return {};
}

} // namespace

QStringList FindLeftovers(const QString &destination, const QStringList &installedFiles)
{
    QHash<QString, QSet<QString>> namesByFolder;
    QStringList folders; // in the order the files come
    for (const QString &file : installedFiles) {
        const QFileInfo info(file);
        auto names = namesByFolder.find(info.path());
        if (names == namesByFolder.end()) {
            names = namesByFolder.insert(info.path(), {});
            folders.append(info.path());
        }
        names->insert(info.fileName());
    }
    QStringList leftovers;
    for (const QString &folder : std::as_const(folders)) {
        if (!LinkOnTheWay(destination, folder).isEmpty())
            continue;
        const QSet<QString> &names = namesByFolder[folder];
        // Hidden and system entries too: a leftover may be a link or a pipe.
        const QStringList entries = QDir(folder).entryList(
                QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString &entry : entries) {
            const QString installed = installedNameOf(entry);
            if (!installed.isEmpty() && names.contains(installed))
                leftovers.append(folder + u'/' + entry);
        }
    }
    return leftovers;
}
