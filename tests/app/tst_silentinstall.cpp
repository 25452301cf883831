#include "i18n/TextNumbers.h"
#include "i18n/TextTable.h"
#include "install/RunLock.h"
#include "platform/PlatformPaths.h"

#include "Restrictions.h"
#include "SilentFixture.h"

#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

// The unattended install, run as the built program on temporary trees.
class tst_SilentInstall : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void basicInstallOfAllKinds();
    void userInstallOfNamedUnits();
    void existingFile_data();
    void existingFile();
    void cancelLeavesOnlyWhatWasThere();
    void damagedPackageAmongGoodOnes();
    void writeFailures_data();
    void writeFailures();
    void fileHeldOpenByAnotherProgram();
    void unreadableUnitFolder();
    void statusFilesSaved();
    void cannotStart_data();
    void cannotStart();
    void chosenLanguage();
    void oneRunAtATime_data();
    void oneRunAtATime();
    void outputClosedEarly();

private:
    QString text(int number) const { return GetText(m_texts, number); }
    static QString native(const QString &path) { return QDir::toNativeSeparators(path); }
    LanguageTextTable m_texts;
};

void tst_SilentInstall::initTestCase()
{
    QVERIFY(LoadTextTable(m_texts, QUILLON_RESOURCES_DIR, "English", "InstallForm"));
}

void tst_SilentInstall::basicInstallOfAllKinds()
{
    SilentFixture f;
    QVERIFY(f.pack());
    QCOMPARE(f.run({}), 0);
    QCOMPARE(f.tree(f.base + "STY_2027SS"), f.tree(f.plain + "/STY_2027SS"));
    QCOMPARE(f.tree(f.base + "STI_2027SS"), f.tree(f.plain + "/STI_2027SS"));
    QCOMPARE(f.tree(f.base + "DETAIL_2027SS"), f.tree(f.plain + "/DETAIL_2027SS"));
    QVERIFY2(f.out.contains(text(InstallText::StyInstalled)), qPrintable(f.out));
    QVERIFY(f.out.contains(text(InstallText::DetailInstalled)));
    QVERIFY(f.out.contains(text(InstallText::Completed)));
    QVERIFY(!f.out.contains(text(InstallText::CloseQuestion)));
    QVERIFY(f.out.contains(text(InstallText::ElapsedSeconds)));
}

void tst_SilentInstall::userInstallOfNamedUnits()
{
    SilentFixture f;
    QVERIFY(f.pack());
    const QString chosen = f.filePath("Vestra 3.1/Bin/MyStyles");
    QCOMPARE(f.run({"--kinds", "STY,DETAIL", "--units", "STY=Unit1/Pants;Unit2", "--units",
                    "DETAIL=Cuff", "--dest", "STY=" + chosen}),
             0);
    QCOMPARE(f.tree(chosen),
             (std::map<QString, QByteArray>{
                     {"Unit1", "<dir>"},
                     {"Unit1/Pants", "<dir>"},
                     {"Unit1/Pants/b.sty",
                      TestFiles::read(f.plain + "/STY_2027SS/Unit1/Pants/b.sty")},
                     {"Unit2", "<dir>"},
                     {"Unit2/c.sty", TestFiles::read(f.plain + "/STY_2027SS/Unit2/c.sty")},
             }));
    QCOMPARE(f.tree(f.base + "DETAIL_2027SS"),
             (std::map<QString, QByteArray>{
                     {"Cuff", "<dir>"},
                     {"Cuff/h.sty", TestFiles::read(f.plain + "/DETAIL_2027SS/Cuff/h.sty")}}));
    QVERIFY(!QFile::exists(f.base + "STI_2027SS"));
    QVERIFY(!QFile::exists(f.base + "STY_2027SS"));
}

