#include "i18n/LocalTexts.h"
#include "i18n/TextNumbers.h"
#include "ui/MessageDialogLayout.h"
#include "ui/TMessageDialog.h"

#include "ModalSequence.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>

#include "WizardFixture.h"

// The wizard from the keyboard, and its boxes in the wizard's language.
class tst_WizardKeys : public QObject
{
    Q_OBJECT
private slots:
    void init() { f = std::make_unique<WizardFixture>(); }
    void cleanup() { f.reset(); }
    void userInstallWithoutMouse();
    void enterPressesPageDefault_data();
    void enterPressesPageDefault();
    void enterOnFocusedButtonPressesIt();
    void backFromFinishedRunClearsStageAndTime();
    void boxesSpeakTheWizardsLanguage();
    void overwriteQuestionInTheWizardsLanguage();
    void focusShows_data();
    void focusShows();
    void keysDuringRun_data();
    void keysDuringRun();

private:
    static void key(Qt::Key key);
    static QWidget *focused() { return QApplication::focusWidget(); }
    void goToPage(int page);

    std::unique_ptr<WizardFixture> f;
};

// A key as a person presses it: to whatever has the focus.
void tst_WizardKeys::key(Qt::Key key)
{
    QVERIFY(focused());
    QTest::keyClick(focused(), key);
}

// A User install with every kind, clicked through to a page (0 for page 1).
void tst_WizardKeys::goToPage(int page)
{
    f->click("rbUser");
    const char *nexts[] = {"sbNext1", "sbNext2", "sbNext3", "sbNext4"};
    for (int i = 0; i < page; ++i)
        f->click(nexts[i]);
}

// GIVEN a data set of STY data, WHEN a User install is made with keys
// alone, THEN the unit unticked with Space is not installed.
void tst_WizardKeys::userInstallWithoutMouse()
{
    f->writeDataSet(true, false, false);
    QVERIFY(f->open());
    QCOMPARE(focused(), f->child("cbSTYInstall"));
    key(Qt::Key_Tab);
    QCOMPARE(focused(), f->child("rbBasic"));
    key(Qt::Key_Down);
    QVERIFY(f->child<QRadioButton>("rbUser")->isChecked());
    key(Qt::Key_Return);
    QCOMPARE(f->page(), QString("pnTwo"));

    // The tree has the focus on its root: Space unticks it all, then Down
    // and Space tick the unit Casual again.
    auto *tree = f->child<QTreeWidget>("tvSelectUnit");
    QCOMPARE(focused(), tree);
    QCOMPARE(tree->currentItem(), tree->topLevelItem(0));
    key(Qt::Key_Space);
    key(Qt::Key_Down);
    QCOMPARE(tree->currentItem()->text(0), QString("Casual"));
    key(Qt::Key_Space);
    key(Qt::Key_Return);
    QCOMPARE(f->page(), QString("pnFive"));
    QCOMPARE(focused(), f->child("btInstall"));

    QList<SeenBox> seen;
    ModalWatcher watcher(PressOnBox(QMessageBox::No, &seen));
    key(Qt::Key_Return);
    QVERIFY(watcher.answered());
    QVERIFY(QFileInfo::exists(f->destination(0) + "/Casual/Blouse/b1.sty"));
    QVERIFY(QFileInfo::exists(f->destination(0) + "/Casual/Pants/p1.sty"));
    QVERIFY(!QFileInfo::exists(f->destination(0) + "/Formal"));
}

void tst_WizardKeys::enterPressesPageDefault_data()
{
    QTest::addColumn<int>("page"); // 0 for page 1
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("defaultButton");
    QTest::newRow("a kind's check box") << 0 << "cbSTIInstall"
                                        << "sbNext1";
    QTest::newRow("an install type") << 0 << "rbUser"
                                     << "sbNext1";
    QTest::newRow("the STY tree") << 1 << "tvSelectUnit"
                                  << "sbNext2";
    QTest::newRow("the STI tree") << 2 << "tvSelectUnit2"
                                  << "sbNext3";
    QTest::newRow("the DETAIL tree") << 3 << "tvSelectUnit3"
                                     << "sbNext4";
}

// Enter on a control that has no use for it presses the page's Next, which
// wears the default button's look.
void tst_WizardKeys::enterPressesPageDefault()
{
    QFETCH(int, page);
    QFETCH(QString, focus);
    QFETCH(QString, defaultButton);
    QVERIFY(f->open());
    goToPage(page);
    const QStringList pages{"pnOne", "pnTwo", "pnThree", "pnFour", "pnFive"};
    QCOMPARE(f->page(), pages.at(page));
    QVERIFY(f->child<QPushButton>(qPrintable(defaultButton))->isDefault());
    f->child(qPrintable(focus))->setFocus();
    key(Qt::Key_Enter);
    QCOMPARE(f->page(), pages.at(page + 1));
}

