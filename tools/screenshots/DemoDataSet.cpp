#include "DemoDataSet.h"

#include "package/PackageWriter.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

namespace {

// Plain data the install accepts: a header record whose format number is new
// enough, then some text.
QByteArray plainData(qsizetype formatOffset)
{
    QByteArray bytes(936, '\0');
    qToLittleEndian<qint32>(600, bytes.data() + formatOffset);
    for (int i = 0; i < 200; ++i)
        bytes += "panel " + QByteArray::number(i) + ";\n";
    return bytes;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

const QString Top = QStringLiteral("Kestrel");

} // namespace

DemoDataSet::DemoDataSet(const QString &programFolder, const QString &root)
{
    m_settings.programFolder = programFolder;
    if (!claimRoot(root))
        return;
    m_settings.dataSetFolder = path(QStringLiteral("Season 2027 SS"));
    m_settings.registryFile = path(QStringLiteral("registry.reg"));
    m_settings.statusFolder = path(QStringLiteral("Status"));
    // The runs' journals and their lock stay with the data, out of the user's
    // own and the machine's folders, so that no other run waits for these.
    qputenv("QUILLON_JOURNAL_DIR", QFile::encodeName(path(QStringLiteral("AppData/Quillon"))));
    qputenv("QUILLON_LOCK_DIR", QFile::encodeName(path(QStringLiteral("AppData/Quillon"))));
    m_valid = build();
}

DemoDataSet::~DemoDataSet()
{
    qunsetenv("QUILLON_JOURNAL_DIR");
    qunsetenv("QUILLON_LOCK_DIR");
    for (const QString &entry : std::as_const(m_made))
        QDir(entry).removeRecursively();
    if (m_madeRoot)
        QDir().rmdir(m_root);
}

// Takes an empty or missing folder, or makes a temporary one.
bool DemoDataSet::claimRoot(const QString &root)
{
    if (root.isEmpty()) {
        m_temporary = std::make_unique<QTemporaryDir>(
                QDir::temp().filePath(QStringLiteral("quillon-shots-XXXXXX")));
        m_root = m_temporary->path();
        return m_temporary->isValid();
    }
    m_root = QDir(root).absolutePath();
    const QDir dir(m_root);
    if (dir.exists() && !dir.isEmpty()) {
        m_error = QStringLiteral("%1 is not empty; the demonstration data needs an empty folder")
                          .arg(QDir::toNativeSeparators(m_root));
        return false;
    }
    m_madeRoot = !dir.exists();
    if (!QDir().mkpath(m_root)) {
        m_error = QStringLiteral("Cannot create %1").arg(QDir::toNativeSeparators(m_root));
        return false;
    }
    return true;
}

QString DemoDataSet::path(const QString &relative) const
{
    return m_root + u'/' + Top + u'/' + relative;
}

bool DemoDataSet::build()
{
    m_made.append(m_root + u'/' + Top);
    const QString vestra = path(QStringLiteral("Vestra 3.1"));
    const QString older = path(QStringLiteral("Vestra 2.0"));
    // The STY folder of an earlier season is there already, so the location
    // dialog opens on it.
    for (const QString &folder :
         {vestra + "/Bin/Style", vestra + "/Bin/stiSample", vestra + "/Bin/STY_2027SS",
          older + "/Bin", m_settings.statusFolder})
        QDir().mkpath(folder);
    const QString registry
            = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrel\\Vestra\\2.0\\Directory]\r\n"
                             "\"Defaultdir\"=\"%1\"\r\n\r\n"
                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrel\\Vestra\\3.1\\Directory]\r\n"
                             "\"Defaultdir\"=\"%2\"\r\n");
    const QString ini = QStringLiteral("[DataSet]\nYear=2027\nSeason=S/S\nVolume=12\n"
                                       "[STY]\nPresent=1\nFolder=STY_2027SS\n"
                                       "[STI]\nPresent=1\nFolder=STI_2027SS\n"
                                       "[DETAIL]\nPresent=1\nFolder=DETAIL_2027SS\n");
    if (!writeFile(m_settings.registryFile, registry.arg(older, vestra).toUtf8())
        || !writeFile(m_settings.dataSetFolder + "/dataset.ini", ini.toUtf8())) {
        m_error = QStringLiteral("Cannot write the demonstration data set");
        return false;
    }
    const QString sty = m_settings.dataSetFolder + "/STY_2027SS";
    const QString sti = m_settings.dataSetFolder + "/STI_2027SS";
    const QString detail = m_settings.dataSetFolder + "/DETAIL_2027SS";
    return addUnit(sty, "Casual/Blouse", "BL27S01.sty")
           && addUnit(sty, "Casual/Pants", "PT27S01.sty")
           && addUnit(sty, "Formal/Coat", "CT27S01.sty")
           && addUnit(sty, "Formal/Skirt", "SK27S01.sty")
           && addUnit(sti, "Casual/Blouse", "BL27S01.sti")
           && addUnit(sti, "Formal/Coat", "CT27S01.sti")
           && addUnit(detail, "Collars", "CL27S01.sty")
           && addUnit(detail, "Pockets", "PK27S01.sty");
}

bool DemoDataSet::addUnit(const QString &kindFolder, const QString &unit, const QString &file)
{
    const bool sti = file.endsWith(QLatin1String(".sti"));
    // The plain file is written beside the package it becomes, then removed.
    const QString package = kindFolder + u'/' + unit + u'/' + file + u'_';
    const QString plain = package + QStringLiteral(".plain");
    PackageWriter writer;
    const bool written = writeFile(plain, plainData(sti ? 20 : 0))
                         && writer.write(plain, package, sti ? PackageKind::STI : PackageKind::STY);
    QFile::remove(plain);
    if (!written) {
        m_error = writer.errorString();
        return false;
    }
    return true;
}