void tst_SilentInstall::existingFile_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<int>("statusText");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("asUser"); // run as another user, for whom the mode counts
    QTest::newRow("none") << "none" << false << int(InstallText::NotOverwritten) << false << false;
    QTest::newRow("all") << "all" << true << int(InstallText::Overwritten) << false << false;
    // A read-only installed file is replaced like any other when that is
    // asked for, by root and by a user alike.
    QTest::newRow("none, read-only")
            << "none" << false << int(InstallText::NotOverwritten) << true << false;
    QTest::newRow("all, read-only")
            << "all" << true << int(InstallText::Overwritten) << true << false;
    QTest::newRow("all, read-only, as a user")
            << "all" << true << int(InstallText::Overwritten) << true << true;
}

void tst_SilentInstall::existingFile()
{
    QFETCH(QString, answer);
    QFETCH(bool, replaced);
    QFETCH(int, statusText);
    QFETCH(bool, readOnly);
    QFETCH(bool, asUser);
    SilentFixture f;
    QVERIFY(f.pack());
    const QString existing = f.installed("STI_2027SS", "Set2/e.sti");
    QVERIFY(TestFiles::write(existing, "the user's own"));
    if (asUser) {
        QString why;
        f.runAs = Restrictions::asNobody(f.dir.path(), QUILLON_PATH, &why);
        if (f.runAs.isEmpty())
            QSKIP(qPrintable("cannot run as another user here: " + why));
    }
    const auto readable = QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther;
    if (readOnly)
        QVERIFY(QFile::setPermissions(existing, readable));

    QCOMPARE(f.run({"--overwrite", answer}), 1);
    QCOMPARE(TestFiles::read(existing) == TestFiles::read(f.plain + "/STI_2027SS/Set2/e.sti"),
             replaced);
    QVERIFY2(f.out.contains(text(statusText) + native(existing)), qPrintable(f.out));
    // What the wizard would have offered: the lines can be saved.
    QVERIFY2(f.out.trimmed().endsWith(text(InstallText::StatusLinesNotSaved)), qPrintable(f.out));
    QCOMPARE(TestFiles::read(f.installed("STI_2027SS", "Set1/Front/d.sti")),
             TestFiles::read(f.plain + "/STI_2027SS/Set1/Front/d.sti"));
    // AND a file written by the run has normal attributes; a kept one its own
    const QFile::Permissions mode
            = QFileInfo(existing).permissions() & (readable | QFile::WriteOwner);
    QCOMPARE(mode, readOnly && !replaced ? readable : readable | QFile::WriteOwner);
}

void tst_SilentInstall::cancelLeavesOnlyWhatWasThere()
{
    // GIVEN an STI destination that holds one installed file already
    SilentFixture f;
    QVERIFY(f.pack());
    QVERIFY(TestFiles::write(f.installed("STI_2027SS", "Set2/e.sti"), "the user's own"));
    const auto before = f.tree(f.base + "STI_2027SS");
    // WHEN the overwrite question is answered Cancel
    QCOMPARE(f.run({"--overwrite", "cancel"}), 2);
    // THEN the output names the file that stopped the run, and nothing of
    // that kind is left but what was there before
    QVERIFY2(f.out.contains(text(InstallText::StoppedAtFile)
                            + native(f.installed("STI_2027SS", "Set2/e.sti"))),
             qPrintable(f.out));
    QVERIFY(f.out.contains(text(InstallText::CancelledKept)));
    QCOMPARE(f.tree(f.base + "STI_2027SS"), before);
    QVERIFY(f.out.contains(text(InstallText::StiFailed)));
    QVERIFY(f.out.contains(text(InstallText::DetailFailed)));
    QVERIFY(!QFile::exists(f.base + "DETAIL_2027SS"));
    QCOMPARE(f.tree(f.base + "STY_2027SS"),
             f.tree(f.plain + "/STY_2027SS")); // installed before the cancel
}