// A focused button takes Enter itself, as in a dialog: Back goes back.
void tst_WizardKeys::enterOnFocusedButtonPressesIt()
{
    QVERIFY(f->open());
    goToPage(1);
    f->child("sbPrev2")->setFocus();
    key(Qt::Key_Return);
    QCOMPARE(f->page(), QString("pnOne"));
    QCOMPARE(focused(), f->child("cbSTYInstall"));
}

// GIVEN a finished run, WHEN Back is pressed, THEN page 5 is as before the
// run: its caption for a stage, no elapsed time, no memo, the bar at 0.
void tst_WizardKeys::backFromFinishedRunClearsStageAndTime()
{
    QVERIFY(f->open());
    f->click("sbNext1"); // a Basic install: page 5
    QCOMPARE(focused(), f->child("btInstall"));
    QList<SeenBox> seen;
    ModalWatcher watcher(PressOnBox(QMessageBox::No, &seen));
    key(Qt::Key_Return);
    QVERIFY(watcher.answered());
    QVERIFY(f->child<QLabel>("stInstall")->text() != f->text(InstallText::InstallButton));
    QVERIFY(!f->child<QLabel>("Timer")->text().isEmpty());

    // The wizard is active again once the question has gone.
    f->wizard->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f->wizard));
    f->child("sbPrev5")->setFocus();
    key(Qt::Key_Space);
    QCOMPARE(f->page(), QString("pnOne"));
    QCOMPARE(f->child<QLabel>("stInstall")->text(), f->text(InstallText::InstallButton));
    QVERIFY(f->child<QLabel>("Timer")->text().isEmpty());
    QVERIFY(f->child<QLabel>("lbPercent")->isHidden());
    QVERIFY(f->child<QPlainTextEdit>("mmInstallStatus")->toPlainText().isEmpty());
    QCOMPARE(f->child<QProgressBar>("Installprgbar")->value(), 0);
}

// The caption, text and button of a box are the wizard's language's, and the
// caption is the text alone.
void tst_WizardKeys::boxesSpeakTheWizardsLanguage()
{
    SetCurrentLanguageName("Thai");
    LanguageTextTable thai;
    QVERIFY(LoadTextTable(thai, QUILLON_RESOURCES_DIR, "Thai", "InstallForm"));
    QVERIFY(f->open());
    QCOMPARE(f->child<QCheckBox>("cbSTYInstall")->text(), GetText(thai, InstallText::StyDataBox));
    QCOMPARE(f->child<QLabel>("lbVolume")->text(), GetText(thai, InstallText::VolumeLabel));
    for (const char *folder : {"sbDirectory", "sbDirectory2", "sbDirectory3"})
        QCOMPARE(f->child(folder)->toolTip(), GetText(thai, InstallText::FolderButtonTip));
    f->setKinds(false, false, false, false);
    QString ok;
    QList<SeenBox> seen;
    ModalWatcher watcher([&](QWidget *box) {
        ok = static_cast<QMessageBox *>(box)->button(QMessageBox::Ok)->text();
        PressOnBox(QMessageBox::Ok, &seen)(box);
    });
    f->child("rbBasic")->setFocus();
    key(Qt::Key_Return);
    QVERIFY(watcher.answered());
    QCOMPARE(seen.value(0).caption, GetText(thai, InstallText::NotSelectedCaption));
    QCOMPARE(seen.value(0).text, GetText(thai, InstallText::NothingSelected));
    QCOMPARE(ok, GetText(thai, InstallText::OkButton));
}

// GIVEN a file installed before, WHEN the Korean wizard installs over it,
// THEN the overwrite question and its buttons are Korean, the first button
// has the focus, and the second still answers All.
void tst_WizardKeys::overwriteQuestionInTheWizardsLanguage()
{
    SetCurrentLanguageName("Korean");
    LanguageTextTable korean;
    QVERIFY(LoadTextTable(korean, QUILLON_RESOURCES_DIR, "Korean", "InstallForm"));
    QVERIFY(TestFiles::write(f->destination(0) + "/Casual/Blouse/b1.sty", "installed before"));
    QVERIFY(f->open());
    f->setKinds(true, false, false, false);
    f->click("sbNext1");

    QString caption;
    QStringList names;
    QString focusedName;
    QList<SeenBox> seen;
    ModalSequence sequence({[&](QWidget *dialog) {
                                caption = dialog->windowTitle();
                                names = static_cast<TMessageDialog *>(dialog)->buttonNames();
                                focusedName = dialog->focusWidget()->objectName();
                                dialog->findChildren<QPushButton *>().at(1)->click();
                            },
                            PressOnBox(QMessageBox::No, &seen),   // save the lists? No
                            PressOnBox(QMessageBox::No, &seen)}); // close? No
    f->click("btInstall");
    QVERIFY(sequence.allAnswered());

    QCOMPARE(caption, GetText(korean, InstallText::QuestionCaption));
    QStringList expected;
    for (const MessageButton &button :
         SplitButtonCaptions(GetText(korean, InstallText::OverwriteButtons)))
        expected.append(button.name);
    QCOMPARE(names, expected);
    QCOMPARE(focusedName, expected.first());
    QCOMPARE(TestFiles::read(f->destination(0) + "/Casual/Blouse/b1.sty"),
             WizardFixture::styData());
    QCOMPARE(seen.value(0).caption, GetText(korean, InstallText::CompletedCaption));
}

