#include "DataSetDescription.h"

#include "i18n/IniFile.h"
#include "i18n/LocalTexts.h"
#include "i18n/TextNumbers.h"
#include "i18n/TextTable.h"
#include "platform/WindowsNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

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
    // On Windows "AUX" or "STY." would name a device or another folder.
    return !SystemKeepsWindowsNames() || WindowsNameRuleOf(name) == WindowsNameRule::Allowed;
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

using Cause = DataSetProblem::Cause;

// Empty when the volume is absent (it is only shown) or a whole number.
QString readVolume(const IniFile &ini, int *volume, DataSetProblem *problem)
{
    const QString text = ini.readString(QStringLiteral("DataSet"), QStringLiteral("Volume"));
    *volume = 0;
    if (text.trimmed().isEmpty())
        return {};
    bool ok = false;
    *volume = text.trimmed().toInt(&ok);
    if (ok)
        return {};
    *problem = {Cause::BadVolume, {}, text};
    return QStringLiteral("Volume \"%1\" is not a whole number").arg(text);
}

QString readKinds(const IniFile &ini, DataSetDescription *d, DataSetProblem *problem)
{
    for (DataKind kind : AllDataKinds) {
        const QString section = DataKindName(kind);
        d->present[KindIndex(kind)] = ini.readInteger(section, QStringLiteral("Present"), 0) != 0;
        d->folderName[KindIndex(kind)]
                = ini.readString(section, QStringLiteral("Folder")).trimmed();
    }
    for (DataKind kind : usedKinds(*d)) {
        const QString &name = d->folderName[KindIndex(kind)];
        if (name.isEmpty()) {
            *problem = {Cause::NoFolder, {}, DataKindName(kind)};
            return QStringLiteral("it names no folder for %1").arg(DataKindName(kind));
        }
        if (!isPlainFolderName(name)) {
            *problem = {Cause::BadFolderName, {}, name};
            return QStringLiteral("the %1 folder \"%2\" is not a plain folder name")
                    .arg(DataKindName(kind), name);
        }
    }
    return {};
}

} // namespace

QString DataSetDescriptionFileName()
{
    return QStringLiteral("dataset.ini");
}

bool LoadDataSetDescription(const QString &dataSetFolder, DataSetDescription *out, QString *error,
                            DataSetProblem *problem)
{
    const QString path = dataSetFolder + u'/' + DataSetDescriptionFileName();
    const QString nativePath = QDir::toNativeSeparators(path);
    DataSetProblem found;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read the data set description %1: %2")
                         .arg(nativePath, file.errorString());
        found = {QFileInfo::exists(path) ? Cause::Unreadable : Cause::Missing, nativePath,
                 file.errorString()};
        if (problem)
            *problem = found;
        return false;
    }
    QByteArray data;
    if (!IniFile::readBounded(file, path, &data, error))
        return false;
    const IniFile ini = IniFile::fromData(data);
    DataSetDescription d;
    QString reason;
    if (!hasAnySection(ini)) {
        reason = QStringLiteral("it holds no [DataSet] or kind section");
        found.cause = Cause::NoSection;
    }
    if (reason.isEmpty())
        reason = readVolume(ini, &d.volume, &found);
    if (reason.isEmpty())
        reason = readKinds(ini, &d, &found);
    if (!reason.isEmpty()) {
        *error = QStringLiteral("The data set description %1 is damaged: %2")
                         .arg(nativePath, reason);
        found.path = nativePath;
        if (problem)
            *problem = found;
        return false;
    }
    d.year = ini.readString(QStringLiteral("DataSet"), QStringLiteral("Year"));
    d.season = ini.readString(QStringLiteral("DataSet"), QStringLiteral("Season"));
    *out = d;
    return true;
}

QString DataSetProblemMessage(const DataSetProblem &problem, const LanguageTextTable &texts)
{
    struct Words
    {
        int number;
        const char *english;
    };
    static const QHash<Cause, Words> causes{
            {Cause::Missing, {InstallText::DataSetMissing, "The file does not exist."}},
            {Cause::Unreadable, {InstallText::DataSetNotReadable, "The file cannot be read."}},
            {Cause::NoSection,
             {InstallText::DataSetNoSection,
              "It holds neither a [DataSet] section nor a section of a kind of data."}},
            {Cause::BadVolume,
             {InstallText::DataSetBadVolume, "Its volume is not a whole number: "}},
            {Cause::NoFolder,
             {InstallText::DataSetNoFolder, "It names no folder for this kind of data: "}},
            {Cause::BadFolderName,
             {InstallText::DataSetBadFolder, "This folder name is not a single plain name: "}},
    };
    QString message = GetText(texts, InstallText::DataSetUnreadable) + problem.path;
    const auto words = causes.constFind(problem.cause);
    if (words == causes.cend())
        return message;
    message += u'\n' + TextOr(texts, words->number, QString::fromLatin1(words->english));
    const bool systemWords = problem.cause == Cause::Missing || problem.cause == Cause::Unreadable;
    if (systemWords)
        message += u'\n'
                   + TextOr(texts, InstallText::SystemMessage, QStringLiteral("System message: "));
    return message + problem.detail;
}
