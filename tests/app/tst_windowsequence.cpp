#include "app/CommandLine.h"
#include "app/StartupRecovery.h"
#include "app/WindowSequence.h"
#include "i18n/Languages.h"
#include "i18n/TextNumbers.h"
#include "i18n/TextTable.h"
#include "install/journal/JournalRecord.h"
#include "install/journal/RunJournal.h"
#include "shell/TLanguageForm.h"
#include "shell/TMainForm.h"
#include "ui/Pictures.h"
#include "wizard/TSTYInstallForm.h"

#include "MessageBoxAnswers.h"
#include "ModalWatcher.h"
#include "ProgramFolder.h"

#include <QAction>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

enum class Ending {
    LanguageWindowClosed,
    WelcomeWindowClosed,
    WelcomeMenuClose,
    WizardClosed,
    NoVestraFound,
};

const char DataSetDescriptionText[] = "[DataSet]\r\nYear=2027\r\nSeason=S/S\r\nVolume=12\r\n"
                                      "[STY]\r\nPresent=1\r\nFolder=STY_2027SS\r\n"
                                      "[STI]\r\nPresent=0\r\nFolder=STI_2027SS\r\n"
                                      "[DETAIL]\r\nPresent=0\r\nFolder=DETAIL_2027SS\r\n";

QByteArray registryExport(const QString &vestraFolder)
{
    return "Windows Registry Editor Version 5.00\r\n\r\n"
           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrel\\Vestra\\3.1\\Directory]\r\n"
           "\"Defaultdir\"=\""
           + vestraFolder.toUtf8() + "\"\r\n";
}

TLanguageForm *languageWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *form = qobject_cast<TLanguageForm *>(widget))
            return form;
    }
    return nullptr;
}

} // namespace

class tst_WindowSequence : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void languageWindowFirst();
    void langOpensWelcomeWindow();
    void closingEndsProgram_data();
    void closingEndsProgram();
    void interruptedRunIsUndoneBeforeTheWindows();

private:
    CommandLine commandLine(const QString &language) const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_WindowSequence::initTestCase()
{
    InitPictures();
}

// A program folder, a data set with one STY unit, an installed Vestra and a
// registry export naming it.
void tst_WindowSequence::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    const QString root = m_dir->path();
    QVERIFY(ProgramFolder::make(root + "/program", {"English", "Korean"}));
    QVERIFY(TestFiles::write(root + "/data/dataset.ini", DataSetDescriptionText));
    QVERIFY(QDir().mkpath(root + "/data/STY_2027SS/Casual/Blouse"));
    QVERIFY(QDir().mkpath(root + "/Vestra 3.1/Bin"));
    QVERIFY(TestFiles::write(root + "/vestra.reg", registryExport(root + "/Vestra 3.1")));
    QVERIFY(TestFiles::write(root + "/other.reg", "Windows Registry Editor Version 5.00\r\n\r\n"
                                                  "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrel]\r\n"));
    QVERIFY(QDir().mkpath(root + "/status"));
}

CommandLine tst_WindowSequence::commandLine(const QString &language) const
{
    CommandLine line;
    const QString root = m_dir->path();
    line.settings = {root + "/program", root + "/data", root + "/vestra.reg", root + "/status"};
    line.language = language;
    return line;
}

void tst_WindowSequence::languageWindowFirst()
{
    QPointer<TLanguageForm> form = StartWindows(commandLine(QString()));
    QVERIFY(form->isVisible());
    QVERIFY(!form->welcomeWindow());
    QCOMPARE(form->windowTitle(), QStringLiteral("Quillon"));
    delete form;
}

void tst_WindowSequence::langOpensWelcomeWindow()
{
    QPointer<TLanguageForm> form = StartWindows(commandLine("Korean"));
    QCOMPARE(CurrentLanguageName(), QStringLiteral("Korean"));
    QVERIFY(form->isHidden());
    TMainForm *welcome = form->welcomeWindow();
    QVERIFY(welcome && welcome->isVisible());
    QCOMPARE(welcome->windowTitle(), QStringLiteral("Quillon"));
    QCOMPARE(welcome->findChild<QToolButton *>("sbNext")->text(),
             ProgramFolder::mainText("Korean", 6));
    delete form;
}

void tst_WindowSequence::closingEndsProgram_data()
{
    QTest::addColumn<Ending>("ending");
    QTest::newRow("language window closed") << Ending::LanguageWindowClosed;
    QTest::newRow("welcome window closed") << Ending::WelcomeWindowClosed;
    QTest::newRow("welcome menu Close") << Ending::WelcomeMenuClose;
    QTest::newRow("wizard closed") << Ending::WizardClosed;
    QTest::newRow("no Vestra found") << Ending::NoVestraFound;
}

