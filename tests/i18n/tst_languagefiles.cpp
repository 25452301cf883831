#include "i18n/IniFile.h"
#include "i18n/Languages.h"
#include "i18n/TextTable.h"

#include <QtTest>

namespace {

struct SectionUse
{
    QString name;
    int length;
    QList<int> used; // every number that some window or message uses
};

QList<int> range(int from, int to)
{
    QList<int> numbers;
    for (int n = from; n <= to; ++n)
        numbers.append(n);
    return numbers;
}

const QList<SectionUse> &sections()
{
    static const QList<SectionUse> list{
            {"Main", 14, {0, 1, 2, 3, 4, 6, 8, 9, 10, 11, 12, 13}},
            {"InstallForm", 100,
             QList<int>{0, 1, 3, 6, 7, 8, 9, 10, 11, 15, 16, 17, 18, 19} + range(22, 33)
                     + range(36, 52) + range(54, 99)},
            {"DirectoryDlgForm", 28, QList<int>{0, 1, 2, 3, 4, 5, 11, 12, 15, 16} + range(18, 27)},
    };
    return list;
}

} // namespace

// The seven language files that ship beside the program.
class tst_LanguageFiles : public QObject
{
    Q_OBJECT
private slots:
    void everyUsedTextIsPresent_data();
    void everyUsedTextIsPresent();
    void tablesLoadWithTheirLength_data();
    void tablesLoadWithTheirLength();
};

void tst_LanguageFiles::everyUsedTextIsPresent_data()
{
    QTest::addColumn<QString>("language");
    for (const QString &language : LanguageNames())
        QTest::newRow(qPrintable(language)) << language;
}

void tst_LanguageFiles::everyUsedTextIsPresent()
{
    QFETCH(QString, language);
    const IniFile file
            = IniFile::load(QStringLiteral(QUILLON_RESOURCES_DIR "/") + language + ".tdw");
    const IniFile english = IniFile::load(QStringLiteral(QUILLON_RESOURCES_DIR "/English.tdw"));
    QVERIFY2(!file.isEmpty(), qPrintable(language));
    for (const SectionUse &section : sections()) {
        QCOMPARE(file.readInteger(section.name, "Length", 0), section.length);
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
        QCOMPARE(table.count, section.length);
        for (int n : section.used)
            QVERIFY(!GetText(table, n).isEmpty());
    }
}

QTEST_GUILESS_MAIN(tst_LanguageFiles)
#include "tst_languagefiles.moc"