void tst_WizardKeys::focusShows_data()
{
    QTest::addColumn<int>("page"); // 0 for page 1
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("other");
    QTest::newRow("page 1 before the first Tab") << 0 << "cbSTYInstall"
                                                 << "cbSTIInstall";
    QTest::newRow("the row of a unit tree") << 1 << "tvSelectUnit"
                                            << "sbNext2";
    QTest::newRow("a focused default button") << 4 << "btInstall"
                                              << "mmInstallStatus";
}

// GIVEN a page just shown, its control where the focus starts, THEN the
// control looks other than when the focus is elsewhere: the focus shows.
void tst_WizardKeys::focusShows()
{
    QFETCH(int, page);
    QFETCH(QString, control);
    QFETCH(QString, other);
    QVERIFY(f->open());
    f->wizard->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f->wizard));
    if (page > 0)
        goToPage(page);
    QWidget *focus = f->child(qPrintable(control));
    QCOMPARE(focused(), focus);
    const QImage withFocus = focus->grab().toImage();
    f->child(qPrintable(other))->setFocus(Qt::OtherFocusReason);
    QVERIFY(focus->grab().toImage() != withFocus);
}

void tst_WizardKeys::keysDuringRun_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("Enter twice does not cancel")
            << QList<int>{Qt::Key_Return, Qt::Key_Return} << QStringList{"Completed", "Completed"};
    QTest::newRow("Space does not cancel")
            << QList<int>{Qt::Key_Space} << QStringList{"Completed", "Completed"};
    QTest::newRow("Escape cancels")
            << QList<int>{Qt::Key_Escape} << QStringList{"Cancel", "Completed", "Completed"};
}

// GIVEN page 5 with Install focused, WHEN Enter starts the run and keys
// are pressed while it is busy (here: while it asks to overwrite), THEN only
// Escape asks to cancel; Cancel is enabled only during the run, and after it
// the focus is on Back, the way on from a finished install.
void tst_WizardKeys::keysDuringRun()
{
    QFETCH(QList<int>, keys);
    QFETCH(QStringList, captions);
    QVERIFY(TestFiles::write(f->destination(0) + "/Casual/Blouse/b1.sty", "installed before"));
    QVERIFY(f->open());
    f->setKinds(true, false, false, false);
    f->click("sbNext1");
    auto *cancel = f->child<QPushButton>("btCancel");
    const bool cancelBeforeRun = cancel->isEnabled();
    QCOMPARE(focused(), f->child("btInstall"));

    bool cancelDuringRun = false;
    QList<SeenBox> seen;
    QList<ModalWatcher::Answer> answers{[&](QWidget *overwrite) {
        cancelDuringRun = cancel->isEnabled();
        for (int key : keys)
            QTest::keyClick(f->wizard->focusWidget(), Qt::Key(key));
        overwrite->findChildren<QPushButton *>().at(1)->click(); // All
    }};
    for (qsizetype i = 0; i < captions.size(); ++i)
        answers.append(PressOnBox(QMessageBox::No, &seen));
    ModalSequence sequence(answers);
    key(Qt::Key_Return);
    QVERIFY(sequence.allAnswered());

    // Copying or unpacking, whichever looks first, asks to cancel.
    QCOMPARE(seen.size(), captions.size());
    for (qsizetype i = 0; i < seen.size(); ++i)
        QVERIFY2(seen.at(i).caption.endsWith(captions.at(i)), qPrintable(seen.at(i).caption));
    QVERIFY(!cancelBeforeRun);
    QVERIFY(cancelDuringRun);
    QVERIFY(!cancel->isEnabled());
    QCOMPARE(f->wizard->focusWidget(), f->child("sbPrev5"));
}

QTEST_MAIN(tst_WizardKeys)
#include "tst_wizardkeys.moc"
