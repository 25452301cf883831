#include "i18n/TextNumbers.h"
#include "install/InstallRun.h"
#include "install/RunLock.h"
#include "install/StatusFiles.h"
#include "install/verify/InstalledDataCheck.h"

#include "InstallFixture.h"
#include "Restrictions.h"

#include "platform/StopSignals.h"

#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

// Whole install runs through the scripted interface, on real folders.
class tst_InstallRun : public QObject
{
    Q_OBJECT
private slots:
    void basicInstallOfAllKinds();
    void userInstallOfChosenUnits();
    void onlyDetail();
    void userInstallWithNothingChosen();
    void cancelWhileMappingAborts();
    void styFailsAndLaterKindsAreUntouched();
    void damagedPackageGivesFailList();
    void namesWindowsCannotHoldFailTheirFiles();
    void statusFilesSaved();
    void statusFileThatCannotBeSaved();
    void secondClickRunsAgain();
    void rollbackLeavesDestinationAsBefore();
    void kindOutcome_data();
    void kindOutcome();
    void failedReplacementKeepsOldFileAndIsNotOverwritten();
    void missingKindFolderFailsTheKind();
    void destinationCannotBeWritten_data();
    void destinationCannotBeWritten();
    void statusFileOnFullDiskKeepsTheEarlierOne();
    void cancelDuringLastUnpackIsAskedBeforeNextKind();
    void cancelBeforeTheRunIsNotAsked();
    void nothingWrittenThroughLinks_data();
    void nothingWrittenThroughLinks();
    void tooLittleSpaceWritesNothing_data();
    void tooLittleSpaceWritesNothing();
    void diskFillingDuringTheRun_data();
    void diskFillingDuringTheRun();
    void stopUndoesTheWholeRun();
    void anotherRunHoldsTheLock();
    void fileAppearingAfterTheCopyStepIsKept_data();
    void fileAppearingAfterTheCopyStepIsKept();

private:
    static void addAllKinds(InstallFixture &f);
};

void tst_InstallRun::addAllKinds(InstallFixture &f)
{
    f.addSty(DataKind::STY, "Jacket/Top/j1.sty_", 1);
    f.addSty(DataKind::STY, "Jacket/Pants/p1.STY_", 2);
    f.addSty(DataKind::STY, "Coat/c1.sty_", 3);
    f.addSti("Blouse/Front/b1.sti_", 4);
    f.addSti("Blouse/b2.sti_", 5);
    f.addTex("Collar/t1.tex_", 6);
    f.addSty(DataKind::DETAIL, "Collar/d1.sty_", 7);
    f.addPackage(DataKind::DETAIL, "Cuff/readme.txt", "not installed");
    f.addPackage(DataKind::DETAIL, "Cuff/x.sti_",
                 PackageBytes::compressed("STIComp", "not installed"));
}

void tst_InstallRun::basicInstallOfAllKinds()
{
    InstallFixture f;
    addAllKinds(f);
    f.select({DataKind::STY, DataKind::STI, DataKind::DETAIL});
    f.ui.defaultYesNo = true;

    InstallRun run(f.context);
    run.btInstallClick();

    QString why;
    QVERIFY2(f.installedAsExpected(&why), qPrintable(why));
    QVERIFY(!QFile::exists(f.destination(DataKind::DETAIL, "Cuff/readme.txt")));
    QVERIFY(!QFile::exists(f.destination(DataKind::DETAIL, "Cuff/x.sti")));
    QCOMPARE(f.ui.memo, (QStringList{f.text(51), f.text(47), f.text(49), f.text(48), f.text(50),
                                     f.text(55), f.text(56)}));
    QCOMPARE(f.ui.stages, (QStringList{f.text(36), f.text(37), f.text(38), f.text(54)}));
    QVERIFY(!f.ui.percentVisible);
    QCOMPARE(f.ui.asked.size(), 1);
    QCOMPARE(f.ui.asked[0].caption, QStringLiteral("Completed"));
    QCOMPARE(f.ui.asked[0].text, f.text(26) + "\n" + f.text(29));
    QCOMPARE(f.ui.closeRequests, 1);
    QVERIFY(f.ui.runButtonsEnabled);
    QCOMPARE(f.ui.elapsedSeconds, 0);
    QCOMPARE(run.outcome(), InstallRun::Outcome::Installed);
}

void tst_InstallRun::userInstallOfChosenUnits()
{
    InstallFixture f;
    addAllKinds(f);
    f.select({DataKind::STY, DataKind::STI, DataKind::DETAIL});
    f.state.userInstall = true;
    f.tree(DataKind::STY).click(f.nodeOf(DataKind::STY, "Coat"));
    f.tree(DataKind::STI);
    f.tree(DataKind::DETAIL).click(f.nodeOf(DataKind::DETAIL, "Collar"));
    for (DataKind kind : AllDataKinds)
        f.state.kind(kind).hasCheckedUnit = f.state.kind(kind).units.hasCheckedUnit();
    f.expected.erase(f.destination(DataKind::STY, "Coat/c1.sty"));
    f.expected.erase(f.destination(DataKind::DETAIL, "Collar/t1.tex"));
    f.expected.erase(f.destination(DataKind::DETAIL, "Collar/d1.sty"));

    InstallRun run(f.context);
    run.btInstallClick();

    QString why;
    QVERIFY2(f.installedAsExpected(&why), qPrintable(why));
    QVERIFY(!QFile::exists(f.destination(DataKind::STY, "Coat")));
    QVERIFY(!QFile::exists(f.destination(DataKind::DETAIL, "Collar")));
    QVERIFY(QFileInfo(f.destination(DataKind::DETAIL, "Cuff")).isDir());
    QCOMPARE(f.ui.asked.last().caption, QStringLiteral("Completed"));
}

