#include "i18n/IniFile.h"
#include "package/PackageExtractor.h"
#include "package/PackageWriter.h"

#include "DeliveryFolder.h"

#include "PackageBytes.h"
#include "Restrictions.h"
#include "TestFiles.h"

#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace PackageBytes;

// The delivery tool and the writer under it, checked against zlib's compress
// and against the extractor: pack a tree, unpack every package, compare.
class tst_QuillonPack : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void writerMatchesCompress_data();
    void writerMatchesCompress();
    void roundTrip();
    void refusesOutputInsideSource_data();
    void refusesOutputInsideSource();
    void relativeFolders();
    void usage_data();
    void usage();
    void failures_data();
    void failures();
    void refusesWindowsNames_data();
    void refusesWindowsNames();
    void delivery_data();
    void delivery();
    void readBack_data();
    void readBack();

private:
    QString path(const QString &relative) const { return m_dir->filePath(relative); }
    int pack(const QStringList &arguments, QString *errors = nullptr,
             const QString &workingFolder = QString(), const QStringList &runAs = {}) const;
    // Every file below folder by relative path, with its bytes.
    static QMap<QString, QByteArray> tree(const QString &folder);

    std::unique_ptr<QTemporaryDir> m_dir;
    mutable QString m_output; // the standard output of the last pack()
};

namespace {

QByteArray noise(qsizetype size)
{
    QRandomGenerator random(7);
    QByteArray bytes(size, '\0');
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

} // namespace

void tst_QuillonPack::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

int tst_QuillonPack::pack(const QStringList &arguments, QString *errors,
                          const QString &workingFolder, const QStringList &runAs) const
{
    QProcess process;
    process.setWorkingDirectory(workingFolder);
    if (runAs.isEmpty())
        process.start(QUILLON_PACK_PATH, arguments);
    else
        process.start(runAs.first(), runAs.mid(1) + QStringList{QUILLON_PACK_PATH} + arguments);
    if (!process.waitForFinished(60000))
        return -1;
    if (errors)
        *errors = QString::fromUtf8(process.readAllStandardError());
    m_output = QString::fromUtf8(process.readAllStandardOutput());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QMap<QString, QByteArray> tst_QuillonPack::tree(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        files.insert(QDir(folder).relativeFilePath(file), TestFiles::read(file));
    }
    return files;
}

void tst_QuillonPack::writerMatchesCompress_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("package");

    // Larger than a chunk, so that the stream is written in several steps.
    const QByteArray sty = styData(3 * PackageWriter::ChunkSize + 77);
    QTest::newRow("compressed") << "a.sty" << sty << compressed("STYComp", sty);
    const QByteArray random = noise(5000);
    QTest::newRow("incompressible stays raw")
            << "a.tex" << random << header("TEXComp", 5000, 5000) + random;
    QTest::newRow("empty") << "a.tfc" << QByteArray() << header("TFCComp", 0, 0);
}

void tst_QuillonPack::writerMatchesCompress()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, package);

    QVERIFY(TestFiles::write(path(name), data));
    PackageWriter writer;
    QVERIFY2(writer.write(path(name), path(name + '_'), *PackageKindForDataPath(name)),
             qPrintable(writer.errorString()));
    QCOMPARE(TestFiles::read(path(name + '_')), package);
}

void tst_QuillonPack::roundTrip()
{
    // GIVEN a source tree with all kinds, nested units, files that do not
    // compress, an empty file, and files that are not data or are hidden
    const QMap<QString, QByteArray> source{
            {"STY_27/unit1/a.sty", styData(40000)},
            {"STY_27/unit1/sub/b.STY", styData(300000, 777)},
            {"STY_27/unit2/noise.sty", noise(3000)},
            {"STI/u/a.sti", stiData(5000)},
            {"DETAIL/d/a.sty", styData(2000)},
            {"DETAIL/d/t.tex", data(100000)},
            {"DETAIL/d/empty.tfc", QByteArray()},
            {"DETAIL/d/readme.txt", "not data"},
            {"DETAIL/d/.hidden.tex", data(100)},
    };
    for (auto it = source.cbegin(); it != source.cend(); ++it)
        QVERIFY(TestFiles::write(path("src/" + it.key()), it.value()));

    // WHEN the tree is packed
    QString errors;
    QCOMPARE(pack({path("src"), path("out"), "--year", "2027", "--season", "S/S", "--volume", "12",
                   "--folder", "STY=STY_27"},
                  &errors),
             0);
    QCOMPARE(tree(path("src")), source); // the source is untouched

    // THEN dataset.ini describes it and every data file has its package
    const IniFile ini = IniFile::load(path("out/dataset.ini"));
    QCOMPARE(ini.readString("DataSet", "Season"), "S/S");
    QCOMPARE(ini.readInteger("DataSet", "Volume", 0), 12);
    QCOMPARE(ini.readString("STY", "Folder"), "STY_27");
    QCOMPARE(ini.readInteger("STI", "Present", 0), 1);
    QCOMPARE(ini.readInteger("DETAIL", "Present", 0), 1);
    QMap<QString, QByteArray> packages = tree(path("out"));
    packages.remove("dataset.ini");
    QStringList expected;
    for (const QString &name : source.keys()) {
        if (!name.endsWith(".txt") && !name.contains("/."))
            expected << name + '_';
    }
    QCOMPARE(packages.keys(), expected);

    // AND unpacking every package gives the source bytes back
    PackageExtractor extractor;
    for (const QString &name : expected) {
        const QString packed = path("out/" + name);
        QVERIFY2(extractor.extract(packed, InstalledName(packed)),
                 qPrintable(extractor.errorString()));
        QCOMPARE(TestFiles::read(InstalledName(packed)), source.value(InstalledName(name)));
    }
}

