#include "i18n/TextNumbers.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>

#include "WizardFixture.h"

// The wizard's pages driven through their controls: captions, which page
// follows which, the checks of the Next buttons and the summaries.
class tst_InstallForm : public QObject
{
    Q_OBJECT
private slots:
    void init() { f = std::make_unique<WizardFixture>(); }
    void cleanup() { f.reset(); }
    void setUpTexts();
    void prepareFailures_data();
    void prepareFailures();
    void nothingSelected();
    void detailAloneGoesToPageFour();
    void basicGoesToPageFive();
    void clickHint();
    void styleFolderForStyNotSti();
    void styAndDetailMayShareAFolder();
    void pageThreeRefusals_data();
    void pageThreeRefusals();
    void missingSourceFolder();
    void pageFourSummary_data();
    void pageFourSummary();
    void folderButtonCancelKeepsDestination();

private:
    std::unique_ptr<WizardFixture> f;
};

void tst_InstallForm::setUpTexts()
{
    f->writeDataSet(true, false, true);
    QVERIFY(f->open());
    QCOMPARE(f->wizard->windowTitle(), QString("Quillon"));
    QCOMPARE(f->page(), QString("pnOne"));
    QCOMPARE(f->child<QLabel>("stYear")->text(), QString("2027"));
    QCOMPARE(f->child<QLabel>("stSeason")->text(), QString("S/S"));
    QCOMPARE(f->child<QLabel>("stVolume")->text(), QString("12"));
    QVERIFY(f->child<QCheckBox>("cbSTYInstall")->isEnabled());
    QVERIFY(!f->child<QCheckBox>("cbSTIInstall")->isEnabled());
    QVERIFY(f->child<QCheckBox>("cbSTIInstall")->isChecked());
    QVERIFY(f->child<QRadioButton>("rbBasic")->isChecked());
    QVERIFY(!f->child<QLabel>("lbDataInfor")->isVisible());

    QCOMPARE(f->child<QGroupBox>("gbData")->title(), f->text(InstallText::DataGroup));
    QCOMPARE(f->child<QLabel>("StaticText1")->text(), f->text(InstallText::DataHint));
    QCOMPARE(f->child<QRadioButton>("rbUser")->text(), f->text(InstallText::UserRadio));
    QCOMPARE(f->child<QPushButton>("sbNext3")->text(), QString("Next  "));
    QCOMPARE(f->child<QPushButton>("sbPrev5")->text(), f->text(InstallText::PrevButton));
    QCOMPARE(f->child<QLabel>("stInstall")->text(), f->text(InstallText::InstallButton));
    QCOMPARE(f->child<QGroupBox>("gb3")->title(), f->text(InstallText::InstallPathGroup));
    QCOMPARE(f->child<QGroupBox>("gbInstallPath2")->title(), f->text(19) + " - STI");
    QCOMPARE(f->child<QGroupBox>("gbInstallPath3")->title(), f->text(19) + " - DETAIL");
    QCOMPARE(f->child<QLabel>("lbCheck2")->text(), f->text(InstallText::CheckNote));
    QVERIFY(!f->child<QLabel>("lbPercent")->isVisible());
    QCOMPARE(f->child<QProgressBar>("Installprgbar")->maximum(), 100);
}

void tst_InstallForm::prepareFailures_data()
{
    QTest::addColumn<QString>("broken");
    QTest::addColumn<int>("textNumber");
    QTest::addColumn<QString>("named"); // relative to the test folder
    QTest::newRow("no data set description") << "dataset.ini" << 69 << "dataset/dataset.ini";
    QTest::newRow("no Vestra 2.0 or newer") << "old version" << 67 << "registry.reg";
    QTest::newRow("no registry export") << "registry.reg" << 67 << "registry.reg";
}

void tst_InstallForm::prepareFailures()
{
    QFETCH(QString, broken);
    QFETCH(int, textNumber);
    QFETCH(QString, named);
    if (broken == "dataset.ini")
        QVERIFY(QFile::remove(f->settings.dataSetFolder + "/dataset.ini"));
    else if (broken == "old version")
        f->writeRegistry("1.5");
    else
        QVERIFY(QFile::remove(f->settings.registryFile));
    f->wizard = new TSTYInstallForm(f->settings, nullptr);
    f->wizard->ApplyInstallFormTexts();
    DataSetDescription description;
    QVERIFY(!f->wizard->Prepare(description));
    const QString message = f->wizard->PrepareFailureMessage();
    QVERIFY2(message.startsWith(f->text(textNumber)), qPrintable(message));
    QVERIFY2(message.contains(WizardFixture::native(f->dir.filePath(named))), qPrintable(message));
}

