#include "i18n/IniFile.h"
#include "i18n/Languages.h"
#include "shell/TMainForm.h"
#include "ui/Pictures.h"
#include "ui/ShellOpen.h"

#include "MessageBoxAnswers.h"
#include "ModalWatcher.h"
#include "ProgramFolder.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

const QStringList EntryNames{"msmEnglish",  "msmKorean",    "msmChinese", "msmIndonesian",
                             "msmJapanese", "msmTaiwanese", "msmThai"};

// The twelve captions, in the order ApplyWelcomeTexts sets them.
QStringList captions(const TMainForm &form)
{
    auto entry = [&](const char *name) {
        return form.findChild<QAction *>(QLatin1String(name))->text();
    };
    return {form.findChild<QMenu *>("mmProgram")->title(),
            entry("msmClose"),
            form.findChild<QMenu *>("mmLanguage")->title(),
            entry("msmEnglish"),
            entry("msmKorean"),
            form.findChild<QToolButton *>("sbNext")->text(),
            form.findChild<QLabel *>("Label1")->text(),
            entry("msmChinese"),
            entry("msmIndonesian"),
            entry("msmJapanese"),
            entry("msmTaiwanese"),
            entry("msmThai")};
}

// The colour in the middle of the readme picture shown; invalid without one.
QColor readMeColour(const TMainForm &form)
{
    const QPixmap picture = form.findChild<QLabel *>("imgReadMe")->pixmap();
    if (picture.isNull())
        return {};
    return picture.toImage().pixelColor(picture.width() / 2, picture.height() / 2);
}

QColor readMeOf(const QString &language)
{
    return language == "Korean" ? ProgramFolder::KoreanReadMe : ProgramFolder::OtherReadMe;
}

QStringList emptyTexts()
{
    return QStringList(12, QString());
}

} // namespace

class tst_MainForm : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void opensInCurrentLanguage_data();
    void opensInCurrentLanguage();
    void noLanguageEntryCheckedAtFirst();
    void menuSwitchesLanguage_data();
    void menuSwitchesLanguage();
    void wheelScrollsByDelta_data();
    void wheelScrollsByDelta();
    void clickOnPictureFocusesScrollBox();
    void linksOpenMakerAddresses_data();
    void linksOpenMakerAddresses();
    void missingPictureIsShownAndWindowOpens();
    void longNoteTakesMoreLines();
    void tooLargeLanguageFileIsNamed();
    void enterPressesNext();
    void linksByKeyboard();
    void focusShows_data();
    void focusShows();

private:
    std::unique_ptr<TMainForm> makeForm(const QString &language);

    std::unique_ptr<QTemporaryDir> m_dir;
    RunSettings m_settings;
    QList<QUrl> m_opened;
};

void tst_MainForm::initTestCase()
{
    InitPictures();
    SetShellOpenHandler([this](const QUrl &url) { m_opened << url; });
}

// Every language has its file except Thai.
void tst_MainForm::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_settings.programFolder = m_dir->path();
    QStringList languages = LanguageNames();
    languages.removeAll("Thai");
    QVERIFY(ProgramFolder::make(m_dir->path(), languages));
    m_opened.clear();
}

void tst_MainForm::cleanup()
{
    m_dir.reset();
}

std::unique_ptr<TMainForm> tst_MainForm::makeForm(const QString &language)
{
    SetCurrentLanguageName(language);
    return std::make_unique<TMainForm>(m_settings, nullptr);
}

void tst_MainForm::opensInCurrentLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("texts");
    for (const QString &language : LanguageNames()) {
        const QStringList texts
                = language == "Thai" ? emptyTexts() : ProgramFolder::welcomeTexts(language);
        QTest::newRow(qPrintable(language)) << language << texts;
    }
}

// GIVEN no Thai.tdw, WHEN the window opens in Thai, THEN every caption is
// empty: English is a fallback for single texts, not for a missing file.
void tst_MainForm::opensInCurrentLanguage()
{
    QFETCH(QString, language);
    QFETCH(QStringList, texts);
    const auto form = makeForm(language);
    QCOMPARE(captions(*form), texts);
    QCOMPARE(readMeColour(*form), readMeOf(language));
}

void tst_MainForm::noLanguageEntryCheckedAtFirst()
{
    for (const QString &language : {QStringLiteral("Korean"), QStringLiteral("English")}) {
        const auto form = makeForm(language);
        for (const QString &name : EntryNames) {
            const auto *entry = form->findChild<QAction *>(name);
            QVERIFY2(entry->isCheckable(), qPrintable(name));
            QVERIFY2(!entry->isChecked(), qPrintable(language + ": " + name));
        }
    }
}

