#include "i18n/IniFile.h"

#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

class tst_IniFile : public QObject
{
    Q_OBJECT
private slots:
    void readString_data();
    void readString();
    void readInteger_data();
    void readInteger();
    void firstKeyWins();
    void encodings_data();
    void encodings();
    void missingFile();
    void sizeLimit_data();
    void sizeLimit();
    void keysInFileOrder();
};

void tst_IniFile::readString_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QByteArray basic = "[Main]\r\nName=Value\r\n";
    QTest::newRow("plain") << basic << "Main"
                           << "Name"
                           << "Value";
    QTest::newRow("section case") << basic << "MAIN"
                                  << "Name"
                                  << "Value";
    QTest::newRow("key case") << basic << "main"
                              << "NAME"
                              << "Value";
    QTest::newRow("missing key") << basic << "Main"
                                 << "Other"
                                 << "<default>";
    QTest::newRow("missing section") << basic << "Other"
                                     << "Name"
                                     << "<default>";
    QTest::newRow("blanks trimmed") << QByteArray("[S]\n  Key  =   a b  \n") << "S"
                                    << "Key"
                                    << "a b";
    QTest::newRow("after first equals") << QByteArray("[S]\nKey=a=b\n") << "S"
                                        << "Key"
                                        << "a=b";
    QTest::newRow("quotes removed") << QByteArray("[S]\nKey=\" x \"\n") << "S"
                                    << "Key"
                                    << " x ";
    QTest::newRow("one pair only") << QByteArray("[S]\nKey=\"\"x\"\"\n") << "S"
                                   << "Key"
                                   << "\"x\"";
    QTest::newRow("lone quote kept") << QByteArray("[S]\nKey=\"x\n") << "S"
                                     << "Key"
                                     << "\"x";
    QTest::newRow("backslashes kept") << QByteArray("[S]\nKey=C:\\Program Files\\n\\t\n") << "S"
                                      << "Key"
                                      << "C:\\Program Files\\n\\t";
    QTest::newRow("comment") << QByteArray("[S]\n;Key=x\n") << "S"
                             << ";Key"
                             << "<default>";
    QTest::newRow("empty value") << QByteArray("[S]\nKey=\n") << "S"
                                 << "Key"
                                 << "";
    QTest::newRow("key before any section") << QByteArray("Key=x\n[S]\n") << "S"
                                            << "Key"
                                            << "<default>";
    QTest::newRow("line without equals") << QByteArray("[S]\nKey\n") << "S"
                                         << "Key"
                                         << "<default>";
    QTest::newRow("repeated section adds") << QByteArray("[S]\nA=1\n[T]\n[s]\nB=2\n") << "S"
                                           << "B"
                                           << "2";
    QTest::newRow("non-Latin value") << QByteArray("[S]\nK=설치\n") << "S"
                                     << "K"
                                     << "설치";
}

void tst_IniFile::readString()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const IniFile ini = IniFile::fromData(file);
    QCOMPARE(ini.readString(section, key, QStringLiteral("<default>")), expected);
}

void tst_IniFile::readInteger_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("decimal") << QByteArray("66") << 66;
    QTest::newRow("negative") << QByteArray("-3") << -3;
    QTest::newRow("hex 0x") << QByteArray("0x10") << 16;
    QTest::newRow("hex dollar") << QByteArray("$1F") << 31;
    QTest::newRow("not a number") << QByteArray("twelve") << 7;
    QTest::newRow("trailing text") << QByteArray("12abc") << 7;
    QTest::newRow("empty") << QByteArray("") << 7;
    QTest::newRow("too large") << QByteArray("99999999999") << 7;
}

void tst_IniFile::readInteger()
{
    QFETCH(QByteArray, value);
    QFETCH(int, expected);
    const IniFile ini = IniFile::fromData("[S]\nLength=" + value + "\n");
    QCOMPARE(ini.readInteger("S", "Length", 7), expected);
}

void tst_IniFile::firstKeyWins()
{
    const IniFile ini = IniFile::fromData("[S]\nKey=first\nKEY=second\n");
    QCOMPARE(ini.readString("S", "key"), QStringLiteral("first"));
    QCOMPARE(ini.keys("S"), QStringList{"Key"});
}

void tst_IniFile::encodings_data()
{
    const QString text = QStringLiteral("[Main]\r\n0=ภาษาไทย\r\n1=日本語\r\n");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("UTF-8") << text.toUtf8();
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    QTest::newRow("UTF-16LE with BOM") << TestFiles::utf16le(text);
    QTest::newRow("LF line ends") << QString(text).remove(u'\r').toUtf8();
}

void tst_IniFile::encodings()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath("Thai.tdw");
    QVERIFY(TestFiles::write(path, bytes));
    const IniFile ini = IniFile::load(path);
    QCOMPARE(ini.readString("main", "0"), QStringLiteral("ภาษาไทย"));
    QCOMPARE(ini.readString("main", "1"), QStringLiteral("日本語"));
}

void tst_IniFile::missingFile()
{
    QTemporaryDir dir;
    const IniFile ini = IniFile::load(dir.filePath("absent.tdw"));
    QVERIFY(ini.isEmpty());
    QCOMPARE(ini.readInteger("Main", "Length", 0), 0);
}

void tst_IniFile::sizeLimit_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("read");
    QTest::newRow("at the limit") << IniFile::MaxFileSize << true;
    QTest::newRow("one byte more") << IniFile::MaxFileSize + 1 << false;
}

void tst_IniFile::sizeLimit()
{
    QFETCH(qint64, size);
    QFETCH(bool, read);
    // GIVEN a good file padded with a comment to size bytes
    QByteArray bytes("[Main]\nLength=3\n;");
    bytes.append(size - bytes.size(), 'x');
    QTemporaryDir dir;
    const QString path = dir.filePath("Big.tdw");
    QVERIFY(TestFiles::write(path, bytes));

    QString error;
    const IniFile ini = IniFile::load(path, &error);
    QCOMPARE(ini.readInteger("Main", "Length", 0), read ? 3 : 0);
    QCOMPARE(error.contains(QDir::toNativeSeparators(path)), !read);
}

void tst_IniFile::keysInFileOrder()
{
    const IniFile ini = IniFile::fromData("[S]\nb=1\n;c=2\na=3\n[T]\nz=0\n");
    QCOMPARE(ini.keys("s"), (QStringList{"b", "a"}));
    QVERIFY(ini.keys("absent").isEmpty());
}

QTEST_GUILESS_MAIN(tst_IniFile)
#include "tst_inifile.moc"
