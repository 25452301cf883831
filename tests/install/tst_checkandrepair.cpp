#include "InstallFixture.h"

#include "i18n/TextNumbers.h"
#include "install/InstallRun.h"
#include "install/verify/InstalledDataCheck.h"
#include "install/verify/RepairSelection.h"
#include "platform/StopSignals.h"

#include <QtTest>

// The check of an installation and the repair, on the engine: what the
// program's own runs in tst_verifyrepair cannot time or reach.
class tst_CheckAndRepair : public QObject
{
    Q_OBJECT
private slots:
    void stopEndsTheRepairsCheck();
    void checkSameOnWorkers();
};

void tst_CheckAndRepair::stopEndsTheRepairsCheck()
{
    // GIVEN installed files that all differ from their packages
    InstallFixture f;
    f.select({DataKind::STY});
    for (int i = 0; i < 3; ++i) {
        f.addSty(DataKind::STY, QString("Unit/s%1.sty_").arg(i), i + 1);
        QVERIFY(TestFiles::write(f.destination(DataKind::STY, QString("Unit/s%1.sty").arg(i)),
                                 "old"));
    }
    const auto before = InstallFixture::snapshot(f.base);
    // WHEN the system asks the program to stop as the repair begins to look
    RepairSelection repair(f.context);
    const auto narrow = f.context.narrowLists;
    f.context.narrowLists = [&narrow](InstallContext &context) {
        RequestStopLikeTheSystem();
        narrow(context);
    };
    InstallRun run(f.context);
    run.btInstallClick();

    // THEN the check ends at once, and nothing is written
    QCOMPARE(run.outcome(), InstallRun::Outcome::Interrupted);
    QCOMPARE(f.ui.memo.filter(f.text(InstallText::NotAsDelivered)), QStringList());
    QCOMPARE(InstallFixture::snapshot(f.base), before);
    QVERIFY(f.journals().isEmpty());
}

// Compared on several threads, the files give the lines and counts that one
// thread gives, in the same order.
void tst_CheckAndRepair::checkSameOnWorkers()
{
    const auto checkWith = [](int workers) {
        InstallFixture f;
        f.select({DataKind::STY});
        f.context.unpackWorkers = workers;
        for (int i = 0; i < 30; ++i)
            f.addSty(DataKind::STY, QString("Unit%1/s%2.sty_").arg(i % 3).arg(i), i + 1);
        f.addPackage(DataKind::STY, "Unit1/bad.sty_", "STYComp damaged");
        InstallRun(f.context).btInstallClick();
        QFile::remove(f.destination(DataKind::STY, "Unit0/s3.sty"));
        TestFiles::write(f.destination(DataKind::STY, "Unit1/s7.sty"), "other");
        QFile::resize(f.destination(DataKind::STY, "Unit2/s20.sty"), 10);
        f.ui.memo.clear();
        InstalledDataCheck check(f.context);
        check.checkAll();
        QStringList seen;
        for (const QString &line : std::as_const(f.ui.memo))
            seen << QString(line).remove(QDir::toNativeSeparators(f.dir.path()));
        seen.removeLast(); // the summary, with its time
        seen << QString("%1 missing, %2 different").arg(check.missing()).arg(check.different());
        return seen;
    };
    const QStringList one = checkWith(1);
    QCOMPARE(one.filter(" - ").size(), 3);
    QCOMPARE(checkWith(2), one);
    QCOMPARE(checkWith(5), one);
}

QTEST_GUILESS_MAIN(tst_CheckAndRepair)
#include "tst_checkandrepair.moc"
