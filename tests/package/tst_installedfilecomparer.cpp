#include "package/InstalledFileComparer.h"

#include "PackageBytes.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace PackageBytes;

// Packages are built from literal bytes and zlib's compress, never by the
// project's writer, so that the comparer cannot agree with it on a wrong format.
class tst_InstalledFileComparer : public QObject
{
    Q_OBJECT
private slots:
    void compares_data();
    void compares();
    void yieldsBetweenChunks();
};

void tst_InstalledFileComparer::compares_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("package");
    QTest::addColumn<QByteArray>("installed"); // "<none>": no file, "<dir>": a folder
    QTest::addColumn<Comparison>("expected");
    QTest::addColumn<FailureReason>("reason");

    // Larger than two chunks, so that a difference late in the data is only
    // seen by a comparison that goes on past the first chunk.
    const QByteArray big = styData(2 * InstalledFileComparer::ChunkSize + 5000, 610);
    QByteArray lateChange = big;
    lateChange[lateChange.size() - 3] = lateChange.at(lateChange.size() - 3) ^ 0x20;
    QByteArray damaged = compressed("STYComp", big);
    damaged[damaged.size() / 2] = damaged.at(damaged.size() / 2) ^ 0x55;
    const QByteArray sti = stiData(3000, 700), tex = data(900);
    const auto none = FailureReason::None;

    QTest::newRow("compressed, identical")
            << "a.sty_" << compressed("STYComp", big) << big << Comparison::Identical << none;
    QTest::newRow("stored as it is, identical")
            << "a.sti_" << raw("STIComp", sti) << sti << Comparison::Identical << none;
    QTest::newRow("plain data, identical")
            << "a.tex_" << tex << tex << Comparison::Identical << none;
    QTest::newRow("empty TFC, identical")
            << "a.tfc_" << header("TFCComp", 0, 0) << QByteArray() << Comparison::Identical << none;
    QTest::newRow("missing") << "a.sty_" << compressed("STYComp", big) << QByteArray("<none>")
                             << Comparison::Missing << none;
    QTest::newRow("truncated") << "a.sty_" << compressed("STYComp", big) << big.chopped(1)
                               << Comparison::DifferentSize << none;
    QTest::newRow("one byte changed in the last chunk")
            << "a.sty_" << compressed("STYComp", big) << lateChange << Comparison::DifferentContent
            << none;
    QTest::newRow("a folder in its place")
            << "a.tex_" << compressed("TEXComp", tex) << QByteArray("<dir>")
            << Comparison::InstalledUnreadable << FailureReason::CannotRead;
    QTest::newRow("package data does not inflate")
            << "a.sty_" << damaged << big << Comparison::PackageDamaged
            << FailureReason::DoesNotInflate;
    QTest::newRow("damaged package, truncated installed file")
            << "a.sty_" << damaged << big.left(100) << Comparison::PackageDamaged
            << FailureReason::DoesNotInflate;
    QTest::newRow("package cut short") << "a.sti_" << compressed("STIComp", sti).chopped(10) << sti
                                       << Comparison::PackageDamaged << FailureReason::WrongSize;
    QTest::newRow("format the install refuses")
            << "a.sty_" << compressed("STYComp", styData(2000, 499)) << styData(2000, 499)
            << Comparison::PackageDamaged << FailureReason::OldFormat;
}

void tst_InstalledFileComparer::compares()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, package);
    QFETCH(QByteArray, installed);
    QFETCH(Comparison, expected);
    QFETCH(FailureReason, reason);
    QTemporaryDir dir;
    const QString packed = dir.filePath("source/" + name);
    const QString target = dir.filePath("installed/" + name.chopped(1));
    QVERIFY(TestFiles::write(packed, package));
    if (installed == "<dir>")
        QVERIFY(QDir().mkpath(target));
    else if (installed != "<none>")
        QVERIFY(TestFiles::write(target, installed));
    const auto before = TestFiles::snapshot(dir.path());

    InstalledFileComparer comparer;
    QCOMPARE(comparer.compare(packed, target), expected);
    QCOMPARE(comparer.failure().reason, reason);
    if (reason != FailureReason::None)
        QVERIFY2(comparer.errorString().contains(QDir::toNativeSeparators(dir.path())),
                 qPrintable(comparer.errorString()));
    QCOMPARE(TestFiles::snapshot(dir.path()), before); // nothing written
}

void tst_InstalledFileComparer::yieldsBetweenChunks()
{
    QTemporaryDir dir;
    const QByteArray big = data(5 * InstalledFileComparer::ChunkSize);
    QVERIFY(TestFiles::write(dir.filePath("a.tex_"), compressed("TEXComp", big)));
    QVERIFY(TestFiles::write(dir.filePath("a.tex"), big));
    InstalledFileComparer comparer;
    int yields = 0;
    comparer.setYield([&yields] { ++yields; });
    QCOMPARE(comparer.compare(dir.filePath("a.tex_"), dir.filePath("a.tex")),
             Comparison::Identical);
    QCOMPARE(yields, 5);
}

QTEST_GUILESS_MAIN(tst_InstalledFileComparer)
#include "tst_installedfilecomparer.moc"