void tst_InstallRun::onlyDetail()
{
    InstallFixture f;
    addAllKinds(f);
    f.select({DataKind::DETAIL});
    QVERIFY(TestFiles::write(f.destination(DataKind::DETAIL, "Collar/t1.tex"), "old"));
    f.ui.defaultOverwrite = OverwriteAnswer::No;

    InstallRun run(f.context);
    run.btInstallClick();

    QCOMPARE(f.ui.stages, (QStringList{f.text(36), f.text(54)}));
    QCOMPARE(f.ui.memo.mid(1, 1), QStringList{f.text(55)});
    QCOMPARE(f.ui.memo.last(), f.text(56));
    QVERIFY(!QFile::exists(f.destination(DataKind::STY, "")));
    // The fail list offered names only the DETAIL status file.
    const ScriptedInstallUi::Asked &offer = f.ui.asked.at(1);
    QCOMPARE(offer.caption, QStringLiteral("Completed"));
    QCOMPARE(offer.text,
             f.text(27) + "\n\n"
                     + NativePath(StatusFileName(DataKind::DETAIL, f.context.statusFolder,
                                                 QDate::currentDate())));
}

void tst_InstallRun::userInstallWithNothingChosen()
{
    InstallFixture f;
    addAllKinds(f);
    f.select({DataKind::STY});
    f.state.userInstall = true;
    f.state.kind(DataKind::STI).hasCheckedUnit = true; // ticked once, but STI is not selected
    InstallRun run(f.context);
    run.btInstallClick();
    QCOMPARE(f.ui.asked.size(), 1);
    QCOMPARE(f.ui.asked[0].type, QStringLiteral("warning"));
    QCOMPARE(f.ui.asked[0].caption, QStringLiteral("Not Selected"));
    QCOMPARE(f.ui.asked[0].text, f.text(31));
    QVERIFY(f.ui.runButtonsEnabled);
    QVERIFY(!QFile::exists(f.base));
}

void tst_InstallRun::cancelWhileMappingAborts()
{
    InstallFixture f;
    addAllKinds(f);
    f.select({DataKind::STY, DataKind::STI});
    f.ui.onEvents = [&f] {
        if (!f.context.kindLists(DataKind::STY).destinationFiles.isEmpty())
            f.state.cancelRequested = true;
    };
    f.ui.yesNo = {true, false};

    InstallRun run(f.context);
    run.btInstallClick();
    QCOMPARE(f.ui.captions(), (QStringList{"Cancel", "Close Installer"}));
    QCOMPARE(f.ui.asked[1].text, f.text(29));
    QCOMPARE(f.ui.closeRequests, 0);
    QVERIFY(!f.state.closingAllowed);
    QVERIFY(f.ui.runButtonsEnabled);
    QCOMPARE(f.ui.bar.last(), 0);
    QVERIFY(!QFile::exists(f.base));
    QCOMPARE(run.outcome(), InstallRun::Outcome::Aborted);
}

void tst_InstallRun::styFailsAndLaterKindsAreUntouched()
{
    InstallFixture f;
    addAllKinds(f);
    f.select({DataKind::STY, DataKind::STI, DataKind::DETAIL});
    QVERIFY(TestFiles::write(f.destination(DataKind::STY, "Coat/c1.sty"), "old"));
    f.ui.overwrite = {OverwriteAnswer::Cancel};
    f.ui.yesNo = {false, false};

    InstallRun run(f.context);
    run.btInstallClick();

    QCOMPARE(f.ui.memo,
             (QStringList{f.text(51), f.text(47), f.text(43), f.text(44), f.text(57), f.text(82)}));
    const QStringList sty = f.context.kindLists(DataKind::STY).status;
    QCOMPARE(sty.last(), f.text(43));
    QVERIFY(sty.first().startsWith(f.text(42)));
    QCOMPARE(f.context.kindLists(DataKind::STI).status, QStringList{f.text(44)});
    QCOMPARE(f.context.kindLists(DataKind::DETAIL).status, QStringList{f.text(57)});
    QVERIFY(!QFile::exists(f.state.kind(DataKind::STI).destination));
    QVERIFY(!QFile::exists(f.state.kind(DataKind::DETAIL).destination));
    QCOMPARE(TestFiles::read(f.destination(DataKind::STY, "Coat/c1.sty")), QByteArray("old"));
    // Never reported as completed.
    QCOMPARE(f.ui.captions(), (QStringList{"Question", "Save fail list", "Close Installer"}));
    QCOMPARE(run.outcome(), InstallRun::Outcome::KindFailed);
}

