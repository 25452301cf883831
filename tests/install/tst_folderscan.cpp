#include "install/FolderScan.h"
#include "install/UnitListBuilder.h"

#include "InstallFixture.h"

#include <QFile>
#include <QtTest>

// Building the install lists: the folder scan of a Basic install and the unit
// builder of a User install.
class tst_FolderScan : public QObject
{
    Q_OBJECT
private slots:
    void suffixes_data();
    void suffixes();
    void hiddenDotAndLinkedFoldersAreSkipped();
    void folderBeforeItsContents();
    void scanProgressCountsFolders();
    void scanProgressStopsAt100();
    void veryDeepTreeOnASmallStack();
    void checkedNodeIsOneScanRoot();
    void partlyCheckedParentGivesOnlyItsFolder();
    void builderListsAreSorted();
    void builderCancel_data();
    void builderCancel();
    void windowsNamesRefused_data();
    void windowsNamesRefused();
};

void tst_FolderScan::suffixes_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("listed");
    const int sty = KindIndex(DataKind::STY), sti = KindIndex(DataKind::STI),
              detail = KindIndex(DataKind::DETAIL);
    QTest::newRow("STY packed") << sty << "a.sty_" << true;
    QTest::newRow("STY capitals") << sty << "A.STY_" << true;
    QTest::newRow("STY unpacked") << sty << "a.sty" << false;
    QTest::newRow("STY gets no STI") << sty << "a.sti_" << false;
    QTest::newRow("STI packed") << sti << "a.sti_" << true;
    QTest::newRow("STI gets no tex") << sti << "a.tex_" << false;
    QTest::newRow("DETAIL sty") << detail << "a.sty_" << true;
    QTest::newRow("DETAIL tfc") << detail << "a.Tfc_" << true;
    QTest::newRow("DETAIL tex") << detail << "a.tex_" << true;
    QTest::newRow("DETAIL gets no sti") << detail << "a.sti_" << false;
    QTest::newRow("short name") << detail << "tex_" << false;
}

void tst_FolderScan::suffixes()
{
    QFETCH(int, kind);
    QFETCH(QString, file);
    QFETCH(bool, listed);
    InstallFixture f;
    const DataKind k = static_cast<DataKind>(kind);
    f.state.currentKind = k;
    f.addPackage(k, "unit/" + file, "x");
    ScanFolder(f.context, f.state.kind(k).sourceFolder, true);
    QCOMPARE(f.context.kindLists(k).sourceFiles.contains(f.source(k, "unit/" + file)), listed);
}

void tst_FolderScan::hiddenDotAndLinkedFoldersAreSkipped()
{
    InstallFixture f;
    f.state.currentKind = DataKind::STY;
    f.addPackage(DataKind::STY, "unit/a.sty_", "x");
    f.addPackage(DataKind::STY, ".hidden/b.sty_", "x");
    f.addPackage(DataKind::STY, "unit/.c.sty_", "x");
    // A link back up the tree would make the scan go round for ever. On
    // Windows QFile::link makes a shell shortcut, which is a plain file.
#ifndef Q_OS_WIN
    QVERIFY(QFile::link(f.state.kind(DataKind::STY).sourceFolder,
                        f.source(DataKind::STY, "unit/loop")));
    QVERIFY(QFile::link(f.source(DataKind::STY, "unit/a.sty_"),
                        f.source(DataKind::STY, "linked.sty_")));
#endif

    ScanFolder(f.context, f.state.kind(DataKind::STY).sourceFolder, true);
    const KindLists &lists = f.context.kindLists(DataKind::STY);
    QCOMPARE(lists.sourceFolders, QStringList{f.source(DataKind::STY, "unit")});
    QCOMPARE(lists.sourceFiles, QStringList{f.source(DataKind::STY, "unit/a.sty_")});
}

void tst_FolderScan::folderBeforeItsContents()
{
    InstallFixture f;
    f.state.currentKind = DataKind::STI;
    f.addPackage(DataKind::STI, "u/v/w/a.sti_", "x");
    ScanFolder(f.context, f.state.kind(DataKind::STI).sourceFolder + '/', true);
    const KindLists &lists = f.context.kindLists(DataKind::STI);
    QCOMPARE(lists.sourceFolders,
             (QStringList{f.source(DataKind::STI, "u"), f.source(DataKind::STI, "u/v"),
                          f.source(DataKind::STI, "u/v/w")}));
}

