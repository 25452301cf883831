#include "i18n/Languages.h"
#include "shell/TLanguageForm.h"
#include "shell/TMainForm.h"
#include "ui/Pictures.h"

#include "ProgramFolder.h"

#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

class tst_LanguageForm : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void buttonOpensWelcomeWindow_data();
    void buttonOpensWelcomeWindow();
    void thaiWithoutLanguageFile();
    void firstButtonShowsItsFocus();
    void keysPressTheFocusedButton_data();
    void keysPressTheFocusedButton();
    void arrowsMoveInTheGrid_data();
    void arrowsMoveInTheGrid();
};

void tst_LanguageForm::initTestCase()
{
    InitPictures();
}

void tst_LanguageForm::buttonOpensWelcomeWindow_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QColor>("readMe");
    for (const QString &language : LanguageNames()) {
        QTest::newRow(qPrintable(language)) << "sb" + language << language
                                            << (language == "Korean" ? ProgramFolder::KoreanReadMe
                                                                     : ProgramFolder::OtherReadMe);
    }
}

// GIVEN the language window, WHEN a language button is clicked, THEN the
// language is current and the welcome window shows it, with the language's
// readme, while the language window is hidden but alive.
void tst_LanguageForm::buttonOpensWelcomeWindow()
{
    QFETCH(QString, button);
    QFETCH(QString, language);
    QFETCH(QColor, readMe);
    QTemporaryDir dir;
    QVERIFY(ProgramFolder::make(dir.path(), LanguageNames()));
    SetCurrentLanguageName(QString());
    QPointer<TLanguageForm> form = new TLanguageForm(RunSettings{dir.path(), {}, {}, {}});
    form->show();
    QVERIFY(!form->welcomeWindow());

    QTest::mouseClick(form->findChild<QToolButton *>(button), Qt::LeftButton);

    QCOMPARE(CurrentLanguageName(), language);
    QVERIFY(form);
    QVERIFY(form->isHidden());
    TMainForm *welcome = form->welcomeWindow();
    QVERIFY(welcome);
    QVERIFY(welcome->isVisible());
    QCOMPARE(welcome->findChild<QToolButton *>("sbNext")->text(),
             ProgramFolder::mainText(language, 6));
    const QPixmap picture = welcome->findChild<QLabel *>("imgReadMe")->pixmap();
    QCOMPARE(picture.toImage().pixelColor(190, 175), readMe);
    delete form;
}

// GIVEN no Thai.tdw beside the program, WHEN "Thai" is chosen, THEN the
// welcome window's captions are all empty and the language window is hidden,
// not destroyed.
void tst_LanguageForm::thaiWithoutLanguageFile()
{
    QTemporaryDir dir;
    QVERIFY(ProgramFolder::make(dir.path(), {"English", "Korean"}));
    QPointer<TLanguageForm> form = new TLanguageForm(RunSettings{dir.path(), {}, {}, {}});
    form->show();
    QTest::mouseClick(form->findChild<QToolButton *>("sbThai"), Qt::LeftButton);

    QVERIFY(form);
    QVERIFY(form->isHidden());
    TMainForm *welcome = form->welcomeWindow();
    QVERIFY(welcome && welcome->isVisible());
    QCOMPARE(welcome->findChild<QToolButton *>("sbNext")->text(), QString());
    QCOMPARE(welcome->findChild<QLabel *>("Label1")->text(), QString());
    for (QAction *entry : welcome->findChildren<QAction *>()) {
        if (entry->objectName().startsWith("msm"))
            QVERIFY2(entry->text().isEmpty(), qPrintable(entry->objectName()));
    }
    delete form;
}

// The first language button has the focus when the window opens, and the
// focus shows.
void tst_LanguageForm::firstButtonShowsItsFocus()
{
    QTemporaryDir dir;
    TLanguageForm form(RunSettings{dir.path(), {}, {}, {}});
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto *korean = form.findChild<QToolButton *>("sbKorean");
    QCOMPARE(QApplication::focusWidget(), korean);
    const QImage focused = korean->grab().toImage();
    form.findChild<QToolButton *>("sbEnglish")->setFocus();
    QVERIFY(korean->grab().toImage() != focused);
}

void tst_LanguageForm::keysPressTheFocusedButton_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
    QTest::newRow("Space") << int(Qt::Key_Space);
}

void tst_LanguageForm::keysPressTheFocusedButton()
{
    QFETCH(int, key);
    QTemporaryDir dir;
    QVERIFY(ProgramFolder::make(dir.path(), LanguageNames()));
    QPointer<TLanguageForm> form = new TLanguageForm(RunSettings{dir.path(), {}, {}, {}});
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form));
    form->findChild<QToolButton *>("sbIndonesian")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(CurrentLanguageName(), QString("Indonesian"));
    QVERIFY(form->welcomeWindow() && form->welcomeWindow()->isVisible());
    delete form;
}

void tst_LanguageForm::arrowsMoveInTheGrid_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("to");
    QTest::newRow("right") << "sbKorean" << QList<int>{Qt::Key_Right} << "sbEnglish";
    QTest::newRow("left") << "sbIndonesian" << QList<int>{Qt::Key_Left} << "sbChinese";
    QTest::newRow("down to Thai") << "sbKorean"
                                  << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down}
                                  << "sbThai";
    QTest::newRow("up") << "sbTaiwanese" << QList<int>{Qt::Key_Up} << "sbIndonesian";
    QTest::newRow("no button right of Thai") << "sbThai" << QList<int>{Qt::Key_Right} << "sbThai";
    QTest::newRow("none below Taiwanese")
            << "sbTaiwanese" << QList<int>{Qt::Key_Down} << "sbTaiwanese";
    QTest::newRow("none above Korean") << "sbKorean" << QList<int>{Qt::Key_Up} << "sbKorean";
}

// The arrow keys move the focus to the button in their direction, as the
// buttons stand in two columns; Enter then presses that one.
void tst_LanguageForm::arrowsMoveInTheGrid()
{
    QFETCH(QString, from);
    QFETCH(QList<int>, keys);
    QFETCH(QString, to);
    QTemporaryDir dir;
    TLanguageForm form(RunSettings{dir.path(), {}, {}, {}});
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.findChild<QToolButton *>(from)->setFocus();
    for (int key : keys)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(QApplication::focusWidget()->objectName(), to);
}

QTEST_MAIN(tst_LanguageForm)
#include "tst_languageform.moc"
