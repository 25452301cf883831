#include "platform/RegFileVersionStore.h"

#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

class tst_RegFileVersionStore : public QObject
{
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void encodings_data();
    void encodings();
    void damaged_data();
    void damaged();
    void missingFile();
    void sizeLimit_data();
    void sizeLimit();
    void openVersionStore();
};

namespace {

const QString Header = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n");

QString key(const QString &version)
{
    return QStringLiteral("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrel\\Vestra\\%1\\Directory]\r\n")
            .arg(version);
}

} // namespace

void tst_RegFileVersionStore::read_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("versions");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("defaultDir");

    QTest::newRow("one version") << Header + key("3.1") + "\"Defaultdir\"=\"/opt/Vestra 3.1\"\r\n"
                                 << QStringList{"3.1"} << "3.1"
                                 << "/opt/Vestra 3.1";
    QTest::newRow("backslashes become slashes")
            << Header + key("3.1") + "\"Defaultdir\"=\"C:\\\\Program Files\\\\Vestra\\\\\"\r\n"
            << QStringList{"3.1"} << "3.1"
            << "C:/Program Files/Vestra/";
    QTest::newRow("escaped quote") << Header + key("2.0") + "\"Defaultdir\"=\"/x/\\\"q\\\"\"\n"
                                   << QStringList{"2.0"} << "2.0"
                                   << "/x/\"q\"";
    QTest::newRow("names in any case")
            << Header
                       + "[hkey_local_machine\\software\\KESTREL\\vestra\\3.1\\DIRECTORY]\n"
                         "\"DEFAULTDIR\"=\"/a\"\n"
            << QStringList{"3.1"} << "3.1"
            << "/a";
    QTest::newRow("version asked in other case") << Header + key("Beta") + "\"Defaultdir\"=\"/b\"\n"
                                                 << QStringList{"Beta"} << "BETA"
                                                 << "/b";
    QTest::newRow("order of first appearance, listed once")
            << Header + key("3.1") + key("2.0")
                       + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrel\\Vestra\\3.1]\n" + key("beta")
            << QStringList{"3.1", "2.0", "beta"} << "2.0"
            << "";
    QTest::newRow("version key without Directory")
            << Header
                       + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrel\\Vestra\\2.5]\n\"Defaultdir\"=\"/"
                         "no\"\n"
            << QStringList{"2.5"} << "2.5"
            << "";
    QTest::newRow("other keys are no versions")
            << Header
                       + "[HKEY_CURRENT_USER\\SOFTWARE\\Kestrel\\Vestra\\4.0\\Directory]\n"
                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrel\\Vestra]\n"
                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrel\\VestraPro\\5.0\\Directory]\n"
            << QStringList{} << "4.0"
            << "";
    QTest::newRow("doubled and trailing separators in a header")
            << Header
                       + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\\\Kestrel\\Vestra\\3.1\\Directory\\]\n"
                         "\"Defaultdir\"=\"/c\"\n"
            << QStringList{"3.1"} << "3.1"
            << "/c";
    QTest::newRow("long hex value skipped, next value read")
            << Header + key("3.1")
                       + "\"Blob\"=hex:00,01,\\\n  02,03,\\\n  04\n\"Defaultdir\"=\"/d\"\n"
            << QStringList{"3.1"} << "3.1"
            << "/d";
    QTest::newRow("dword and default value ignored")
            << Header + key("3.1") + "@=\"/default\"\n\"Count\"=dword:00000001\n"
            << QStringList{"3.1"} << "3.1"
            << "";
    QTest::newRow("deleted value")
            << Header + key("3.1") + "\"Defaultdir\"=\"/e\"\n\"Defaultdir\"=-\n"
            << QStringList{"3.1"} << "3.1"
            << "";
    QTest::newRow("deleted key describes nothing")
            << Header
                       + "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrel\\Vestra\\9.0\\Directory]\n"
                         "\"Defaultdir\"=\"/f\"\n"
            << QStringList{} << "9.0"
            << "";
    QTest::newRow("comments and blank lines")
            << Header + "; a comment\n\n" + key("3.1") + "; \"Defaultdir\"=\"/no\"\n"
                       + "  \"Defaultdir\" = \"/g\"  \n"
            << QStringList{"3.1"} << "3.1"
            << "/g";
    QTest::newRow("unterminated value skipped") << Header + key("3.1") + "\"Defaultdir\"=\"/h\n"
                                                << QStringList{"3.1"} << "3.1"
                                                << "";
}

void tst_RegFileVersionStore::read()
{
    QFETCH(QString, text);
    QFETCH(QStringList, versions);
    QFETCH(QString, version);
    QFETCH(QString, defaultDir);

    RegFileVersionStore store;
    QVERIFY(store.loadData(text.toUtf8()));
    QCOMPARE(store.versionNames(), versions);
    QCOMPARE(store.defaultDir(version), defaultDir);
    QVERIFY(store.errorString().isEmpty());
}