void tst_InstallForm::nothingSelected()
{
    QVERIFY(f->open());
    f->setKinds(false, false, false, true);
    const QList<SeenBox> seen = f->clickAndAnswer("sbNext1", QMessageBox::Ok);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen[0].caption, QString("Not Selected"));
    QCOMPARE(seen[0].text, f->text(InstallText::NothingSelected));
    QCOMPARE(seen[0].icon, QMessageBox::Warning);
    QCOMPARE(f->page(), QString("pnOne"));
}

void tst_InstallForm::detailAloneGoesToPageFour()
{
    f->writeDataSet(false, false, true);
    QVERIFY(f->open());
    f->click("rbUser");
    f->click("sbNext1");
    QCOMPARE(f->page(), QString("pnFour"));
    QCOMPARE(f->child<QLabel>("lbDataInstallPath3")->text(),
             WizardFixture::native(f->destination(2)));
    QCOMPARE(f->child<QTreeWidget>("tvSelectUnit3")->topLevelItem(0)->text(0),
             QString("DETAIL_27"));
    QCOMPARE(f->child<QTreeWidget>("tvSelectUnit3")->topLevelItem(0)->childCount(), 2);
    f->click("sbPrev4");
    QCOMPARE(f->page(), QString("pnOne"));
}

void tst_InstallForm::basicGoesToPageFive()
{
    QVERIFY(f->open());
    f->click("sbNext1");
    QCOMPARE(f->page(), QString("pnFive"));
    QCOMPARE(f->child<QLabel>("lbInstallPath")->text(),
             "STY : " + WizardFixture::native(f->destination(0))
                     + "\nSTI : " + WizardFixture::native(f->destination(1))
                     + "\nDETAIL : " + WizardFixture::native(f->destination(2)));
    f->child<QPlainTextEdit>("mmInstallStatus")->setPlainText("an earlier run");
    f->child<QProgressBar>("Installprgbar")->setValue(70);
    f->click("sbPrev5");
    QCOMPARE(f->page(), QString("pnOne"));
    QVERIFY(f->child<QPlainTextEdit>("mmInstallStatus")->toPlainText().isEmpty());
    QCOMPARE(f->child<QProgressBar>("Installprgbar")->value(), 0);
    QCOMPARE(f->child<QLabel>("lbPercent")->text(), QString("0"));
}

void tst_InstallForm::clickHint()
{
    QVERIFY(f->open());
    f->setKinds(true, true, false, true);
    f->click("sbNext1");
    const QString hint = f->text(InstallText::ClickHint) + f->text(InstallText::HintStyAndSti)
                         + f->text(InstallText::HintDifferentFolders);
    for (const char *label : {"lbClickmsg", "lbClickmsg2", "lbClickmsg3"})
        QCOMPARE(f->child<QLabel>(label)->text(), hint);
}

void tst_InstallForm::styleFolderForStyNotSti()
{
    QVERIFY(f->open());
    f->click("rbUser");
    f->click("sbNext1");
    QCOMPARE(f->page(), QString("pnTwo"));
    const QString style = f->base() + "Style";
    f->chooseFolder("sbDirectory", style);
    QCOMPARE(f->child<QLabel>("lbDataInstallPath")->text(), WizardFixture::native(style));
    f->click("sbNext2");
    QCOMPARE(f->page(), QString("pnThree"));

    f->chooseFolder("sbDirectory2", style);
    const QList<SeenBox> seen = f->clickAndAnswer("sbNext3", QMessageBox::Ok);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen[0].caption, QString("Warning"));
    QCOMPARE(seen[0].text, f->text(InstallText::ProtectedFolder) + "\n"
                                   + f->text(InstallText::ChooseAnotherFolder));
    QCOMPARE(f->page(), QString("pnThree"));

    f->chooseFolder("sbDirectory2", f->base() + "stiSample");
    f->click("sbNext3");
    QCOMPARE(f->page(), QString("pnFour"));
}

void tst_InstallForm::styAndDetailMayShareAFolder()
{
    QVERIFY(f->open());
    f->setKinds(true, false, true, true);
    f->click("sbNext1");
    const QString shared = f->dir.filePath("elsewhere/shared");
    f->chooseFolder("sbDirectory", shared);
    f->click("sbNext2");
    QCOMPARE(f->page(), QString("pnFour"));
    f->chooseFolder("sbDirectory3", shared);
    f->click("sbNext4");
    QCOMPARE(f->page(), QString("pnFive"));
    QCOMPARE(f->child<QLabel>("lbInstallPath")->text(),
             "STY : " + WizardFixture::native(shared)
                     + "\nDETAIL : " + WizardFixture::native(shared));
}

void tst_InstallForm::pageThreeRefusals_data()
{
    QTest::addColumn<bool>("sameAsSty");
    QTest::newRow("the STY destination") << true;
    QTest::newRow("a folder that is gone") << false;
}

