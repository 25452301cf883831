#include "i18n/TextNumbers.h"
#include "i18n/TextTable.h"

#include "SilentFixture.h"

#include <QtTest>

// Runs of the built program killed or stopped at chosen points (through the
// journal's test fault point), then the next start: the destination must be
// as it was before the run, byte for byte.
class tst_Recovery : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void killedRunIsUndone_data();
    void killedRunIsUndone();
    void stopRequestUndoesTheRun();
    void nextInstallUndoesFirst();
    void fileInAPackedCopysPlaceComesBack();
    void verifyLeavesAnInterruptedRunAlone();
    void untrustedJournalIsKeptAndStopsTheNextRun();
    void journalFolderThatCannotBeMadeSaysWhy();

private:
    // A data set, and a destination holding two of the user's own files that
    // the run replaces.
    static void prepare(SilentFixture &f);
    // Runs quillon --silent with the arguments, killed at the fault point.
    static void killAt(SilentFixture &f, const QString &point, const QStringList &arguments);
    QStringList journals(const SilentFixture &f) const
    {
        return QDir(f.journalFolder()).entryList(QDir::Files | QDir::Hidden);
    }
    QString text(int number) const { return GetText(m_texts, number); }
    LanguageTextTable m_texts;
};

void tst_Recovery::initTestCase()
{
    QVERIFY(LoadTextTable(m_texts, QUILLON_RESOURCES_DIR, "English", "InstallForm"));
}

void tst_Recovery::prepare(SilentFixture &f)
{
    QVERIFY(f.pack());
    QVERIFY(TestFiles::write(f.installed("STY_2027SS", "Unit1/Blouse/a.sty"), "the user's a"));
    QVERIFY(TestFiles::write(f.installed("STI_2027SS", "Set2/e.sti"), "the user's e"));
    QVERIFY(TestFiles::write(f.installed("STI_2027SS", "notes.txt"), "the user's notes"));
}

void tst_Recovery::killAt(SilentFixture &f, const QString &point, const QStringList &arguments)
{
    f.extraEnvironment.insert("QUILLON_TEST_FAULT", point);
    QCOMPARE(f.run(arguments), 86);
    f.extraEnvironment.clear();
}

void tst_Recovery::killedRunIsUndone_data()
{
    // STY has 3 files, STI 2: each copied ("temp"), then unpacked through a
    // temporary file ("temp"); a replaced file is kept aside first ("aside").
    QTest::addColumn<QString>("killedAt");
    QTest::addColumn<bool>("over");         // the run was over: what it installed stays
    QTest::addColumn<QString>("overwrite"); // all: the user's two files are replaced
    QTest::newRow("after STY's copy step") << "temp:4" << false << "all";
    QTest::newRow("in the middle of STI's extraction") << "temp:10" << false << "all";
    QTest::newRow("in the middle of replacing STI's file") << "aside:2" << false << "all";
    QTest::newRow("after the run was over") << "done:1" << true << "all";
    // A run that replaced nothing is as finished as one that did.
    QTest::newRow("after a run that replaced nothing was over") << "done:1" << true << "none";
}

void tst_Recovery::killedRunIsUndone()
{
    QFETCH(QString, killedAt);
    QFETCH(bool, over);
    QFETCH(QString, overwrite);
    SilentFixture f;
    prepare(f);
    const auto before = f.tree(f.base);

    // GIVEN a run killed at that point
    killAt(f, killedAt, {"--overwrite", overwrite});
    QCOMPARE(journals(f).size(), 2); // the journal and its lock

    // WHEN the next start only recovers
    QCOMPARE(f.run({"--recover"}), 0);

    // THEN the destination is as before the run, byte for byte, and it says
    // so once; a run that was over keeps what it installed, without backups
    if (over) {
        QCOMPARE(f.out.trimmed(), text(InstallText::NothingToRecover));
        auto sty = f.tree(f.plain + "/STY_2027SS");
        auto sti = f.tree(f.plain + "/STI_2027SS");
        sti["notes.txt"] = "the user's notes";
        if (overwrite == "none") {
            sty["Unit1/Blouse/a.sty"] = "the user's a";
            sti["Set2/e.sti"] = "the user's e";
        }
        QCOMPARE(f.tree(f.base + "STY_2027SS"), sty);
        QCOMPARE(f.tree(f.base + "STI_2027SS"), sti);
    } else {
        QCOMPARE(f.tree(f.base), before);
        QVERIFY2(f.out.startsWith(text(InstallText::Recovered).section("%1", 0, 0)),
                 qPrintable(f.out));
    }
    QVERIFY(journals(f).isEmpty());
    // AND a second start finds nothing more to do
    QCOMPARE(f.run({"--recover"}), 0);
    QCOMPARE(f.out.trimmed(), text(InstallText::NothingToRecover));
}

void tst_Recovery::stopRequestUndoesTheRun()
{
    // GIVEN a run that the system asks to stop while STI's last file is
    // unpacked: the next safe point is before DETAIL copies anything
    SilentFixture f;
    prepare(f);
    const auto before = f.tree(f.base);
    f.extraEnvironment.insert("QUILLON_TEST_FAULT", "temp:10:stop");
    // THEN it undoes the whole run without a question (STY's and STI's files
    // but the two replaced ones, which are put back; their folders), says so,
    // and exits with status 2
    QCOMPARE(f.run({"--overwrite", "all"}), 2);
    QVERIFY2(f.out.contains(text(InstallText::RunStopped)), qPrintable(f.out));
    QVERIFY2(f.out.contains(text(InstallText::CancelledRemovedRestored).arg(3).arg(7).arg(2)),
             qPrintable(f.out));
    QCOMPARE(f.tree(f.base), before);
    QVERIFY(journals(f).isEmpty());
}

