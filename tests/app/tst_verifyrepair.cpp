#include "i18n/TextNumbers.h"
#include "i18n/TextTable.h"

#include "Restrictions.h"
#include "SilentFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

// quillon --verify and --silent --repair, run as the built program on an
// installed data set that is then damaged in one way or another.
class tst_VerifyRepair : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void damage_data();
    void damage();
    void reportSaysHowTheRunEnded_data();
    void reportSaysHowTheRunEnded();
    void outputThatCannotBeWritten_data();
    void outputThatCannotBeWritten();

private:
    QString text(int number) const { return GetText(m_texts, number); }
    static QString native(const QString &path) { return QDir::toNativeSeparators(path); }
    // The report's entry of the damaged STY file; empty when it has none.
    static QJsonObject entryOf(const QJsonObject &report, const QString &result,
                               const QString &path);
    static QJsonObject readReport(const QString &path);
    // The report's entry of a file of a kind; empty when it has none.
    static QJsonObject fileEntry(const QJsonObject &report, const QString &kind,
                                 const QString &path);
    LanguageTextTable m_texts;
};

namespace {

const QString Damaged = "Unit1/Pants/b.sty";
const QDateTime LongAgo(QDate(2020, 1, 1), QTime(12, 0), Qt::UTC);

// Every installed file's modification time.
std::map<QString, QDateTime> times(const QString &folder)
{
    std::map<QString, QDateTime> result;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        result[path] = it.fileInfo().lastModified();
    }
    return result;
}

void setTimes(const QString &folder)
{
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(LongAgo, QFileDevice::FileModificationTime));
    }
}

// Damages the installed file Damaged in the way named; returns why that
// cannot be done here, or nothing.
QString damageFile(SilentFixture &f, const QString &damage, const QString &outside)
{
    const QString file = f.installed("STY_2027SS", Damaged);
    const QString package = f.dataSet + "/STY_2027SS/" + Damaged + '_';
    const QByteArray good = TestFiles::read(file);
    QString why;
    if (damage == "delete") {
        QFile::remove(file);
    } else if (damage == "byte") {
        QByteArray bytes = good;
        bytes[2000] = char(bytes.at(2000) ^ 1);
        TestFiles::write(file, bytes);
    } else if (damage == "truncate") {
        QFile::resize(file, 4000);
    } else if (damage == "package") {
        QByteArray bytes = PackageBytes::compressed("STYComp", good);
        bytes[bytes.size() - 1] = char(bytes.at(bytes.size() - 1) ^ 1); // the check sum
        TestFiles::write(package, bytes);
    } else if (damage == "unreadable") {
        f.runAs = Restrictions::asNobody(f.dir.path(), QUILLON_PATH, &why);
        if (f.runAs.isEmpty())
            return "cannot run as another user here: " + why;
        QFile::setPermissions(file, QFileDevice::WriteOwner);
    } else if (damage == "read-only") {
        f.runAs = Restrictions::asNobody(f.dir.path(), QUILLON_PATH, &why);
        if (f.runAs.isEmpty())
            return "cannot run as another user here: " + why;
        QByteArray bytes = good;
        bytes[2000] = char(bytes.at(2000) ^ 1);
        TestFiles::write(file, bytes);
        QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    } else if (damage == "unwritable") {
        f.runAs = Restrictions::asNobody(f.dir.path(), QUILLON_PATH, &why);
        if (f.runAs.isEmpty())
            return "cannot run as another user here: " + why;
        QDirIterator folders(f.base, QDir::Dirs | QDir::NoDotAndDotDot,
                             QDirIterator::Subdirectories);
        while (folders.hasNext())
            QFile::setPermissions(folders.next(), QFile::ReadOwner | QFile::ExeOwner);
    } else if (damage.startsWith("leftover")) {
        // What a run cut short leaves beside an intact installed file.
        const QString suffix = damage.section(' ', 1);
        TestFiles::write(file + suffix, "left behind");
    } else if (damage == "pipe") {
#ifdef Q_OS_WIN
        return "no named pipes in the file system here";
#else
        QFile::remove(file);
        if (::mkfifo(QFile::encodeName(file).constData(), 0644) != 0)
            return "no named pipe here";
#endif
    } else if (damage == "link") {
        // A link to a file outside the destination that holds the delivered data.
        TestFiles::write(outside, good);
        QFile::remove(file);
        if (!TestFiles::symbolicLink(outside, file))
            return "no symbolic links here";
    } else if (damage == "link on the way") {
        const QString folder = QFileInfo(file).path();
        QDir().mkpath(QFileInfo(outside).path());
        QFile::remove(file);
        QDir().rmdir(folder);
        TestFiles::write(outside, good);
        if (!TestFiles::symbolicLink(QFileInfo(outside).path(), folder))
            return "no symbolic links here";
    }
    return {};
}

} // namespace

