#include "i18n/TextNumbers.h"

#include "ModalSequence.h"

#include <QPlainTextEdit>
#include <QProgressBar>

#include "WizardFixture.h"

// Install runs started from the wizard's last page, and closing the wizard.
class tst_InstallFormRun : public QObject
{
    Q_OBJECT
private slots:
    void init() { f = std::make_unique<WizardFixture>(); }
    void cleanup() { f.reset(); }
    void wholeUserInstall();
    void installWithNothingChecked();
    void closeOrCancelDuringRun_data();
    void closeOrCancelDuringRun();
    void closeWhenIdleClosesOwner();
    void backFromPageOneShowsOwner();

private:
    std::unique_ptr<WizardFixture> f;
};

void tst_InstallFormRun::wholeUserInstall()
{
    QVERIFY(f->open());
    f->click("rbUser");
    f->click("sbNext1");
    f->pressNode("tvSelectUnit", "Coat");
    f->click("sbNext2");
    f->click("sbNext3");
    f->click("sbNext4");
    QCOMPARE(f->page(), QString("pnFive"));

    QList<SeenBox> seen;
    QString memo;
    int bar = -1;
    bool installEnabled = true;
    ModalWatcher watcher([&](QWidget *dialog) {
        memo = f->child<QPlainTextEdit>("mmInstallStatus")->toPlainText();
        bar = f->child<QProgressBar>("Installprgbar")->value();
        installEnabled = f->child<QPushButton>("btInstall")->isEnabled();
        PressOnBox(QMessageBox::Yes, &seen)(dialog);
    });
    f->click("btInstall");
    QVERIFY(watcher.answered());

    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen[0].caption, QString("Completed"));
    QCOMPARE(seen[0].text,
             f->text(InstallText::Completed) + "\n" + f->text(InstallText::CloseQuestion));
    QCOMPARE(memo, QStringList({f->text(51), f->text(47), f->text(49), f->text(48), f->text(50),
                                f->text(55), f->text(56)})
                           .join("\n"));
    QCOMPARE(bar, 100);
    QVERIFY(!installEnabled);
    QTRY_VERIFY(f->wizard.isNull());
    QTRY_VERIFY(f->owner.isNull());

    const QByteArray styData = WizardFixture::styData();
    QCOMPARE(TestFiles::read(f->destination(0) + "/Casual/Blouse/b1.sty"), styData);
    QCOMPARE(TestFiles::read(f->destination(0) + "/Casual/Pants/p1.sty"), styData);
    QVERIFY(!QFileInfo::exists(f->destination(0) + "/Formal/Coat/c1.sty"));
    QCOMPARE(TestFiles::read(f->destination(1) + "/Sample/Front/f1.sti"), WizardFixture::stiData());
    QCOMPARE(TestFiles::read(f->destination(2) + "/Pocket/d2.tex"), WizardFixture::texData());
    QVERIFY(!QFileInfo::exists(f->destination(2) + "/Pocket/d2.tex_"));
}

void tst_InstallFormRun::installWithNothingChecked()
{
    QVERIFY(f->open());
    f->setKinds(false, false, true, true);
    f->click("sbNext1");
    f->pressNode("tvSelectUnit3", "DETAIL_27");
    f->click("sbNext4");
    QCOMPARE(f->page(), QString("pnFive"));
    f->child<QPlainTextEdit>("mmInstallStatus")->setPlainText("an earlier run");

    const QList<SeenBox> seen = f->clickAndAnswer("btInstall", QMessageBox::Ok);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen[0].caption, QString("Not Selected"));
    QCOMPARE(seen[0].text, f->text(InstallText::NothingSelected));
    QVERIFY(f->child<QPlainTextEdit>("mmInstallStatus")->toPlainText().isEmpty());
    QVERIFY(f->child<QPushButton>("btInstall")->isEnabled());
    QVERIFY(f->child<QPushButton>("sbPrev5")->isEnabled());
    QVERIFY(!QFileInfo::exists(f->destination(2)));
}

void tst_InstallFormRun::closeOrCancelDuringRun_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("the window's close box") << true;
    QTest::newRow("btCancel") << false;
}

void tst_InstallFormRun::closeOrCancelDuringRun()
{
    QFETCH(bool, closeBox);
    QVERIFY(TestFiles::write(f->destination(0) + "/Casual/Blouse/b1.sty", "installed before"));
    QVERIFY(f->open());
    f->setKinds(true, false, false, false);
    f->click("sbNext1");

    bool closed = true;
    QList<SeenBox> seen;
    ModalSequence sequence({[&](QWidget *overwrite) {
                                if (closeBox)
                                    closed = f->wizard->close();
                                else
                                    f->child<QPushButton>("btCancel")->click();
                                overwrite->findChild<QPushButton *>("Yes")->click();
                            },
                            PressOnBox(QMessageBox::No, &seen),   // stop the run? No
                            PressOnBox(QMessageBox::No, &seen),   // save the status lists? No
                            PressOnBox(QMessageBox::No, &seen)}); // close the installer? No
    f->click("btInstall");
    QVERIFY(sequence.allAnswered());

    if (closeBox)
        QVERIFY(!closed);
    QVERIFY(f->wizard && f->wizard->isVisible());
    QCOMPARE(seen.size(), 3);
    // Copying or unpacking, whichever looks first, asks.
    QVERIFY2(seen[0].caption.endsWith("Cancel"), qPrintable(seen[0].caption));
    QCOMPARE(seen[0].text, f->text(InstallText::CancelQuestion));
    QCOMPARE(seen[1].caption, QString("Completed"));
    QCOMPARE(seen[2].caption, QString("Completed"));
    QVERIFY(f->child<QPushButton>("btInstall")->isEnabled());
    QCOMPARE(TestFiles::read(f->destination(0) + "/Casual/Blouse/b1.sty"),
             WizardFixture::styData());
}

void tst_InstallFormRun::closeWhenIdleClosesOwner()
{
    QVERIFY(f->open());
    QVERIFY(f->wizard->close());
    QTRY_VERIFY(f->wizard.isNull());
    QTRY_VERIFY(f->owner.isNull());
}

void tst_InstallFormRun::backFromPageOneShowsOwner()
{
    QVERIFY(f->open());
    f->click("sbPrev1");
    QTRY_VERIFY(f->wizard.isNull());
    QVERIFY(f->owner);
    QVERIFY(f->owner->isVisible());
}

QTEST_MAIN(tst_InstallFormRun)
#include "tst_installformrun.moc"