void tst_InstallRun::damagedPackageGivesFailList()
{
    InstallFixture f;
    f.select({DataKind::STI});
    f.addSti("u/good.sti_", 1);
    f.addPackage(DataKind::STI, "u/bad.sti_",
                 PackageBytes::compressed("STIComp", PackageBytes::stiData(4000, 499)));
    f.ui.yesNo = {false, false};

    InstallRun run(f.context);
    run.btInstallClick();

    QString why;
    QVERIFY2(f.installedAsExpected(&why), qPrintable(why));
    QVERIFY(!QFile::exists(f.destination(DataKind::STI, "u/bad.sti")));
    const QString withErrors = f.text(71).arg(1).arg(2);
    QCOMPARE(f.context.kindLists(DataKind::STI).status,
             (QStringList{f.text(65) + NativePath(f.destination(DataKind::STI, "u/bad.sti")) + " - "
                                  + f.text(76),
                          withErrors}));
    QCOMPARE(f.ui.memo.last(), withErrors); // never "installed", never "complete"
    QCOMPARE(f.ui.captions(), (QStringList{"Save fail list", "Close Installer"}));
    QCOMPARE(run.outcome(), InstallRun::Outcome::KindFailed);
}

void tst_InstallRun::namesWindowsCannotHoldFailTheirFiles()
{
#ifdef Q_OS_WIN
    QSKIP("such names cannot be made on Windows: the Windows check makes them on Linux");
#endif
    // GIVEN, where names keep Windows's rules, a device name and two names
    // that Windows takes for one beside a good file, and one of them installed
    InstallFixture f;
    f.context.windowsNames = true;
    f.select({DataKind::STI});
    f.addSti("u/good.sti_", 1);
    for (const char *rel : {"u/con.sti_", "u/Pair.sti_", "u/pair.sti_"})
        f.addPackage(DataKind::STI, rel, PackageBytes::compressed("STIComp", "data"));
    QVERIFY(TestFiles::write(f.destination(DataKind::STI, "u/Pair.sti"), "installed before"));
    f.ui.defaultOverwrite = OverwriteAnswer::All;
    f.ui.yesNo = {false, false};

    // WHEN everything is installed, replacing what is there
    InstallRun run(f.context);
    run.btInstallClick();

    // THEN only the good file is written, each refused one fails with its
    // rule, and the kind is not called installed
    QString why;
    QVERIFY2(f.installedAsExpected(&why), qPrintable(why));
    QCOMPARE(TestFiles::read(f.destination(DataKind::STI, "u/Pair.sti")), "installed before");
    QVERIFY(!QFile::exists(f.destination(DataKind::STI, "u/con.sti")));
    const KindLists &lists = f.context.kindLists(DataKind::STI);
    QCOMPARE(lists.status.last(), f.text(71).arg(3).arg(4));
    QCOMPARE(run.outcome(), InstallRun::Outcome::KindFailed);
    QStringList reasons;
    for (const FileOutcome &outcome : lists.outcomes)
        reasons << QFileInfo(outcome.path).fileName() + ' ' + outcome.reason;
    reasons.sort();
    QCOMPARE(reasons, (QStringList{"Pair.sti name-not-allowed", "con.sti name-not-allowed",
                                   "good.sti ", "pair.sti name-not-allowed"}));

    // AND a check of the same selection counts them as not checked
    QVERIFY(InstallRun(f.context).collectLists());
    InstalledDataCheck check(f.context);
    check.checkAll();
    QCOMPARE(check.verdict(), InstalledDataCheck::Verdict::Incomplete);
}

void tst_InstallRun::statusFilesSaved()
{
    InstallFixture f;
    addAllKinds(f);
    f.select({DataKind::STY, DataKind::STI});
    QVERIFY(TestFiles::write(f.destination(DataKind::STY, "Coat/c1.sty"), "old"));
    QVERIFY(TestFiles::write(f.destination(DataKind::STI, "Blouse/b2.sti"), "old"));
    f.ui.defaultOverwrite = OverwriteAnswer::No;
    f.ui.yesNo = {true, false};

    InstallRun run(f.context);
    run.btInstallClick();

    const QString sty = StatusFileName(DataKind::STY, f.context.statusFolder, QDate::currentDate());
    const QString sti = StatusFileName(DataKind::STI, f.context.statusFolder, QDate::currentDate());
    QCOMPARE(TestFiles::read(sty),
             (f.text(42) + NativePath(f.destination(DataKind::STY, "Coat/c1.sty")) + "\r\n")
                     .toUtf8());
    QVERIFY(QFile::exists(sti));
    QCOMPARE(f.ui.captions(), (QStringList{"Question", "Question", "Completed", "Saved"}));
    QCOMPARE(f.ui.asked[3].text,
             f.text(28) + "\n\n" + NativePath(sty) + "\n" + NativePath(sti) + "\n\n" + f.text(29));
    QCOMPARE(run.savedStatusFiles(), (QStringList{sty, sti}));
}