void tst_QuillonPack::refusesOutputInsideSource_data()
{
    QTest::addColumn<QString>("output");
    QTest::newRow("the source itself") << "src";
    QTest::newRow("below the source") << "src/out";
    QTest::newRow("below, not yet made") << "src/STY/new/out";
    QTest::newRow("through ..") << "other/../src/out";
}

void tst_QuillonPack::refusesOutputInsideSource()
{
    QFETCH(QString, output);
    const QByteArray sty = styData(5000);
    QVERIFY(TestFiles::write(path("src/STY/a.sty"), sty));
    QVERIFY(QDir().mkpath(path("other")));
    QString errors;
    QCOMPARE(pack({path("src"), path(output)}, &errors), 1);
    QVERIFY2(errors.contains("inside the source folder"), qPrintable(errors));
    QCOMPARE(tree(path("src")).keys(), QStringList{"STY/a.sty"});
}

// Folders named relative to the current folder give the same tree as
// absolute ones: each package lands in its file's place below the output.
void tst_QuillonPack::relativeFolders()
{
    QVERIFY(TestFiles::write(path("src/STY/unit/a.sty"), styData(5000)));
    QVERIFY(TestFiles::write(path("src/DETAIL/d/t.tex"), data(300)));
    QString errors;
    QCOMPARE(pack({"src", "out/set"}, &errors, m_dir->path()), 0);
    QMap<QString, QByteArray> packages = tree(path("out/set"));
    QCOMPARE(packages.keys(), QStringList({"DETAIL/d/t.tex_", "STY/unit/a.sty_", "dataset.ini"}));
}

void tst_QuillonPack::usage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    QTest::newRow("help") << QStringList{"--help"} << 0 << QString();
    // "@" stands for the test's temporary folder.
    QTest::newRow("one folder") << QStringList{"@src"} << 2 << "SOURCE_DIR and OUTPUT_DIR";
    QTest::newRow("bad volume") << QStringList{"@src", "@out", "--volume", "x"} << 2
                                << "whole number";
    QTest::newRow("bad folder kind")
            << QStringList{"@src", "@out", "--folder", "TEX=t"} << 2 << "--folder";
    QTest::newRow("missing source") << QStringList{"@nowhere", "@out"} << 1 << "no such folder";
    QTest::newRow("no kind folder") << QStringList{"@src", "@out"} << 1 << "No kind folder";
}

void tst_QuillonPack::usage()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QVERIFY(QDir().mkpath(path("src")));
    for (QString &argument : arguments) {
        if (argument.startsWith('@'))
            argument = path(argument.mid(1));
    }
    QString errors;
    QCOMPARE(pack(arguments, &errors), exitCode);
    QVERIFY2(errors.contains(message), qPrintable(errors));
    QVERIFY(!QFileInfo::exists(path("out/dataset.ini")));
}

void tst_QuillonPack::failures_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("message"); // "@" stands for the temporary folder
    QTest::newRow("named kind folder missing") << "missing"
                                               << "\"@src/gone\": no such folder";
    QTest::newRow("kind folder unreadable") << "unreadable"
                                            << "Cannot read the folder \"@src/STI\"";
    QTest::newRow("full disk") << "full"
                               << "Cannot write \"@out/STY/a.sty_\"";
}