void tst_FolderScan::scanProgressCountsFolders()
{
    // GIVEN a tree of 7 folders, the scanned folder included
    InstallFixture f;
    f.state.currentKind = DataKind::DETAIL;
    for (const char *rel : {"a/a1", "a/a2", "b/b1", "b/b2"})
        QVERIFY(QDir().mkpath(f.source(DataKind::DETAIL, rel)));
    // WHEN it is scanned
    ScanFolder(f.context, f.state.kind(DataKind::DETAIL).sourceFolder, true);
    // THEN the scan progress is 3.5 and the bar shows its whole part
    QCOMPARE(f.context.scanProgress, 3.5f);
    QCOMPARE(f.ui.bar.last(), 3);
}

void tst_FolderScan::scanProgressStopsAt100()
{
    InstallFixture f;
    f.state.currentKind = DataKind::DETAIL;
    f.context.scanProgress = 99.5f;
    QVERIFY(QDir().mkpath(f.source(DataKind::DETAIL, "a/b/c")));
    ScanFolder(f.context, f.state.kind(DataKind::DETAIL).sourceFolder, true);
    QCOMPARE(f.context.scanProgress, 101.5f);
    QCOMPARE(*std::max_element(f.ui.bar.begin(), f.ui.bar.end()), 100);
}

void tst_FolderScan::veryDeepTreeOnASmallStack()
{
    // GIVEN a tree 1,500 folders deep with a packed file at the bottom; under
    // Wine each listing costs time in the path's length, so a shallower one
    // there (deeper trees also pass the 4,096 bytes of a Unix path)
#ifdef Q_OS_WIN
    const int depth = 200;
#else
    const int depth = 1500;
#endif
    InstallFixture f;
    f.state.currentKind = DataKind::STY;
    const QString root = f.state.kind(DataKind::STY).sourceFolder;
    QString deepest = root;
    for (int level = 0; level < depth; ++level)
        deepest += "/d";
    QVERIFY(QDir().mkpath(deepest));
    f.addPackage(DataKind::STY, QString(deepest).remove(0, root.size() + 1) + "/a.sty_", "x");
    // WHEN it is scanned on a thread with a stack far smaller than Windows
    // gives the main thread
    QThread *scan = QThread::create([&f, &root] { ScanFolder(f.context, root, true); });
    scan->setStackSize(128 * 1024);
    scan->start();
    QVERIFY(scan->wait(60000));
    delete scan;
    // THEN every folder is listed, parents first, and the file is found
    const KindLists &lists = f.context.kindLists(DataKind::STY);
    QCOMPARE(lists.sourceFolders.size(), depth);
    QCOMPARE(lists.sourceFolders.last(), deepest);
    QCOMPARE(lists.sourceFiles, QStringList{deepest + "/a.sty_"});
    QCOMPARE(f.ui.bar.size(), depth + 1); // one step per folder scanned, the root included
}

void tst_FolderScan::checkedNodeIsOneScanRoot()
{
    InstallFixture f;
    f.state.userInstall = true;
    f.state.currentKind = DataKind::STI;
    f.addPackage(DataKind::STI, "Unit1/Sub1/a.sti_", "x");
    f.addPackage(DataKind::STI, "Unit1/b.sti_", "x");
    f.addPackage(DataKind::STI, "Unit2/Sub2/c.sti_", "x");
    UnitTree &tree = f.tree(DataKind::STI);
    tree.click(f.nodeOf(DataKind::STI, "Unit2")); // only Unit1 stays checked

    QVERIFY(BuildFromChosenUnits(f.context));
    const KindLists &lists = f.context.kindLists(DataKind::STI);
    // The root is partly checked: its own folder only; Unit1 whole.
    QCOMPARE(lists.sourceFolders, (QStringList{f.state.kind(DataKind::STI).sourceFolder,
                                               f.source(DataKind::STI, "Unit1"),
                                               f.source(DataKind::STI, "Unit1/Sub1")}));
    QCOMPARE(lists.sourceFiles, (QStringList{f.source(DataKind::STI, "Unit1/b.sti_"),
                                             f.source(DataKind::STI, "Unit1/Sub1/a.sti_")}));
    QCOMPARE(f.ui.stages.last(), f.text(36));
    QVERIFY(!f.ui.percentVisible);
}