void tst_Recovery::nextInstallUndoesFirst()
{
    // GIVEN a run killed in the middle of STY's extraction
    SilentFixture f;
    prepare(f);
    killAt(f, "temp:5", {"--overwrite", "all", "--kinds", "STY"});
    // WHEN the next unattended install starts
    QCOMPARE(f.run({"--kinds", "STY"}), 1);
    // THEN it first undoes the killed run, in one line, then installs,
    // keeping the user's file (it was put back, and --overwrite is none)
    QVERIFY2(f.out.startsWith(text(InstallText::Recovered).section("%1", 0, 0)), qPrintable(f.out));
    QCOMPARE(f.out.count(text(InstallText::Recovered).section("%1", 0, 0)), 1);
    QCOMPARE(TestFiles::read(f.installed("STY_2027SS", "Unit1/Blouse/a.sty")), "the user's a");
    QCOMPARE(TestFiles::read(f.installed("STY_2027SS", "Unit2/c.sty")),
             TestFiles::read(f.plain + "/STY_2027SS/Unit2/c.sty"));
    QVERIFY(journals(f).isEmpty());
}

void tst_Recovery::fileInAPackedCopysPlaceComesBack()
{
    // GIVEN a file of the user's under the name STY's packed copy gets, and
    // a run killed after STY's copy step
    SilentFixture f;
    prepare(f);
    const QString packedName = f.installed("STY_2027SS", "Unit2/c.sty_");
    QVERIFY(TestFiles::write(packedName, "the user's c.sty_"));
    const auto before = f.tree(f.base);
    killAt(f, "new:1", {"--overwrite", "all"});
    // WHEN the next start recovers THEN the file is back as it was
    QCOMPARE(f.run({"--recover"}), 0);
    QCOMPARE(f.tree(f.base), before);
    QVERIFY(journals(f).isEmpty());
}

void tst_Recovery::verifyLeavesAnInterruptedRunAlone()
{
    // GIVEN a run killed in the middle of STI's extraction
    SilentFixture f;
    prepare(f);
    const auto before = f.tree(f.base);
    killAt(f, "temp:10", {"--overwrite", "all"});
    const auto interrupted = f.tree(f.base);
    const auto journal = f.tree(f.journalFolder());
    // WHEN it is checked THEN nothing changes, the pending undo is told,
    // and the check does not pass
    QCOMPARE(f.runCommand({"--verify"}), 1);
    QVERIFY2(f.out.startsWith(text(InstallText::RecoveryPending).section("%1", 0, 0)),
             qPrintable(f.out));
    QCOMPARE(f.tree(f.base), interrupted);
    QCOMPARE(f.tree(f.journalFolder()), journal);
    // AND the recovery still undoes it
    QCOMPARE(f.run({"--recover"}), 0);
    QCOMPARE(f.tree(f.base), before);
}

void tst_Recovery::untrustedJournalIsKeptAndStopsTheNextRun()
{
    // GIVEN a journal naming a file outside any destination
    SilentFixture f;
    QVERIFY(f.pack());
    const QString outside = f.dir.filePath("elsewhere/mine.sty");
    QVERIFY(TestFiles::write(outside, "the user's own"));
    const QString journal = f.journalFolder() + "/run-20260101-000000-000-1.journal";
    QVERIFY(TestFiles::write(journal, "quillon-journal 1 English\nroot " + f.base.toUtf8()
                                              + "STY_2027SS\nnew " + outside.toUtf8() + '\n'));
    // WHEN recovered THEN the record is refused and named, nothing is touched
    QCOMPARE(f.run({"--recover"}), 2);
    QVERIFY2(f.out.contains(text(InstallText::JournalRefused) + QDir::toNativeSeparators(outside)),
             qPrintable(f.out));
    QCOMPARE(TestFiles::read(outside), "the user's own");
    QVERIFY(QFile::exists(journal));
    // AND no install runs while it is there, so that it is never undone
    // after a later run
    QCOMPARE(f.run({}), 3);
    QVERIFY2(
            f.out.contains(text(InstallText::PendingRunBlocks) + QDir::toNativeSeparators(journal)),
            qPrintable(f.out));
    QVERIFY(!QFile::exists(f.base + "STY_2027SS"));
}

void tst_Recovery::journalFolderThatCannotBeMadeSaysWhy()
{
    // GIVEN a file where the journal folder should be
    SilentFixture f;
    QVERIFY(f.pack());
    const QString blocked = f.dir.filePath("blocked");
    QVERIFY(TestFiles::write(blocked, "a file"));
    f.extraEnvironment.insert("QUILLON_JOURNAL_DIR", blocked + "/Quillon");
    // THEN nothing is installed, and the system's reason is given
    QCOMPARE(f.run({}), 3);
    const QString line
            = f.out.section(text(InstallText::JournalNotWritable), 1).section('\n', 0, 0);
    QVERIFY2(line.contains(" - ") && !line.contains("Unknown error"), qPrintable(f.out));
}

QTEST_GUILESS_MAIN(tst_Recovery)
#include "tst_recovery.moc"