void tst_SilentInstall::damagedPackageAmongGoodOnes()
{
    SilentFixture f;
    QVERIFY(f.pack());
    // A package built from literal bytes whose stream is cut short.
    QByteArray damaged = PackageBytes::compressed("STYComp", PackageBytes::styData(9000, 650));
    damaged.chop(20);
    QVERIFY(TestFiles::write(f.dataSet + "/STY_2027SS/Unit2/broken.sty_", damaged));
    QVERIFY(TestFiles::write(f.dataSet + "/STY_2027SS/Unit2/literal.sty_",
                             PackageBytes::raw("STYComp", PackageBytes::styData(1200, 660))));

    QCOMPARE(f.run({"--kinds", "STY"}), 2);
    const QString broken = f.installed("STY_2027SS", "Unit2/broken.sty");
    QVERIFY(!QFile::exists(broken));
    QVERIFY(!QFile::exists(broken + '_'));
    QVERIFY2(f.out.contains(text(InstallText::FileNotInstalled) + native(broken) + " - "
                            + text(InstallText::ReasonWrongSize)),
             qPrintable(f.out));
    QCOMPARE(TestFiles::read(f.installed("STY_2027SS", "Unit2/literal.sty")),
             PackageBytes::styData(1200, 660));
    QCOMPARE(TestFiles::read(f.installed("STY_2027SS", "Unit1/Pants/b.sty")),
             TestFiles::read(f.plain + "/STY_2027SS/Unit1/Pants/b.sty"));
    QVERIFY(f.out.contains(text(InstallText::StyInstalledWithErrors).arg(1).arg(5)));
    QVERIFY(!f.out.contains(text(InstallText::StyInstalled)));
    QVERIFY(!f.out.contains(text(InstallText::Completed)));
}

void tst_SilentInstall::writeFailures_data()
{
    QTest::addColumn<bool>("fullDisk"); // else one installed file is read-only
    // A disk too small is refused before the run; a disk that fills up during
    // the run is tested on the engine.
    QTest::newRow("immutable installed file") << false;
    QTest::newRow("full disk") << true;
}

void tst_SilentInstall::writeFailures()
{
    QFETCH(bool, fullDisk);
    SilentFixture f;
    QVERIFY(f.pack());
    const QString locked = f.installed("STI_2027SS", "Set2/e.sti");
    std::unique_ptr<Restrictions::SmallDisk> disk;
    std::unique_ptr<Restrictions::Immutable> readOnly;
    // GIVEN a destination on a disk too small for the data set, or an
    // installed file that cannot be replaced
    if (fullDisk) {
        disk = std::make_unique<Restrictions::SmallDisk>(f.base, "8k");
        if (!disk->isMounted())
            QSKIP(qPrintable("no small disk here: " + disk->whyNot()));
    } else {
        QVERIFY(TestFiles::write(locked, "the user's own"));
        readOnly = std::make_unique<Restrictions::Immutable>(QStringList{locked});
        if (!readOnly->isApplied())
            QSKIP(qPrintable("no read-only file here: " + readOnly->whyNot()));
    }

    // WHEN everything is installed, replacing what is there
    const int status = f.run({"--overwrite", "all"});

    // THEN a disk too small is named before anything is written
    if (fullDisk) {
        QCOMPARE(status, 3);
        QVERIFY2(f.out.contains(text(InstallText::NotEnoughSpace)
                                        .section("%1", 0, 0)
                                        .append(native(f.base).chopped(1))),
                 qPrintable(f.out));
        QVERIFY(f.tree(f.base).empty());
        return;
    }
    QCOMPARE(status, 2);
    // AND each failure says why, nothing failed is called overwritten or
    // installed, and no packed copy is left behind
    const QString reason = text(InstallText::ReasonNoPermission);
    QVERIFY(!f.out.contains(text(InstallText::Completed)));
    for (const auto &[rel, bytes] : f.tree(f.base))
        QVERIFY2(!rel.endsWith('_'), qPrintable(rel));
    QVERIFY2(f.out.contains(text(InstallText::FileNotInstalled) + native(locked) + " - " + reason),
             qPrintable(f.out));
    QVERIFY(!f.out.contains(text(InstallText::Overwritten) + native(locked)));
    QCOMPARE(TestFiles::read(locked), QByteArray("the user's own"));
    QVERIFY(f.out.contains(text(InstallText::StiInstalledWithErrors).arg(1).arg(2)));
}

