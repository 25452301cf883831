#include "package/InstalledFileWriter.h"
#include "package/PackageExtractor.h"
#include "package/WriteJournal.h"

#include "PackageBytes.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace PackageBytes;
using namespace Qt::StringLiterals;

class tst_PackageExtractor : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void installs_data();
    void installs();
    void damagedPackageFails_data();
    void damagedPackageFails();
    void failureKeepsEarlierInstalledFile();
    void successReplacesInstalledFile();
    void replacementRefused();
    void unfinishedFileHasRecognisableName();
    void newFileGetsOrdinaryPermissions_data();
    void newFileGetsOrdinaryPermissions();
    void missingPackedCopyFails();
    void unreadablePackedCopyStays();
    void unwritableDestinationFails();
    void largeFileYieldsBetweenChunks();
    void replacementKeepsTheEarlierVersion();
    void nothingWrittenThroughLinks_data();
    void nothingWrittenThroughLinks();
    void stepThatCannotBeRecordedIsNotTaken();

private:
    QString packed(const QString &name) const { return m_dir->filePath(name); }
    // The names in the folder besides the given ones: leftovers of a failure.
    QStringList leftovers() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_PackageExtractor::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QStringList tst_PackageExtractor::leftovers() const
{
    return QDir(m_dir->path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

void tst_PackageExtractor::installs_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("installed");

    const QByteArray sty = styData(5000), sti = stiData(3000), tex = data(2000);
    const auto size = [](const QByteArray &bytes) { return quint32(bytes.size()); };
    QTest::newRow("STY compressed") << "a.sty_" << compressed("STYComp", sty) << sty;
    QTest::newRow("STI compressed") << "a.sti_" << compressed("STIComp", sti) << sti;
    QTest::newRow("TEX compressed") << "a.tex_" << compressed("TEXComp", tex) << tex;
    QTest::newRow("TFC compressed") << "a.tfc_" << compressed("TFCComp", tex) << tex;
    QTest::newRow("capital extension") << "A.STY_" << compressed("STYComp", sty) << sty;
    QTest::newRow("stored = unpacked is raw")
            << "a.sty_" << header("STYComp", size(sty), size(sty)) + sty << sty;
    QTest::newRow("stored > unpacked, tail ignored")
            << "a.sty_" << header("STYComp", size(sty), 0xFFFFFFFF) + sty + "tail" << sty;
    QTest::newRow("no magic: plain data unchanged") << "a.sty_" << sty << sty;
    const QByteArray notMagic = QByteArray("STYComp\x01", 8) + sty.mid(8);
    QTest::newRow("STYComp + non-zero byte is plain") << "a.sty_" << notMagic << notMagic;
    const QByteArray otherKind = header("STIComp", size(sty), size(sty)) + sty;
    QTest::newRow("another kind's magic is plain") << "a.sty_" << otherKind << otherKind;
    QTest::newRow("STY format 500")
            << "a.sty_" << compressed("STYComp", styData(936, 500)) << styData(936, 500);
    QTest::newRow("STI format 500 at 20")
            << "a.sti_" << compressed("STIComp", stiData(212, 500)) << stiData(212, 500);
    QTest::newRow("TEX never inspected") << "a.tex_" << header("TEXComp", 4, 4) + "tiny"
                                         << "tiny"_ba;
    QTest::newRow("TFC empty package") << "a.tfc_" << header("TFCComp", 0, 0) << QByteArray();
    QTest::newRow("TEX shorter than magic") << "a.tex_"
                                            << "TEXC"_ba
                                            << "TEXC"_ba;
}

void tst_PackageExtractor::installs()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, installed);

    QVERIFY(TestFiles::write(packed(name), file));
    PackageExtractor extractor;
    QVERIFY2(extractor.extract(packed(name), InstalledName(packed(name))),
             qPrintable(extractor.errorString()));
    QCOMPARE(TestFiles::read(InstalledName(packed(name))), installed);
    QCOMPARE(extractor.info().payloadSize, installed.size());
    QCOMPARE(leftovers(), QStringList{InstalledName(name)});
}

