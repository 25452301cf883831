#include "i18n/IniFile.h"
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

QTEST_GUILESS_MAIN(tst_DataSetDescription)
#include "tst_datasetdescription.moc"
