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

} // namespace

DemoDataSet::DemoDataSet(const QString &programFolder)
    : m_dir(QDir::temp().filePath(QStringLiteral("quillon-demo")))
{
    m_dir.removeRecursively();
    m_settings.programFolder = programFolder;
    m_settings.dataSetFolder = m_dir.filePath(QStringLiteral("dataset"));
    m_settings.registryFile = m_dir.filePath(QStringLiteral("registry.reg"));
    m_settings.statusFolder = m_dir.filePath(QStringLiteral("status"));
    m_valid = QDir().mkpath(m_dir.path()) && build();
}

DemoDataSet::~DemoDataSet()
{
    m_dir.removeRecursively();
}

bool DemoDataSet::build()
{
    const QString vestra = m_dir.filePath(QStringLiteral("Vestra 3.1"));
    const QString older = m_dir.filePath(QStringLiteral("Vestra 2.0"));
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
    return addUnit(sty, "Casual/Blouse", "b01.sty") && addUnit(sty, "Casual/Pants", "p01.sty")
           && addUnit(sty, "Formal/Coat", "c01.sty") && addUnit(sty, "Formal/Skirt", "s01.sty")
           && addUnit(sti, "Sample/Front", "f01.sti") && addUnit(sti, "Sample/Back", "k01.sti")
           && addUnit(detail, "Collar", "d01.sty") && addUnit(detail, "Pocket", "d02.sty");
}

bool DemoDataSet::addUnit(const QString &kindFolder, const QString &unit, const QString &file)
{
    const bool sti = file.endsWith(QLatin1String(".sti"));
    const QString plain = m_dir.filePath(QStringLiteral("plain/") + file);
    const QString package = kindFolder + u'/' + unit + u'/' + file + u'_';
    QDir().mkpath(QFileInfo(package).absolutePath());
    PackageWriter writer;
    if (!writeFile(plain, plainData(sti ? 20 : 0))
        || !writer.write(plain, package, sti ? PackageKind::STI : PackageKind::STY)) {
        m_error = writer.errorString();
        return false;
    }
    return true;
}
