#include "i18n/IniFile.h"
#include "i18n/TextNumbers.h"
#include "i18n/TextTable.h"
#include "selection/DataSetDescription.h"

#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

class tst_DataSetDescription : public QObject
{
    Q_OBJECT
private slots:
    void complete();
    void noKindPresent();
    void damaged_data();
    void damaged();
    void missingFile();
    void problemInTheUsersLanguage_data();
    void problemInTheUsersLanguage();
};

namespace {

const QByteArray Complete = "[DataSet]\r\nYear=2027\r\nSeason=S/S\r\nVolume=12\r\n"
                            "[STY]\r\nPresent=1\r\nFolder=STY_2027SS\r\n"
                            "[STI]\r\nPresent=1\r\nFolder=STI_2027SS\r\n"
                            "[DETAIL]\r\nPresent=0\r\nFolder=DETAIL_2027SS\r\n";

} // namespace

void tst_DataSetDescription::complete()
{
    QTemporaryDir dir;
    QVERIFY(TestFiles::write(dir.filePath("dataset.ini"), TestFiles::utf16le(Complete)));

    DataSetDescription d;
    QString error;
    QVERIFY2(LoadDataSetDescription(dir.path(), &d, &error), qPrintable(error));
    QCOMPARE(d.present, (std::array<bool, 3>{true, true, false}));
    QCOMPARE(d.folderName[0], QString("STY_2027SS"));
    QCOMPARE(d.folderName[1], QString("STI_2027SS"));
    QCOMPARE(d.folderName[2], QString("DETAIL_2027SS"));
    QCOMPARE(d.year, QString("2027"));
    QCOMPARE(d.season, QString("S/S"));
    QCOMPARE(d.volume, 12);
}

void tst_DataSetDescription::noKindPresent()
{
    // GIVEN a description that marks no kind present: DETAIL alone is used, so
    // its folder is enough and no Volume is needed
    QTemporaryDir dir;
    QVERIFY(TestFiles::write(dir.filePath("dataset.ini"),
                             "[DataSet]\nYear=2027\n[DETAIL]\nFolder=DETAIL_2027\n"));
    DataSetDescription d;
    QString error;
    QVERIFY2(LoadDataSetDescription(dir.path(), &d, &error), qPrintable(error));
    QCOMPARE(d.present, (std::array<bool, 3>{false, false, false}));
    QCOMPARE(d.folderName[2], QString("DETAIL_2027"));
    QCOMPARE(d.volume, 0);
}

void tst_DataSetDescription::damaged_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("reason");

    QTest::newRow("empty file") << QByteArray() << "no [DataSet] or kind section";
    QTest::newRow("not an INI file")
            << QByteArray("\x89PNG\r\n\x1a\n", 8) << "no [DataSet] or kind section";
    QTest::newRow("present kind without folder")
            << QByteArray("[DataSet]\nVolume=1\n[STY]\nPresent=1\n") << "no folder for STY";
    QTest::newRow("present kind with blank folder")
            << QByteArray("[STI]\nPresent=1\nFolder=  \n") << "no folder for STI";
    QTest::newRow("no kind present and no DETAIL folder")
            << QByteArray("[DataSet]\nYear=2027\n[STY]\nPresent=0\nFolder=S\n")
            << "no folder for DETAIL";
    QTest::newRow("folder reaching up")
            << QByteArray("[STY]\nPresent=1\nFolder=..\n") << "\"..\" is not a plain folder name";
    QTest::newRow("folder with separator") << QByteArray("[STY]\nPresent=1\nFolder=../../Windows\n")
                                           << "\"../../Windows\" is not a plain folder name";
    QTest::newRow("folder with backslash")
            << QByteArray("[DETAIL]\nPresent=1\nFolder=a\\b\n") << "not a plain folder name";
    QTest::newRow("folder with drive")
            << QByteArray("[STI]\nPresent=1\nFolder=C:x\n") << "not a plain folder name";
#ifdef Q_OS_WIN
    // On Windows these name a device or another folder.
    QTest::newRow("device folder name")
            << QByteArray("[STY]\nPresent=1\nFolder=Aux\n") << "not a plain folder name";
    QTest::newRow("folder name ending in a dot")
            << QByteArray("[STY]\nPresent=1\nFolder=STY.\n") << "not a plain folder name";