void tst_MainForm::menuSwitchesLanguage_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("to");
    QTest::newRow("English to Korean") << "English"
                                       << "msmKorean"
                                       << "Korean";
    QTest::newRow("Chinese to Thai") << "Chinese"
                                     << "msmThai"
                                     << "Thai";
    QTest::newRow("Korean to Japanese") << "Korean"
                                        << "msmJapanese"
                                        << "Japanese";
    QTest::newRow("Taiwanese to Indonesian") << "Taiwanese"
                                             << "msmIndonesian"
                                             << "Indonesian";
}

void tst_MainForm::menuSwitchesLanguage()
{
    QFETCH(QString, from);
    QFETCH(QString, entry);
    QFETCH(QString, to);
    QVERIFY(ProgramFolder::writeLanguageFile(m_dir->path(), "Thai"));
    const auto form = makeForm(from);
    QCOMPARE(captions(*form), ProgramFolder::welcomeTexts(from));

    form->findChild<QAction *>(entry)->trigger();

    QCOMPARE(CurrentLanguageName(), to);
    QCOMPARE(captions(*form), ProgramFolder::welcomeTexts(to));
    QCOMPARE(readMeColour(*form), readMeOf(to));
}

void tst_MainForm::wheelScrollsByDelta_data()
{
    QTest::addColumn<int>("start"); // -1: the end of the range
    QTest::addColumn<int>("delta");
    QTest::addColumn<int>("expected"); // -1: the end of the range
    QTest::newRow("notch down") << 0 << -120 << 120;
    QTest::newRow("notch up") << 300 << 120 << 180;
    QTest::newRow("fine wheel") << 100 << -15 << 115;
    QTest::newRow("up at the top") << 0 << 120 << 0;
    QTest::newRow("down at the end") << -1 << -120 << -1;
    QTest::newRow("down past the end") << 600 << -240 << -1;
}

// GIVEN a readme taller than the box, WHEN the wheel turns over the picture,
// THEN the position moves by the delta, clamped to the range.
void tst_MainForm::wheelScrollsByDelta()
{
    QFETCH(int, start);
    QFETCH(int, delta);
    QFETCH(int, expected);
    QVERIFY(ProgramFolder::writePicture(m_dir->path() + "/readme_e.bmp", ProgramFolder::OtherReadMe,
                                        {380, 1000}));
    const auto form = makeForm("English");
    form->show();
    auto *box = form->findChild<QScrollArea *>("ScrollBox1");
    QScrollBar *bar = box->verticalScrollBar();
    QVERIFY(bar->maximum() > 600);
    bar->setValue(start < 0 ? bar->maximum() : start);

    // A wheel over the picture reaches the box's viewport, as the picture
    // takes no wheel; a test can only send it there directly.
    QWidget *viewport = box->viewport();
    const QPointF at(100, 100);
    QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);

    QCOMPARE(bar->value(), expected < 0 ? bar->maximum() : expected);
}

void tst_MainForm::clickOnPictureFocusesScrollBox()
{
    const auto form = makeForm("English");
    form->show();
    auto *next = form->findChild<QToolButton *>("sbNext");
    next->setFocus();
    QCOMPARE(form->focusWidget(), next);
    QTest::mouseClick(form->findChild<QLabel *>("imgReadMe"), Qt::LeftButton, {}, QPoint(200, 60));
    QCOMPARE(form->focusWidget(), form->findChild<QScrollArea *>("ScrollBox1"));
}

void tst_MainForm::linksOpenMakerAddresses_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QRect>("area"); // where the readme draws the link, in picture pixels
    QTest::addColumn<QUrl>("url");
    QTest::newRow("home page") << "lbHomepage" << QRect(16, 136, 113, 52)
                               << QUrl("https://www.example.com/quillon");
    QTest::newRow("e-mail") << "lbEMail" << QRect(16, 303, 185, 25)
                            << QUrl("mailto:support@example.com");
}

void tst_MainForm::linksOpenMakerAddresses()
{
    QFETCH(QString, link);
    QFETCH(QRect, area);
    QFETCH(QUrl, url);
    const auto form = makeForm("English");
    form->show();
    auto *picture = form->findChild<QLabel *>("imgReadMe");
    auto *label = form->findChild<QLabel *>(link);
    QCOMPARE(QRect(label->mapTo(picture, QPoint(0, 0)), label->size()), area);
    QVERIFY(label->isVisible());
    QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);

    QTest::mouseClick(label, Qt::RightButton);
    QVERIFY(m_opened.isEmpty());
    QTest::mouseClick(label, Qt::LeftButton);
    QCOMPARE(m_opened, QList<QUrl>{url});
}