void tst_SilentInstall::fileHeldOpenByAnotherProgram()
{
    // GIVEN an installed file that another program (this test) holds open,
    // as a running Vestra holds its data
    SilentFixture f;
    QVERIFY(f.pack());
    const QString held = f.installed("STI_2027SS", "Set2/e.sti");
    QVERIFY(TestFiles::write(held, "the user's own"));
    QFile holder(held);
    QVERIFY(holder.open(QIODevice::ReadOnly));

    // WHEN everything is installed, replacing what is there
    const int status = f.run({"--overwrite", "all"});

#ifdef Q_OS_WIN
    // THEN Windows keeps it from being replaced: it fails with its own line
    // and stays as it was, and the rest is installed
    QCOMPARE(status, 2);
    QVERIFY2(f.out.contains(text(InstallText::FileNotInstalled) + native(held) + " - "),
             qPrintable(f.out));
    QCOMPARE(TestFiles::read(held), QByteArray("the user's own"));
    QVERIFY(f.out.contains(text(InstallText::StiInstalledWithErrors).arg(1).arg(2)));
#else
    // THEN it is replaced in one step, and the program holding it reads on
    // the whole of what it opened
    QCOMPARE(status, 1);
    QCOMPARE(TestFiles::read(held), TestFiles::read(f.plain + "/STI_2027SS/Set2/e.sti"));
    QCOMPARE(holder.readAll(), QByteArray("the user's own"));
#endif
    QCOMPARE(TestFiles::read(f.installed("STI_2027SS", "Set1/Front/d.sti")),
             TestFiles::read(f.plain + "/STI_2027SS/Set1/Front/d.sti"));
}

void tst_SilentInstall::unreadableUnitFolder()
{
    // GIVEN a unit folder that the installing user may not list
    SilentFixture f;
    QVERIFY(f.pack());
    QString why;
    f.runAs = Restrictions::asNobody(f.root, QUILLON_PATH, &why);
    if (f.runAs.isEmpty())
        QSKIP(qPrintable("cannot run as another user here: " + why));
    const QString unit = f.dataSet + "/STY_2027SS/Unit1";
    QVERIFY(QFile::setPermissions(unit, QFileDevice::Permissions()));

    // WHEN STY is installed THEN the folder is named and the kind not called installed
    QCOMPARE(f.run({"--kinds", "STY"}), 2);
    QVERIFY2(f.out.contains(text(InstallText::SourceFolderUnreadable) + native(unit)),
             qPrintable(f.out + f.err));
    QVERIFY(f.out.contains(text(InstallText::InstalledWithUnreadFolders).arg("STY").arg(1)));
    QCOMPARE(TestFiles::read(f.installed("STY_2027SS", "Unit2/c.sty")),
             TestFiles::read(f.plain + "/STY_2027SS/Unit2/c.sty"));
}

void tst_SilentInstall::statusFilesSaved()
{
    SilentFixture f;
    QVERIFY(f.pack());
    QVERIFY(TestFiles::write(f.installed("DETAIL_2027SS", "Collar/g.tfc"), "old"));
    QCOMPARE(f.run({"--save-status", "yes"}), 1);
    const QString file = f.statusDir + "/DETAIL_Install_Status-"
                         + QDate::currentDate().toString("yyyy-MM-dd") + ".txt";
    const QByteArray saved = TestFiles::read(file);
    QVERIFY(saved.endsWith("\r\n"));
    QVERIFY2(saved.contains((text(InstallText::NotOverwritten)
                             + native(f.installed("DETAIL_2027SS", "Collar/g.tfc")) + "\r\n")
                                    .toUtf8()),
             saved.constData());
    QVERIFY2(f.out.contains(SilentFixture::given(file)), qPrintable(f.out));
    QVERIFY(!f.out.contains(text(InstallText::StatusLinesNotSaved)));
    QCOMPARE(QDir(f.statusDir).entryList(QDir::Files).size(), 1);
}

void tst_SilentInstall::cannotStart_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("registryVersion"); // empty: no version in the registry file
    QTest::addColumn<QString>("expected");        // in the output
    QTest::newRow("protected destination") << QStringList{"--dest", "STY=<vestra>/Color"} << "3.1"
                                           << "<58>";
    QTest::newRow("protected destination, other spelling")
            << QStringList{"--dest", "STY=<vestra>/Bin/../Color/"} << "3.1"
            << "<58>";
