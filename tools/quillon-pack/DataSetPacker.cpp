#include "DataSetPacker.h"

#include "DeliveryFolder.h"

#include "package/FileFailure.h"
#include "package/PackageKind.h"
#include "package/PackageWriter.h"
#include "platform/AccessRights.h"
#include "platform/WindowsNames.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QSaveFile>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// True when path is folder or lies below it. The output folder may not exist
// yet, so its nearest existing ancestors are compared with the folder, which
// also sees through links and, where file names ignore case, through case.
bool isInside(const QString &path, const QString &folder)
{
    const QFileInfo folderInfo(folder);
    for (QString current = QDir::cleanPath(QFileInfo(path).absoluteFilePath());;) {
        if (QFileInfo(current) == folderInfo)
            return true;
        const QString parent = QFileInfo(current).path();
        if (parent == current)
            return false;
        current = parent;
    }
}

} // namespace

DataSetPacker::DataSetPacker(Options options) : m_options(std::move(options)) {}

QString DataSetPacker::kindSourceDir(DataKind kind) const
{
    return m_options.sourceDir + u'/' + m_options.folders[KindIndex(kind)];
}

QString DataSetPacker::kindOutputDir(DataKind kind) const
{
    return m_options.outputDir + u'/' + m_options.folders[KindIndex(kind)];
}

bool DataSetPacker::run()
{
    if (!checkFolders())
        return false;
    for (DataKind kind : AllDataKinds)
        findKind(kind);
    if (std::none_of(m_present.begin(), m_present.end(), [](bool present) { return present; }))
        m_errors << u"No kind folder (%1, %2, %3) in \"%4\""_s.arg(
                m_options.folders[0], m_options.folders[1], m_options.folders[2],
                native(m_options.sourceDir));
    // Names are judged before anything is written, so that a refused data
    // set leaves nothing behind.
    checkWindowsNames();
    if (!m_errors.isEmpty())
        return false;
    if (!QDir().mkpath(m_options.outputDir)) {
        m_errors << u"Cannot create \"%1\""_s.arg(native(m_options.outputDir));
        return false;
    }
    for (DataKind kind : AllDataKinds)
        packKind(kind);
    if (m_errors.isEmpty() && !m_options.installerDir.isEmpty())
        makeDelivery();
    return m_errors.isEmpty() && writeDescription();
}

void DataSetPacker::makeDelivery()
{
    m_errors << DeliveryFolder::ReadBack(m_written);
    // A delivery made in the installer's own folder has its programs already.
    if (m_errors.isEmpty() && QFileInfo(m_options.installerDir) != QFileInfo(m_options.outputDir))
        m_errors << DeliveryFolder::CopyInstaller(m_options.installerDir, m_options.outputDir);
}

bool DataSetPacker::checkFolders()
{
    if (!QFileInfo(m_options.sourceDir).isDir())
        m_errors << u"Cannot read \"%1\": no such folder"_s.arg(native(m_options.sourceDir));
    else if (isInside(m_options.outputDir, m_options.sourceDir))
        m_errors << u"Refusing to write into \"%1\": the output folder lies inside the source "
                    "folder \"%2\""_s.arg(native(m_options.outputDir), native(m_options.sourceDir));
    if (!m_options.installerDir.isEmpty()) {
        for (const QString &name : DeliveryFolder::MissingInstallerFiles(m_options.installerDir))
            m_errors << u"The installer folder \"%1\" has no %2: --installer names the folder "
                        "of the Windows programs"_s.arg(native(m_options.installerDir), name);
    }
    return m_errors.isEmpty();
}

void DataSetPacker::findKind(DataKind kind)
{
    const QString source = kindSourceDir(kind);
    if (!QFileInfo(source).isDir()) {
        // A data set may hold only some kinds; a folder asked for by name must be there.
        if (m_options.named[KindIndex(kind)])
            m_errors << u"Cannot read \"%1\": no such folder"_s.arg(native(source));
        return;
    }
    m_present[KindIndex(kind)] = true;
    m_files[KindIndex(kind)] = dataFiles(source, &m_entries[KindIndex(kind)]);
}