#endif
    QTest::newRow("volume not a number")
            << QByteArray("[DataSet]\nVolume=twelve\n[STY]\nPresent=1\nFolder=S\n")
            << "Volume \"twelve\" is not a whole number";
    QByteArray huge("[STY]\nPresent=1\nFolder=S\n;");
    huge.append(IniFile::MaxFileSize + 1 - huge.size(), 'x');
    QTest::newRow("larger than an INI file can be") << huge << "larger than 16 MB";
}

void tst_DataSetDescription::damaged()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath("dataset.ini");
    QVERIFY(TestFiles::write(path, file));

    DataSetDescription d;
    d.volume = 99;
    QString error;
    QVERIFY(!LoadDataSetDescription(dir.path(), &d, &error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QCOMPARE(d.volume, 99); // nothing half-read is handed back
}

void tst_DataSetDescription::missingFile()
{
    QTemporaryDir dir;
    DataSetDescription d;
    QString error;
    QVERIFY(!LoadDataSetDescription(dir.path(), &d, &error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(dir.filePath("dataset.ini"))),
             qPrintable(error));

    // A folder in the file's place cannot be read either.
    QVERIFY(QDir(dir.path()).mkdir("dataset.ini"));
    QVERIFY(!LoadDataSetDescription(dir.path(), &d, &error));
    QVERIFY2(error.contains("dataset.ini"), qPrintable(error));
}

void tst_DataSetDescription::problemInTheUsersLanguage_data()
{
    QTest::addColumn<QByteArray>("file"); // "missing": no file at all
    QTest::addColumn<int>("cause");       // its text number
    QTest::addColumn<QString>("detail");  // after the cause; "system" for the system's words

    QTest::newRow("missing") << QByteArray("missing") << int(InstallText::DataSetMissing)
                             << "system";
    QTest::newRow("no section") << QByteArray("Year=2027\n") << int(InstallText::DataSetNoSection)
                                << "";
    QTest::newRow("volume") << QByteArray("[DataSet]\nVolume=twelve\n")
                            << int(InstallText::DataSetBadVolume) << "twelve";
    QTest::newRow("no folder") << QByteArray("[STI]\nPresent=1\n")
                               << int(InstallText::DataSetNoFolder) << "STI";
    QTest::newRow("folder name") << QByteArray("[STY]\nPresent=1\nFolder=a/b\n")
                                 << int(InstallText::DataSetBadFolder) << "a/b";
}

// GIVEN a description that cannot be used, THEN the message says so in the
// table's language: the file, the cause, and the system's own words only
// after the mark that says whose they are.
void tst_DataSetDescription::problemInTheUsersLanguage()
{
    QFETCH(QByteArray, file);
    QFETCH(int, cause);
    QFETCH(QString, detail);
    QTemporaryDir dir;
    if (file != "missing")
        QVERIFY(TestFiles::write(dir.filePath("dataset.ini"), file));
    LanguageTextTable texts;
    texts.count = 200;
    texts.texts = {{InstallText::DataSetUnreadable, "unreadable: "},
                   {InstallText::SystemMessage, "[system] "},
                   {cause, "cause "}};

    DataSetDescription d;
    QString error;
    DataSetProblem problem;
    QVERIFY(!LoadDataSetDescription(dir.path(), &d, &error, &problem));
    const QStringList lines = DataSetProblemMessage(problem, texts).split(u'\n');
    QCOMPARE(lines.value(0),
             "unreadable: " + QDir::toNativeSeparators(dir.filePath("dataset.ini")));
    if (detail == "system") {
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.value(1), QString("cause "));
        QVERIFY2(lines.value(2).startsWith("[system] ") && lines.value(2).size() > 9,
                 qPrintable(lines.value(2)));
    } else {
        QCOMPARE(lines, QStringList({lines.value(0), "cause " + detail}));
    }
}

QTEST_GUILESS_MAIN(tst_DataSetDescription)
#include "tst_datasetdescription.moc"
