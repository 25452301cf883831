#include "install/CopyWithPrompts.h"
#include "install/DestinationMapper.h"
#include "install/ExtractionLoop.h"
#include "install/FolderScan.h"
#include "install/UnitListBuilder.h"

#include "InstallFixture.h"

#include <QtTest>

// Mapping to destinations, folder creation and the copy with overwrite questions.
class tst_CopyWithPrompts : public QObject
{
    Q_OBJECT
private slots:
    void mapping_data();
    void mapping();
    void mappingMovesBarToTen();
    void firstFolderNeverGetsExistsLine();
    void overwriteAnswers_data();
    void overwriteAnswers();
    void cancelInQuestionKeepsInstalledFilesAndRemovesCopies();
    void titleBarCloseCountsAsCancel();
    void cancelDialogueRemovesOnlyWhatTheRunMade();
    void copyFailureIsReported();

private:
    static void collect(InstallFixture &f, DataKind kind);
};

void tst_CopyWithPrompts::collect(InstallFixture &f, DataKind kind)
{
    f.state.currentKind = kind;
    ScanFolder(f.context, f.state.kind(kind).sourceFolder, true);
}

void tst_CopyWithPrompts::mapping_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("expected");
    QTest::newRow("file") << "/data/STY/u/a.sty_"
                          << "/opt/V/Bin/STY"
                          << "/opt/V/Bin/STY/u/a.sty_";
    QTest::newRow("the folder itself") << "/data/STY"
                                       << "/opt/V/Bin/STY"
                                       << "/opt/V/Bin/STY/";
    QTest::newRow("root destination") << "/data/STY/u"
                                      << "/"
                                      << "/u";
    QTest::newRow("drive root") << "/data/STY/u"
                                << "C:/"
                                << "C:/u";
}

void tst_CopyWithPrompts::mapping()
{
    QFETCH(QString, source);
    QFETCH(QString, destination);
    QFETCH(QString, expected);
    QCOMPARE(MapToDestination(source, "/data/STY", destination), expected);
}

void tst_CopyWithPrompts::mappingMovesBarToTen()
{
    InstallFixture f;
    f.select({DataKind::STY, DataKind::DETAIL});
    for (int i = 0; i < 4; ++i)
        f.addSty(DataKind::STY, QStringLiteral("u/%1.sty_").arg(i), i);
    f.addTex("d/x.tex_");
    collect(f, DataKind::STY);
    collect(f, DataKind::DETAIL);
    f.ui.bar.clear();
    QVERIFY(MapToDestinationPaths(f.context));
    QCOMPARE(f.context.kindLists(DataKind::STY).destinationFiles.size(), 4);
    QCOMPARE(f.context.kindLists(DataKind::DETAIL).destinationFolders,
             QStringList{f.destination(DataKind::DETAIL, "d")});
    // 7 entries in all: the bar climbs to 10 in proportion and stays there.
    QCOMPARE(f.ui.bar, (QList<int>{1, 2, 4, 5, 7, 8, 10, 10}));
}

void tst_CopyWithPrompts::firstFolderNeverGetsExistsLine()
{
    InstallFixture f;
    f.select({DataKind::STY});
    f.addSty(DataKind::STY, "a/x.sty_");
    f.addSty(DataKind::STY, "a/b/y.sty_");
    collect(f, DataKind::STY);
    QVERIFY(MapToDestinationPaths(f.context));
    for (const QString &folder : f.context.kindLists(DataKind::STY).destinationFolders)
        QVERIFY(QDir().mkpath(folder));

    QVERIFY(PrepareAndCopyKind(f.context));
    const KindLists &lists = f.context.kindLists(DataKind::STY);
    QCOMPARE(lists.status,
             QStringList{f.text(40) + NativePath(f.destination(DataKind::STY, "a/b"))});
    QCOMPARE(lists.copied.size(), 2);
    QCOMPARE(f.ui.bar.last(), 40);
}

