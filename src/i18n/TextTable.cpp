#include "TextTable.h"

#include "IniFile.h"

namespace {

// The text number a key stands for, or -1. Keys are the numbers written in
// decimal without leading zeros, so "07" names no text.
int textNumber(const QString &key, int count)
{
    bool ok = false;
    const int n = key.toInt(&ok, 10);
    if (!ok || n < 0 || n >= count || QString::number(n) != key)
        return -1;
    return n;
}

// Adds the non-empty texts of a section that the table does not hold yet.
void addTexts(LanguageTextTable &table, const IniFile &ini, const QString &section)
{
    for (const QString &key : ini.keys(section)) {
        const int n = textNumber(key, table.count);
        if (n < 0 || table.texts.contains(n))
            continue;
        QString text = ini.readString(section, key);
        if (text.isEmpty())
            continue;
        text.replace(QLatin1String("\\n"), QLatin1String("\r\n"));
        table.texts.insert(n, text);
    }
}

} // namespace

bool LoadTextTable(LanguageTextTable &table, const QString &folder, const QString &language,
                   const QString &section)
{
    table.error.clear();
    const IniFile languageFile
            = IniFile::load(folder + u'/' + language + QLatin1String(".tdw"), &table.error);
    const int count = languageFile.readInteger(section, QStringLiteral("Length"), 0);
    if (count <= 0) {
        table.count = 0;
        return false;
    }
    table.count = count;
    table.texts.clear();
    addTexts(table, languageFile, section);
    if (language != QLatin1String("English")) // the language file is its own fallback
        addTexts(table, IniFile::load(folder + QLatin1String("/English.tdw"), &table.error),
                 section);
    return true;
}

QString GetText(const LanguageTextTable &table, int number)
{
    if (number < 0 || number >= table.count)
        return {};
    return table.texts.value(number);
}
