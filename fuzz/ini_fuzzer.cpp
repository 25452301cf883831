// INI text as a language file (.tdw) or a data set description (dataset.ini)
// may hold it: read in memory, then from a real file as a language file beside
// the real English.tdw, and as the data set description.
//
// Promises checked: every key listed for a section reads back; a text table
// holds only numbers below its count; a description that loads names plain
// folders only, and one that fails names its file.

#include "FuzzSupport.h"

#include "i18n/IniFile.h"
#include "i18n/Languages.h"
#include "i18n/TextTable.h"
#include "selection/DataSetDescription.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

QTemporaryDir *folder = nullptr;

// The language files' three sections first, then the description's.
const QStringList &sections()
{
    static const QStringList names{
            TextSection::Main,         TextSection::InstallForm, TextSection::DirectoryDlgForm,
            QStringLiteral("DataSet"), QStringLiteral("STY"),    QStringLiteral("STI"),
            QStringLiteral("DETAIL")};
    return names;
}

void readInMemory(const QByteArray &bytes)
{
    const IniFile ini = IniFile::fromData(bytes);
    const QString absent = QStringLiteral("\n"); // no value holds a line break
    for (const QString &section : sections()) {
        for (const QString &key : ini.keys(section))
            Fuzz::require(ini.readString(section.toUpper(), key, absent) != absent,
                          "every listed key reads back");
    }
}

void readAsLanguageFile(const QByteArray &bytes)
{
    Fuzz::writeFile(folder->filePath(QStringLiteral("Korean.tdw")), bytes);
    for (const QString &section : sections().first(3)) {
        LanguageTextTable table;
        const bool loaded = LoadTextTable(table, folder->path(), QStringLiteral("Korean"), section);
        Fuzz::require(loaded == (table.count > 0), "a table loads exactly when it has a count");
        for (auto it = table.texts.cbegin(); it != table.texts.cend(); ++it)
            Fuzz::require(it.key() >= 0 && it.key() < table.count && !it.value().isEmpty(),
                          "a table holds only texts numbered below its count");
    }
}

// What matters of a used folder name: joined to the data set folder it names
// a folder directly inside it, never the data set itself or anything outside.
bool staysInside(const QString &name)
{
    const QString base = QStringLiteral("/dataset");
    const QString joined = QDir::cleanPath(base + u'/' + name);
    return !name.contains(u'\\') && !name.contains(u':') && QFileInfo(joined).path() == base
           && joined != base;
}

void readAsDescription(const QByteArray &bytes)
{
    const QString path = folder->filePath(DataSetDescriptionFileName());
    Fuzz::writeFile(path, bytes);
    DataSetDescription description;
    QString error;
    if (!LoadDataSetDescription(folder->path(), &description, &error)) {
        Fuzz::require(error.contains(QDir::toNativeSeparators(path)), "a failure names the file");
        return;
    }
    bool anyPresent = false;
    for (size_t i = 0; i < description.present.size(); ++i) {
        anyPresent = anyPresent || description.present[i];
        if (description.present[i])
            Fuzz::require(staysInside(description.folderName[i]), "a used folder stays inside");
    }
    if (!anyPresent) // DETAIL stands in for a description that marks no kind present
        Fuzz::require(staysInside(description.folderName[2]), "a used folder stays inside");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static QTemporaryDir dir;
    Fuzz::require(dir.isValid(), "a temporary folder can be made");
    folder = &dir;
    Fuzz::require(QFile::copy(QStringLiteral(QUILLON_RESOURCES_DIR "/English.tdw"),
                              dir.filePath(QStringLiteral("English.tdw"))),
                  "the English language file can be copied");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::bytes(data, size);
    readInMemory(bytes);
    readAsLanguageFile(bytes);
    readAsDescription(bytes);
    return 0;
}