void tst_QuillonPack::failures()
{
    QFETCH(QString, failure);
    QFETCH(QString, message);
    // GIVEN a source with STY and STI data and one thing in the way
    QVERIFY(TestFiles::write(path("src/STY/a.sty"), noise(64 * 1024)));
    QVERIFY(TestFiles::write(path("src/STI/b.sti"), stiData(5000)));
    QStringList arguments{path("src"), path("out")};
    QStringList runAs;
    std::unique_ptr<Restrictions::SmallDisk> disk;
    QString why;
    if (failure == "missing") {
        arguments << "--folder"
                  << "DETAIL=gone";
    } else if (failure == "unreadable") {
        runAs = Restrictions::asNobody(m_dir->path(), QUILLON_PACK_PATH, &why);
        if (runAs.isEmpty())
            QSKIP(qPrintable("cannot run as another user here: " + why));
        QVERIFY(QFile::setPermissions(path("src/STI"), QFileDevice::Permissions()));
    } else {
        disk = std::make_unique<Restrictions::SmallDisk>(path("out"), "16k");
        if (!disk->isMounted())
            QSKIP(qPrintable("no small disk here: " + disk->whyNot()));
    }

    // WHEN it is packed THEN it fails naming what failed, and writes no
    // data set description that would call the data set whole
    QString errors;
    QCOMPARE(pack(arguments, &errors, QString(), runAs), 1);
    message.replace("@", QDir::toNativeSeparators(m_dir->path() + '/'));
    QVERIFY2(errors.contains(QDir::toNativeSeparators(message)), qPrintable(errors));
    QVERIFY(!QFileInfo::exists(path("out/dataset.ini")));
    if (disk)
        QVERIFY(!QFileInfo::exists(path("out/STY/a.sty_"))); // no empty package either
}

void tst_QuillonPack::refusesWindowsNames_data()
{
    QTest::addColumn<QStringList>("files");   // below src/
    QTest::addColumn<QStringList>("options"); // after SOURCE_DIR OUTPUT_DIR
    QTest::addColumn<QStringList>("refused"); // what the lines name, "@" for the source folder
    QTest::newRow("devices") << QStringList{"STY/Coats/con.sty", "STI/Aux.sti", "STY/ok.sty"}
                             << QStringList{}
                             << QStringList{"\"@STY/Coats/con.sty\"", "\"@STI/Aux.sti\""};
    QTest::newRow("trailing dot and space")
            << QStringList{"STY/Coats./a.sty", "STY/Pants /b.sty"} << QStringList{}
            << QStringList{"\"@STY/Coats.\"", "\"@STY/Pants \""};
    QTest::newRow("characters") << QStringList{"STY/a?b.sty", "STY/c|d/e.sty", "STY/f\\g.sty"}
                                << QStringList{}
                                << QStringList{"\"@STY/a?b.sty\"", "\"@STY/c|d\"",
                                               "\"@STY/f\\g.sty\""};
    QTest::newRow("files differing in case")
            << QStringList{"STY/Coats/A.sty", "STY/Coats/a.sty"} << QStringList{}
            << QStringList{"\"@STY/Coats/A.sty\": it differs only in letter case from \"a.sty\"",
                           "\"@STY/Coats/a.sty\": it differs only in letter case from \"A.sty\""};
    QTest::newRow("folders differing in case")
            << QStringList{"STY/Coats/a.sty", "STY/coats/b.sty"} << QStringList{}
            << QStringList{"\"@STY/Coats\"", "\"@STY/coats\""};
    // On Windows nothing in it could even be listed.
    QTest::newRow("device folder without data") << QStringList{"STY/aux/readme.txt", "STY/ok.sty"}
                                                << QStringList{} << QStringList{"\"@STY/aux\""};
    QTest::newRow("kind folder names")
            << QStringList{"AUX/a.sty", "Data/b.sti", "data/c.tex"}
            << QStringList{"--folder", "STY=AUX", "--folder", "STI=Data", "--folder", "DETAIL=data"}
            << QStringList{"STY folder name \"AUX\"", "STI folder name \"Data\"",
                           "DETAIL folder name \"data\""};
    QTest::newRow("kind folder in a folder")
            << QStringList{"sets/STY/a.sty"} << QStringList{"--folder", "STY=sets/STY"}
            << QStringList{"STY folder name \"sets/STY\""};
}

