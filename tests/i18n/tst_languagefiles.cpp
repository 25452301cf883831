#include "i18n/IniFile.h"
#include "i18n/Languages.h"
#include "i18n/LocalTexts.h"
#include "i18n/TextNumbers.h"
#include "i18n/TextTable.h"

#include <QRegularExpression>
#include <QtTest>

namespace {

struct SectionUse
{
    QString name;
    QList<int> used; // every number that TextNumbers.h names for the section
};

// The windows fetch their texts only by the names in TextNumbers.h, so the
// numbers it names are the numbers in use; read from the header itself, a
// new number is checked without anyone listing it here.
QList<SectionUse> readSections()
{
    QFile header(QStringLiteral(QUILLON_SOURCE_DIR "/src/i18n/TextNumbers.h"));
    if (!header.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(header.readAll());
    const QList<std::pair<QString, QString>> sections{{"MainText", "Main"},
                                                      {"InstallText", "InstallForm"},
                                                      {"DirectoryText", "DirectoryDlgForm"}};
    QList<SectionUse> result;
    static const QRegularExpression entry(QStringLiteral("^\\s*\\w+ = (\\d+),"),
                                          QRegularExpression::MultilineOption);
    for (const auto &[space, section] : sections) {
        const qsizetype begin = text.indexOf("namespace " + space + " {");
        const qsizetype end = text.indexOf("} // namespace " + space, begin);
        SectionUse use{section, {}};
        auto it = entry.globalMatch(text.mid(begin, end - begin));
        while (it.hasNext())
            use.used.append(it.next().captured(1).toInt());
        result.append(use);
    }
    return result;
}

const QList<SectionUse> &sections()
{
    static const QList<SectionUse> list = readSections();
    return list;
}

IniFile languageFile(const QString &language)
{
    return IniFile::load(QStringLiteral(QUILLON_RESOURCES_DIR "/") + language + ".tdw");
}

} // namespace

// The seven language files that ship beside the program.
class tst_LanguageFiles : public QObject
{
    Q_OBJECT
private slots:
    void numbersAreRead();
    void everyUsedTextIsPresent_data();
    void everyUsedTextIsPresent();
    void tablesLoadWithTheirLength_data();
    void tablesLoadWithTheirLength();
    void englishCaptionsAreTheEngines();
    void overwriteButtonsStayFour_data();
    void overwriteButtonsStayFour();
    void englishCountsReadForOne();
};

void tst_LanguageFiles::numbersAreRead()
{
    QCOMPARE(sections().size(), 3);
    QVERIFY(sections().at(0).used.contains(MainText::ThaiEntry));
    QVERIFY(sections().at(1).used.contains(InstallText::OverwriteButtons));
    QVERIFY(sections().at(2).used.contains(DirectoryText::WindowTitle));
}

void tst_LanguageFiles::everyUsedTextIsPresent_data()
{
    QTest::addColumn<QString>("language");
    for (const QString &language : LanguageNames())
        QTest::newRow(qPrintable(language)) << language;
}

// Every number a window uses has a text in every file, the file's Length
// covers exactly the numbers in use, and no file holds a number nobody uses.
void tst_LanguageFiles::everyUsedTextIsPresent()
{
    QFETCH(QString, language);
    const IniFile file = languageFile(language);
    const IniFile english = languageFile("English");
    QVERIFY2(!file.isEmpty(), qPrintable(language));
    for (const SectionUse &section : sections()) {
        const int length = *std::max_element(section.used.cbegin(), section.used.cend()) + 1;
        QCOMPARE(file.readInteger(section.name, "Length", 0), length);
        int translated = 0;
        for (int n : section.used) {
            const QString text = file.readString(section.name, QString::number(n));
            QVERIFY2(!text.isEmpty(), qPrintable(QStringLiteral("%1 [%2] %3 is empty")
                                                         .arg(language, section.name)
                                                         .arg(n)));
            if (text != english.readString(section.name, QString::number(n)))
                ++translated;
        }
        for (const QString &key : file.keys(section.name)) {
            const int n = key.toInt();
            QVERIFY2(key == "Length" || section.used.contains(n),
                     qPrintable(QStringLiteral("%1 [%2] %3 is not used")
                                        .arg(language, section.name, key)));
        }
        if (language != "English") // a few words such as "OK" may stay as they are
            QVERIFY2(translated * 10 >= section.used.size() * 8,
                     qPrintable(language + " [" + section.name + "] is mostly untranslated"));
    }
}

void tst_LanguageFiles::tablesLoadWithTheirLength_data()
{
    everyUsedTextIsPresent_data();
}

void tst_LanguageFiles::tablesLoadWithTheirLength()
{
    QFETCH(QString, language);
    for (const SectionUse &section : sections()) {
        LanguageTextTable table;
        QVERIFY(LoadTextTable(table, QUILLON_RESOURCES_DIR, language, section.name));
        for (int n : section.used)
            QVERIFY(!GetText(table, n).isEmpty());
    }
}

// The engine passes English captions; English shows them unchanged, so the
// English file holds exactly the engine's words.
void tst_LanguageFiles::englishCaptionsAreTheEngines()
{
    LanguageTextTable english;
    QVERIFY(LoadTextTable(english, QUILLON_RESOURCES_DIR, "English", "InstallForm"));
    for (const auto &[caption, number] : InstallCaptions())
        QCOMPARE(GetText(english, number), caption);
    QCOMPARE(GetText(english, InstallText::OverwriteButtons), QString("&Yes|&All|&No|Cancel"));
}

void tst_LanguageFiles::overwriteButtonsStayFour_data()
{
    everyUsedTextIsPresent_data();
}

// The answer to the overwrite question is read from the button's place.
void tst_LanguageFiles::overwriteButtonsStayFour()
{
    QFETCH(QString, language);
    const QString buttons = languageFile(language).readString(
            "InstallForm", QString::number(InstallText::OverwriteButtons));
    const QStringList pieces = buttons.split(u'|');
    QCOMPARE(pieces.size(), 4);
    QVERIFY(!pieces.contains(QString()));
}

// A count is filled in whatever it is, so an English text never puts it
// before a plural noun ("1 folders"); "%1 of %2 files" counts at least two.
void tst_LanguageFiles::englishCountsReadForOne()
{
    const IniFile english = languageFile("English");
    static const QRegularExpression plural(QStringLiteral("(?<!of )%\\d+ \\w+s\\b"));
    for (const SectionUse &section : sections()) {
        for (int n : section.used) {
            const QString text = english.readString(section.name, QString::number(n));
            QVERIFY2(!plural.match(text).hasMatch(), qPrintable(QString::number(n) + ": " + text));
        }
    }
}

QTEST_GUILESS_MAIN(tst_LanguageFiles)
#include "tst_languagefiles.moc"