void tst_InstallRun::statusFileThatCannotBeSaved()
{
    InstallFixture f;
    addAllKinds(f);
    f.select({DataKind::STI});
    QVERIFY(TestFiles::write(f.destination(DataKind::STI, "Blouse/b2.sti"), "old"));
    // A file where the status folder should be: nothing can be saved there.
    QVERIFY(TestFiles::write(f.dir.filePath("blocked"), "a file"));
    f.context.statusFolder = f.dir.filePath("blocked");
    f.ui.yesNo = {true, false};

    InstallRun run(f.context);
    run.btInstallClick();

    const QString sti = StatusFileName(DataKind::STI, f.context.statusFolder, QDate::currentDate());
    QCOMPARE(f.ui.captions(), (QStringList{"Question", "Completed", "Warning", "Close Installer"}));
    QVERIFY(f.ui.asked[2].text.startsWith(f.text(66) + NativePath(sti)));
    QVERIFY(run.savedStatusFiles().isEmpty());
}

void tst_InstallRun::secondClickRunsAgain()
{
    InstallFixture f;
    f.addSti("Blouse/Front/b1.sti_", 4);
    f.addSti("Blouse/b2.sti_", 5);
    f.select({DataKind::STI});
    f.ui.yesNo = {false};
    InstallRun run(f.context);
    run.btInstallClick();
    QVERIFY(f.ui.runButtonsEnabled);
    QCOMPARE(f.ui.closeRequests, 0);

    f.ui.asked.clear();
    f.ui.overwrite = {OverwriteAnswer::All};
    f.ui.yesNo = {false, true};
    run.btInstallClick();
    QCOMPARE(f.ui.captions(), (QStringList{"Question", "Completed", "Completed"}));
    QCOMPARE(f.context.kindLists(DataKind::STI).status.size(),
             3); // two overwritten, one folder exists
    QCOMPARE(f.ui.closeRequests, 1);
    QString why;
    QVERIFY2(f.installedAsExpected(&why), qPrintable(why));
}

void tst_InstallRun::rollbackLeavesDestinationAsBefore()
{
    // GIVEN a destination with the user's own files, one of which the run may overwrite
    InstallFixture f;
    addAllKinds(f);
    f.select({DataKind::STY, DataKind::STI, DataKind::DETAIL});
    QVERIFY(TestFiles::write(f.destination(DataKind::STY, "Jacket/notes.txt"), "mine"));
    QVERIFY(TestFiles::write(f.destination(DataKind::STY, "Coat/c1.sty"), "old"));
    QVERIFY(TestFiles::write(f.destination(DataKind::STI, "Blouse/keep.sti"), "mine"));
    auto before = InstallFixture::snapshot(f.base);
    f.ui.overwrite = {OverwriteAnswer::Yes};
    // WHEN Cancel is pressed while STI is being copied and removal is confirmed
    f.ui.onEvents = [&f] {
        if (f.context.kindLists(DataKind::STI).copied.size() == 1)
            f.state.cancelRequested = true;
    };
    f.ui.yesNo = {true, true, true, false};

    InstallRun run(f.context);
    run.btInstallClick();

    // THEN everything is as before, byte for byte, the file the user agreed
    // to overwrite included
    QCOMPARE(f.ui.captions(), (QStringList{"Question", "Cancel Installing", "Delete Files",
                                           "Save fail list", "Saved"}));
    QCOMPARE(InstallFixture::snapshot(f.base), before);
    // AND the memo says so: STY's two new files, its two new folders and STI's
    // one, and the replaced file put back
    QCOMPARE(f.ui.memo.last(), f.text(95).arg(2).arg(3).arg(1));
    QVERIFY(f.journals().isEmpty());
}

void tst_InstallRun::kindOutcome_data()
{
    QTest::addColumn<int>("good");
    QTest::addColumn<int>("damaged");
    QTest::addColumn<int>("closingText");
    QTest::newRow("all installed") << 2 << 0 << 49;
    QTest::newRow("one of three damaged") << 2 << 1 << 70;
    QTest::newRow("all damaged") << 0 << 2 << 43;
}

void tst_InstallRun::kindOutcome()
{
    QFETCH(int, good);
    QFETCH(int, damaged);
    QFETCH(int, closingText);
    // GIVEN STY packages of which some do not inflate, and an STI package
    InstallFixture f;
    f.select({DataKind::STY, DataKind::STI});
    f.addSti("u/s.sti_");
    for (int i = 0; i < good; ++i)
        f.addSty(DataKind::STY, QStringLiteral("u/g%1.sty_").arg(i), i);
    QByteArray bad = PackageBytes::compressed("STYComp", PackageBytes::styData(5000));
    bad[200] = char(bad[200] ^ 0x20);
    for (int i = 0; i < damaged; ++i)
        f.addPackage(DataKind::STY, QStringLiteral("u/d%1.sty_").arg(i), bad);

    InstallRun run(f.context);
    run.btInstallClick();

    // THEN STY's closing line says what happened, STI is installed all the
    // same, and a run with any failed file takes the failure branch
    QString closing = f.text(closingText);
    if (closingText == 70)
        closing = closing.arg(damaged).arg(good + damaged);
    QCOMPARE(f.ui.memo.at(2 + damaged), closing);
    QCOMPARE(f.ui.memo.last(), f.text(50));
    const bool complete = damaged == 0;
    QCOMPARE(run.outcome(),
             complete ? InstallRun::Outcome::Installed : InstallRun::Outcome::KindFailed);
    QCOMPARE(f.ui.asked.first().caption, complete ? "Completed" : "Save fail list");
}

