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
    void memoKeepsLastLineInView_data();
    void memoKeepsLastLineInView();
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

void tst_InstallFormRun::memoKeepsLastLineInView_data()
{
    QTest::addColumn<QString>("answer"); // to every overwrite question
    QTest::addColumn<int>("lastLine");
    QTest::newRow("No") << "No" << int(InstallText::StyInstalled);
    QTest::newRow("Cancel") << "Cancel" << int(InstallText::CancelledKept);
}

// GIVEN a memo of three lines and files installed before, WHEN the overwrite
// questions are answered, THEN the memo still shows its last line at the end.
void tst_InstallFormRun::memoKeepsLastLineInView()
{
    QFETCH(QString, answer);
    QFETCH(int, lastLine);
    // More files installed before than the memo has lines.
    const auto sty = PackageBytes::compressed("STYComp", WizardFixture::styData());
    for (int i = 0; i < 12; ++i) {
        const QString file = QStringLiteral("/Casual/Blouse/extra%1.sty").arg(i);
        QVERIFY(TestFiles::write(f->settings.dataSetFolder + "/STY_27" + file + '_', sty));
        QVERIFY(TestFiles::write(f->destination(0) + file, "installed before"));
    }
    QVERIFY(f->open());
    f->setKinds(true, false, false, false);
    f->click("sbNext1");
    // Narrow, so that the lines of paths wrap as on a small screen.
    auto *memo = f->child<QPlainTextEdit>("mmInstallStatus");
    memo->setFixedWidth(160);

    QList<SeenBox> seen;
    QList<ModalWatcher::Answer> answers(answer == "No" ? 12 : 1, [answer](QWidget *dialog) {
        dialog->findChild<QPushButton *>(answer)->click();
    });
    // Seen as the user sees it, while the run's last question is up.
    QRect last;
    answers << [&](QWidget *box) {
        QTextCursor end(memo->document());
        end.movePosition(QTextCursor::End);
        last = memo->cursorRect(end);
        PressOnBox(QMessageBox::No, &seen)(box);
    };
    answers << PressOnBox(QMessageBox::No, &seen);
    ModalSequence sequence(answers);
    f->click("btInstall");
    QVERIFY(sequence.allAnswered());

    QVERIFY2(memo->toPlainText().endsWith(f->text(lastLine)), qPrintable(memo->toPlainText()));
    QVERIFY2(memo->viewport()->rect().contains(last),
             qPrintable(QStringLiteral("the last line at %1 of %2")
                                .arg(last.top())
                                .arg(memo->viewport()->height())));
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
