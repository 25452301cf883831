#include "i18n/IniFile.h"
#include "i18n/TextTable.h"

#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

class tst_TextTable : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void missingLanguageFileGivesEmptyTable();
    void lengthOnlyInEnglishGivesEmptyTable();
    void fallbackTextByText_data();
    void fallbackTextByText();
    void lineBreaks_data();
    void lineBreaks();
    void numberAtCountIsEmpty();
    void secondLoadReplaces();
    void secondLoadWithoutLengthEmpties();
    void hugeLengthCostsOnlyThePresentTexts();
    void utf16File();
    void tooLargeFileIsNotRead_data();
    void tooLargeFileIsNotRead();

private:
    void writeLanguage(const QString &language, const QByteArray &bytes);
    QTemporaryDir m_dir;
    QString m_folder;
};

void tst_TextTable::init()
{
    QVERIFY(m_dir.isValid());
    m_folder = m_dir.path();
    QDir(m_folder).removeRecursively();
    QDir().mkpath(m_folder);
    writeLanguage("English", "[Main]\nLength=14\n0=&Program\n7=English seven\n8=English eight\n"
                             "1999999999=far away\n");
}

void tst_TextTable::writeLanguage(const QString &language, const QByteArray &bytes)
{
    QVERIFY(TestFiles::write(m_folder + '/' + language + ".tdw", bytes));
}

void tst_TextTable::missingLanguageFileGivesEmptyTable()
{
    // GIVEN no Thai.tdw beside the program, but English.tdw with the section
    LanguageTextTable table;
    QVERIFY(!LoadTextTable(table, m_folder, "Thai", "Main"));
    // THEN the captions are empty, not English
    QCOMPARE(table.count, 0);
    QCOMPARE(GetText(table, 0), QString());
}

void tst_TextTable::lengthOnlyInEnglishGivesEmptyTable()
{
    writeLanguage("Korean", "[Main]\n0=프로그램\n");
    LanguageTextTable table;
    QVERIFY(!LoadTextTable(table, m_folder, "Korean", "Main"));
    QCOMPARE(table.count, 0);
    QCOMPARE(GetText(table, 0), QString());
}

void tst_TextTable::fallbackTextByText_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("expected");
    QTest::newRow("own text") << 0 << "프로그램";
    QTest::newRow("missing key from English") << 7 << "English seven";
    QTest::newRow("empty value from English") << 8 << "English eight";
    QTest::newRow("missing in both") << 9 << "";
    QTest::newRow("leading zero names no text") << 3 << "";
    QTest::newRow("beyond Length") << 14 << "";
}

void tst_TextTable::fallbackTextByText()
{
    QFETCH(int, number);
    QFETCH(QString, expected);
    writeLanguage("Korean", "[MAIN]\nlength=14\n0=프로그램\n8=\n03=three\n14=beyond\n");
    LanguageTextTable table;
    QVERIFY(LoadTextTable(table, m_folder, "Korean", "Main"));
    QCOMPARE(table.count, 14);
    QCOMPARE(GetText(table, number), expected);
}

void tst_TextTable::lineBreaks_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one") << QByteArray("two\\nwords") << "two\r\nwords";
    QTest::newRow("two in a row") << QByteArray("a\\n\\nb") << "a\r\n\r\nb";
    QTest::newRow("at the end") << QByteArray("a\\n") << "a\r\n";
    QTest::newRow("backslash before") << QByteArray("a\\\\nb") << "a\\\r\nb";
    QTest::newRow("other escapes kept") << QByteArray("C:\\temp") << "C:\\temp";
}

void tst_TextTable::lineBreaks()
{
    QFETCH(QByteArray, value);
    QFETCH(QString, expected);
    writeLanguage("English", "[Main]\nLength=1\n0=" + value + "\n");
    LanguageTextTable table;
    QVERIFY(LoadTextTable(table, m_folder, "English", "Main"));
    QCOMPARE(GetText(table, 0), expected);
}

void tst_TextTable::numberAtCountIsEmpty()
{
    writeLanguage("Thai", "[Main]\nLength=2\n0=a\n1=b\n2=c\n");
    LanguageTextTable table;
    QVERIFY(LoadTextTable(table, m_folder, "Thai", "Main"));
    QCOMPARE(GetText(table, 1), QStringLiteral("b"));
    QCOMPARE(GetText(table, 2), QString());
    QCOMPARE(GetText(table, -1), QString());
}