#ifdef Q_OS_WIN
    QTest::newRow("protected destination, other case")
            << QStringList{"--dest", "STY=<VESTRA>\\COLOR"} << "3.1"
            << "<58>";
    QTest::newRow("STI into STY's folder, other case")
            << QStringList{"--dest", "STI=<BASE>sty_2027ss"} << "3.1"
            << "<33>";
#endif
    QTest::newRow("STI into STY's folder") << QStringList{"--dest", "STI=<base>STY_2027SS"} << "3.1"
                                           << "<33>";
    QTest::newRow("missing STI folder") << QStringList{"--dest", "STI=<base>nowhere"} << "3.1"
                                        << "<32>";
    QTest::newRow("no registry entry") << QStringList{} << ""
                                       << "<registry>";
    QTest::newRow("too old a version") << QStringList{} << "1.5"
                                       << "<registry>";
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << "3.1"
                                    << "Usage:";
    QTest::newRow("unknown unit") << QStringList{"--units", "STY=Unit9"} << "3.1"
                                  << "Unit9";
    QTest::newRow("kind not in data set")
            << QStringList{"--units", "STY=Unit1", "--kinds", "STI"} << "3.1"
            << "STY";
    QTest::newRow("bad overwrite") << QStringList{"--overwrite", "maybe"} << "3.1"
                                   << "Usage:";
    QTest::newRow("empty data set folder") << QStringList{"--dataset", ""} << "3.1"
                                           << "--dataset expects a name";
    QTest::newRow("empty registry export") << QStringList{"--registry", ""} << "3.1"
                                           << "--registry expects a name";
    QTest::newRow("verify a protected destination")
            << QStringList{"--verify", "--dest", "STY=<vestra>/Color"} << "3.1"
            << "<58>";
    QTest::newRow("verify and repair") << QStringList{"--verify", "--repair"} << "3.1"
                                       << "Usage:";
    QTest::newRow("repair with an answer") << QStringList{"--repair", "--overwrite", "all"} << "3.1"
                                           << "Usage:";
}

void tst_SilentInstall::cannotStart()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, registryVersion);
    QFETCH(QString, expected);
    SilentFixture f;
    QVERIFY(f.pack());
    f.writeRegistry(registryVersion, f.vestra);
    for (QString &argument : arguments)
        argument.replace("<vestra>", f.vestra)
                .replace("<base>", f.base)
                .replace("<VESTRA>", QDir::toNativeSeparators(f.vestra.toUpper()))
                .replace("<BASE>", f.base.toUpper());
    expected.replace("<58>", text(InstallText::ProtectedFolder))
            .replace("<33>", text(InstallText::DestinationTaken))
            .replace("<32>", text(InstallText::DestinationMissing))
            .replace("<registry>",
                     text(InstallText::NoTargetApplication) + SilentFixture::given(f.registry()));

    QCOMPARE(f.run(arguments), 3);
    QVERIFY2((f.out + f.err).contains(expected), qPrintable(f.out + f.err));
    // Said once: where Vestra was looked for is not repeated in other words.
    QVERIFY2(f.out.count(native(f.registry())) <= 1, qPrintable(f.out));
    QCOMPARE(f.tree(f.vestra), (std::map<QString, QByteArray>{{"Bin", "<dir>"}}));
}

void tst_SilentInstall::chosenLanguage()
{
    SilentFixture f;
    QVERIFY(f.pack());
    LanguageTextTable korean;
    QVERIFY(LoadTextTable(korean, QUILLON_RESOURCES_DIR, "Korean", "InstallForm"));
    QCOMPARE(f.run({"--lang", "Korean", "--kinds", "DETAIL"}), 0);
    QVERIFY2(f.out.contains(GetText(korean, InstallText::DetailInstalled)), qPrintable(f.out));
}