void tst_RegFileVersionStore::encodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QString text = Header + key("3.1") + "\"Defaultdir\"=\"/opt/Vestra 설치\"\r\n";
    QTest::newRow("UTF-16LE with byte-order mark") << TestFiles::utf16le(text);
    QTest::newRow("UTF-8") << text.toUtf8();
    QTest::newRow("UTF-8 with byte-order mark") << QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    QString regedit4 = text;
    regedit4.replace("Windows Registry Editor Version 5.00", "REGEDIT4");
    QTest::newRow("REGEDIT4") << regedit4.toUtf8();
}

void tst_RegFileVersionStore::encodings()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath("registry.reg");
    QVERIFY(TestFiles::write(path, bytes));

    RegFileVersionStore store;
    QVERIFY(store.load(path));
    QCOMPARE(store.versionNames(), QStringList{"3.1"});
    QCOMPARE(store.defaultDir("3.1"), QString("/opt/Vestra 설치"));
    QCOMPARE(store.location(), QDir::toNativeSeparators(path));
}

void tst_RegFileVersionStore::damaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("no header") << (key("3.1") + "\"Defaultdir\"=\"/x\"\n").toUtf8();
    QTest::newRow("INI file") << QByteArray("[DataSet]\nYear=2027\n");
    QTest::newRow("binary") << QByteArray("\x00\x01\x02\xff\xfe", 5);
}

void tst_RegFileVersionStore::damaged()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath("damaged.reg");
    QVERIFY(TestFiles::write(path, bytes));

    RegFileVersionStore store;
    QVERIFY(!store.load(path));
    QVERIFY(store.versionNames().isEmpty());
    QVERIFY2(store.errorString().contains(QDir::toNativeSeparators(path)),
             qPrintable(store.errorString()));
}

void tst_RegFileVersionStore::missingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("none.reg");
    RegFileVersionStore store;
    QVERIFY(!store.load(path));
    QVERIFY(store.versionNames().isEmpty());
    QVERIFY(store.errorString().contains(QDir::toNativeSeparators(path)));
    QCOMPARE(store.location(), QDir::toNativeSeparators(path));
}

void tst_RegFileVersionStore::sizeLimit_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("read");
    QTest::newRow("at the limit") << RegFileVersionStore::MaxFileSize << true;
    QTest::newRow("one byte more") << RegFileVersionStore::MaxFileSize + 1 << false;
}

void tst_RegFileVersionStore::sizeLimit()
{
    QFETCH(qint64, size);
    QFETCH(bool, read);
    // GIVEN a good export padded with a comment to size bytes
    QByteArray bytes = (Header + key("3.1") + "\"Defaultdir\"=\"/opt/v\"\r\n;").toUtf8();
    bytes.append(size - bytes.size(), 'x');
    QTemporaryDir dir;
    const QString path = dir.filePath("big.reg");
    QVERIFY(TestFiles::write(path, bytes));

    RegFileVersionStore store;
    QCOMPARE(store.load(path), read);
    QCOMPARE(store.versionNames(), read ? QStringList{"3.1"} : QStringList());
    if (!read)
        QVERIFY2(store.errorString().contains(QDir::toNativeSeparators(path)),
                 qPrintable(store.errorString()));
}

void tst_RegFileVersionStore::openVersionStore()
{
    QTemporaryDir dir;
    const QString given = dir.filePath("given.reg");
    QVERIFY(TestFiles::write(given, (Header + key("2.0") + "\"Defaultdir\"=\"/g\"\n").toUtf8()));
    QVERIFY(TestFiles::write(dir.filePath("registry.reg"),
                             (Header + key("3.1") + "\"Defaultdir\"=\"/p\"\n").toUtf8()));

    // GIVEN --registry: that file is read wherever the program runs
    const auto store = OpenVersionStore(given, dir.path());
    QCOMPARE(store->versionNames(), QStringList{"2.0"});
    QCOMPARE(store->location(), QDir::toNativeSeparators(given));

#ifndef Q_OS_WIN
    // GIVEN no --registry: registry.reg beside the program stands in for the registry
    const auto beside = OpenVersionStore(QString(), dir.path());
    QCOMPARE(beside->versionNames(), QStringList{"3.1"});
    QCOMPARE(beside->defaultDir("3.1"), QString("/p"));

    const auto missing = OpenVersionStore(QString(), dir.filePath("empty"));
    QVERIFY(missing->versionNames().isEmpty());
    QVERIFY(missing->errorString().contains("registry.reg"));
#endif
}

QTEST_GUILESS_MAIN(tst_RegFileVersionStore)
#include "tst_regfileversionstore.moc"