// GIVEN the installer running, WHEN a window is closed the way the row says,
// THEN the program ends and no window, shown or hidden, is left.
void tst_WindowSequence::closingEndsProgram()
{
    QFETCH(Ending, ending);
    CommandLine line = commandLine(ending == Ending::LanguageWindowClosed ? "" : "English");
    if (ending == Ending::NoVestraFound)
        line.settings.registryFile = m_dir->path() + "/other.reg";

    QString warningTitle;
    QString warningText;
    ModalWatcher watcher(
            [&](QWidget *dialog) {
                auto *box = qobject_cast<QMessageBox *>(dialog);
                QVERIFY(box);
                warningTitle = box->windowTitle();
                // Without the invisible break marks that let a long path wrap.
                warningText = box->text().remove(QChar(0x200B));
                box->button(QMessageBox::Ok)->click();
            },
            500);
    bool wizardOwnedByHiddenWelcome = false;
    QTimer::singleShot(0, [&] {
        TLanguageForm *form = languageWindow();
        QVERIFY(form);
        TMainForm *welcome = form->welcomeWindow();
        switch (ending) {
        case Ending::LanguageWindowClosed:
            form->close();
            return;
        case Ending::WelcomeWindowClosed:
            welcome->close();
            return;
        case Ending::WelcomeMenuClose:
            welcome->findChild<QAction *>("msmClose")->trigger();
            return;
        case Ending::WizardClosed:
        case Ending::NoVestraFound:
            break;
        }
        welcome->findChild<QToolButton *>("sbNext")->click();
        if (ending == Ending::WizardClosed) {
            TSTYInstallForm *wizard = welcome->installForm();
            QVERIFY(wizard);
            wizardOwnedByHiddenWelcome = wizard->isVisible() && wizard->parentWidget() == welcome
                                         && welcome->isHidden();
            wizard->close();
        }
    });
    bool timedOut = false;
    QTimer safety;
    safety.setSingleShot(true);
    connect(&safety, &QTimer::timeout, [&] {
        timedOut = true;
        for (QWidget *widget : QApplication::topLevelWidgets())
            widget->close();
        QCoreApplication::quit();
    });
    safety.start(20000);

    const int status = RunWindows(line);

    QVERIFY(!timedOut);
    QCOMPARE(status, 0);
    QCOMPARE(QApplication::topLevelWidgets(), QWidgetList());
    if (ending == Ending::WizardClosed) {
        QVERIFY(wizardOwnedByHiddenWelcome);
        QVERIFY2(warningText.isEmpty(), qPrintable(warningText)); // prepared without a warning
    }
    if (ending == Ending::NoVestraFound) {
        QVERIFY(watcher.answered());
        QCOMPARE(warningTitle, QStringLiteral("Warning"));
        // In the chosen language: the wizard took its texts before preparing.
        QVERIFY2(warningText.contains(
                         ProgramFolder::installText("English", InstallText::NoTargetApplication)),
                 qPrintable(warningText));
        QVERIFY2(warningText.contains(QDir::toNativeSeparators(m_dir->path() + "/other.reg")),
                 qPrintable(warningText));
    }
}

void tst_WindowSequence::interruptedRunIsUndoneBeforeTheWindows()
{
    // GIVEN a run in Korean that was killed after it installed one file
    const QString root = m_dir->path();
    qputenv("QUILLON_JOURNAL_DIR", QFile::encodeName(root + "/appdata/Quillon"));
    const QString installed = root + "/Vestra 3.1/Bin/STY_2027SS/a.sty";
    QVERIFY(TestFiles::write(installed, "new"));
    QVERIFY(TestFiles::write(
            RunJournal::defaultFolder() + "/run-20260101-000000-000-1.journal",
            JournalHeader("Korean")
                    + EncodeRecord(
                            {JournalRecord::Type::Root, root + "/Vestra 3.1/Bin/STY_2027SS", {}})
                    + EncodeRecord({JournalRecord::Type::New, installed, {}})));
    QList<SeenBox> seen;
    QString ok;
    ModalWatcher watcher([&](QWidget *box) {
        ok = static_cast<QMessageBox *>(box)->button(QMessageBox::Ok)->text();
        PressOnBox(QMessageBox::Ok, &seen)(box);
    });
    // WHEN the program starts with its windows
    CommandLine line = commandLine(QString());
    line.settings.programFolder = QUILLON_RESOURCES_DIR; // every text of the run's language
    RecoverBeforeWindows(line);
    // THEN before any window, one message in the run's language says it was undone
    QVERIFY(watcher.answered());
    QCOMPARE(seen.size(), 1);
    LanguageTextTable korean;
    QVERIFY(LoadTextTable(korean, QUILLON_RESOURCES_DIR, "Korean", TextSection::InstallForm));
    QCOMPARE(seen[0].caption, GetText(korean, InstallText::InterruptedCaption));
    QCOMPARE(ok, GetText(korean, InstallText::OkButton));
    QCOMPARE(seen[0].text, GetText(korean, InstallText::Recovered).arg(1).arg(0).arg(0));
    QVERIFY(!QFile::exists(installed));
    QVERIFY(QDir(RunJournal::defaultFolder()).isEmpty());
}

QTEST_MAIN(tst_WindowSequence)
#include "tst_windowsequence.moc"