void tst_VerifyRepair::initTestCase()
{
    QVERIFY(LoadTextTable(m_texts, QUILLON_RESOURCES_DIR, "English", "InstallForm"));
}

QJsonObject tst_VerifyRepair::readReport(const QString &path)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(TestFiles::read(path), &error);
    if (error.error != QJsonParseError::NoError)
        qWarning() << path << error.errorString();
    return document.object();
}

QJsonObject tst_VerifyRepair::entryOf(const QJsonObject &report, const QString &result,
                                      const QString &path)
{
    for (const QJsonValue &kind : report["kinds"].toArray()) {
        if (kind["kind"] != "STY")
            continue;
        for (const QJsonValue &file : kind["files"].toArray()) {
            if (file["path"] == native(path) && file["result"] == result)
                return file.toObject();
        }
    }
    return {};
}

QJsonObject tst_VerifyRepair::fileEntry(const QJsonObject &report, const QString &kind,
                                        const QString &path)
{
    for (const QJsonValue &entry : report["kinds"].toArray()) {
        for (const QJsonValue &file : entry["files"].toArray()) {
            if (entry["kind"] == kind && file["path"] == native(path))
                return file.toObject();
        }
    }
    return {};
}

void tst_VerifyRepair::damage_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<int>("verifyStatus");
    QTest::addColumn<int>("reasonText"); // -1: no line
    QTest::addColumn<QString>("reasonCode");
    QTest::addColumn<int>("repairStatus");
    QTest::addColumn<QString>("repairResult"); // of the damaged file; empty: not installed
    QTest::addColumn<int>("statusAfter");      // of --verify after the repair

    QTest::newRow("complete") << "" << 0 << -1 << "" << 0 << "" << 0;
    // Nothing to do needs no right to write.
    QTest::newRow("complete, folders not writable")
            << "unwritable" << 0 << -1 << "" << 0 << "" << 0;
    QTest::newRow("deleted") << "delete" << 1 << int(InstallText::ReasonMissing) << "missing" << 0
                             << "installed" << 0;
    QTest::newRow("one byte changed") << "byte" << 1 << int(InstallText::ReasonDifferentContent)
                                      << "different-content" << 1 << "replaced" << 0;
    QTest::newRow("truncated") << "truncate" << 1 << int(InstallText::ReasonDifferentSize)
                               << "different-size" << 1 << "replaced" << 0;
    // Replaced like any other, as the user who runs the repair.
    QTest::newRow("read-only and changed")
            << "read-only" << 1 << int(InstallText::ReasonDifferentContent) << "different-content"
            << 1 << "replaced" << 0;
    QTest::newRow("unreadable") << "unreadable" << 1 << int(InstallText::ReasonInstalledUnreadable)
                                << "unreadable" << 1 << "replaced" << 0;
    // Nothing in the destination is read through a link or opened when it is
    // not a plain file, and a link there is a person's choice: the repair
    // fails the file as an install does.
    for (const char *link : {"pipe", "link", "link on the way"})
        QTest::newRow(link) << link << 1 << int(InstallText::ReasonNotReadThroughLink)
                            << "link-in-the-way" << 2 << "failed" << 1;
    // What an interrupted run leaves beside an installed file is not as
    // delivered either; the repair removes it.
    for (const char *leftover : {"_", ".a1B2c3.quillon-part", ".Zz09yY.quillon-old"})
        QTest::newRow(qPrintable(QString("leftover %1").arg(leftover)))
                << QString("leftover %1").arg(leftover) << 1 << int(InstallText::ReasonLeftover)
                << "leftover" << 0 << "removed" << 0;
    // Nothing can repair what the data set cannot deliver.
    QTest::newRow("package damaged") << "package" << 2 << int(InstallText::ReasonDoesNotInflate)
                                     << "does-not-inflate" << 2 << "" << 2;
}