void tst_PackageExtractor::damagedPackageFails_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<FailureReason>("kind"); // what the installer tells the user
    using R = FailureReason;

    const QByteArray sty = styData(5000);
    const QByteArray stream = zlibCompress(sty);
    const auto size = quint32(sty.size()), stored = quint32(stream.size());
    QTest::newRow("STY format 499") << "a.sty_" << compressed("STYComp", styData(2000, 499))
                                    << "format number 499 is older than 500" << R::OldFormat;
    QByteArray sti499 = stiData(2000, 499);
    qToLittleEndian<qint32>(600, sti499.data());
    QTest::newRow("STI format 499 at 20")
            << "a.sti_" << compressed("STIComp", sti499) << "format number 499" << R::OldFormat;
    QTest::newRow("STY shorter than header record")
            << "a.sty_" << compressed("STYComp", styData(935)) << "shorter than the 936-byte"
            << R::TooShort;
    QTest::newRow("plain STI shorter than header record")
            << "a.sti_" << stiData(211) << "shorter than the 212-byte" << R::TooShort;
    QTest::newRow("truncated header") << "a.sty_" << header("STYComp", size, stored).left(12)
                                      << "header is truncated" << R::WrongSize;
    QTest::newRow("truncated payload")
            << "a.sty_" << header("STYComp", size, stored) + stream.chopped(1) << "truncated"
            << R::WrongSize;
    QTest::newRow("truncated raw payload")
            << "a.sty_" << header("STYComp", size, size) + sty.chopped(1) << "truncated"
            << R::WrongSize;
    QByteArray corrupt = stream;
    corrupt[100] = char(corrupt[100] ^ 0x20);
    QTest::newRow("corrupted stream") << "a.sty_" << header("STYComp", size, stored) + corrupt
                                      << "damaged" << R::DoesNotInflate;
    QByteArray badCheck = stream;
    badCheck[badCheck.size() - 1] = char(badCheck[badCheck.size() - 1] ^ 1);
    QTest::newRow("wrong Adler-32") << "a.sty_" << header("STYComp", size, stored) + badCheck
                                    << "damaged" << R::DoesNotInflate;
    QTest::newRow("unpacked size larger than stream")
            << "a.sty_" << header("STYComp", size + 1, stored) + stream << "ends after 5000 of"
            << R::WrongSize;
    QTest::newRow("unpacked size smaller than stream")
            << "a.sty_" << header("STYComp", size - 1, stored) + stream << "longer than"
            << R::WrongSize;
    QTest::newRow("4 GiB claim, compressed")
            << "a.sty_" << header("STYComp", 0xFFFFFFFF, stored) + stream << "ends after 5000 of"
            << R::WrongSize;
    QTest::newRow("4 GiB claim, raw") << "a.tex_" << header("TEXComp", 0xFFFFFFFF, 0xFFFFFFFF) + sty
                                      << "truncated" << R::WrongSize;
    QTest::newRow("stored size beyond the file")
            << "a.sty_" << header("STYComp", 0xFFFFFFFF, 0xFFFFFFF0) + stream << "truncated"
            << R::WrongSize;
}

void tst_PackageExtractor::damagedPackageFails()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, file);
    QFETCH(QString, reason);
    QFETCH(FailureReason, kind);

    // GIVEN a damaged packed copy in the destination folder
    QVERIFY(TestFiles::write(packed(name), file));
    // WHEN it is extracted
    PackageExtractor extractor;
    QVERIFY(!extractor.extract(packed(name), InstalledName(packed(name))));
    // THEN it fails naming the file (packed or installed) and the reason, and
    // leaves nothing behind
    const QString installedName = QDir::toNativeSeparators(InstalledName(packed(name)));
    QVERIFY2(extractor.errorString().contains(installedName), qPrintable(extractor.errorString()));
    QVERIFY2(extractor.errorString().contains(reason), qPrintable(extractor.errorString()));
    QCOMPARE(extractor.failure().reason, kind);
    QCOMPARE(leftovers(), QStringList());
}