void tst_SilentInstall::oneRunAtATime_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("asUser");  // run as another user than the one holding the lock
    QTest::addColumn<bool>("release"); // the holder ends once the run says it waits
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("line"); // the text that says so, naming the holder
    const QStringList install{"--silent", "--kinds", "STI"};
    QTest::newRow("an install waits, then runs")
            << install << false << true << 1 << int(InstallText::RunWaiting);
    QTest::newRow("an install waits, then gives up")
            << install + QStringList{"--wait", "1"} << false << false << 3
            << int(InstallText::RunStillInProgress);
    QTest::newRow("another user's install gives up")
            << install + QStringList{"--wait", "0"} << true << false << 3
            << int(InstallText::RunStillInProgress);
    QTest::newRow("a repair gives up") << install + QStringList{"--repair", "--wait", "0"} << false
                                       << false << 3 << int(InstallText::RunStillInProgress);
    // A check does not wait, and cannot find the data complete meanwhile.
    QTest::newRow("a check does not wait") << QStringList{"--verify", "--kinds", "STI"} << false
                                           << false << 1 << int(InstallText::RunInProgressCheck);
}

// One install run at a time on this computer, whoever started it.
void tst_SilentInstall::oneRunAtATime()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, asUser);
    QFETCH(bool, release);
    QFETCH(int, status);
    QFETCH(int, line);
    // GIVEN an installed kind, and another run that holds the lock
    SilentFixture f;
    QVERIFY(f.pack());
    QCOMPARE(f.run({"--kinds", "STI"}), 0);
    if (asUser) {
        QString why;
        f.runAs = Restrictions::asNobody(f.dir.path(), QUILLON_PATH, &why);
        if (f.runAs.isEmpty())
            QSKIP(qPrintable("cannot run as another user here: " + why));
        // The lock's file is then the holder's, as the first run's is.
        QVERIFY(QDir(f.lockFolder()).removeRecursively());
    }
    auto holder = std::make_unique<RunLock>(f.lockFolder());
    QCOMPARE(holder->tryTake(), ProcessLock::Result::Taken);
    // Named by its process and user, as the system knows them.
    const QString named = text(line)
                                  .arg(QString::number(QCoreApplication::applicationPid()),
                                       CurrentUserName(), "%3")
                                  .section("%3", 0, 0);

    // WHEN another command starts THEN it says so, naming the holder
    if (!release) {
        QCOMPARE(f.runCommand(arguments), status);
        QVERIFY2(f.out.contains(named), qPrintable(f.out + f.err));
        return;
    }
    QProcess quillon;
    quillon.setProcessEnvironment(f.environment());
    quillon.start(QUILLON_PATH, QStringList{"--dataset", f.dataSet, "--registry", f.registry(),
                                            "--status-dir", f.statusDir}
                                        + arguments);
    QString out;
    while (!out.contains(named) && quillon.waitForReadyRead(60000))
        out += QString::fromUtf8(quillon.readAllStandardOutput());
    QVERIFY2(out.contains(named), qPrintable(out));
    // AND once the holder ends, the waiting run goes on
    holder.reset();
    QVERIFY(quillon.waitForFinished(60000));
    QCOMPARE(quillon.exitCode(), status);
}

void tst_SilentInstall::outputClosedEarly()
{
#ifdef Q_OS_UNIX
    // GIVEN an output that nobody reads any more, as "| head -2" leaves it,
    // and the system's default of ending a program that writes there
    SilentFixture f;
    QVERIFY(f.pack());
    int pipe[2];
    QVERIFY(::pipe(pipe) == 0);
    ::close(pipe[0]);
    const int closed = pipe[1];
    f.childSetup = [closed] {
        ::signal(SIGPIPE, SIG_DFL);
        ::dup2(closed, STDOUT_FILENO);
    };
    // WHEN a run writes there THEN it goes on to the end all the same
    const QString report = f.filePath("report.json");
    const int status = f.run({"--report", report});
    ::close(closed);
    QCOMPARE(status, 0);
    QCOMPARE(f.tree(f.base + "DETAIL_2027SS"), f.tree(f.plain + "/DETAIL_2027SS"));
    QVERIFY(QFile::exists(report));
#else
    QSKIP("Windows ends no program for writing to a closed pipe: the write only fails");
#endif
}

QTEST_GUILESS_MAIN(tst_SilentInstall)
#include "tst_silentinstall.moc"