void tst_FolderScan::partlyCheckedParentGivesOnlyItsFolder()
{
    InstallFixture f;
    f.state.userInstall = true;
    f.state.currentKind = DataKind::STI;
    f.addPackage(DataKind::STI, "Unit/direct.sti_", "x");
    f.addPackage(DataKind::STI, "Unit/Child/a.sti_", "x");
    f.addPackage(DataKind::STI, "Unit/Other/b.sti_", "x");
    f.tree(DataKind::STI).click(f.nodeOf(DataKind::STI, "Unit/Other"));

    QVERIFY(BuildFromChosenUnits(f.context));
    const KindLists &lists = f.context.kindLists(DataKind::STI);
    QVERIFY(lists.sourceFolders.contains(f.source(DataKind::STI, "Unit")));
    QVERIFY(lists.sourceFolders.contains(f.source(DataKind::STI, "Unit/Child")));
    QVERIFY(!lists.sourceFolders.contains(f.source(DataKind::STI, "Unit/Other")));
    // Files lying directly in a partly checked folder are not installed.
    QCOMPARE(lists.sourceFiles, QStringList{f.source(DataKind::STI, "Unit/Child/a.sti_")});
}

void tst_FolderScan::builderListsAreSorted()
{
    InstallFixture f;
    f.state.userInstall = true;
    f.state.currentKind = DataKind::DETAIL;
    for (const char *rel : {"c/z.tex_", "B/y.tfc_", "a/x.sty_", "a/W.tex_"})
        f.addPackage(DataKind::DETAIL, rel, "x");
    f.tree(DataKind::DETAIL);
    QVERIFY(BuildFromChosenUnits(f.context));
    QStringList names;
    for (const QString &path : f.context.kindLists(DataKind::DETAIL).sourceFiles)
        names.append(QDir(f.state.kind(DataKind::DETAIL).sourceFolder).relativeFilePath(path));
    QCOMPARE(names, (QStringList{"a/W.tex_", "a/x.sty_", "B/y.tfc_", "c/z.tex_"}));
}

void tst_FolderScan::builderCancel_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::newRow("Yes stops") << true;
    QTest::newRow("No goes on") << false;
}

void tst_FolderScan::builderCancel()
{
    QFETCH(bool, confirm);
    InstallFixture f;
    f.state.userInstall = true;
    f.state.currentKind = DataKind::STI;
    f.addPackage(DataKind::STI, "Unit/a.sti_", "x");
    f.tree(DataKind::STI);
    f.ui.yesNo = {confirm};
    f.ui.onEvents = [&f] {
        if (f.ui.eventRounds == 1)
            f.state.cancelRequested = true;
    };

    QCOMPARE(BuildFromChosenUnits(f.context), !confirm);
    QCOMPARE(f.ui.asked.size(), 1);
    QCOMPARE(f.ui.asked[0].text, f.text(22));
    QCOMPARE(f.ui.asked[0].caption, QStringLiteral("Cancel"));
    QVERIFY(!f.state.cancelRequested);
    QVERIFY(!f.state.closingAllowed);
    QCOMPARE(f.context.kindLists(DataKind::STI).sourceFiles.size(), confirm ? 0 : 1);
    if (confirm)
        QCOMPARE(f.ui.bar.last(), 0);
}

