#include "selection/UnitTree.h"

#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

class tst_UnitTree : public QObject
{
    Q_OBJECT
private slots:
    void build_data();
    void build();
    void preOrderAndFolders();
    void links();
    void missingSourceFolder();
    void click_data();
    void click();
    void checkedUnitAndLookup();
};

namespace {

// "text(child child)" in pre-order; with images, "text=image".
QString dump(const UnitTree &tree, int index = 0, bool images = false)
{
    const UnitNode &node = tree.node(index);
    QString text = node.text;
    if (images)
        text += u'=' + QString::number(node.image);
    QStringList children;
    for (int child : node.children)
        children.append(dump(tree, child, images));
    return children.isEmpty() ? text : text + u'(' + children.join(u' ') + u')';
}

int indexOf(const UnitTree &tree, const QString &text)
{
    for (int i = 0; i < tree.nodeCount(); ++i) {
        if (tree.node(i).text == text)
            return i;
    }
    return -1;
}

bool makeFolders(const QString &root, const QStringList &folders)
{
    for (const QString &folder : folders) {
        if (!QDir(root).mkpath(folder))
            return false;
    }
    return true;
}

} // namespace

void tst_UnitTree::build_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("expected");

    const int sty = KindIndex(DataKind::STY);
    const int sti = KindIndex(DataKind::STI);
    const int detail = KindIndex(DataKind::DETAIL);
    QTest::newRow("STY Blouse, Pants, Coat")
            << sty << QStringList{"U1/Blouse", "U1/Pants", "U1/Coat"}
            << "Kind(U1(Top(Blouse Coat) Bottom(Pants)))";
    QTest::newRow("STY only Skirt: empty Top first")
            << sty << QStringList{"U1/Skirt"} << "Kind(U1(Top Bottom(Skirt)))";
    QTest::newRow("STY Pants and Skirt share Bottom")
            << sty << QStringList{"U1/Pants", "U1/Skirt", "U1/Vest"}
            << "Kind(U1(Top(Vest) Bottom(Pants Skirt)))";
    QTest::newRow("STY names compare exactly")
            << sty << QStringList{"U1/pants", "U1/SKIRT"} << "Kind(U1(Top(pants SKIRT)))";
    QTest::newRow("STY unit without garments")
            << sty << QStringList{"U1", "U2/Coat"} << "Kind(U1 U2(Top(Coat)))";
    QTest::newRow("STY deeper folders not shown")
            << sty << QStringList{"U1/Blouse/Deep/Deeper"} << "Kind(U1(Top(Blouse)))";
    QTest::newRow("STI two levels")
            << sti << QStringList{"A/x", "A/y", "B", "B/z/deep"} << "Kind(A(x y) B(z))";
    QTest::newRow("DETAIL one level") << detail << QStringList{"A/x", "B"} << "Kind(A B)";
    QTest::newRow("sorted by name, case aside")
            << detail << QStringList{"b", "A", "C", "a2"} << "Kind(A a2 b C)";
    QTest::newRow("dot and hidden folders not listed")
            << sti << QStringList{".git/objects", "A/.cache", "A/x", "..hidden"} << "Kind(A(x))";
    QTest::newRow("empty source folder") << sti << QStringList{} << "Kind";
}

void tst_UnitTree::build()
{
    QFETCH(int, kind);
    QFETCH(QStringList, folders);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    const QString source = dir.filePath("Source");
    QVERIFY(QDir().mkpath(source));
    QVERIFY(makeFolders(source, folders));
    // Files are no units, wherever they lie.
    QVERIFY(TestFiles::write(source + "/loose.sty_", "x"));
    for (const QString &folder : folders)
        QVERIFY(TestFiles::write(source + u'/' + folder + "/data.sti_", "x"));

    UnitTree tree;
    QVERIFY(tree.build(DataKind(kind), source, "Kind"));
    QCOMPARE(dump(tree), expected);
    for (int i = 0; i < tree.nodeCount(); ++i)
        QCOMPARE(tree.node(i).image, int(UnitChecked));
}

void tst_UnitTree::preOrderAndFolders()
{
    QTemporaryDir dir;
    const QString source = dir.filePath("STY_27");
    QVERIFY(makeFolders(source, {"U1/Blouse", "U1/Pants", "U2/Coat"}));

    UnitTree tree;
    QVERIFY(tree.build(DataKind::STY, source, "STY_27"));
    QStringList texts;
    for (int i = 0; i < tree.nodeCount(); ++i)
        texts.append(tree.node(i).text);
    QCOMPARE(texts, (QStringList{"STY_27", "U1", "Top", "Blouse", "Bottom", "Pants", "U2", "Top",
                                 "Coat"}));
    QCOMPARE(tree.node(0).folder, source);
    QCOMPARE(tree.node(0).parent, -1);
    QCOMPARE(tree.node(1).folder, source + "/U1");
    QVERIFY(tree.node(2).folder.isEmpty()); // "Top"
    QVERIFY(tree.node(4).folder.isEmpty()); // "Bottom"
    QCOMPARE(tree.node(5).folder, source + "/U1/Pants");
    QCOMPARE(tree.node(5).parent, 4);
    QCOMPARE(tree.node(1).children, (QList<int>{2, 4}));
    QCOMPARE(tree.subtreeEnd(1), 6);
    QCOMPARE(tree.subtreeEnd(2), 4);
    QCOMPARE(tree.subtreeEnd(6), 9);
    QCOMPARE(tree.subtreeEnd(0), 9);
}