void tst_PackageExtractor::failureKeepsEarlierInstalledFile()
{
    const QByteArray earlier = styData(3000, 700);
    QVERIFY(TestFiles::write(packed("a.sty"), earlier));
    const QByteArray stream = zlibCompress(styData(5000));
    QVERIFY(TestFiles::write(packed("a.sty_"),
                             header("STYComp", 5000, quint32(stream.size())) + stream.chopped(20)));
    PackageExtractor extractor;
    QVERIFY(!extractor.extract(packed("a.sty_"), packed("a.sty")));
    QCOMPARE(TestFiles::read(packed("a.sty")), earlier);
    QCOMPARE(leftovers(), QStringList{"a.sty"});
}

void tst_PackageExtractor::successReplacesInstalledFile()
{
    QVERIFY(TestFiles::write(packed("a.sti"), stiData(3000, 520)));
    QVERIFY(TestFiles::write(packed("a.sti_"), compressed("STIComp", stiData(4000, 610))));
    PackageExtractor extractor;
    QVERIFY2(extractor.extract(packed("a.sti_"), packed("a.sti")),
             qPrintable(extractor.errorString()));
    QCOMPARE(TestFiles::read(packed("a.sti")), stiData(4000, 610));
    QCOMPARE(leftovers(), QStringList{"a.sti"});
}

void tst_PackageExtractor::replacementRefused()
{
#ifndef Q_OS_WIN
    QSKIP("only Windows keeps a file that another program has open from being replaced");
#endif
    // GIVEN an installed file held open by another program
    const QByteArray earlier = stiData(3000, 520);
    QVERIFY(TestFiles::write(packed("a.sti"), earlier));
    QVERIFY(TestFiles::write(packed("a.sti_"), compressed("STIComp", stiData(4000, 610))));
    QFile holder(packed("a.sti"));
    QVERIFY(holder.open(QIODevice::ReadWrite));
    // WHEN a package is unpacked over it
    PackageExtractor extractor;
    QVERIFY(!extractor.extract(packed("a.sti_"), packed("a.sti")));
    holder.close();
    // THEN that file fails with a line naming it, and it is kept as it was
    QVERIFY2(extractor.errorString().contains(QDir::toNativeSeparators(packed("a.sti"))),
             qPrintable(extractor.errorString()));
    QCOMPARE(TestFiles::read(packed("a.sti")), earlier);
    QCOMPARE(leftovers(), QStringList{"a.sti"});
}

void tst_PackageExtractor::unfinishedFileHasRecognisableName()
{
    QVERIFY(TestFiles::write(packed("a.sty"), "installed"));
    {
        InstalledFileWriter writer(packed("a.sty"));
        QVERIFY(writer.open());
        QVERIFY(writer.write("new", 3));
        QStringList unfinished = leftovers();
        unfinished.removeOne("a.sty");
        // Linux keeps a file nameless until it is put in place: a killed run leaves nothing.
#ifdef Q_OS_WIN
        QCOMPARE(unfinished.size(), 1);
#endif
        for (const QString &name : std::as_const(unfinished))
            QVERIFY2(name.startsWith("a.sty.") && name.endsWith(".quillon-part"), qPrintable(name));
    }
    QCOMPARE(leftovers(), QStringList{"a.sty"});
    QCOMPARE(TestFiles::read(packed("a.sty")), QByteArray("installed"));
}

void tst_PackageExtractor::newFileGetsOrdinaryPermissions_data()
{
    QTest::addColumn<bool>("readOnlyThere"); // a read-only installed file is replaced
    QTest::newRow("new file") << false;
    QTest::newRow("replacing a read-only file") << true;
}

