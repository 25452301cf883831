#include "install/ExtractionLoop.h"
#include "install/journal/RunJournal.h"

#include "InstallFixture.h"

#include <QtTest>

// Unpacking a kind's copied files: progress, failures, cancel and rollback.
class tst_ExtractionLoop : public QObject
{
    Q_OBJECT
private slots:
    void emptyListGoesTo100();
    void progressPerEntry();
    void damagedPackageIsReportedAndLeavesNothing();
    void replacesInstalledFileWithoutQuestion();
    void cancel_data();
    void cancel();

private:
    // Puts packages straight into the destination as the copy step would,
    // answered Yes for any installed file there.
    static void copyIn(InstallFixture &f, int count);
};

void tst_ExtractionLoop::copyIn(InstallFixture &f, int count)
{
    f.state.currentKind = DataKind::STY;
    KindLists &lists = f.context.kindLists(DataKind::STY);
    for (int i = 0; i < count; ++i) {
        const QString packed = f.destination(DataKind::STY, QStringLiteral("u/%1.sty_").arg(i));
        const QByteArray data = PackageBytes::styData(4000, 500 + i);
        QVERIFY(TestFiles::write(packed, PackageBytes::compressed("STYComp", data)));
        f.expected[packed.chopped(1)] = data;
        lists.copied.append(packed);
        lists.mayReplace.insert(packed);
    }
}

void tst_ExtractionLoop::emptyListGoesTo100()
{
    InstallFixture f;
    QVERIFY(ExtractCopiedFiles(f.context));
    QCOMPARE(f.ui.bar, QList<int>{100});
    QCOMPARE(f.ui.percent, QList<int>{100});
}

void tst_ExtractionLoop::progressPerEntry()
{
    InstallFixture f;
    copyIn(f, 4);
    QVERIFY(ExtractCopiedFiles(f.context));
    QCOMPARE(f.ui.bar, (QList<int>{55, 70, 85, 100, 100}));
    QCOMPARE(f.ui.percent, f.ui.bar);
    QString why;
    QVERIFY2(f.installedAsExpected(&why), qPrintable(why));
    QVERIFY(f.context.kindLists(DataKind::STY).status.isEmpty());
}

void tst_ExtractionLoop::damagedPackageIsReportedAndLeavesNothing()
{
    InstallFixture f;
    copyIn(f, 3);
    const QString damaged = f.context.kindLists(DataKind::STY).copied.at(1);
    QByteArray bytes = TestFiles::read(damaged);
    bytes.chop(10);
    QVERIFY(TestFiles::write(damaged, bytes));
    f.expected.erase(damaged.chopped(1));

    QVERIFY(ExtractCopiedFiles(f.context));
    QCOMPARE(f.context.kindLists(DataKind::STY).status,
             QStringList{f.text(65) + NativePath(damaged.chopped(1)) + " - " + f.text(74)});
    QCOMPARE(f.context.kindLists(DataKind::STY).failedFiles, 1);
    QCOMPARE(f.ui.memo, f.context.kindLists(DataKind::STY).status);
    QVERIFY(!QFile::exists(damaged.chopped(1)));
    QString why;
    QVERIFY2(f.installedAsExpected(&why), qPrintable(why));
}

void tst_ExtractionLoop::replacesInstalledFileWithoutQuestion()
{
    InstallFixture f;
    copyIn(f, 1);
    QVERIFY(TestFiles::write(f.destination(DataKind::STY, "u/0.sty"), "old"));
    QVERIFY(ExtractCopiedFiles(f.context));
    QVERIFY(f.ui.asked.isEmpty());
    QString why;
    QVERIFY2(f.installedAsExpected(&why), qPrintable(why));
}

void tst_ExtractionLoop::cancel_data()
{
    QTest::addColumn<int>("pressDuring"); // the entry being unpacked when Cancel is pressed
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<bool>("finished");
    QTest::addColumn<int>("installed");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("putBack"); // the user's file holds its own bytes again
    QTest::newRow("No lets the run go on") << 0 << QList<bool>{false} << true << 4 << 1 << false;
    QTest::newRow("third entry, keep the files")
            << 2 << QList<bool>{true, false} << false << 3 << 2 << false;
    QTest::newRow("third entry, remove the files")
            << 2 << QList<bool>{true, true} << false << 1 << 2 << true;
    // There is no next entry to stop before, so the kind is finished.
    QTest::newRow("last entry") << 3 << QList<bool>{} << true << 4 << 0 << false;
}

void tst_ExtractionLoop::cancel()
{
    QFETCH(int, pressDuring);
    QFETCH(QList<bool>, answers);
    QFETCH(bool, finished);
    QFETCH(int, installed);
    QFETCH(int, questions);
    QFETCH(bool, putBack);
    // GIVEN four copied packages, and an installed file of the first that the
    // user had before the run
    InstallFixture f;
    RunJournal journal;
    QVERIFY(journal.begin(f.context.journalFolder, "English"));
    f.context.journal = &journal;
    copyIn(f, 4);
    QVERIFY(TestFiles::write(f.destination(DataKind::STY, "u/0.sty"), "the user's own"));
    f.ui.yesNo = answers;
    bool pressed = false;
    f.ui.onEvents = [&] {
        if (!pressed && f.ui.percent.size() == pressDuring + 1)
            pressed = f.state.cancelRequested = true;
    };

    // WHEN Cancel is pressed while one entry is unpacked
    QCOMPARE(ExtractCopiedFiles(f.context), finished);

    // THEN it is asked about before the next entry, and a removal takes only
    // what this run installed and puts back what it replaced
    QCOMPARE(f.ui.asked.size(), questions);
    if (questions > 0) {
        QCOMPARE(f.ui.asked.first().caption, QStringLiteral("Installing Cancel"));
        QCOMPARE(f.ui.asked.first().text, f.text(22));
    }
    if (questions > 1) {
        QCOMPARE(f.ui.asked.at(1).caption, QStringLiteral("Remove Files"));
        QCOMPARE(f.ui.asked.at(1).text, f.text(23));
        QCOMPARE(f.ui.bar.last(), 0);
    }
    int present = 0;
    for (int i = 0; i < 4; ++i)
        present += QFile::exists(f.destination(DataKind::STY, QStringLiteral("u/%1.sty").arg(i)));
    QCOMPARE(present, installed);
    QCOMPARE(TestFiles::read(f.destination(DataKind::STY, "u/0.sty")) == "the user's own", putBack);
    QVERIFY(!QFile::exists(f.destination(DataKind::STY, "u/3.sty_")));
    journal.finish();
    QCOMPARE(InstallFixture::snapshot(f.destination(DataKind::STY, "u")).size(), size_t(installed));
}

QTEST_GUILESS_MAIN(tst_ExtractionLoop)
#include "tst_extractionloop.moc"
