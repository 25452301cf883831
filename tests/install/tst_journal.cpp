#include "install/journal/JournalRecord.h"
#include "install/journal/Recovery.h"
#include "install/journal/RunJournal.h"
#include "platform/FileReplacement.h"

#include "TestFiles.h"

#include <QLockFile>
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

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
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
                             JournalHeader("Korean")
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

QTEST_GUILESS_MAIN(tst_Journal)
#include "tst_journal.moc"