void tst_InstallRun::failedReplacementKeepsOldFileAndIsNotOverwritten()
{
    // GIVEN an installed file the user agrees to replace with a damaged package
    InstallFixture f;
    f.select({DataKind::STY});
    QByteArray truncated = PackageBytes::compressed("STYComp", PackageBytes::styData(5000));
    truncated.chop(30);
    f.addPackage(DataKind::STY, "u/a.sty_", truncated);
    const QString installed = f.destination(DataKind::STY, "u/a.sty");
    QVERIFY(TestFiles::write(installed, "old"));
    f.ui.overwrite = {OverwriteAnswer::Yes};

    InstallRun run(f.context);
    run.btInstallClick();

    // THEN the old file stays, and the lines say it was not installed, not
    // that it was overwritten
    QCOMPARE(TestFiles::read(installed), QByteArray("old"));
    QCOMPARE(f.context.kindLists(DataKind::STY).status,
             (QStringList{f.text(65) + NativePath(installed) + " - " + f.text(74), f.text(43)}));
    QVERIFY(!QFile::exists(installed + '_'));
}

void tst_InstallRun::missingKindFolderFailsTheKind()
{
    // GIVEN a data set description naming an STI folder that is not there
    InstallFixture f;
    addAllKinds(f);
    f.select({DataKind::STY, DataKind::STI});
    const QString sti = f.state.kind(DataKind::STI).sourceFolder;
    QVERIFY(QDir(sti).removeRecursively());

    InstallRun run(f.context);
    run.btInstallClick();

    // THEN STI fails with a line naming the folder, while STY is installed
    QCOMPARE(f.context.kindLists(DataKind::STI).status,
             (QStringList{f.text(84) + NativePath(sti), f.text(44)}));
    QVERIFY(f.ui.memo.contains(f.text(49)));
    QCOMPARE(run.outcome(), InstallRun::Outcome::KindFailed);
}

void tst_InstallRun::destinationCannotBeWritten_data()
{
    QTest::addColumn<bool>("blockedByFile"); // else a folder that cannot be written
    QTest::newRow("a file where the STY folder should be") << true;
    QTest::newRow("read-only folder") << false;
}

void tst_InstallRun::destinationCannotBeWritten()
{
    QFETCH(bool, blockedByFile);
    // GIVEN an STY destination that cannot take files
    InstallFixture f;
    addAllKinds(f);
    f.select({DataKind::STY, DataKind::STI});
    const QString sty = f.state.kind(DataKind::STY).destination;
    std::unique_ptr<Restrictions::Immutable> readOnly;
    if (blockedByFile) {
        QVERIFY(TestFiles::write(sty, "a file"));
    } else {
        QVERIFY(QDir().mkpath(sty));
        readOnly = std::make_unique<Restrictions::Immutable>(QStringList{sty});
        if (!readOnly->isApplied())
            QSKIP(qPrintable("no read-only folder here: " + readOnly->whyNot()));
    }

    InstallRun run(f.context);
    run.btInstallClick();

    // THEN STY fails with one line saying why, not a line per file, and STI
    // is installed all the same
    const QString why = blockedByFile ? f.text(39) + NativePath(sty) + " - " + f.text(79)
                                      : f.text(86) + NativePath(sty);
    QCOMPARE(f.context.kindLists(DataKind::STY).status, (QStringList{why, f.text(43)}));
    QVERIFY(f.ui.memo.contains(f.text(50)));
    QCOMPARE(run.outcome(), InstallRun::Outcome::KindFailed);
    QCOMPARE(f.ui.asked.first().caption, QStringLiteral("Save fail list"));
}

void tst_InstallRun::statusFileOnFullDiskKeepsTheEarlierOne()
{
    // GIVEN a status folder on a full disk that holds today's earlier status file
    InstallFixture f;
    addAllKinds(f);
    f.select({DataKind::STI});
    QVERIFY(TestFiles::write(f.destination(DataKind::STI, "Blouse/b2.sti"), "old"));
    Restrictions::SmallDisk disk(f.context.statusFolder, "16k");
    if (!disk.isMounted())
        QSKIP(qPrintable("no small disk here: " + disk.whyNot()));
    const QString sti = StatusFileName(DataKind::STI, f.context.statusFolder, QDate::currentDate());
    QVERIFY(TestFiles::write(sti, "earlier"));
    QFile filler(f.context.statusFolder + "/filler");
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (filler.write(QByteArray(4096, 'x')) > 0) {
    }
    filler.close();
    f.ui.yesNo = {true, false};

    InstallRun run(f.context);
    run.btInstallClick();

    // THEN it is not listed as saved, and the earlier file is still there
    QCOMPARE(f.ui.captions(), (QStringList{"Question", "Completed", "Warning", "Close Installer"}));
    QVERIFY(f.ui.asked[2].text.startsWith(f.text(66) + NativePath(sti)));
    QVERIFY(run.savedStatusFiles().isEmpty());
    QCOMPARE(TestFiles::read(sti), QByteArray("earlier"));
}