void tst_FolderScan::windowsNamesRefused_data()
{
    // A User install with every unit but "skip" chosen (so that each is a
    // root of its own), else a Basic install.
    QTest::addColumn<bool>("user");
    QTest::addColumn<QStringList>("packages"); // below the STY folder
    QTest::addColumn<QStringList>("listed");   // the packages that stay in the lists
    // "path: rule text [other]" for each line; a folder's path ends in "/"
    QTest::addColumn<QStringList>("refused");
    QTest::newRow("device") << false << QStringList{"u/a.sty_", "u/con.sty_", "u/Aux.sty_"}
                            << QStringList{"u/a.sty_"}
                            << QStringList{"u/Aux.sty: 191", "u/con.sty: 191"};
    QTest::newRow("files differing in case")
            << false << QStringList{"u/A.sty_", "u/a.sty_", "u/b.sty_"} << QStringList{"u/b.sty_"}
            << QStringList{"u/A.sty: 194 a.sty", "u/a.sty: 194 A.sty"};
    QTest::newRow("folders differing in case")
            << false << QStringList{"Coats/a.sty_", "coats/b.sty_", "Pants/c.sty_"}
            << QStringList{"Pants/c.sty_"} << QStringList{"Coats/: 194 coats", "coats/: 194 Coats"};
    QTest::newRow("folder ending in a dot")
            << false << QStringList{"Coats./a.sty_", "b/c.sty_"} << QStringList{"b/c.sty_"}
            << QStringList{"Coats./: 192"};
    QTest::newRow("character") << false << QStringList{"u/a?b.sty_", "u/c.sty_"}
                               << QStringList{"u/c.sty_"} << QStringList{"u/a?b.sty: 193"};
    QTest::newRow("device folder deep down")
            << false << QStringList{"u/com1/a.sty_", "u/b.sty_"} << QStringList{"u/b.sty_"}
            << QStringList{"u/com1/: 191"};
    QTest::newRow("chosen unit named as a device")
            << true << QStringList{"aux/a.sty_", "ok/b.sty_", "skip/d.sty_"}
            << QStringList{"ok/b.sty_"} << QStringList{"aux/: 191"};
    QTest::newRow("chosen units differing in case")
            << true << QStringList{"Coats/a.sty_", "coats/b.sty_", "ok/c.sty_", "skip/d.sty_"}
            << QStringList{"ok/c.sty_"} << QStringList{"Coats/: 194 coats", "coats/: 194 Coats"};
    QTest::newRow("inside a chosen unit")
            << true << QStringList{"ok/nul.sty_", "ok/c.sty_", "skip/d.sty_"}
            << QStringList{"ok/c.sty_"} << QStringList{"ok/nul.sty: 191"};
}

void tst_FolderScan::windowsNamesRefused()
{
#ifdef Q_OS_WIN
    QSKIP("names that cannot exist on Windows cannot be made here: the Windows check makes "
          "them on Linux (scripts/windows-install-check.sh)");
#endif
    QFETCH(bool, user);
    QFETCH(QStringList, packages);
    QFETCH(QStringList, listed);
    QFETCH(QStringList, refused);
    // GIVEN a data set with names that cannot exist on Windows, on a system
    // that keeps Windows's rules
    InstallFixture f;
    f.context.windowsNames = true;
    f.state.currentKind = DataKind::STY;
    f.state.userInstall = user;
    for (const QString &rel : packages)
        f.addPackage(DataKind::STY, rel, "x");

    // WHEN the lists are built
    if (user) {
        f.tree(DataKind::STY).click(f.nodeOf(DataKind::STY, "skip"));
        QVERIFY(BuildFromChosenUnits(f.context));
    } else {
        ScanFolder(f.context, f.state.kind(DataKind::STY).sourceFolder, true);
    }

    // THEN the refused names are in no list, each has its line naming the rule,
    // and a refused file counts as failed, a refused folder as one not read
    const KindLists &lists = f.context.kindLists(DataKind::STY);
    QStringList files;
    for (const QString &path : lists.sourceFiles)
        files << QDir(f.state.kind(DataKind::STY).sourceFolder).relativeFilePath(path);
    files.sort();
    QCOMPARE(files, listed);
    QStringList expected;
    int folders = 0;
    for (const QString &line : std::as_const(refused)) {
        const QString rel = line.section(": ", 0, 0);
        const int rule = line.section(": ", 1).section(' ', 0, 0).toInt();
        const bool folder = rel.endsWith('/');
        folders += folder ? 1 : 0;
        expected << f.text(folder ? 195 : 65)
                            + QDir::toNativeSeparators(f.destination(DataKind::STY, rel))
                                      .chopped(folder ? 1 : 0)
                            + " - " + f.text(190) + " (" + f.text(rule)
                            + line.section(": ", 1).section(' ', 1) + ")";
    }
    QStringList lines = lists.status;
    lines.sort();
    expected.sort();
    QCOMPARE(lines, expected);
    QCOMPARE(lists.unreadFolders, folders);
    QCOMPARE(lists.refusedFiles.size(), refused.size() - folders);
    for (const FileOutcome &outcome : lists.refusedFiles)
        QCOMPARE(outcome.reason, QStringLiteral("name-not-allowed"));
}

QTEST_GUILESS_MAIN(tst_FolderScan)
#include "tst_folderscan.moc"
