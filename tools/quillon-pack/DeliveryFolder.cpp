#include "DeliveryFolder.h"

#include "i18n/Languages.h"
#include "package/PackageKind.h"
#include "package/PackageReader.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace DeliveryFolder {

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString sizeText(qint64 bytes)
{
    return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

// Reads all the data of one package; empty when it reads back whole.
QString readBack(const QString &path)
{
    constexpr qint64 ChunkSize = 256 * 1024;
    QFile file(path);
    const auto kind = PackageKindForPath(path);
    if (!kind || !file.open(QIODevice::ReadOnly))
        return u"Cannot read back \"%1\": %2"_s.arg(native(path), file.errorString());
    PackageReader reader;
    if (!reader.open(file, *kind))
        return u"The package \"%1\" does not read back: %2"_s.arg(native(path),
                                                                  reader.errorString());
    if (!reader.isPackage())
        return u"The package \"%1\" does not read back: it has no package header"_s.arg(
                native(path));
    // The reader checks every count: a stream that ends early or goes on fails.
    const auto chunk = std::make_unique<char[]>(ChunkSize);
    qint64 total = 0;
    qint64 got = 0;
    while ((got = reader.read(chunk.get(), ChunkSize)) > 0)
        total += got;
    if (got == 0 && total == reader.info().payloadSize)
        return {};
    return u"The package \"%1\" does not read back: %2"_s.arg(native(path), reader.errorString());
}

} // namespace

QStringList InstallerFiles()
{
    QStringList files{u"quillon.exe"_s, u"quillon.com"_s};
    for (const QString &language : LanguageNames())
        files << language + u".tdw"_s;
    return files << u"readme_e.bmp"_s << u"readme_k.bmp"_s;
}

QStringList MissingInstallerFiles(const QString &installerDir)
{
    QStringList missing;
    for (const QString &name : InstallerFiles()) {
        if (!QFileInfo(QDir(installerDir).filePath(name)).isFile())
            missing << name;
    }
    return missing;
}

QStringList CopyInstaller(const QString &installerDir, const QString &outputDir)
{
    QStringList errors;
    for (const QString &name : InstallerFiles()) {
        const QString target = QDir(outputDir).filePath(name);
        // Under a temporary name first: a copy cut short never stands as the program.
        const QString part = target + u".part"_s;
        QFile::remove(part);
        QFile source(QDir(installerDir).filePath(name));
        if (!source.copy(part)) {
            errors << u"Cannot copy \"%1\" to \"%2\": %3"_s.arg(
                    native(source.fileName()), native(target), source.errorString());
            continue;
        }
        QFile copy(part);
        if ((QFile::exists(target) && !QFile::remove(target)) || !copy.rename(target)) {
            errors << u"Cannot replace \"%1\": %2"_s.arg(native(target), copy.errorString());
            QFile::remove(part);
        }
    }
    return errors;
}

QStringList ReadBack(const QStringList &packages)
{
    QStringList errors;
    for (const QString &path : packages) {
        const QString error = readBack(path);
        if (!error.isEmpty())
            errors << error;
    }
    return errors;
}

QStringList Contents(const QString &folder)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(
            QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
            QDir::DirsFirst | QDir::Name);
    qsizetype width = 0;
    for (const QFileInfo &entry : entries)
        width = std::max(width, entry.fileName().size() + 1);
    QStringList lines{u"\"%1\" holds:"_s.arg(native(folder))};
    qint64 totalBytes = 0;
    int totalFiles = 0;
    for (const QFileInfo &entry : entries) {
        qint64 bytes = entry.isDir() ? 0 : entry.size();
        int files = entry.isDir() ? 0 : 1;
        if (entry.isDir()) {
            QDirIterator it(entry.filePath(), QDir::Files | QDir::Hidden,
                            QDirIterator::Subdirectories);
            for (; it.hasNext(); ++files)
                bytes += it.nextFileInfo().size();
        }
        totalBytes += bytes;
        totalFiles += files;
        const QString name = entry.fileName() + (entry.isDir() ? QDir::separator() : u' ');
        lines << u"  %1  %2"_s.arg(name.leftJustified(width),
                                   entry.isDir() ? u"%1 files, %2"_s.arg(files).arg(sizeText(bytes))
                                                 : sizeText(bytes));
    }
    lines << u"Total: %1 files, %2"_s.arg(totalFiles).arg(sizeText(totalBytes));
    return lines;
}

} // namespace DeliveryFolder