void tst_VerifyRepair::damage()
{
    QFETCH(QString, damage);
    QFETCH(int, verifyStatus);
    QFETCH(int, reasonText);
    QFETCH(QString, reasonCode);
    QFETCH(int, repairStatus);
    QFETCH(QString, repairResult);
    QFETCH(int, statusAfter);

    // GIVEN a complete install whose files were all written long ago
    SilentFixture f;
    QVERIFY(f.pack());
    const QString report = f.filePath("reports/report.json"); // a folder yet to be made
    QCOMPARE(f.run({"--report", report}), 0);
    const QJsonObject installed = readReport(report);
    QCOMPARE(installed["command"], "install");
    QCOMPARE(installed["kinds"][0]["counts"].toObject()["installed"], 3);
    setTimes(f.base);

    // WHEN one installed file is damaged in one way
    const QString file = f.installed("STY_2027SS", Damaged);
    const QString package = f.dataSet + "/STY_2027SS/" + Damaged + '_';
    const QByteArray good = TestFiles::read(file);
    const QString outside = f.filePath("outside/b.sty"); // where a link leads
    if (const QString why = damageFile(f, damage, outside); !why.isEmpty())
        QSKIP(qPrintable(why));
    const auto timesBefore = times(f.base);
    const auto treeBefore = f.tree(f.base);
    // The file the lines and the report name: a leftover beside the installed one.
    const bool leftover = damage.startsWith("leftover");
    const QString named = leftover ? Damaged + damage.section(' ', 1) : Damaged;

    // THEN --verify names it with its reason and changes nothing
    QCOMPARE(f.runCommand({"--verify", "--report", report}), verifyStatus);
    QCOMPARE(f.tree(f.base), treeBefore);
    QCOMPARE(times(f.base), timesBefore);
    const QString line = reasonText == InstallText::ReasonDoesNotInflate
                                 ? text(InstallText::NotChecked) + SilentFixture::given(package)
                                 : text(InstallText::NotAsDelivered)
                                           + native(f.installed("STY_2027SS", named));
    QCOMPARE(f.out.contains(line + " - "), reasonText >= 0);
    // AND a package that could not be unpacked is not counted as checked
    const bool missing = reasonCode == "missing", notChecked = verifyStatus == 2;
    const QString summary = text(InstallText::CheckSummary)
                                    .arg(8 - notChecked)
                                    .arg(missing)
                                    .arg(verifyStatus == 1 && !missing && !leftover)
                                    .arg(notChecked);
    QVERIFY2(f.out.contains(summary.section("%5", 0, 0)), qPrintable(f.out));
    QCOMPARE(f.out.contains(text(InstallText::LeftoverCount).arg(1)), leftover);
    if (reasonText >= 0)
        QVERIFY2(f.out.contains(line + " - " + text(reasonText)), qPrintable(f.out));
    QJsonObject verified = readReport(report);
    QCOMPARE(verified["command"], "verify");
    QCOMPARE(verified["exitStatus"], verifyStatus);
    QCOMPARE(entryOf(verified,
                     reasonCode == "missing" ? "missing"
                     : verifyStatus == 2     ? "failed"
                                             : "different",
                     named)["reason"]
                     .toString(),
             reasonCode);

    // AND --silent --repair installs it again without touching anything else
    QCOMPARE(f.run({"--repair", "--report", report}), repairStatus);
    QJsonObject repaired = readReport(report);
    QCOMPARE(repaired["exitStatus"], repairStatus);
    QCOMPARE(repaired["dataSet"].toObject()["year"], "2027");
    QCOMPARE(repaired["vestra"].toObject()["version"], "3.1");
    if (!repairResult.isEmpty())
        QCOMPARE(entryOf(repaired, repairResult, named)["reason"].toString(), reasonCode);
    for (const auto &[path, time] : times(f.base)) {
        if (path != file || repairResult.isEmpty())
            QVERIFY2(time == LongAgo, qPrintable(path));
    }
    QCOMPARE(f.runCommand({"--verify"}), statusAfter);
    if (statusAfter == 0)
        QCOMPARE(TestFiles::read(file), good);
    if (QFile::exists(outside))
        QCOMPARE(TestFiles::read(outside), good);
}

void tst_VerifyRepair::reportSaysHowTheRunEnded_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("fault");    // QUILLON_TEST_FAULT
    QTest::addColumn<QString>("journals"); // QUILLON_JOURNAL_DIR below the test folder
    QTest::addColumn<QString>("existing"); // an installed file there before, below the base
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("file"); // KIND:path of an entry, its result and reason
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("reason");
    // A stop as STI's last file is unpacked undoes the run: nothing stays
    // installed or replaced.
    QTest::newRow("stopped and undone") << QStringList{"--overwrite", "all"} << "temp:10:stop"
                                        << ""
                                        << "STY_2027SS/Unit2/c.sty" << 2 << "STY:Unit2/c.sty"
                                        << "failed"
                                        << "undone";
    // Files after the one that cancelled were never looked at.
    QTest::newRow("cancelled at an installed file")
            << QStringList{"--overwrite", "cancel"} << ""
            << ""
            << "STI_2027SS/Set2/e.sti" << 2 << "STI:Set1/Front/d.sti"
            << "failed"
            << "not-attempted";
    // Exit 3: the report says why and lists no kind.
    QTest::newRow("usage error") << QStringList{"--frobnicate"} << ""
                                 << ""
                                 << "" << 3 << ""
                                 << ""
                                 << "";
    QTest::newRow("no place for the journal") << QStringList{} << ""
                                              << "registry.reg/journals"
                                              << "" << 3 << ""
                                              << ""
                                              << "";
}

