#include "install/journal/JournalRecord.h"
#include "install/journal/Recovery.h"
#include "install/journal/RunJournal.h"
#include "install/journal/RunUndo.h"
#include "platform/FileReplacement.h"

#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

using Type = JournalRecord::Type;

// The run's journal and the undoing of a run from it, on states a kill can
// leave behind.
class tst_Journal : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void recordsKeepAnyName();
    void lineCutShortIsLeftOut();
    void undo_data();
    void undo();
    void liveRunIsLeftAlone();
    void refusedJournal_data();
    void refusedJournal();
    void journalKeptUntilEveryStepIsUndone();
    void lockOfAGoneHolderIsTakenOver_data();
    void lockOfAGoneHolderIsTakenOver();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QString journals() const { return path("journals"); }
    void writeJournal(const QString &records) const;
    void writeFiles(const QStringList &files) const;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_Journal::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void tst_Journal::recordsKeepAnyName()
{
    const QList<JournalRecord> records{
            {Type::Root, "C:/Vestra 3.1/Bin/STY", {}},
            {Type::Aside, "/a b/100%\n new.sty", "/a b/100%\n new.sty.x1.old"},
            {Type::Temp, QString::fromUtf8("/데이터/스타일.sty_"), {}},
            {Type::Done, {}, {}},
    };
    QByteArray bytes = JournalHeader(QString::fromUtf8("ภาษาไทย"));
    for (const JournalRecord &record : records)
        bytes += EncodeRecord(record);
    QList<JournalRecord> read;
    QString language;
    QVERIFY(DecodeJournal(bytes, &read, &language));
    QCOMPARE(read, records);
    QCOMPARE(language, QString::fromUtf8("ภาษาไทย"));
}

void tst_Journal::lineCutShortIsLeftOut()
{
    const QByteArray bytes = JournalHeader("English") + EncodeRecord({Type::New, "/a/b.sty", {}})
                             + EncodeRecord({Type::New, "/a/c.sty", {}}).chopped(3);
    QList<JournalRecord> read;
    QString language;
    QVERIFY(DecodeJournal(bytes, &read, &language));
    QCOMPARE(read.size(), 1);
    QVERIFY(!DecodeJournal("not a journal\n", &read, &language));
}

void tst_Journal::undo_data()
{
    // A state on disk, made by the test, and what undoing it must give. In
    // the names: "old" the user's file, "new" the run's, "bak" a backup.
    QTest::addColumn<bool>("done");
    QTest::addColumn<QStringList>("files"); // name=bytes, "name>target" a hard link
    QTest::addColumn<QString>("records");   // type:path[:backup] ...
    QTest::addColumn<QStringList>("after"); // name=bytes left
    QTest::newRow("kept aside, not yet replaced")
            << false << QStringList{"a=old", "a.bak>a", "a.tmp=new"} << "temp:a.tmp aside:a:a.bak"
            << QStringList{"a=old"};
    QTest::newRow("replaced") << false << QStringList{"a=new", "a.bak=old"}
                              << "temp:a.tmp aside:a:a.bak" << QStringList{"a=old"};
    QTest::newRow("moved aside on a volume without hard links")
            << false << QStringList{"a.bak=old", "a.tmp=new"} << "temp:a.tmp aside:a:a.bak"
            << QStringList{"a=old"};
    QTest::newRow("new file and its folder")
            << false << QStringList{"d/b=new", "c=old"} << "folder:d temp:d/b.tmp new:d/b"
            << QStringList{"c=old"};
    QTest::newRow("a name that was not ours")
            << false << QStringList{"b=old", "b.tmp=old"}
            << "temp:b.tmp undone:b.tmp new:b undone:b" << QStringList{"b.tmp=old", "b=old"};
    QTest::newRow("run was over") << true << QStringList{"a=new", "a.bak=old", "b=new"}
                                  << "aside:a:a.bak new:b done:" << QStringList{"a=new", "b=new"};
    QTest::newRow("run was over, a backup that could not be put back")
            << true << QStringList{"a=new", "a.bak=old"}
            << "aside:a:a.bak keep:a.bak done:" << QStringList{"a=new", "a.bak=old"};
}

