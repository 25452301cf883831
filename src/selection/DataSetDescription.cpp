#include "DataSetDescription.h"

#include "i18n/IniFile.h"

#include <QDir>
#include <QFile>

namespace {

bool isPlainFolderName(const QString &name)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    for (QChar c : name) {
        if (forbidden.contains(c) || c.unicode() < 0x20)
            return false;
    }
    return true;
}

bool hasAnySection(const IniFile &ini)
{
    if (ini.hasSection(QStringLiteral("DataSet")))
        return true;
    for (DataKind kind : AllDataKinds) {
        if (ini.hasSection(DataKindName(kind)))
            return true;
    }
    return false;
}

// The kinds whose folder the installer will use: the present ones, or DETAIL
// alone when none is present.
QList<DataKind> usedKinds(const DataSetDescription &d)
{
    QList<DataKind> kinds;
    for (DataKind kind : AllDataKinds) {
        if (d.present[KindIndex(kind)])
            kinds.append(kind);
    }
    if (kinds.isEmpty())
        kinds.append(DataKind::DETAIL);
    return kinds;
}

// Empty when the volume is absent (it is only shown) or a whole number.
QString readVolume(const IniFile &ini, int *volume)
{
    const QString text = ini.readString(QStringLiteral("DataSet"), QStringLiteral("Volume"));
    *volume = 0;
    if (text.trimmed().isEmpty())
        return {};
    bool ok = false;
    *volume = text.trimmed().toInt(&ok);
    return ok ? QString() : QStringLiteral("Volume \"%1\" is not a whole number").arg(text);
}

QString readKinds(const IniFile &ini, DataSetDescription *d)
{
    for (DataKind kind : AllDataKinds) {
        const QString section = DataKindName(kind);
        d->present[KindIndex(kind)] = ini.readInteger(section, QStringLiteral("Present"), 0) != 0;
        d->folderName[KindIndex(kind)]
                = ini.readString(section, QStringLiteral("Folder")).trimmed();
    }
    for (DataKind kind : usedKinds(*d)) {
        const QString &name = d->folderName[KindIndex(kind)];
        if (name.isEmpty())
            return QStringLiteral("it names no folder for %1").arg(DataKindName(kind));
        if (!isPlainFolderName(name))
            return QStringLiteral("the %1 folder \"%2\" is not a plain folder name")
                    .arg(DataKindName(kind), name);
    }
    return {};
}

} // namespace

QString DataSetDescriptionFileName()
{
    return QStringLiteral("dataset.ini");
}

bool LoadDataSetDescription(const QString &dataSetFolder, DataSetDescription *out, QString *error)
{
    const QString path = dataSetFolder + u'/' + DataSetDescriptionFileName();
    const QString nativePath = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read the data set description %1: %2")
                         .arg(nativePath, file.errorString());
        return false;
    }
    QByteArray data;
    if (!IniFile::readBounded(file, path, &data, error))
        return false;
    const IniFile ini = IniFile::fromData(data);
    DataSetDescription d;
    QString reason = hasAnySection(ini) ? QString()
                                        : QStringLiteral("it holds no [DataSet] or kind section");
    if (reason.isEmpty())
        reason = readVolume(ini, &d.volume);
    if (reason.isEmpty())
        reason = readKinds(ini, &d);
    if (!reason.isEmpty()) {
        *error = QStringLiteral("The data set description %1 is damaged: %2")
                         .arg(nativePath, reason);
        return false;
    }
    d.year = ini.readString(QStringLiteral("DataSet"), QStringLiteral("Year"));
    d.season = ini.readString(QStringLiteral("DataSet"), QStringLiteral("Season"));
    *out = d;
    return true;
}