void tst_PackageExtractor::newFileGetsOrdinaryPermissions()
{
    QFETCH(bool, readOnlyThere);
    // A new installed file is put in place from a temporary file, which is
    // private to its owner; Vestra's users must still be able to read it,
    // and the run to replace it, whatever the file it replaced allowed.
    if (readOnlyThere) {
        QVERIFY(TestFiles::write(packed("a.tex"), "earlier"));
        QVERIFY(QFile::setPermissions(packed("a.tex"), QFile::ReadOwner | QFile::ReadOther));
    }
    QVERIFY(TestFiles::write(packed("a.tex_"), compressed("TEXComp", data(3000))));
    PackageExtractor extractor;
    QVERIFY(extractor.extract(packed("a.tex_"), packed("a.tex")));
    const QFileDevice::Permissions permissions = QFile::permissions(packed("a.tex"));
    QVERIFY(permissions.testFlag(QFileDevice::ReadOther));
    QVERIFY(permissions.testFlag(QFileDevice::WriteOwner));
    QCOMPARE(TestFiles::read(packed("a.tex")), data(3000));
    QCOMPARE(leftovers(), QStringList{"a.tex"});
}

void tst_PackageExtractor::missingPackedCopyFails()
{
    PackageExtractor extractor;
    QVERIFY(!extractor.extract(packed("gone.sty_"), packed("gone.sty")));
    QVERIFY(extractor.errorString().startsWith(
            u"Cannot open \"%1\""_s.arg(QDir::toNativeSeparators(packed("gone.sty_")))));
    QCOMPARE(extractor.failure().reason, FailureReason::CannotRead);
    QVERIFY(!extractor.failure().systemMessage.isEmpty());
    QCOMPARE(leftovers(), QStringList());
}

void tst_PackageExtractor::unreadablePackedCopyStays()
{
    const QByteArray package = compressed("STYComp", styData(3000));
    QVERIFY(TestFiles::write(packed("a.sty_"), package));
    QVERIFY(QFile::setPermissions(packed("a.sty_"), QFile::WriteOwner));
    if (QFile file(packed("a.sty_")); file.open(QIODevice::ReadOnly))
        QSKIP("permissions do not keep this user from reading");
    PackageExtractor extractor;
    QVERIFY(!extractor.extract(packed("a.sty_"), packed("a.sty")));
    QVERIFY(extractor.errorString().startsWith(
            u"Cannot open \"%1\""_s.arg(QDir::toNativeSeparators(packed("a.sty_")))));
    QCOMPARE(leftovers(), QStringList{"a.sty_"});
}

void tst_PackageExtractor::unwritableDestinationFails()
{
    // The installed name is taken by a folder, so the file cannot be put there.
    QVERIFY(QDir(m_dir->path()).mkdir("a.tex"));
    QVERIFY(TestFiles::write(packed("a.tex_"), compressed("TEXComp", data(3000))));
    PackageExtractor extractor;
    QVERIFY(!extractor.extract(packed("a.tex_"), packed("a.tex")));
    QVERIFY2(extractor.errorString().contains(QDir::toNativeSeparators(packed("a.tex"))),
             qPrintable(extractor.errorString()));
    QCOMPARE(leftovers(), QStringList{"a.tex"});
    QVERIFY(QFileInfo(packed("a.tex")).isDir());
}

void tst_PackageExtractor::largeFileYieldsBetweenChunks()
{
    // GIVEN a package whose data spans several chunks
    const QByteArray sty = styData(3 * PackageExtractor::ChunkSize + 123);
    QVERIFY(TestFiles::write(packed("big.sty_"), compressed("STYComp", sty)));
    PackageExtractor extractor;
    int yields = 0;
    extractor.setYield([&yields] { ++yields; });
    // WHEN it is extracted THEN the caller gets a turn after every chunk
    QVERIFY(extractor.extract(packed("big.sty_"), packed("big.sty")));
    QCOMPARE(yields, 4);
    QCOMPARE(TestFiles::read(packed("big.sty")), sty);
}

namespace {

// Records what the writer announces; refuses everything when told to.
class RecordingJournal : public WriteJournal
{
public:
    QStringList calls;
    bool refuse = false;

    bool willCreate(const QString &path) override { return note("create " + path); }
    bool willInstall(const QString &path) override { return note("install " + path); }
    bool willKeepAside(const QString &path, const QString &backup) override
    {
        return note("aside " + path + " " + backup);
    }
    bool didNotCreate(const QString &path) override { return note("undone " + path); }
    FileFailure failure() const override { return {FailureReason::NotRecorded, "no room"}; }

private:
    bool note(const QString &call)
    {
        calls.append(call);
        return !refuse;
    }
};

} // namespace