void tst_InstallRun::cancelDuringLastUnpackIsAskedBeforeNextKind()
{
    // GIVEN Cancel pressed while STY's last file is unpacked
    InstallFixture f;
    addAllKinds(f);
    f.select({DataKind::STY, DataKind::STI});
    bool pressed = false;
    f.ui.onEvents = [&] {
        const KindLists &sty = f.context.kindLists(DataKind::STY);
        if (!pressed && sty.createdFiles.size() == 2 && f.ui.percent.last() == 100)
            pressed = f.state.cancelRequested = true;
    };
    f.ui.yesNo = {true, true, false};

    InstallRun run(f.context);
    run.btInstallClick();

    // THEN it is asked before STI copies anything, and honoured
    QCOMPARE(f.ui.captions().mid(0, 2), (QStringList{"Cancel Installing", "Delete Files"}));
    QVERIFY(f.context.kindLists(DataKind::STI).copied.isEmpty());
    QVERIFY(!QFile::exists(f.destination(DataKind::STY, "Coat/c1.sty")));
    QVERIFY(!QFile::exists(f.base));
    // STY's three files and seven folders (from Vestra down), STI's three folders
    QCOMPARE(f.ui.memo.last(), f.text(83).arg(3).arg(10));
}

void tst_InstallRun::cancelBeforeTheRunIsNotAsked()
{
    InstallFixture f;
    addAllKinds(f);
    f.select({DataKind::STI});
    f.state.cancelRequested = true; // pressed on the last page before Install
    InstallRun run(f.context);
    run.btInstallClick();
    QCOMPARE(f.ui.captions(), QStringList{"Completed"});
    QCOMPARE(run.outcome(), InstallRun::Outcome::Installed);
}

void tst_InstallRun::nothingWrittenThroughLinks_data()
{
    QTest::addColumn<QString>("planted"); // what stands in the destination before the run
    QTest::addColumn<bool>("fails");      // the file fails; else it installs past the link
    QTest::newRow("installed file is a link to a file outside") << "Coat/c1.sty>file" << true;
    QTest::newRow("folder on the way is a link to a folder outside") << "Coat>folder" << true;
    QTest::newRow("packed copy's name is a link to a file outside") << "Coat/c1.sty_>file" << false;
#ifdef Q_OS_UNIX
    QTest::newRow("installed file is a pipe") << "Coat/c1.sty|" << true;
#endif
}

void tst_InstallRun::nothingWrittenThroughLinks()
{
    QFETCH(QString, planted);
    QFETCH(bool, fails);
    // GIVEN an STY destination where another account planted a link to a file
    // or folder outside it, or a pipe
    InstallFixture f;
    addAllKinds(f);
    f.select({DataKind::STY});
    const QString outside = f.dir.filePath("outside");
    QVERIFY(TestFiles::write(outside + "/victim", "not to be touched"));
    QVERIFY(QFile::setPermissions(outside + "/victim", QFileDevice::ReadOwner));
    const QString at
            = f.destination(DataKind::STY, planted.section(QRegularExpression("[>|]"), 0, 0));
    QVERIFY(QDir().mkpath(QFileInfo(at).path()));
    if (planted.endsWith('|')) {
#ifdef Q_OS_UNIX
        QCOMPARE(::mkfifo(QFile::encodeName(at).constData(), 0666), 0);
#else
        QSKIP("pipes are not files here");
#endif
    } else if (!TestFiles::symbolicLink(planted.endsWith("file") ? outside + "/victim" : outside,
                                        at)) {
        QSKIP("this system makes no symbolic links (Wine cannot)");
    }
    const auto outsideBefore = InstallFixture::snapshot(outside);
    f.ui.defaultOverwrite = OverwriteAnswer::All;

    InstallRun run(f.context);
    run.btInstallClick();

    // THEN nothing outside the destination changed, and the file that would
    // have gone through the link fails with its reason
    QCOMPARE(InstallFixture::snapshot(outside), outsideBefore);
    QVERIFY(!(QFile::permissions(outside + "/victim")
              & (QFileDevice::ReadOther | QFileDevice::ReadGroup | QFileDevice::WriteOwner)));
    const QString line = f.text(65) + NativePath(f.destination(DataKind::STY, "Coat/c1.sty"))
                         + " - " + f.text(90);
    QCOMPARE(f.context.kindLists(DataKind::STY).status.contains(line), fails);
    QCOMPARE(run.outcome(),
             fails ? InstallRun::Outcome::KindFailed : InstallRun::Outcome::Installed);
    if (!fails)
        QCOMPARE(TestFiles::read(f.destination(DataKind::STY, "Coat/c1.sty")),
                 f.expected[f.destination(DataKind::STY, "Coat/c1.sty")]);
    QVERIFY(f.journals().isEmpty());
}