void tst_TextTable::secondLoadReplaces()
{
    writeLanguage("Korean", "[Main]\nLength=14\n0=프로그램\n1=닫기\n");
    writeLanguage("Chinese", "[Main]\nLength=14\n0=程序\n");
    LanguageTextTable table;
    QVERIFY(LoadTextTable(table, m_folder, "Korean", "Main"));
    QVERIFY(LoadTextTable(table, m_folder, "Chinese", "Main"));
    QCOMPARE(GetText(table, 0), QStringLiteral("程序"));
    QCOMPARE(GetText(table, 1), QString()); // nothing of the Korean table is left
    QCOMPARE(GetText(table, 7), QStringLiteral("English seven"));
}

void tst_TextTable::secondLoadWithoutLengthEmpties()
{
    writeLanguage("Korean", "[Main]\nLength=14\n0=프로그램\n");
    LanguageTextTable table;
    QVERIFY(LoadTextTable(table, m_folder, "Korean", "Main"));
    QVERIFY(!LoadTextTable(table, m_folder, "Korean", "InstallForm"));
    QCOMPARE(table.count, 0);
    QCOMPARE(GetText(table, 0), QString());
}

void tst_TextTable::hugeLengthCostsOnlyThePresentTexts()
{
    // GIVEN a damaged file whose Length claims two billion texts
    writeLanguage("Japanese", "[Main]\nLength=2000000000\n0=プログラム\n");
    LanguageTextTable table;
    // WHEN it is loaded (a table sized by Length would take gigabytes here)
    QVERIFY(LoadTextTable(table, m_folder, "Japanese", "Main"));
    // THEN only the texts present are held, and fetches still fall back
    QCOMPARE(table.count, 2000000000);
    QCOMPARE(table.texts.size(), 4);
    QCOMPARE(GetText(table, 0), QStringLiteral("プログラム"));
    QCOMPARE(GetText(table, 7), QStringLiteral("English seven"));
    QCOMPARE(GetText(table, 1999999999), QStringLiteral("far away"));
    QCOMPARE(GetText(table, 1999999998), QString());
}

void tst_TextTable::utf16File()
{
    writeLanguage("Taiwanese",
                  TestFiles::utf16le("[Main]\r\nLength=3\r\n0=程式\r\n2=下一步\\n\r\n"));
    LanguageTextTable table;
    QVERIFY(LoadTextTable(table, m_folder, "Taiwanese", "Main"));
    QCOMPARE(GetText(table, 0), QStringLiteral("程式"));
    QCOMPARE(GetText(table, 2), QStringLiteral("下一步\r\n"));
}

void tst_TextTable::tooLargeFileIsNotRead_data()
{
    QTest::addColumn<QString>("tooLarge");
    QTest::addColumn<bool>("loaded");
    QTest::newRow("the language file") << "Korean" << false;
    QTest::newRow("the English fallback") << "English" << true;
}

void tst_TextTable::tooLargeFileIsNotRead()
{
    QFETCH(QString, tooLarge);
    QFETCH(bool, loaded);
    writeLanguage("Korean", "[Main]\nLength=14\n0=프로그램\n");
    QByteArray huge("[Main]\nLength=14\n0=huge\n;");
    huge.append(IniFile::MaxFileSize + 1 - huge.size(), 'x');
    writeLanguage(tooLarge, huge);

    LanguageTextTable table;
    QCOMPARE(LoadTextTable(table, m_folder, "Korean", "Main"), loaded);
    QCOMPARE(GetText(table, 0), loaded ? QStringLiteral("프로그램") : QString());
    QCOMPARE(GetText(table, 7), QString()); // no English text either way
    const QString path = QDir::toNativeSeparators(m_folder + '/' + tooLarge + ".tdw");
    QVERIFY2(table.error.contains(path), qPrintable(table.error));

    // A later load of good files clears the error.
    writeLanguage(tooLarge, "[Main]\nLength=14\n");
    QVERIFY(LoadTextTable(table, m_folder, "Korean", "Main"));
    QVERIFY(table.error.isEmpty());
}

QTEST_GUILESS_MAIN(tst_TextTable)
#include "tst_texttable.moc"