// GIVEN no readme_e.bmp, WHEN the window opens, THEN the exception display
// names the file and the window opens without a picture.
void tst_MainForm::missingPictureIsShownAndWindowOpens()
{
    QVERIFY(QFile::remove(m_dir->path() + "/readme_e.bmp"));
    QList<SeenBox> seen;
    ModalWatcher watcher(PressOnBox(QMessageBox::Ok, &seen));
    const auto form = makeForm("English");
    QVERIFY(watcher.answered());
    const QString text = seen.value(0).text;
    QVERIFY2(text.contains(QDir::toNativeSeparators(m_dir->path() + "/readme_e.bmp")),
             qPrintable(text));
    form->show();
    QVERIFY(form->isVisible());
    QCOMPARE(readMeColour(*form), QColor());
    QCOMPARE(captions(*form), ProgramFolder::welcomeTexts("English"));
}

void tst_MainForm::longNoteTakesMoreLines()
{
    const auto shortNote = makeForm("English");
    const int oneLine = shortNote->findChild<QLabel *>("Label1")->height();
    QByteArray text = "[Main]\r\nLength=14\r\n8=";
    text += QByteArray("a long note ").repeated(30) + "\r\n";
    QVERIFY(TestFiles::write(m_dir->path() + "/Japanese.tdw", text));
    const auto longNote = makeForm("Japanese");
    auto *note = longNote->findChild<QLabel *>("Label1");
    QVERIFY(note->height() >= note->heightForWidth(note->width()));
    QVERIFY(note->height() > oneLine);
}

// GIVEN a Korean.tdw far too large to be a language file, WHEN the welcome
// window opens in Korean, THEN a box names the file and the captions stay empty.
void tst_MainForm::tooLargeLanguageFileIsNamed()
{
    const QString path = m_dir->path() + "/Korean.tdw";
    QVERIFY(TestFiles::write(path, QByteArray(IniFile::MaxFileSize + 1, ';')));
    QList<SeenBox> seen;
    ModalWatcher watcher(PressOnBox(QMessageBox::Ok, &seen));
    const auto form = makeForm("Korean");
    QVERIFY(watcher.answered());
    QVERIFY2(seen.value(0).text.contains(QDir::toNativeSeparators(path)),
             qPrintable(seen.value(0).text));
    QCOMPARE(captions(*form), emptyTexts());
}

// GIVEN no data set, WHEN Enter is pressed in the welcome window, THEN Next
// opens the wizard, whose preparation fails with a warning.
void tst_MainForm::enterPressesNext()
{
    const auto form = makeForm("English");
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    form->findChild<QScrollArea *>("ScrollBox1")->setFocus();
    QList<SeenBox> seen;
    ModalWatcher watcher(PressOnBox(QMessageBox::Ok, &seen));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(watcher.answered());
    QCOMPARE(seen.value(0).caption, QString("Warning"));
    QVERIFY(seen.value(0).text.contains("dataset.ini"));
}

// Tab leads from the readme to the two links and on to Next; Enter or Space
// opens a link; the focused link wears a mark.
void tst_MainForm::linksByKeyboard()
{
    const auto form = makeForm("English");
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    auto *homePage = form->findChild<QLabel *>("lbHomepage");
    const QImage unfocused = homePage->grab().toImage();
    form->findChild<QScrollArea *>("ScrollBox1")->setFocus();

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), homePage);
    QVERIFY(homePage->grab().toImage() != unfocused);
    QTest::keyClick(homePage, Qt::Key_Return);
    QTest::keyClick(homePage, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), form->findChild<QLabel *>("lbEMail"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(m_opened, (QList<QUrl>{QUrl("https://www.example.com/quillon"),
                                    QUrl("mailto:support@example.com")}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), form->findChild<QToolButton *>("sbNext"));
}

void tst_MainForm::focusShows_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("the readme box, clicked") << "ScrollBox1";
    QTest::newRow("the menu bar after Alt") << "menuSiteCode";
}

// GIVEN the welcome window, WHEN the readme is clicked or Alt pressed,
// THEN the box or the menu bar shows that it has the keyboard.
void tst_MainForm::focusShows()
{
    QFETCH(QString, control);
    const auto form = makeForm("English");
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    auto *widget = form->findChild<QWidget *>(control);
    form->findChild<QToolButton *>("sbNext")->setFocus();
    const QImage before = widget->grab().toImage();
    if (control == "ScrollBox1")
        QTest::mouseClick(form->findChild<QLabel *>("imgReadMe"), Qt::LeftButton, {},
                          QPoint(200, 60));
    else
        QTest::keyClick(form.get(), Qt::Key_Alt, Qt::AltModifier);
    QVERIFY(widget->grab().toImage() != before);
}

QTEST_MAIN(tst_MainForm)
#include "tst_mainform.moc"