void tst_InstallForm::pageThreeRefusals()
{
    QFETCH(bool, sameAsSty);
    QVERIFY(f->open());
    f->click("rbUser");
    f->click("sbNext1");
    const QString shared = f->dir.filePath("elsewhere/shared");
    f->chooseFolder("sbDirectory", shared);
    f->click("sbNext2");
    const QString gone = f->dir.filePath("elsewhere/gone");
    if (sameAsSty) {
        f->chooseFolder("sbDirectory2", shared);
    } else {
        QVERIFY(QDir().mkpath(gone));
        f->chooseFolder("sbDirectory2", gone);
        QVERIFY(QDir().rmdir(gone));
    }
    const QList<SeenBox> seen = f->clickAndAnswer("sbNext3", QMessageBox::Ok);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen[0].caption, QString("Warning"));
    if (sameAsSty)
        QCOMPARE(seen[0].text, f->text(InstallText::DestinationTaken) + "\n\nSTY install folder: "
                                       + WizardFixture::native(shared));
    else
        QCOMPARE(seen[0].text, f->text(InstallText::DestinationMissing)
                                       + "\nSTI install folder: " + WizardFixture::native(gone));
    QCOMPARE(f->page(), QString("pnThree"));
}

void tst_InstallForm::missingSourceFolder()
{
    QVERIFY(QDir(f->settings.dataSetFolder + "/STI_27").removeRecursively());
    QVERIFY(f->open());
    f->setKinds(false, true, true, true);
    const QList<SeenBox> seen = f->clickAndAnswer("sbNext1", QMessageBox::Ok);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen[0].caption, QString("Warning"));
    QCOMPARE(seen[0].text, f->text(InstallText::SourceFolderMissing) + "\n"
                                   + WizardFixture::native(f->settings.dataSetFolder + "/STI_27"));
    QCOMPARE(f->page(), QString("pnOne"));
}

void tst_InstallForm::pageFourSummary_data()
{
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("expected");
    QTest::newRow("STY, STI and DETAIL") << "STY,STI,DETAIL"
                                         << "<s>\n<t>\n<d>";
    QTest::newRow("STY and DETAIL") << "STY,DETAIL"
                                    << "<s>\n<d>";
    QTest::newRow("STI and DETAIL") << "STI,DETAIL"
                                    << "<t>\n<d>";
    QTest::newRow("STY and STI") << "STY,STI"
                                 << "<s>\n<t>";
    QTest::newRow("STY") << "STY"
                         << "<s>";
    QTest::newRow("STI") << "STI"
                         << "<t>";
    QTest::newRow("DETAIL") << "DETAIL"
                            << "<d>";
    QTest::newRow("none") << ""
                          << "";
}

void tst_InstallForm::pageFourSummary()
{
    QFETCH(QString, checked);
    QFETCH(QString, expected);
    QVERIFY(f->open());
    f->click("rbUser");
    f->click("sbNext1");
    const QStringList kinds = checked.split(u',');
    if (!kinds.contains("STY"))
        f->pressNode("tvSelectUnit", "STY_27");
    f->click("sbNext2");
    if (!kinds.contains("STI"))
        f->pressNode("tvSelectUnit2", "STI_27");
    f->click("sbNext3");
    if (!kinds.contains("DETAIL"))
        f->pressNode("tvSelectUnit3", "DETAIL_27");
    f->click("sbNext4");
    QCOMPARE(f->page(), QString("pnFive"));
    expected.replace("<s>", "STY : " + WizardFixture::native(f->destination(0)));
    expected.replace("<t>", "STI : " + WizardFixture::native(f->destination(1)));
    expected.replace("<d>", "DETAIL : " + WizardFixture::native(f->destination(2)));
    QCOMPARE(f->child<QLabel>("lbInstallPath")->text(), expected);
}

void tst_InstallForm::folderButtonCancelKeepsDestination()
{
    QVERIFY(f->open());
    f->setKinds(false, false, true, true);
    f->click("sbNext1");
    QString version;
    ModalWatcher watcher([&version](QWidget *dialog) {
        version = dialog->findChild<QComboBox *>("cbVestraVersion")->currentText();
        QTest::mouseClick(dialog->findChild<QPushButton *>("btCancel"), Qt::LeftButton);
    });
    f->click("sbDirectory3");
    QVERIFY(watcher.answered());
    QCOMPARE(version, QString("3.1"));
    QCOMPARE(f->child<QLabel>("lbDataInstallPath3")->text(),
             WizardFixture::native(f->destination(2)));
    f->click("sbNext4");
    QCOMPARE(f->child<QLabel>("lbInstallPath")->text(),
             "DETAIL : " + WizardFixture::native(f->destination(2)));
}

QTEST_MAIN(tst_InstallForm)
#include "tst_installform.moc"