void tst_InstallRun::tooLittleSpaceWritesNothing_data()
{
    QTest::addColumn<int>("dataSize");
    QTest::addColumn<bool>("replacing"); // an installed file of the same size is there
    QTest::addColumn<QString>("disk");
    QTest::addColumn<QString>("free"); // as the warning says it; empty: not looked at
    QTest::addColumn<bool>("keep");    // --overwrite none: the installed file is kept
    QTest::newRow("more data than the disk holds") << 300000 << false << "64k"
                                                   << "64.0 kB" << false;
    // The earlier version of a replaced file is kept until the run ends, so
    // its space is not free for the new one; a file that is kept needs none.
    QTest::newRow("replacing, with the earlier version kept") << 150000 << true << "256k"
                                                              << "" << false;
    QTest::newRow("keeping the installed file") << 150000 << true << "256k"
                                                << "" << true;
}

void tst_InstallRun::tooLittleSpaceWritesNothing()
{
    QFETCH(int, dataSize);
    QFETCH(bool, replacing);
    QFETCH(QString, disk);
    QFETCH(QString, free);
    QFETCH(bool, keep);
    // GIVEN destinations on a disk with less room than the STY data needs
    InstallFixture f;
    f.select({DataKind::STY});
    f.addPackage(DataKind::STY, "u/big.sty_",
                 PackageBytes::compressed("STYComp", PackageBytes::styData(dataSize)));
    Restrictions::SmallDisk small(f.base, disk);
    if (!small.isMounted())
        QSKIP(qPrintable("no small disk here: " + small.whyNot()));
    if (replacing)
        QVERIFY(TestFiles::write(f.destination(DataKind::STY, "u/big.sty"),
                                 PackageBytes::styData(dataSize, 2)));
    const auto before = InstallFixture::snapshot(f.base);
    f.ui.defaultOverwrite = keep ? OverwriteAnswer::No : OverwriteAnswer::All;
    f.context.presetOverwrite = f.ui.defaultOverwrite;

    InstallRun run(f.context);
    run.btInstallClick();

    QCOMPARE(InstallFixture::snapshot(f.base), before);
    if (keep) {
        QCOMPARE(run.outcome(), InstallRun::Outcome::Installed);
        return;
    }
    // THEN a warning names the disk, the space needed and free; nothing is written
    QCOMPARE(f.ui.captions(), QStringList{"Warning"});
    QVERIFY2(f.ui.asked[0].text.startsWith(f.text(93).section("%1", 0, 0)
                                           + NativePath(f.base).chopped(1) + ":"),
             qPrintable(f.ui.asked[0].text));
    QVERIFY2(f.ui.asked[0].text.contains(free), qPrintable(f.ui.asked[0].text));
    QCOMPARE(run.outcome(), InstallRun::Outcome::NoSpace);
    QVERIFY(f.ui.runButtonsEnabled);
}

void tst_InstallRun::diskFillingDuringTheRun_data()
{
    QTest::addColumn<int>("workers");
    QTest::newRow("one thread") << 1;
    QTest::newRow("unpacking while copying") << 2;
}

void tst_InstallRun::diskFillingDuringTheRun()
{
    QFETCH(int, workers);
    // GIVEN a disk with room for the run when it starts, which something else
    // fills once three packed copies are in place, and an installed file
    InstallFixture f;
    f.select({DataKind::STI});
    f.context.unpackWorkers = workers;
    for (int i = 0; i < 4; ++i) {
        // Far larger unpacked than packed, so a removed packed copy does not
        // make room for the next file.
        const QByteArray data = PackageBytes::stiData(20000, 700 + i);
        const QString rel = QStringLiteral("u/s%1.sti_").arg(i);
        f.addPackage(DataKind::STI, rel, PackageBytes::compressed("STIComp", data));
        f.expected[f.destination(DataKind::STI, rel.chopped(1))] = data;
    }
    Restrictions::SmallDisk disk(f.base, "256k");
    if (!disk.isMounted())
        QSKIP(qPrintable("no small disk here: " + disk.whyNot()));
    QVERIFY(TestFiles::write(f.destination(DataKind::STI, "u/s0.sti"), "old"));
    f.ui.defaultOverwrite = OverwriteAnswer::All;
    f.ui.onEvents = [&f] {
        if (f.context.kindLists(DataKind::STI).copied.size() < 3 || QFile::exists(f.base + "fill"))
            return;
        QFile filler(f.base + "fill");
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'x')) > 0) {
        }
    };

    InstallRun run(f.context);
    run.btInstallClick();

    // THEN the files that met the full disk fail saying so, and nothing of the
    // run's is left but whole installed files; the user's file holds either its
    // old bytes or the whole new data
    const QStringList status = f.context.kindLists(DataKind::STI).status;
    QVERIFY2(!status.filter(" - " + f.text(81)).isEmpty(),
             qPrintable(status.join('\n') + f.ui.memo.join('\n')));
    for (const auto &[rel, bytes] : InstallFixture::snapshot(f.base)) {
        const QString path = f.base + rel;
        const bool whole = bytes == f.expected[path] || (rel.endsWith("s0.sti") && bytes == "old");
        QVERIFY2(rel == "fill" || bytes == "<dir>" || whole, qPrintable(rel));
    }
    QCOMPARE(run.outcome(), InstallRun::Outcome::KindFailed);
    QVERIFY(f.journals().isEmpty());
}