void tst_Journal::undo()
{
    QFETCH(bool, done);
    QFETCH(QStringList, files);
    QFETCH(QString, records);
    QFETCH(QStringList, after);
    // GIVEN the files a run left
    for (const QString &file : files) {
        QString error;
        if (file.contains('>'))
            QVERIFY(KeepAside(path(file.section('>', 1)), path(file.section('>', 0, 0)), &error)
                    != AsideResult::Failed);
        else
            QVERIFY(TestFiles::write(path(file.section('=', 0, 0)), file.section('=', 1).toUtf8()));
    }
    QList<JournalRecord> list{{Type::Root, m_dir->path(), {}}};
    for (const QString &record : records.split(' ')) {
        const QStringList parts = record.split(':');
        const auto type = Type(
                QStringList{"root", "folder", "temp", "new", "aside", "undone", "keep", "done"}
                        .indexOf(parts[0]));
        list.append({type, parts[1].isEmpty() ? QString() : path(parts[1]),
                     parts.size() > 2 ? path(parts[2]) : QString()});
    }
    // WHEN the run is undone from its records
    RecoveryReport report;
    UndoRun(list, done, report);
    // THEN only the user's files are left, as they were
    std::map<QString, QByteArray> expected;
    for (const QString &file : after)
        expected[file.section('=', 0, 0)] = file.section('=', 1).toUtf8();
    QCOMPARE(TestFiles::snapshot(m_dir->path()), expected);
    QVERIFY(report.failures.isEmpty());
}

void tst_Journal::liveRunIsLeftAlone()
{
    // GIVEN two unfinished journals, one of them held by a live run
    RunJournal live;
    QVERIFY(live.begin(m_dir->path(), "English"));
    QVERIFY(live.willInstall(path("live.sty")));
    QVERIFY(TestFiles::write(path("live.sty"), "new"));
    QVERIFY(TestFiles::write(path("dead.sty"), "new"));
    QVERIFY(TestFiles::write(path("run-20260101-000000-000-1.journal"),
                             JournalHeader("Korean") + EncodeRecord({Type::Root, m_dir->path(), {}})
                                     + EncodeRecord({Type::New, path("dead.sty"), {}})));
    // WHEN interrupted runs are undone
    const RecoveryReport report = RecoverInterruptedRuns(m_dir->path());
    // THEN only the dead run is, and said in its language
    QCOMPARE(report.runs, 1);
    QCOMPARE(report.files, 1);
    QCOMPARE(report.language, QStringLiteral("Korean"));
    QVERIFY(!QFile::exists(path("dead.sty")));
    QVERIFY(QFile::exists(path("live.sty")));
    QVERIFY(QFile::exists(live.fileName()));
    live.finish();
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"live.sty"});
}

// A journal in journals() of records "type:path[:backup]" separated by
// blanks, paths below the test's folder ("/" alone: the root of its volume).
void tst_Journal::writeJournal(const QString &records) const
{
    const QStringList types{"root", "folder", "temp", "new", "aside", "undone", "keep", "done"};
    QByteArray bytes = JournalHeader("English");
    for (const QString &record : records.split(' ')) {
        const QStringList parts = record.split(':');
        auto at = [this](const QString &name) {
            return name == "/" ? QDir::rootPath() : name.isEmpty() ? QString() : path(name);
        };
        bytes += EncodeRecord({Type(types.indexOf(parts[0])), at(parts[1]),
                               parts.size() > 2 ? at(parts[2]) : QString()});
    }
    QVERIFY(TestFiles::write(journals() + "/run-20260101-000000-000-1.journal", bytes));
}

// Files "name=bytes", and folders "name/".
void tst_Journal::writeFiles(const QStringList &files) const
{
    for (const QString &file : files) {
        if (file.endsWith('/'))
            QVERIFY(QDir().mkpath(path(file)));
        else
            QVERIFY(TestFiles::write(path(file.section('=', 0, 0)), file.section('=', 1).toUtf8()));
    }
}

