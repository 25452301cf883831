#include "WizardFixture.h"

#include <QProcess>
#include <QtTest>

// The wizard and the unattended install are two ways into one engine: the
// same data set and the same choices give the same installed tree.
class tst_WizardAndSilent : public QObject
{
    Q_OBJECT
private slots:
    void sameTree_data();
    void sameTree();

private:
    static int runSilent(const WizardFixture &f, const QString &registry, const QStringList &extra);
};

int tst_WizardAndSilent::runSilent(const WizardFixture &f, const QString &registry,
                                   const QStringList &extra)
{
    QProcess quillon;
    quillon.start(QUILLON_PATH,
                  QStringList{"--silent", "--dataset", f.settings.dataSetFolder, "--registry",
                              registry, "--status-dir", f.settings.statusFolder}
                          + extra);
    if (!quillon.waitForFinished(120000) || quillon.exitStatus() != QProcess::NormalExit)
        return -1;
    return quillon.exitCode();
}

void tst_WizardAndSilent::sameTree_data()
{
    QTest::addColumn<bool>("user");
    QTest::addColumn<QStringList>("silentOptions");
    QTest::newRow("Basic install") << false << QStringList{};
    // In the wizard Coat is unticked, which leaves only the Casual unit.
    QTest::newRow("User install") << true << QStringList{"--units", "STY=Casual"};
}

void tst_WizardAndSilent::sameTree()
{
    QFETCH(bool, user);
    QFETCH(QStringList, silentOptions);

    // GIVEN one data set, installed by the wizard into Vestra ...
    WizardFixture f;
    QVERIFY(f.open());
    if (user) {
        f.click("rbUser");
        f.click("sbNext1");
        f.pressNode("tvSelectUnit", "Coat");
        f.click("sbNext2");
        f.click("sbNext3");
        f.click("sbNext4");
    } else {
        f.click("sbNext1");
    }
    QCOMPARE(f.page(), QString("pnFive"));
    QList<SeenBox> seen;
    ModalWatcher watcher(PressOnBox(QMessageBox::No, &seen));
    f.click("btInstall");
    QVERIFY(watcher.answered());
    QCOMPARE(seen.value(0).caption, QString("Completed"));

    // ... and by the unattended install into a second Vestra
    const QString second = f.dir.filePath("Second Vestra");
    const QString registry = f.dir.filePath("second.reg");
    QVERIFY(TestFiles::write(registry,
                             QStringLiteral("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrel\\"
                                            "Vestra\\3.1\\Directory]\n\"Defaultdir\"=\"%1\"\n")
                                     .arg(second)
                                     .toUtf8()));
    QCOMPARE(runSilent(f, registry, silentOptions), 0);

    // THEN both hold the same files, byte for byte
    for (const char *kind : WizardFixture::FolderNames) {
        const auto byWizard = TestFiles::snapshot(f.base() + kind);
        QVERIFY(!byWizard.empty());
        QCOMPARE(TestFiles::snapshot(second + "/Bin/" + kind), byWizard);
    }
}

QTEST_MAIN(tst_WizardAndSilent)
#include "tst_wizardandsilent.moc"