// The report says what is true when the command ends.
void tst_VerifyRepair::reportSaysHowTheRunEnded()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, fault);
    QFETCH(QString, journals);
    QFETCH(QString, existing);
    QFETCH(int, status);
    QFETCH(QString, file);
    QFETCH(QString, result);
    QFETCH(QString, reason);
    SilentFixture f;
    QVERIFY(f.pack());
    if (!existing.isEmpty())
        QVERIFY(TestFiles::write(f.base + existing, "the user's own"));
    if (!fault.isEmpty())
        f.extraEnvironment.insert("QUILLON_TEST_FAULT", fault);
    if (!journals.isEmpty())
        f.extraEnvironment.insert("QUILLON_JOURNAL_DIR", f.filePath(journals));
    const QString path = f.filePath("report.json");

    QCOMPARE(f.run(arguments + QStringList{"--report", path}), status);

    const QJsonObject report = readReport(path);
    QCOMPARE(report["exitStatus"], status);
    QCOMPARE(report["command"], "install");
    // THEN a command that could not start says why, and lists no kind
    QCOMPARE(!report["error"].toString().isEmpty(), status == 3);
    if (status == 3) {
        QCOMPARE(report["kinds"].toArray().size(), 0);
        return;
    }
    // AND a run that was undone says so, and no file is called installed or replaced
    QCOMPARE(report["undone"].toBool(), reason == "undone");
    const QJsonObject entry = fileEntry(report, file.section(':', 0, 0), file.section(':', 1));
    QCOMPARE(entry["result"], result);
    QCOMPARE(entry["reason"], reason);
    for (const QJsonValue &kind : report["kinds"].toArray()) {
        const QJsonObject counts = kind["counts"].toObject();
        if (reason == "undone")
            QCOMPARE(counts["installed"].toInt() + counts["replaced"].toInt(), 0);
        QCOMPARE(counts["installed"].toInt() + counts["kept"].toInt() + counts["replaced"].toInt()
                         + counts["failed"].toInt(),
                 kind["selectedFiles"].toInt());
    }
}

void tst_VerifyRepair::outputThatCannotBeWritten_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>(
            "place"); // "file": a folder of its path is a file; "full": a full disk
    QTest::addColumn<bool>("statusFile"); // else the report
    QTest::addColumn<int>("line");        // the text that names it
    QTest::newRow("report below a file")
            << QStringList{"--verify"} << "file" << false << int(InstallText::ReportNotWritten);
    QTest::newRow("report on a full disk")
            << QStringList{"--verify"} << "full" << false << int(InstallText::ReportNotWritten);
    QTest::newRow("status file on a full disk")
            << QStringList{"--silent", "--save-status", "yes"} << "full" << true
            << int(InstallText::StatusFileNotSaved);
}

// A report or status file that was asked for and cannot be written whole
// leaves any earlier one alone, is named, and makes the exit status 2.
void tst_VerifyRepair::outputThatCannotBeWritten()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, place);
    QFETCH(bool, statusFile);
    QFETCH(int, line);
    SilentFixture f;
    QVERIFY(f.pack());
    // GIVEN an installed STI kind with one file of the user's own (a status line)
    QCOMPARE(f.run({"--kinds", "STI"}), 0);
    QVERIFY(TestFiles::write(f.installed("STI_2027SS", "Set2/e.sti"), "the user's own"));
    QString file = place == "file" ? f.registry() + "/report.json" : f.statusDir + "/report.json";
    if (statusFile)
        file = f.statusDir + "/STI_Install_Status-" + QDate::currentDate().toString("yyyy-MM-dd")
               + ".txt";
    // AND an earlier file of that name on a disk that is full
    std::unique_ptr<Restrictions::SmallDisk> disk;
    if (place == "full") {
        disk = std::make_unique<Restrictions::SmallDisk>(f.statusDir, "16k");
        if (!disk->isMounted())
            QSKIP(qPrintable("no small disk here: " + disk->whyNot()));
        QVERIFY(TestFiles::write(file, "earlier"));
        QFile filler(f.statusDir + "/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'x')) > 0) {
        }
    }
    // WHEN the command is run THEN the file is named as not written and the
    // earlier one is still there
    if (!statusFile)
        arguments << "--report" << file;
    QCOMPARE(f.runCommand(arguments + QStringList{"--kinds", "STI"}), 2);
    QVERIFY2(f.out.contains(text(line) + SilentFixture::given(file)), qPrintable(f.out));
    if (place == "full")
        QCOMPARE(TestFiles::read(file), QByteArray("earlier"));
}

QTEST_GUILESS_MAIN(tst_VerifyRepair)
#include "tst_verifyrepair.moc"