void tst_CopyWithPrompts::overwriteAnswers_data()
{
    QTest::addColumn<QList<OverwriteAnswer>>("answers");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QList<int>>("statusTexts"); // per file
    QTest::addColumn<int>("copied");
    using A = OverwriteAnswer;
    QTest::newRow("Yes each") << QList<A>{A::Yes, A::Yes, A::Yes} << 3 << QList<int>{41, 41, 41}
                              << 3;
    QTest::newRow("All once") << QList<A>{A::All} << 1 << QList<int>{41, 41, 41} << 3;
    QTest::newRow("No each") << QList<A>{A::No, A::No, A::No} << 3 << QList<int>{42, 42, 42} << 0;
    QTest::newRow("Yes, No, All") << QList<A>{A::Yes, A::No, A::All} << 3 << QList<int>{41, 42, 41}
                                  << 2;
}

void tst_CopyWithPrompts::overwriteAnswers()
{
    QFETCH(QList<OverwriteAnswer>, answers);
    QFETCH(int, questions);
    QFETCH(QList<int>, statusTexts);
    QFETCH(int, copied);
    InstallFixture f;
    f.select({DataKind::STI});
    for (int i = 0; i < 3; ++i) {
        f.addSti(QStringLiteral("u/%1.sti_").arg(i), i);
        QVERIFY(TestFiles::write(f.destination(DataKind::STI, QStringLiteral("u/%1.sti").arg(i)),
                                 "old"));
    }
    collect(f, DataKind::STI);
    SortPaths(f.context.kindLists(DataKind::STI).sourceFiles);
    QVERIFY(MapToDestinationPaths(f.context));
    f.ui.overwrite = answers;

    QVERIFY(PrepareAndCopyKind(f.context));
    QCOMPARE(f.ui.asked.size(), questions);
    // STI puts the name straight after the question's text.
    QCOMPARE(f.ui.asked[0].text, f.text(25) + NativePath(f.destination(DataKind::STI, "u/0.sti")));
    QCOMPARE(f.ui.asked[0].caption, QStringLiteral("Question"));
    const KindLists &lists = f.context.kindLists(DataKind::STI);
    QCOMPARE(lists.copied.size(), copied);
    QVERIFY(ExtractCopiedFiles(f.context));
    // "Not overwritten" is known while copying; "Overwritten" only once the
    // extraction has replaced the file.
    QStringList expected;
    for (int text : {42, 41}) {
        for (int i = 0; i < statusTexts.size(); ++i) {
            if (statusTexts[i] == text)
                expected.append(f.text(text)
                                + NativePath(f.destination(DataKind::STI,
                                                           QStringLiteral("u/%1.sti").arg(i))));
        }
    }
    QCOMPARE(lists.status, expected);
    QCOMPARE(f.ui.memo, lists.status);
}

void tst_CopyWithPrompts::cancelInQuestionKeepsInstalledFilesAndRemovesCopies()
{
    InstallFixture f;
    f.select({DataKind::STY, DataKind::STI});
    for (int i = 0; i < 3; ++i)
        f.addSty(DataKind::STY, QStringLiteral("u/%1.sty_").arg(i), i);
    QVERIFY(TestFiles::write(f.destination(DataKind::STY, "u/1.sty"), "old"));
    collect(f, DataKind::STY);
    SortPaths(f.context.kindLists(DataKind::STY).sourceFiles);
    QVERIFY(MapToDestinationPaths(f.context));
    f.state.currentKind = DataKind::STY;
    f.ui.overwrite = {OverwriteAnswer::Cancel};

    QVERIFY(!PrepareAndCopyKind(f.context));
    // STY puts a line break between the question and the name.
    QCOMPARE(f.ui.asked[0].text,
             f.text(25) + "\n" + NativePath(f.destination(DataKind::STY, "u/1.sty")));
    const KindLists &lists = f.context.kindLists(DataKind::STY);
    QCOMPARE(lists.status,
             (QStringList{f.text(42) + NativePath(f.destination(DataKind::STY, "u/1.sty")),
                          f.text(42) + NativePath(f.destination(DataKind::STY, "u/2.sty"))}));
    QCOMPARE(TestFiles::read(f.destination(DataKind::STY, "u/1.sty")), QByteArray("old"));
    QVERIFY(!QFile::exists(f.destination(DataKind::STY, "u/0.sty_")));
    QVERIFY(!QFile::exists(f.destination(DataKind::STY, "u/2.sty_")));
}

