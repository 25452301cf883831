#include "InstallFixture.h"

#include "i18n/TextNumbers.h"
#include "install/InstallRun.h"
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

QTEST_GUILESS_MAIN(tst_CheckAndRepair)
#include "tst_checkandrepair.moc"