void tst_InstallRun::stopUndoesTheWholeRun()
{
    // GIVEN a run of two kinds over the user's files, one of which it replaces
    InstallFixture f;
    addAllKinds(f);
    f.select({DataKind::STY, DataKind::STI});
    QVERIFY(TestFiles::write(f.destination(DataKind::STY, "Coat/c1.sty"), "old"));
    QVERIFY(TestFiles::write(f.destination(DataKind::STI, "Blouse/keep.sti"), "mine"));
    const auto before = InstallFixture::snapshot(f.base);
    f.ui.defaultOverwrite = OverwriteAnswer::All;
    // WHEN the system asks the program to stop while STI is unpacked
    bool sent = false;
    f.ui.onEvents = [&] {
        if (!sent && !f.context.kindLists(DataKind::STI).createdFiles.isEmpty()) {
            sent = true;
            RequestStopLikeTheSystem();
        }
    };

    InstallRun run(f.context);
    run.btInstallClick();

    // THEN the whole run is undone without a question, STY included
    QVERIFY(sent);
    QCOMPARE(f.ui.captions(), QStringList{"Question"}); // only whether to overwrite c1.sty
    QCOMPARE(InstallFixture::snapshot(f.base), before);
    QCOMPARE(run.outcome(), InstallRun::Outcome::Interrupted);
    QVERIFY(f.ui.memo.contains(f.text(97)));
    QVERIFY(f.ui.runButtonsEnabled);
    QVERIFY(f.journals().isEmpty());
}

void tst_InstallRun::anotherRunHoldsTheLock()
{
    // GIVEN another run on this computer that holds the lock
    InstallFixture f;
    addAllKinds(f);
    f.select({DataKind::STY});
    RunLock other(f.context.lockFolder);
    QCOMPARE(other.tryTake(), ProcessLock::Result::Taken);

    InstallRun run(f.context);
    run.btInstallClick();

    // THEN a warning names it, and nothing is written
    QCOMPARE(f.ui.captions(), QStringList{"Warning"});
    QVERIFY2(f.ui.asked[0].text.startsWith(
                     f.text(InstallText::RunInProgressWindow).section("%1", 0, 0)
                     + QString::number(QCoreApplication::applicationPid())),
             qPrintable(f.ui.asked[0].text));
    QCOMPARE(run.outcome(), InstallRun::Outcome::NotStarted);
    QVERIFY(InstallFixture::snapshot(f.base).empty());
    QVERIFY(f.ui.runButtonsEnabled);
}

void tst_InstallRun::fileAppearingAfterTheCopyStepIsKept_data()
{
    QTest::addColumn<OverwriteAnswer>("answer");
    QTest::newRow("none") << OverwriteAnswer::No;
    QTest::newRow("all") << OverwriteAnswer::All;
}

// Where a file is placed, the copy step's answer stands: it found no file, so
// nobody was asked whether to replace one that appeared since.
void tst_InstallRun::fileAppearingAfterTheCopyStepIsKept()
{
    QFETCH(OverwriteAnswer, answer);
    InstallFixture f;
    f.select({DataKind::STY});
    f.context.unpackWorkers = 1;
    f.addSty(DataKind::STY, "u/a.sty_", 1);
    f.addSty(DataKind::STY, "u/b.sty_", 2);
    f.ui.defaultOverwrite = answer;
    // WHEN a file appears at b.sty once the copies are in place
    const QString later = f.destination(DataKind::STY, "u/b.sty");
    f.ui.onEvents = [&] {
        if (f.ui.bar.last() > 40 && !QFile::exists(later))
            QVERIFY(TestFiles::write(later, "theirs"));
    };

    InstallRun run(f.context);
    run.btInstallClick();

    // THEN it is kept, and said to be
    QCOMPARE(TestFiles::read(later), QByteArray("theirs"));
    QVERIFY2(f.ui.memo.contains(f.text(InstallText::NotOverwritten) + NativePath(later)),
             qPrintable(f.ui.memo.join('\n')));
    const QList<FileOutcome> &outcomes = f.context.kindLists(DataKind::STY).outcomes;
    QCOMPARE(outcomes.last().path, later);
    QCOMPARE(outcomes.last().result, FileOutcome::Result::Kept);
    QCOMPARE(InstallFixture::snapshot(f.base + "STY_2027SS/u").size(), 2); // a.sty and b.sty
}

QTEST_GUILESS_MAIN(tst_InstallRun)
#include "tst_installrun.moc"