void tst_CopyWithPrompts::titleBarCloseCountsAsCancel()
{
    // The windowed question maps a dialog closed from its title bar to Cancel;
    // here that answer is scripted and must stop the step like Cancel.
    InstallFixture f;
    f.select({DataKind::DETAIL});
    f.addTex("d/a.tex_");
    QVERIFY(TestFiles::write(f.destination(DataKind::DETAIL, "d/a.tex"), "old"));
    collect(f, DataKind::DETAIL);
    QVERIFY(MapToDestinationPaths(f.context));
    f.ui.overwrite = {OverwriteAnswer::Cancel};
    QVERIFY(!PrepareAndCopyKind(f.context));
    QCOMPARE(TestFiles::read(f.destination(DataKind::DETAIL, "d/a.tex")), QByteArray("old"));
}

void tst_CopyWithPrompts::cancelDialogueRemovesOnlyWhatTheRunMade()
{
    // GIVEN a destination that already holds a folder and a file of the user
    InstallFixture f;
    f.select({DataKind::STY});
    f.addSty(DataKind::STY, "old/a.sty_", 1);
    f.addSty(DataKind::STY, "new/b.sty_", 2);
    f.addSty(DataKind::STY, "new/c.sty_", 3);
    QVERIFY(TestFiles::write(f.destination(DataKind::STY, "old/mine.txt"), "mine"));
    const auto before = InstallFixture::snapshot(f.base);
    collect(f, DataKind::STY);
    SortPaths(f.context.kindLists(DataKind::STY).sourceFiles);
    QVERIFY(MapToDestinationPaths(f.context));
    f.state.currentKind = DataKind::STY;
    // WHEN Cancel is pressed during the second file and removal is confirmed
    f.ui.onEvents = [&f] {
        if (f.context.kindLists(DataKind::STY).copied.size() == 2)
            f.state.cancelRequested = true;
    };
    f.ui.yesNo = {true, true};

    QVERIFY(!PrepareAndCopyKind(f.context));
    // THEN the questions were asked and the destination is as it was
    QCOMPARE(f.ui.captions(), (QStringList{"Cancel", "Delete Files"}));
    QCOMPARE(f.ui.asked[1].text, f.text(23));
    QCOMPARE(InstallFixture::snapshot(f.base), before);
    QCOMPARE(f.ui.bar.last(), 0);
}

void tst_CopyWithPrompts::copyFailureIsReported()
{
    InstallFixture f;
    f.select({DataKind::STY});
    f.addSty(DataKind::STY, "u/a.sty_", 1);
    f.addSty(DataKind::STY, "u/b.sty_", 2);
    collect(f, DataKind::STY);
    SortPaths(f.context.kindLists(DataKind::STY).sourceFiles);
    QVERIFY(MapToDestinationPaths(f.context));
    QVERIFY(QFile::remove(f.source(DataKind::STY, "u/a.sty_"))); // vanished after the scan

    QVERIFY(PrepareAndCopyKind(f.context));
    const KindLists &lists = f.context.kindLists(DataKind::STY);
    QCOMPARE(lists.status.size(), 1);
    QVERIFY2(lists.status[0].startsWith(f.text(65)
                                        + NativePath(f.destination(DataKind::STY, "u/a.sty"))
                                        + " - " + f.text(77) + " ("),
             qPrintable(lists.status[0]));
    QCOMPARE(lists.failedFiles, 1);
    QCOMPARE(lists.copied, QStringList{f.destination(DataKind::STY, "u/b.sty_")});
    QVERIFY(!QFile::exists(f.destination(DataKind::STY, "u/a.sty_")));
}

QTEST_GUILESS_MAIN(tst_CopyWithPrompts)
#include "tst_copywithprompts.moc"