void tst_QuillonPack::refusesWindowsNames()
{
#ifdef Q_OS_WIN
    QSKIP("such names cannot be made on Windows: the Windows check makes them on Linux");
#endif
    QFETCH(QStringList, files);
    QFETCH(QStringList, options);
    QFETCH(QStringList, refused);
    // GIVEN plain data, made on a system that takes these names
    for (const QString &file : files)
        QVERIFY(TestFiles::write(path("src/" + file), styData(3000)));
    const auto before = tree(path("src"));
    // WHEN it is packed THEN each name is refused and nothing is written
    QString errors;
    QCOMPARE(pack(QStringList{path("src"), path("out")} + options, &errors), 1);
    for (QString name : refused) {
        name.replace("@", QDir::toNativeSeparators(path("src") + '/'));
        QVERIFY2(errors.contains(name), qPrintable(errors));
    }
    QCOMPARE(errors.count("quillon-pack: Refusing"), refused.size());
    QVERIFY(!QFileInfo::exists(path("out")));
    QCOMPARE(tree(path("src")), before);
}

void tst_QuillonPack::delivery_data()
{
    QTest::addColumn<QString>("missing"); // an installer file the folder lacks; empty: none
    QTest::newRow("whole installer") << "";
    QTest::newRow("no console program") << "quillon.com";
    QTest::newRow("no Thai texts") << "Thai.tdw";
}

void tst_QuillonPack::delivery()
{
    QFETCH(QString, missing);
    // GIVEN plain data, the Windows programs' folder, and an earlier delivery
    QVERIFY(TestFiles::write(path("src/STY/u/a.sty"), styData(40000)));
    QVERIFY(TestFiles::write(path("src/DETAIL/d/t.tex"), data(3000)));
    QMap<QString, QByteArray> installer;
    for (const QString &name : DeliveryFolder::InstallerFiles()) {
        if (name != missing)
            installer.insert(name, name.toUtf8() + " of this build");
    }
    installer.insert("quillon-pack.exe", "not delivered");
    for (auto it = installer.cbegin(); it != installer.cend(); ++it)
        QVERIFY(TestFiles::write(path("bin/" + it.key()), it.value()));
    QVERIFY(TestFiles::write(path("out/quillon.exe"), "of an earlier build"));

    // WHEN the data set is packed as a delivery
    QString errors;
    const int status = pack({path("src"), path("out"), "--installer", path("bin")}, &errors);

    // THEN the programs, language files and pictures lie beside the data set,
    // and the folder's contents are listed with their total size
    installer.remove("quillon-pack.exe");
    if (!missing.isEmpty()) {
        QCOMPARE(status, 1);
        QVERIFY2(errors.contains(missing), qPrintable(errors));
        QCOMPARE(tree(path("out")).keys(), QStringList{"quillon.exe"}); // nothing written
        return;
    }
    QCOMPARE(status, 0);
    const QMap<QString, QByteArray> out = tree(path("out"));
    for (auto it = installer.cbegin(); it != installer.cend(); ++it)
        QCOMPARE(out.value(it.key()), it.value());
    QCOMPARE(out.size(), installer.size() + 3); // two packages and dataset.ini
    qint64 total = 0;
    for (const QByteArray &bytes : out)
        total += bytes.size();
    QVERIFY2(m_output.contains(QRegularExpression("\\n  STY.\\s+1 files")), qPrintable(m_output));
    QVERIFY2(m_output.contains(QString("Total: %1 files, %2")
                                       .arg(out.size())
                                       .arg(QLocale::c().formattedDataSize(
                                               total, 1, QLocale::DataSizeTraditionalFormat))),
             qPrintable(m_output));
}

void tst_QuillonPack::readBack_data()
{
    QTest::addColumn<QByteArray>("package");
    QTest::addColumn<QString>("message"); // empty: reads back
    const QByteArray sty = styData(20000);
    QTest::newRow("whole") << compressed("STYComp", sty) << "";
    QTest::newRow("stored") << header("STYComp", 100, 100) + sty.left(100) << "";
    QTest::newRow("cut short") << compressed("STYComp", sty).chopped(30) << "does not read back";
    const QByteArray stream = compressed("STYComp", sty).mid(16);
    QTest::newRow("header claims more")
            << header("STYComp", sty.size() + 1, stream.size()) + stream << "does not read back";
    QTest::newRow("no header") << sty << "no package header";
}

void tst_QuillonPack::readBack()
{
    QFETCH(QByteArray, package);
    QFETCH(QString, message);
    QVERIFY(TestFiles::write(path("a.sty_"), package));
    const QStringList errors = DeliveryFolder::ReadBack({path("a.sty_")});
    if (message.isEmpty())
        QCOMPARE(errors, QStringList());
    else
        QVERIFY2(errors.size() == 1 && errors.first().contains(message),
                 qPrintable(errors.join("")));
}

QTEST_GUILESS_MAIN(tst_QuillonPack)
#include "tst_quillonpack.moc"
