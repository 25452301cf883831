#include "i18n/Languages.h"
#include "shell/TLanguageForm.h"
#include "shell/TMainForm.h"
#include "ui/LanguageFont.h"
#include "ui/MessageBoxes.h"
#include "ui/Pictures.h"
#include "ui/TMessageDialog.h"
#include "wizard/TDirectoryDlgForm.h"

#include "../wizard/WizardFixture.h"
#include "ModalWatcher.h"
#include "WindowManagerFrame.h"

#include <QLabel>
#include <QScreen>
#include <QToolButton>

// Every window on a real X display with a window manager, framed as the
// window manager frames it: framefit.sh runs this on 1366x768, 1280x720 and
// 1024x768 screens at the scales 1, 1.5 and 2 (QT_SCALE_FACTOR). Each window,
// title bar and frame included, lies inside the work area, and the controls
// that lead on lie inside the window.
class tst_FrameFit : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void languageWindow();
    void welcomeWindow_data();
    void welcomeWindow();
    void wizard_data();
    void wizard();
    void locationDialog();
    void messageWindows();

private:
    static void languages();
    static void useLanguage(const QString &language);
    static void verifyFrame(QWidget *window);
    static void verifyShown(QWidget *window, const QStringList &controls);
};

void tst_FrameFit::initTestCase()
{
    if (!WindowManagerFrame::connection())
        QSKIP("needs an X display with a window manager: run it through framefit.sh");
    InitPictures();
    qInfo("screen %s, scale %s, work area %d,%d %dx%d",
          qPrintable(QStringLiteral("%1x%2")
                             .arg(QGuiApplication::primaryScreen()->size().width())
                             .arg(QGuiApplication::primaryScreen()->size().height())),
          qgetenv("QT_SCALE_FACTOR").constData(), WindowManagerFrame::workArea().x(),
          WindowManagerFrame::workArea().y(), WindowManagerFrame::workArea().width(),
          WindowManagerFrame::workArea().height());
}

void tst_FrameFit::languages()
{
    QTest::addColumn<QString>("language");
    for (const QString &language : LanguageNames())
        QTest::newRow(qPrintable(language)) << language;
}

void tst_FrameFit::useLanguage(const QString &language)
{
    SetCurrentLanguageName(language);
    UseLanguageFont(language);
}

// The frame the window manager drew lies in its work area.
void tst_FrameFit::verifyFrame(QWidget *window)
{
    if (!window->isVisible())
        window->show();
    // Patient: the machine may be busy with other builds.
    QVERIFY(QTest::qWaitForWindowExposed(window, 15000));
    QVERIFY2(WindowManagerFrame::waitForFrame(window), "the window manager framed no window");
    const QRect frame = WindowManagerFrame::frame(window);
    const QRect area = WindowManagerFrame::workArea();
    QVERIFY2(area.contains(frame),
             qPrintable(QStringLiteral("%1: frame %2,%3 %4x%5 leaves the work area %6x%7")
                                .arg(window->objectName(), QString::number(frame.x()),
                                     QString::number(frame.y()), QString::number(frame.width()),
                                     QString::number(frame.height()), QString::number(area.width()),
                                     QString::number(area.height()))));
}

// The controls are shown and lie whole inside the window.
void tst_FrameFit::verifyShown(QWidget *window, const QStringList &controls)
{
    for (const QString &name : controls) {
        auto *control = window->findChild<QWidget *>(name);
        QVERIFY2(control && control->isVisible(), qPrintable(name));
        const QRect shown(control->mapTo(window, QPoint(0, 0)), control->size());
        QVERIFY2(window->rect().contains(shown), qPrintable(name + " is cut off"));
        // Inside a scrolled area: within the part of it that shows.
        for (QWidget *up = control->parentWidget(); up && up != window; up = up->parentWidget()) {
            const QRect inUp(control->mapTo(up, QPoint(0, 0)), control->size());
            QVERIFY2(up->rect().contains(inUp),
                     qPrintable(name + " is hidden in " + up->objectName()));
        }
    }
}

void tst_FrameFit::languageWindow()
{
    TLanguageForm form(RunSettings{QUILLON_RESOURCES_DIR, {}, {}, {}});
    verifyFrame(&form);
    verifyShown(&form, {"sbKorean", "Label1"});
    // The buttons' box scrolls; the last button can be brought into sight.
    auto *thai = form.findChild<QToolButton *>("sbThai");
    thai->setFocus(Qt::TabFocusReason);
    QTest::qWait(50);
    verifyShown(&form, {"sbThai"});
}

void tst_FrameFit::welcomeWindow_data()
{
    languages();
}

void tst_FrameFit::welcomeWindow()
{
    QFETCH(QString, language);
    useLanguage(language);
    TMainForm form(RunSettings{QUILLON_RESOURCES_DIR, {}, {}, {}}, nullptr);
    verifyFrame(&form);
    verifyShown(&form, {"ScrollBox1", "Label1", "sbNext"});
}

void tst_FrameFit::wizard_data()
{
    languages();
}

// Every page of a User install: the pages share one window.
void tst_FrameFit::wizard()
{
    QFETCH(QString, language);
    WizardFixture f;
    useLanguage(language);
    QVERIFY(f.open());
    verifyFrame(f.wizard);
    verifyShown(f.wizard, {"cbDETAILInstall", "rbUser", "sbPrev1", "sbNext1"});
    f.click("rbUser");
    const char *pages[][4] = {
            {"sbNext1", "lbClickmsg", "sbPrev2", "sbNext2"},
            {"sbNext2", "lbClickmsg2", "sbPrev3", "sbNext3"},
            {"sbNext3", "lbClickmsg3", "sbPrev4", "sbNext4"},
            {"sbNext4", "mmInstallStatus", "btInstall", "btCancel"},
    };
    for (const auto &page : pages) {
        f.click(page[0]);
        verifyShown(f.wizard, {page[1], page[2], page[3]});
    }
    verifyFrame(f.wizard); // it has not moved
}

void tst_FrameFit::locationDialog()
{
    useLanguage("Thai");
    TDirectoryDlgForm dialog(QUILLON_RESOURCES_DIR, OpenDriveList());
    LocationSetup setup;
    setup.startPath = QDir::tempPath();
    dialog.SetUp(setup);
    verifyFrame(&dialog);
    verifyShown(&dialog, {"DirectoryListBox", "lbDestinationPath", "btOK", "btCancel"});
}

// The overwrite question and a platform box with a long path, as modal
// windows over a wizard-sized owner.
void tst_FrameFit::messageWindows()
{
    useLanguage("Thai");
    const QString path = "C:\\Program Files\\Kestrel\\Vestra 3.1\\Bin\\STY_2027SS\\Formal\\Coat\\"
                         "CT27S01.sty";
    QWidget owner;
    owner.resize(500, 400);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    for (int which = 0; which < 2; ++which) {
        bool checked = false;
        ModalWatcher watcher([&](QWidget *dialog) {
            verifyFrame(dialog);
            checked = true;
            dialog->close();
        });
        if (which == 0)
            ShowMessageDialog("ไฟล์นี้มีอยู่แล้ว จะเขียนทับหรือไม่?\n" + path, "คำถาม",
                              "ใช่(&Y)|ทั้งหมด(&A)|ไม่(&N)|ยกเลิก", "ใช่(Y)", &owner);
        else
            AskYesNo(&owner, "คำถาม", path + "\n" + path + "\n" + path);
        QVERIFY(watcher.answered());
        QVERIFY(checked);
    }
}

QTEST_MAIN(tst_FrameFit)
#include "tst_framefit.moc"
