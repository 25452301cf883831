#include "i18n/Languages.h"
#include "platform/DriveList.h"
#include "shell/TLanguageForm.h"
#include "shell/TMainForm.h"
#include "ui/FormStyle.h"
#include "ui/LanguageFont.h"
#include "ui/Pictures.h"
#include "wizard/TDirectoryDlgForm.h"

#include "../wizard/WizardFixture.h"

#include <QScreen>
#include <QToolButton>

// Every window on a small screen: CTest runs this once on a 1280 x 1024
// screen at 200 % and once on a 1366 x 768 screen at 125 % with a task bar
// (offscreen screens described in screen-200.json and screen-125.json).
class tst_ScreenFit : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void languageWindow();
    void welcomeWindow_data();
    void welcomeWindow();
    void wizardPages_data();
    void wizardPages();
    void locationDialog();

private:
    static void verifyFits(QWidget *window, QWidget *mustShow);
};

void tst_ScreenFit::initTestCase()
{
    InitPictures();
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    QVERIFY2(screen.height() < 600, "the test needs one of its small screens");
    qInfo("screen %dx%d", screen.width(), screen.height());
}

// The window and its frame lie on the screen, and the control that leads on
// lies inside the window's client area.
void tst_ScreenFit::verifyFits(QWidget *window, QWidget *mustShow)
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QRect area = window->screen()->availableGeometry();
    const QRect frame = window->geometry().marginsAdded(FormStyle::FrameMargins(window));
    QVERIFY2(area.contains(frame), qPrintable(QStringLiteral("%1: %2,%3 %4x%5 is off the screen")
                                                      .arg(window->objectName())
                                                      .arg(frame.x())
                                                      .arg(frame.y())
                                                      .arg(frame.width())
                                                      .arg(frame.height())));
    QVERIFY2(mustShow->isVisible(), qPrintable(mustShow->objectName()));
    const QRect shown(mustShow->mapTo(window, QPoint(0, 0)), mustShow->size());
    QVERIFY2(window->rect().contains(shown), qPrintable(mustShow->objectName()));
}

void tst_ScreenFit::languageWindow()
{
    TLanguageForm form(RunSettings{QUILLON_RESOURCES_DIR, {}, {}, {}});
    verifyFits(&form, form.findChild<QToolButton *>("sbThai"));
}

void tst_ScreenFit::welcomeWindow_data()
{
    QTest::addColumn<QString>("language");
    for (const QString &language : LanguageNames())
        QTest::newRow(qPrintable(language)) << language;
}

void tst_ScreenFit::welcomeWindow()
{
    QFETCH(QString, language);
    SetCurrentLanguageName(language);
    UseLanguageFont(language);
    TMainForm form(RunSettings{QUILLON_RESOURCES_DIR, {}, {}, {}}, nullptr);
    verifyFits(&form, form.findChild<QToolButton *>("sbNext"));
}

void tst_ScreenFit::wizardPages_data()
{
    welcomeWindow_data();
}

void tst_ScreenFit::wizardPages()
{
    QFETCH(QString, language);
    WizardFixture f;
    SetCurrentLanguageName(language);
    UseLanguageFont(language);
    QVERIFY(f.open());
    f.click("rbUser");
    const char *pages[][2] = {{"sbNext1", nullptr},
                              {"sbNext2", "sbNext1"},
                              {"sbNext3", "sbNext2"},
                              {"sbNext4", "sbNext3"},
                              {"btInstall", "sbNext4"}};
    for (const auto &[leadsOn, before] : pages) {
        if (before)
            f.click(before);
        verifyFits(f.wizard, f.child(leadsOn));
    }
}

void tst_ScreenFit::locationDialog()
{
    SetCurrentLanguageName("Thai");
    TDirectoryDlgForm dialog(QUILLON_RESOURCES_DIR, OpenDriveList());
    LocationSetup setup;
    setup.startPath = QDir::tempPath();
    dialog.SetUp(setup);
    verifyFits(&dialog, dialog.findChild<QPushButton *>("btOK"));
}

QTEST_MAIN(tst_ScreenFit)
#include "tst_screenfit.moc"