// The data set is installed on Windows wherever it was made: every name in
// it must be one that can exist there, and none may stand for another.
void DataSetPacker::checkWindowsNames()
{
    QStringList kindFolders;
    for (DataKind kind : AllDataKinds)
        kindFolders << m_options.folders[KindIndex(kind)];
    for (const WindowsNameProblem &problem : WindowsNameProblems(kindFolders))
        m_errors << u"Refusing the %1 folder name \"%2\": %3"_s.arg(
                DataKindName(AllDataKinds[problem.index]), kindFolders.at(problem.index),
                WindowsNameRuleText(problem.rule, problem.other));
    for (DataKind kind : AllDataKinds) {
        const QString source = kindSourceDir(kind);
        // The names below each folder: every folder (on Windows what lies in
        // "lpt1" or "Coats." cannot even be listed) and every data file.
        QMap<QString, QStringList> children;
        for (const QString &path : std::as_const(m_entries[KindIndex(kind)])) {
            for (QString below = path; below.size() > source.size();) {
                const QString parent = QFileInfo(below).path();
                QStringList &names = children[parent];
                const QString name = QFileInfo(below).fileName();
                if (names.contains(name))
                    break; // the folders above were seen with it
                names << name;
                below = parent;
            }
        }
        for (auto it = children.cbegin(); it != children.cend(); ++it) {
            for (const WindowsNameProblem &problem : WindowsNameProblems(it.value()))
                m_errors << u"Refusing \"%1\": %2"_s.arg(
                        native(it.key() + u'/' + it.value().at(problem.index)),
                        WindowsNameRuleText(problem.rule, problem.other));
        }
    }
}

void DataSetPacker::packKind(DataKind kind)
{
    if (!m_present[KindIndex(kind)])
        return;
    const QDir source(kindSourceDir(kind));
    if (!QDir().mkpath(kindOutputDir(kind))) {
        m_errors << u"Cannot create \"%1\""_s.arg(native(kindOutputDir(kind)));
        return;
    }
    PackageWriter writer;
    int packed = 0;
    int compressed = 0;
    for (const QString &path : std::as_const(m_files[KindIndex(kind)])) {
        const QString target = kindOutputDir(kind) + u'/' + source.relativeFilePath(path) + u'_';
        if (!QDir().mkpath(QFileInfo(target).path())) {
            m_errors << u"Cannot create \"%1\""_s.arg(native(QFileInfo(target).path()));
            continue;
        }
        if (!writer.write(path, target, *PackageKindForDataPath(path))) {
            m_errors << writer.errorString();
            continue;
        }
        ++packed;
        compressed += writer.isCompressed() ? 1 : 0;
        m_written << target;
    }
    m_summary << u"%1: %2 files packed (%3 compressed) into \"%4\""_s.arg(DataKindName(kind))
                         .arg(packed)
                         .arg(compressed)
                         .arg(native(kindOutputDir(kind)));
}

// Hidden files and folders are left out, as the installer's scan leaves them.
// A folder that cannot be listed is an error: its files would be missing from
// the data set without a word.
QStringList DataSetPacker::dataFiles(const QString &folder, QStringList *entries)
{
    QStringList files;
    if (!MayList(folder))
        m_errors << u"Cannot read the folder \"%1\""_s.arg(native(folder));
    // Windows cannot look at an entry whose name breaks its rules ("lpt1",
    // "Coats."): Qt lists it only among the system entries, and it is
    // judged by its name alone.
    const QDir::Filters system = SystemKeepsWindowsNames() ? QDir::System : QDir::Filters();
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | system,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileName().startsWith(u'.'))
            continue;
        if (!it.fileInfo().isDir() && !it.fileInfo().isFile()) {
            if (WindowsNameRuleOf(it.fileName()) != WindowsNameRule::Allowed)
                *entries << path;
        } else if (it.fileInfo().isDir()) {
            if (!MayList(path))
                m_errors << u"Cannot read the folder \"%1\""_s.arg(native(path));
            *entries << path;
        } else if (PackageKindForDataPath(path)) {
            files << path;
            *entries << path;
        }
    }
    files.sort();
    entries->sort();
    return files;
}

bool DataSetPacker::writeDescription()
{
    QString text = u"[DataSet]\r\nYear=%1\r\nSeason=%2\r\nVolume=%3\r\n"_s.arg(
            m_options.year, m_options.season, QString::number(m_options.volume));
    for (DataKind kind : AllDataKinds)
        text += u"[%1]\r\nPresent=%2\r\nFolder=%3\r\n"_s.arg(
                DataKindName(kind), m_present[KindIndex(kind)] ? u"1"_s : u"0"_s,
                m_options.folders[KindIndex(kind)]);

    const QString path = m_options.outputDir + u"/dataset.ini"_s;
    // Unbuffered, so that a full disk fails the write rather than an unchecked flush.
    QSaveFile file(path);
    const QByteArray bytes = text.toUtf8();
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        && WriteWhole(file, bytes.constData(), bytes.size()) && file.commit())
        return true;
    m_errors << u"Cannot write \"%1\": %2"_s.arg(native(path), file.errorString());
    return false;
}
