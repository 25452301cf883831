#include "install/InstallRun.h"

#include "InstallFixture.h"

#include <QtTest>

// The packages unpacked on several threads, from as soon as each is copied,
// give the run that one thread gives, line for line and byte for byte, a
// cancel and the overwrite question's answers included.
class tst_ParallelExtraction : public QObject
{
    Q_OBJECT
private slots:
    void sameAsOneWorker_data();
    void sameAsOneWorker();
};

namespace {

// Everything a run shows, asks and leaves, with the fixture's own folder
// taken out of the paths so that two fixtures compare.
struct Seen
{
    QStringList shown;
    QList<int> bar;
    std::map<QString, QByteArray> tree;
};

Seen installWith(int workers, int cancelBefore, bool inCopy, const QList<bool> &answers,
                 OverwriteAnswer overwrite)
{
    InstallFixture f;
    f.select({DataKind::STY});
    f.context.unpackWorkers = workers;
    for (int i = 0; i < 40; ++i)
        f.addSty(DataKind::STY, QStringLiteral("Unit%1/s%2.sty_").arg(i % 4).arg(i), i);
    // Damaged packages, and installed files to replace, one of them read-only.
    for (int i : {5, 23})
        f.addPackage(DataKind::STY, QStringLiteral("Unit%1/bad%2.sty_").arg(i % 4).arg(i),
                     PackageBytes::compressed("STYComp", PackageBytes::styData(4000, 499)));
    TestFiles::write(f.destination(DataKind::STY, "Unit1/s9.sty"), "earlier");
    const QString readOnly = f.destination(DataKind::STY, "Unit2/s14.sty");
    TestFiles::write(readOnly, "kept");
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner);
    f.ui.defaultOverwrite = overwrite;
    f.ui.yesNo = answers;
    bool pressed = cancelBefore < 0;
    const KindLists &lists = f.context.kindLists(DataKind::STY);
    f.ui.onEvents = [&] {
        const int bar = f.ui.bar.last();
        const qsizetype done = inCopy ? lists.copied.size() : lists.outcomes.size();
        if (!pressed && (inCopy ? bar > 10 && bar < 40 : bar > 40) && done == cancelBefore)
            pressed = f.state.cancelRequested = true;
    };

    InstallRun run(f.context);
    run.btInstallClick();
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    Seen seen;
    const auto plain = [&f](const QString &line) {
        return QString(line).remove(QDir::toNativeSeparators(f.dir.path())).remove(f.dir.path());
    };
    for (const QString &line : f.ui.memo + lists.status)
        seen.shown << plain(line);
    for (const ScriptedInstallUi::Asked &asked : f.ui.asked)
        seen.shown << asked.caption + QStringLiteral(": ") + plain(asked.text);
    for (const FileOutcome &outcome : lists.outcomes)
        seen.shown << plain(outcome.path) + u' ' + ResultCode(outcome.result) + u' ' + outcome.reason;
    seen.bar = f.ui.bar;
    seen.tree = f.snapshot(f.base);
    return seen;
}

} // namespace

void tst_ParallelExtraction::sameAsOneWorker_data()
{
    QTest::addColumn<int>("cancelBefore"); // the entry Cancel is pressed during; -1 none
    QTest::addColumn<bool>("inCopy"); // pressed during the copy step, counted in copies
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<OverwriteAnswer>("overwrite");
    const auto all = OverwriteAnswer::All;
    QTest::newRow("whole run") << -1 << false << QList<bool>{} << all;
    QTest::newRow("cancel, keep what is installed") << 11 << false << QList<bool>{true, false} << all;
    QTest::newRow("cancel, remove what is installed") << 11 << false << QList<bool>{true, true} << all;
    QTest::newRow("cancel not confirmed") << 2 << false << QList<bool>{false} << all;
    QTest::newRow("cancel while copying") << 20 << true << QList<bool>{true} << all;
    QTest::newRow("cancel while copying, not confirmed") << 20 << true << QList<bool>{false} << all;
    QTest::newRow("overwrite: No") << -1 << false << QList<bool>{} << OverwriteAnswer::No;
    QTest::newRow("overwrite: Cancel") << -1 << false << QList<bool>{} << OverwriteAnswer::Cancel;
}

void tst_ParallelExtraction::sameAsOneWorker()
{
    QFETCH(int, cancelBefore);
    QFETCH(bool, inCopy);
    QFETCH(QList<bool>, answers);
    QFETCH(OverwriteAnswer, overwrite);
    const Seen one = installWith(1, cancelBefore, inCopy, answers, overwrite);
    QVERIFY(!one.tree.empty());
    QCOMPARE(one.shown.filter(inCopy ? QStringLiteral("Cancel: ") : QStringLiteral("Installing Cancel: "))
                     .size(),
             cancelBefore < 0 ? 0 : 1);
    for (int workers : {2, 5}) {
        const Seen many = installWith(workers, cancelBefore, inCopy, answers, overwrite);
        QCOMPARE(many.shown, one.shown);
        QCOMPARE(many.bar, one.bar);
        QCOMPARE(many.tree, one.tree);
    }
}

QTEST_GUILESS_MAIN(tst_ParallelExtraction)
#include "tst_parallelextraction.moc"