void tst_UnitTree::links()
{
    // GIVEN a source tree with a link back to itself and a link leading outside
    QTemporaryDir dir;
    const QString source = dir.filePath("STI_27");
    QVERIFY(makeFolders(source, {"A/x"}));
    QVERIFY(makeFolders(dir.path(), {"Outside/Secret"}));
    if (!QFile::link(source, source + "/A/loop")
        || !QFile::link(dir.filePath("Outside"), source + "/Elsewhere"))
        QSKIP("symbolic links cannot be made here");

    // WHEN the tree is built THEN it ends and neither link is shown
    UnitTree tree;
    QVERIFY(tree.build(DataKind::STI, source, "STI_27"));
    QCOMPARE(dump(tree), QString("STI_27(A(x))"));
}

void tst_UnitTree::missingSourceFolder()
{
    QTemporaryDir dir;
    QVERIFY(TestFiles::write(dir.filePath("file"), "x"));
    UnitTree tree;
    QVERIFY(!tree.build(DataKind::STY, dir.filePath("none"), "none"));
    QVERIFY(tree.isEmpty());
    QVERIFY2(tree.errorString().contains(QDir::toNativeSeparators(dir.filePath("none"))),
             qPrintable(tree.errorString()));
    QVERIFY(!tree.build(DataKind::DETAIL, dir.filePath("file"), "file")); // a file is no folder
    QVERIFY(tree.isEmpty());
}

void tst_UnitTree::click_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("expected");

    QTest::newRow("nothing") << QStringList{} << "R=1(A=1(x=1 y=1 z=1) B=1(w=1))";
    QTest::newRow("uncheck one of three") << QStringList{"y"} << "R=2(A=2(x=1 y=0 z=1) B=1(w=1))";
    QTest::newRow("uncheck two of three")
            << QStringList{"y", "x"} << "R=2(A=2(x=0 y=0 z=1) B=1(w=1))";
    QTest::newRow("uncheck the last")
            << QStringList{"y", "x", "z"} << "R=2(A=0(x=0 y=0 z=0) B=1(w=1))";
    QTest::newRow("click a partly checked node")
            << QStringList{"y", "A"} << "R=1(A=1(x=1 y=1 z=1) B=1(w=1))";
    QTest::newRow("uncheck a parent") << QStringList{"A"} << "R=2(A=0(x=0 y=0 z=0) B=1(w=1))";
    QTest::newRow("uncheck everything")
            << QStringList{"A", "B"} << "R=0(A=0(x=0 y=0 z=0) B=0(w=0))";
    QTest::newRow("root clears all") << QStringList{"R"} << "R=0(A=0(x=0 y=0 z=0) B=0(w=0))";
    QTest::newRow("check one again from nothing")
            << QStringList{"R", "w"} << "R=2(A=0(x=0 y=0 z=0) B=1(w=1))";
    QTest::newRow("partly checked root checks all")
            << QStringList{"x", "R"} << "R=1(A=1(x=1 y=1 z=1) B=1(w=1))";
}

void tst_UnitTree::click()
{
    QFETCH(QStringList, clicks);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    const QString source = dir.filePath("R");
    QVERIFY(makeFolders(source, {"A/x", "A/y", "A/z", "B/w"}));
    UnitTree tree;
    QVERIFY(tree.build(DataKind::STI, source, "R"));
    for (const QString &text : clicks)
        tree.click(indexOf(tree, text));
    QCOMPARE(dump(tree, 0, true), expected);
}

void tst_UnitTree::checkedUnitAndLookup()
{
    QTemporaryDir dir;
    const QString source = dir.filePath("STY_27");
    QVERIFY(makeFolders(source, {"U1/Blouse", "U1/Pants"}));
    UnitTree tree;
    QVERIFY(tree.build(DataKind::STY, source, "STY_27"));

    QCOMPARE(tree.findByFolder("U1/Pants"), indexOf(tree, "Pants"));
    QCOMPARE(tree.findByFolder("U1\\Pants"), indexOf(tree, "Pants"));
    QCOMPARE(tree.findByFolder("/U1/"), 1);
    QCOMPARE(tree.findByFolder("U1/Bottom"), -1); // categories are no folders
    QCOMPARE(tree.findByFolder("u1/pants"), -1);
    QCOMPARE(tree.findByFolder(""), -1);

    QVERIFY(tree.hasCheckedUnit());
    tree.setAllChecked(false);
    QVERIFY(!tree.hasCheckedUnit());
    // GIVEN nothing checked WHEN a named unit is checked THEN its relatives follow
    tree.setChecked(tree.findByFolder("U1/Pants"), true);
    QVERIFY(tree.hasCheckedUnit());
    QCOMPARE(dump(tree, 0, true), QString("STY_27=2(U1=2(Top=0(Blouse=0) Bottom=1(Pants=1)))"));
}

QTEST_GUILESS_MAIN(tst_UnitTree)
#include "tst_unittree.moc"
