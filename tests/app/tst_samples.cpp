#include "package/DataHeader.h"
#include "package/PackageKind.h"
#include "selection/DataKind.h"
#include "selection/UnitTree.h"

#include "TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QtTest>

// The demonstration installs the sample plain data kept in samples/plain;
// these checks keep it installable: every file a data file of its kind with
// a header the extraction accepts, and the units the wizard expects.
class tst_Samples : public QObject
{
    Q_OBJECT
private slots:
    void kindHoldsUnits_data();
    void kindHoldsUnits();
    void everyFileHasValidHeader();
    void styUnitHasBottomGarment();
};

namespace {

const QString Plain = QStringLiteral(QUILLON_SOURCE_DIR "/samples/plain");

QString kindFolder(DataKind kind)
{
    return Plain + u'/' + DataKindName(kind) + QStringLiteral("_2027SS");
}

} // namespace

void tst_Samples::kindHoldsUnits_data()
{
    QTest::addColumn<DataKind>("kind");
    QTest::addColumn<QStringList>("extensions");
    QTest::newRow("STY") << DataKind::STY << QStringList{"sty"};
    QTest::newRow("STI") << DataKind::STI << QStringList{"sti"};
    QTest::newRow("DETAIL") << DataKind::DETAIL << QStringList{"sty", "tex", "tfc"};
}

void tst_Samples::kindHoldsUnits()
{
    QFETCH(DataKind, kind);
    QFETCH(QStringList, extensions);
    UnitTree tree;
    QVERIFY2(tree.build(kind, kindFolder(kind), DataKindName(kind)),
             qPrintable(tree.errorString()));
    QVERIFY2(tree.node(0).children.size() >= 2, "a few units of each kind");

    QStringList found;
    QDirIterator it(kindFolder(kind), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString suffix = QFileInfo(it.next()).suffix();
        QVERIFY2(extensions.contains(suffix), qPrintable(it.filePath()));
        if (!found.contains(suffix))
            found << suffix;
    }
    found.sort();
    QCOMPARE(found, extensions);
}

void tst_Samples::everyFileHasValidHeader()
{
    int files = 0;
    QDirIterator it(Plain, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const std::optional<PackageKind> kind = PackageKindForDataPath(path);
        QVERIFY2(kind, qPrintable(path));
        const QByteArray bytes = TestFiles::read(path);
        PackageInfo info;
        info.payloadSize = bytes.size();
        QVERIFY2(CheckDataHeader(info, bytes, *kind), qPrintable(path));
        QVERIFY2(bytes.size() < 4096, "sample files stay small");
        ++files;
    }
    QVERIFY(files >= 10);
}

// The STY tree sorts "Pants" and "Skirt" under "Bottom"; the samples show it.
void tst_Samples::styUnitHasBottomGarment()
{
    UnitTree tree;
    QVERIFY(tree.build(DataKind::STY, kindFolder(DataKind::STY), "STY_2027SS"));
    bool bottom = false;
    for (int i = 0; i < tree.nodeCount(); ++i)
        bottom = bottom || (tree.node(i).text == "Bottom" && !tree.node(i).children.isEmpty());
    QVERIFY(bottom);
}

QTEST_GUILESS_MAIN(tst_Samples)
#include "tst_samples.moc"