void tst_Journal::refusedJournal_data()
{
    // A journal that is not one a run of ours wrote, whoever put it there:
    // the record named is refused, and nothing of that journal is done.
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("records");
    QTest::addColumn<QString>("refused");
    const QStringList files{"dest/a.sty=installed", "dest/b.sty=another", "outside/c.sty=mine",
                            "dest/notes.txt=notes"};
    QTest::newRow("a file outside the destinations")
            << files << "root:dest new:dest/a.sty new:outside/c.sty"
            << "outside/c.sty";
    QTest::newRow("a root recorded after a step")
            << files << "root:dest new:dest/a.sty root:outside new:outside/c.sty"
            << "outside";
    QTest::newRow("the root of a volume") << files << "root:/ new:outside/c.sty"
                                          << "/";
    QTest::newRow("the root of a volume as a folder made")
            << files << "root:dest folder:/ new:dest/a.sty"
            << "/";
    QTest::newRow("a step with an empty path") << files << "root:dest new: new:dest/a.sty"
                                               << "";
    QTest::newRow("a way out through ..") << files << "root:dest new:dest/../outside/c.sty"
                                          << "dest/../outside/c.sty";
    QTest::newRow("a backup that is another installed file")
            << files << "root:dest aside:dest/a.sty:dest/b.sty"
            << "dest/b.sty";
    QTest::newRow("a temporary file that is not of a temporary form")
            << files << "root:dest temp:dest/notes.txt"
            << "dest/notes.txt";
    QTest::newRow("a new file that is not data") << files << "root:dest new:dest/notes.txt"
                                                 << "dest/notes.txt";
}

void tst_Journal::refusedJournal()
{
    QFETCH(QStringList, files);
    QFETCH(QString, records);
    QFETCH(QString, refused);
    // GIVEN files and a journal that names them
    writeFiles(files);
    writeJournal(records);
    const auto before = TestFiles::snapshot(m_dir->path());
    // WHEN interrupted runs are undone
    const RecoveryReport report = RecoverInterruptedRuns(journals());
    // THEN nothing is touched, the record is named and the journal is kept
    QCOMPARE(TestFiles::snapshot(m_dir->path()), before);
    QCOMPARE(report.failures.size(), 1);
    const QString named = refused == "/"      ? QDir::rootPath()
                          : refused.isEmpty() ? QString()
                                              : path(refused);
    QCOMPARE(report.failures.first().path, named);
    QCOMPARE(report.runs, 0);
}

void tst_Journal::journalKeptUntilEveryStepIsUndone()
{
    // GIVEN a run interrupted after it replaced a.sty, and a folder put in
    // the file's place since, so that the earlier version cannot go back
    writeFiles({"dest/a.sty.Abc123.quillon-old=old", "dest/a.sty/", "dest/a.sty/x=x"});
    writeJournal("root:dest aside:dest/a.sty:dest/a.sty.Abc123.quillon-old new:dest/n.sty");
    QVERIFY(TestFiles::write(path("dest/n.sty"), "new"));
    // WHEN it is undone THEN that step is named and the journal stays
    RecoveryReport report = RecoverInterruptedRuns(journals());
    QCOMPARE(report.failures.size(), 1);
    QCOMPARE(report.failures.first().path, path("dest/a.sty.Abc123.quillon-old"));
    QVERIFY(!QFile::exists(path("dest/n.sty")));
    QCOMPARE(QDir(journals()).entryList({"*.journal"}, QDir::Files).size(), 1);
    // AND once the way is clear, the next recovery ends it
    QVERIFY(QDir(path("dest/a.sty")).removeRecursively());
    report = RecoverInterruptedRuns(journals());
    QVERIFY(report.failures.isEmpty());
    QCOMPARE(TestFiles::read(path("dest/a.sty")), QByteArray("old"));
    QVERIFY(QDir(journals()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

void tst_Journal::lockOfAGoneHolderIsTakenOver_data()
{
    // Whatever a lock file says, only a live holder of the system's lock
    // keeps a journal from being undone.
    QTest::addColumn<QByteArray>("lockBytes");
    QTest::newRow("empty, its writer killed before it wrote") << QByteArray();
    QTest::newRow("naming a live process")
            << QByteArray::number(QCoreApplication::applicationPid()) + "\n"
                       + QCoreApplication::applicationName().toUtf8() + "\n\n";
    QTest::newRow("garbage") << QByteArray("\xff\xfe\x01 not a lock");
}

void tst_Journal::lockOfAGoneHolderIsTakenOver()
{
    QFETCH(QByteArray, lockBytes);
    writeFiles({"dest/n.sty=new"});
    writeJournal("root:dest new:dest/n.sty");
    QVERIFY(TestFiles::write(journals() + "/run-20260101-000000-000-1.journal.lock", lockBytes));
    const RecoveryReport report = RecoverInterruptedRuns(journals());
    QCOMPARE(report.runs, 1);
    QVERIFY(!QFile::exists(path("dest/n.sty")));
    QVERIFY(QDir(journals()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

QTEST_GUILESS_MAIN(tst_Journal)
#include "tst_journal.moc"
