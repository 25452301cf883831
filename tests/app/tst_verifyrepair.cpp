#include "i18n/TextNumbers.h"
#include "i18n/TextTable.h"

#include "Restrictions.h"
#include "SilentFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

// quillon --verify and --silent --repair, run as the built program on an
// installed data set that is then damaged in one way or another.
class tst_VerifyRepair : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void damage_data();
    void damage();
    void reportThatCannotBeWritten();

private:
    QString text(int number) const { return GetText(m_texts, number); }
    static QString native(const QString &path) { return QDir::toNativeSeparators(path); }
    // The report's entry of the damaged STY file; empty when it has none.
    static QJsonObject entryOf(const QJsonObject &report, const QString &result);
    static QJsonObject readReport(const QString &path);
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

QJsonObject tst_VerifyRepair::entryOf(const QJsonObject &report, const QString &result)
{
    for (const QJsonValue &kind : report["kinds"].toArray()) {
        if (kind["kind"] != "STY")
            continue;
        for (const QJsonValue &file : kind["files"].toArray()) {
            if (file["path"] == native(Damaged) && file["result"] == result)
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
    QTest::newRow("deleted") << "delete" << 1 << int(InstallText::ReasonMissing) << "missing" << 0
                             << "installed" << 0;
    QTest::newRow("one byte changed") << "byte" << 1 << int(InstallText::ReasonDifferentContent)
                                      << "different-content" << 1 << "replaced" << 0;
    QTest::newRow("truncated") << "truncate" << 1 << int(InstallText::ReasonDifferentSize)
                               << "different-size" << 1 << "replaced" << 0;
    QTest::newRow("unreadable") << "unreadable" << 1 << int(InstallText::ReasonInstalledUnreadable)
                                << "unreadable" << 1 << "replaced" << 0;
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
    if (damage == "delete") {
        QVERIFY(QFile::remove(file));
    } else if (damage == "byte") {
        QByteArray bytes = good;
        bytes[2000] = char(bytes.at(2000) ^ 1);
        QVERIFY(TestFiles::write(file, bytes));
    } else if (damage == "truncate") {
        QVERIFY(QFile::resize(file, 4000));
    } else if (damage == "package") {
        QByteArray bytes = PackageBytes::compressed("STYComp", good);
        bytes[bytes.size() - 1] = char(bytes.at(bytes.size() - 1) ^ 1); // the check sum
        QVERIFY(TestFiles::write(package, bytes));
    } else if (damage == "unreadable") {
        QString why;
        f.runAs = Restrictions::asNobody(f.root, QUILLON_PATH, &why);
        if (f.runAs.isEmpty())
            QSKIP(qPrintable("cannot run as another user here: " + why));
        QVERIFY(QFile::setPermissions(file, QFileDevice::WriteOwner));
    }
    const auto timesBefore = times(f.base);
    const auto treeBefore = f.tree(f.base);

    // THEN --verify names it with its reason and changes nothing
    QCOMPARE(f.runCommand({"--verify", "--report", report}), verifyStatus);
    QCOMPARE(f.tree(f.base), treeBefore);
    QCOMPARE(times(f.base), timesBefore);
    const QString named = reasonText == InstallText::ReasonDoesNotInflate
                                  ? text(InstallText::NotChecked) + SilentFixture::given(package)
                                  : text(InstallText::NotAsDelivered) + native(file);
    QCOMPARE(f.out.contains(named + " - "), reasonText >= 0);
    if (reasonText >= 0)
        QVERIFY2(f.out.contains(named + " - " + text(reasonText)), qPrintable(f.out));
    QJsonObject verified = readReport(report);
    QCOMPARE(verified["command"], "verify");
    QCOMPARE(verified["exitStatus"], verifyStatus);
    QCOMPARE(entryOf(verified, reasonCode == "missing" ? "missing"
                               : verifyStatus == 2     ? "failed"
                                                       : "different")["reason"]
                     .toString(),
             reasonCode);

    // AND --silent --repair installs it again without touching anything else
    QCOMPARE(f.run({"--repair", "--report", report}), repairStatus);
    QJsonObject repaired = readReport(report);
    QCOMPARE(repaired["exitStatus"], repairStatus);
    QCOMPARE(repaired["dataSet"].toObject()["year"], "2027");
    QCOMPARE(repaired["vestra"].toObject()["version"], "3.1");
    if (!repairResult.isEmpty())
        QCOMPARE(entryOf(repaired, repairResult)["reason"].toString(), reasonCode);
    for (const auto &[path, time] : times(f.base)) {
        if (path != file || repairResult.isEmpty())
            QVERIFY2(time == LongAgo, qPrintable(path));
    }
    QCOMPARE(f.runCommand({"--verify"}), statusAfter);
    if (statusAfter == 0)
        QCOMPARE(TestFiles::read(file), good);
}

void tst_VerifyRepair::reportThatCannotBeWritten()
{
    SilentFixture f;
    QVERIFY(f.pack());
    QCOMPARE(f.run({"--kinds", "STI"}), 0);
    // A folder of the report's path is a file.
    const QString report = f.registry() + "/report.json";
    QCOMPARE(f.runCommand({"--verify", "--kinds", "STI", "--report", report}), 2);
    QVERIFY2(f.out.contains(text(InstallText::ReportNotWritten) + SilentFixture::given(report)),
             qPrintable(f.out));
}

QTEST_GUILESS_MAIN(tst_VerifyRepair)
#include "tst_verifyrepair.moc"