void tst_PackageExtractor::replacementKeepsTheEarlierVersion()
{
    // GIVEN an installed file and a package that replaces it, with a journal
    QVERIFY(TestFiles::write(packed("a.sti"), stiData(3000, 520)));
    QVERIFY(TestFiles::write(packed("a.sti_"), compressed("STIComp", stiData(4000, 610))));
    RecordingJournal journal;
    PackageExtractor extractor;
    extractor.setJournal(&journal);
    // WHEN it is extracted
    QVERIFY(extractor.extract(packed("a.sti_"), packed("a.sti")));
    // THEN the earlier version is kept aside, each file announced before it was made
    QCOMPARE(TestFiles::read(packed("a.sti")), stiData(4000, 610));
    const QString backup = extractor.backupPath();
    QCOMPARE(TestFiles::read(backup), stiData(3000, 520));
    QCOMPARE(leftovers(), (QStringList{"a.sti", QFileInfo(backup).fileName()}));
    QCOMPARE(journal.calls.size(), 2);
    QVERIFY(journal.calls[0].startsWith("create " + packed("a.sti.")));
    QCOMPARE(journal.calls[1], "aside " + packed("a.sti") + " " + backup);
}

void tst_PackageExtractor::nothingWrittenThroughLinks_data()
{
    QTest::addColumn<QString>("planted"); // the name that is a link, or a pipe
    QTest::newRow("installed file is a link") << "a.sty";
    QTest::newRow("packed copy is a link") << "a.sty_";
#ifdef Q_OS_UNIX
    QTest::newRow("installed file is a pipe") << "a.sty|";
#endif
}

void tst_PackageExtractor::nothingWrittenThroughLinks()
{
    QFETCH(QString, planted);
    // GIVEN a file outside that a link in the destination leads to
    QTemporaryDir outside;
    const QString victim = outside.filePath("victim.sty");
    QVERIFY(TestFiles::write(victim, styData(3000, 700)));
    if (planted != "a.sty_")
        QVERIFY(TestFiles::write(packed("a.sty_"), compressed("STYComp", styData(5000))));
    if (planted.endsWith('|')) {
#ifdef Q_OS_UNIX
        QCOMPARE(::mkfifo(QFile::encodeName(packed("a.sty")).constData(), 0666), 0);
#else
        QSKIP("pipes are not files here");
#endif
    } else if (!TestFiles::symbolicLink(victim, packed(planted))) {
        QSKIP("this system makes no symbolic links (Wine cannot)");
    }
    // WHEN the packed copy is extracted
    PackageExtractor extractor;
    QVERIFY(!extractor.extract(packed("a.sty_"), packed("a.sty")));
    // THEN it fails saying why, and the file outside is as it was
    QCOMPARE(extractor.failure().reason, FailureReason::LinkInTheWay);
    QCOMPARE(TestFiles::read(victim), styData(3000, 700));
    // AND no packed copy is left; the planted name stays but where it was the
    // packed copy's
    QCOMPARE(leftovers(), planted == "a.sty_" ? QStringList() : QStringList{"a.sty"});
}

void tst_PackageExtractor::stepThatCannotBeRecordedIsNotTaken()
{
    QVERIFY(TestFiles::write(packed("a.tex"), "earlier"));
    QVERIFY(TestFiles::write(packed("a.tex_"), compressed("TEXComp", data(3000))));
    RecordingJournal journal;
    journal.refuse = true;
    PackageExtractor extractor;
    extractor.setJournal(&journal);
    QVERIFY(!extractor.extract(packed("a.tex_"), packed("a.tex")));
    QCOMPARE(extractor.failure().reason, FailureReason::NotRecorded);
    QCOMPARE(TestFiles::read(packed("a.tex")), QByteArray("earlier"));
    QCOMPARE(leftovers(), QStringList{"a.tex"});
}

QTEST_GUILESS_MAIN(tst_PackageExtractor)
#include "tst_packageextractor.moc"
