#include "i18n/Languages.h"
#include "i18n/TextNumbers.h"
#include "platform/PlatformPaths.h"
#include "wizard/FolderListView.h"
#include "wizard/TDirectoryDlgForm.h"

#include "MessageBoxAnswers.h"
#include "ModalSequence.h"
#include "TestFiles.h"

#include <QComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A drive list with a network share and an optical drive beside the fixed
// drive of the test's folders and a second fixed "drive".
class FakeDriveList : public DriveList
{
public:
    QList<Drive> list;
    QList<Drive> drives() const override { return list; }
    DriveType driveType(const QString &root) const override
    {
        for (const Drive &drive : list) {
            if (drive.root == root)
                return drive.type;
        }
        return DriveType::Other;
    }
};

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

class tst_DirectoryDlg : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void texts();
    void startPath_data();
    void startPath();
    void keysFromTheStart_data();
    void keysFromTheStart();
    void versionCombo();
    void okRefusedOnVersionFolder();
    void cancel();
    void folderClickOpensIt();
    void nonFixedDriveRefused_data();
    void nonFixedDriveRefused();
    void fixedDriveChosen();
    void rightClickOpensFolderAndMenu();
    void createFolder_data();
    void createFolder();
    void deleteFolder_data();
    void deleteFolder();
    void arrowsChooseTheHighlightedFolder();
    void enterOpensThenAccepts();
    void folderMenuFromKeys_data();
    void folderMenuFromKeys();
    void textsInTheDialogsLanguage();

private:
    void openDialog(const QString &startPath);
    QString text(int number) const { return GetText(m_texts, number); }
    template<typename T>
    T *child(const char *name) const
    {
        return m_dialog->findChild<T *>(QLatin1String(name));
    }
    QString shownPath() const { return child<QLabel>("lbDestinationPath")->text(); }
    FolderListView *list() const { return child<FolderListView>("DirectoryListBox"); }
    QComboBox *drives() const { return child<QComboBox>("DriveComboBox"); }

    QTemporaryDir *m_dir = nullptr;
    TDirectoryDlgForm *m_dialog = nullptr;
    LanguageTextTable m_texts;
    LocationSetup m_setup;
    QString m_secondDrive;
};

void tst_DirectoryDlg::initTestCase()
{
    SetCurrentLanguageName("English");
    QVERIFY(LoadTextTable(m_texts, QUILLON_RESOURCES_DIR, "English", "DirectoryDlgForm"));
}

void tst_DirectoryDlg::init()
{
    m_dir = new QTemporaryDir;
    const QDir root(m_dir->path());
    for (const char *folder :
         {"Vestra 2.0/Bin", "Vestra 3.1/Bin/Style", "Vestra 3.1/Color", "data/STY_27",
          "data/STI_27", "data/empty", "data/full/unit", "second"})
        QVERIFY(root.mkpath(folder));
    m_secondDrive = root.filePath("second");
    m_setup = {};
    m_setup.versionList = {"2.0", "3.1"};
    m_setup.versionFolderList = {root.filePath("Vestra 2.0/Bin"), root.filePath("Vestra 3.1/Bin")};
    m_setup.protectedFolderList
            = {root.filePath("Vestra 3.1/Bin"), root.filePath("Vestra 3.1/Color"),
               root.filePath("Vestra 3.1/Bin/Style")};
    m_setup.otherDestinations = {QString(), root.filePath("data/STY_27")};
    m_setup.baseFolder = root.filePath("Vestra 3.1/Bin/");
}

void tst_DirectoryDlg::cleanup()
{
    delete m_dialog;
    m_dialog = nullptr;
    delete m_dir;
}

void tst_DirectoryDlg::openDialog(const QString &startPath)
{
    auto fake = std::make_unique<FakeDriveList>();
    fake->list = {{QDir::rootPath(), {}, DriveType::Fixed},
                  {m_secondDrive, "SECOND", DriveType::Fixed},
                  {"/net-share-of-test", "share", DriveType::Remote},
                  {"/cd-of-test", "SEASON27", DriveType::Other}};
    m_dialog = new TDirectoryDlgForm(QUILLON_RESOURCES_DIR, std::move(fake));
    m_setup.startPath = startPath;
    m_dialog->SetUp(m_setup);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
}

void tst_DirectoryDlg::texts()
{
    openDialog(m_dir->filePath("data"));
    QCOMPARE(m_dialog->windowTitle(), QString("Choose Install Location"));
    QCOMPARE(child<QLabel>("stVersion")->text(), text(DirectoryText::VersionLabel));
    QCOMPARE(child<QLabel>("Label1")->text(), text(DirectoryText::DriveLabel));
    QCOMPARE(child<QLabel>("Label2")->text(), text(DirectoryText::FolderLabel));
    QCOMPARE(child<QLabel>("Label3")->text(), text(DirectoryText::PopupHint));
    QCOMPARE(child<QPushButton>("btOK")->text(), text(DirectoryText::OkButton));
    QCOMPARE(child<QPushButton>("btCancel")->text(), text(DirectoryText::CancelButton));
    QCOMPARE(child<QAction>("miCreateFolder")->text(), text(DirectoryText::CreateFolderEntry));
    QCOMPARE(child<QAction>("miDeleteFolder")->text(), text(DirectoryText::DeleteFolderEntry));
    QVERIFY(!child<QWidget>("Panel")->isVisible());
    QCOMPARE(drives()->count(), 4);
}

void tst_DirectoryDlg::startPath_data()
{
    // Folders named relative to the test's folder; the fallback when empty.
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("startInTestFolder");
    QTest::addColumn<QString>("expected"); // the folder offered
    QTest::addColumn<QString>("open");     // the folder the list opens on
    QTest::addColumn<int>("drive");
    QTest::newRow("an existing folder") << "data/STY_27" << true << "data/STY_27"
                                        << "data/STY_27" << 0;
    QTest::newRow("on the second drive") << "second" << true << "second"
                                         << "second" << 1;
    // A kind's default before the first install: the list opens on the
    // folder it will be made in, and the default itself is offered.
    QTest::newRow("a missing folder") << "data/STI_28" << true << "data/STI_28"
                                      << "data" << 0;
    QTest::newRow("two missing levels") << "data/new/STI_28" << true << "data/new/STI_28"
                                        << "data" << 0;
    QTest::newRow("unset") << " " << false << ""
                           << "" << 0;
#ifdef Q_OS_WIN
    const QString letter = QDir::rootPath().left(2); // "C:"
    QTest::newRow("a drive letter and colon")
            << letter << false << letter + "/" << letter + "/" << 0;
#endif
}

void tst_DirectoryDlg::startPath()
{
    QFETCH(QString, start);
    QFETCH(bool, startInTestFolder);
    QFETCH(QString, expected);
    QFETCH(QString, open);
    QFETCH(int, drive);
    const auto resolve = [&](const QString &folder) {
        return folder.isEmpty()    ? FallbackStartPath()
               : startInTestFolder ? m_dir->filePath(folder)
                                   : folder;
    };
    openDialog(startInTestFolder ? m_dir->filePath(start) : start);
    QCOMPARE(m_dialog->chosenPath(), resolve(expected));
    QCOMPARE(shownPath(), native(resolve(expected)));
    QCOMPARE(list()->directory(), QDir::cleanPath(resolve(open)));
    QCOMPARE(drives()->currentIndex(), drive);
}

void tst_DirectoryDlg::keysFromTheStart_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("Enter takes the open folder") << "data" << QList<int>{Qt::Key_Return} << "data";
    QTest::newRow("Enter gives back a default not made yet")
            << "data/STI_28" << QList<int>{Qt::Key_Return} << "data/STI_28";
    QTest::newRow("Down, Enter, Enter takes a subfolder")
            << "data" << QList<int>{Qt::Key_Down, Qt::Key_Return, Qt::Key_Return} << "data/empty";
}

// GIVEN the dialog just opened, WHEN keys are pressed without a Tab first,
// THEN they go to the folder list, on the open folder, and Enter ends the
// dialog with OK.
void tst_DirectoryDlg::keysFromTheStart()
{
    QFETCH(QString, start);
    QFETCH(QList<int>, keys);
    QFETCH(QString, chosen);
    openDialog(m_dir->filePath(start));
    m_dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_dialog));
    QCOMPARE(QApplication::focusWidget(), list());
    QCOMPARE(list()->currentItem(), list()->itemOf(list()->directory()));
    for (int key : keys)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    QCOMPARE(m_dialog->chosenPath(), m_dir->filePath(chosen));
}

void tst_DirectoryDlg::versionCombo()
{
    openDialog(m_dir->filePath("data"));
    auto *versions = child<QComboBox>("cbVestraVersion");
    QCOMPARE(versions->count(), 2);
    QCOMPARE(versions->currentText(), QString("3.1"));
    // Opening on the last entry does not jump to its folder.
    QCOMPARE(m_dialog->chosenPath(), m_dir->filePath("data"));

    versions->setFocus();
    QTest::keyClick(versions, Qt::Key_Up);
    QCOMPARE(versions->currentText(), QString("2.0"));
    QCOMPARE(m_dialog->chosenPath(), m_setup.versionFolderList.at(0));
    QCOMPARE(list()->directory(), m_setup.versionFolderList.at(0));
    QCOMPARE(shownPath(), native(m_setup.versionFolderList.at(0)));
}

void tst_DirectoryDlg::okRefusedOnVersionFolder()
{
    openDialog(m_setup.versionFolderList.at(1));
    QList<SeenBox> seen;
    ModalWatcher watcher(PressOnBox(QMessageBox::Ok, &seen));
    QTest::mouseClick(child<QPushButton>("btOK"), Qt::LeftButton);
    QVERIFY(watcher.answered());
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen[0].text, text(DirectoryText::VersionFolderRefused));
    QCOMPARE(seen[0].icon, QMessageBox::Information);
    QVERIFY(m_dialog->isVisible());

    // A folder inside the version's folder is taken.
    QTreeWidgetItem *style = list()->itemOf(m_dir->filePath("Vestra 3.1/Bin/Style"));
    QVERIFY(style);
    const QRect rect = list()->visualItemRect(style);
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseClick(child<QPushButton>("btOK"), Qt::LeftButton);
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    QCOMPARE(m_dialog->chosenPath(), m_dir->filePath("Vestra 3.1/Bin/Style"));
}

void tst_DirectoryDlg::cancel()
{
    openDialog(m_dir->filePath("data"));
    QTest::mouseClick(child<QPushButton>("btCancel"), Qt::LeftButton);
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
}

void tst_DirectoryDlg::folderClickOpensIt()
{
    openDialog(m_dir->filePath("data"));
    QTreeWidgetItem *item = list()->itemOf(m_dir->filePath("data/STI_27"));
    QVERIFY(item);
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->visualItemRect(item).center());
    QCOMPARE(list()->directory(), m_dir->filePath("data/STI_27"));
    QCOMPARE(m_dialog->chosenPath(), m_dir->filePath("data/STI_27"));
    QCOMPARE(shownPath(), native(m_dir->filePath("data/STI_27")));

    // Its parent, shown above it, opens as well.
    QTreeWidgetItem *parent = list()->itemOf(m_dir->filePath("data"));
    QVERIFY(parent);
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->visualItemRect(parent).center());
    QCOMPARE(m_dialog->chosenPath(), m_dir->filePath("data"));
}

void tst_DirectoryDlg::nonFixedDriveRefused_data()
{
    QTest::addColumn<int>("drive");
    QTest::addColumn<int>("textNumber");
    QTest::newRow("network drive") << 2 << int(DirectoryText::RemoteDrive);
    QTest::newRow("optical drive") << 3 << int(DirectoryText::OtherDrive);
}

void tst_DirectoryDlg::nonFixedDriveRefused()
{
    QFETCH(int, drive);
    QFETCH(int, textNumber);
    openDialog(m_secondDrive);
    QCOMPARE(drives()->currentIndex(), 1);
    QList<SeenBox> seen;
    ModalWatcher watcher(PressOnBox(QMessageBox::Ok, &seen));
    drives()->setCurrentIndex(drive);
    QVERIFY(watcher.answered());
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen[0].text, text(textNumber));
    QCOMPARE(seen[0].caption, QString("Warning"));
    QCOMPARE(drives()->currentIndex(), 1);
    QCOMPARE(m_dialog->chosenPath(), m_secondDrive);
    QCOMPARE(list()->directory(), m_secondDrive);
}

void tst_DirectoryDlg::fixedDriveChosen()
{
    openDialog(m_dir->filePath("data"));
    drives()->setCurrentIndex(1);
    QCOMPARE(list()->directory(), m_secondDrive);
    QCOMPARE(m_dialog->chosenPath(), m_secondDrive);
    QCOMPARE(shownPath(), native(m_secondDrive));
}

void tst_DirectoryDlg::rightClickOpensFolderAndMenu()
{
    openDialog(m_dir->filePath("data"));
    QTreeWidgetItem *item = list()->itemOf(m_dir->filePath("data/empty"));
    QVERIFY(item);
    const QPoint pos = list()->visualItemRect(item).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, list()->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(list()->viewport(), &event);
    QCOMPARE(m_dialog->chosenPath(), m_dir->filePath("data/empty"));
    auto *menu = child<QMenu>("pmDirectory");
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->actions().size(), 2);
    menu->close();
}

void tst_DirectoryDlg::createFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("refusal"); // text number, or -1 when created
    QTest::newRow("a new name") << "Spring 2027" << -1;
    QTest::newRow("a name no folder can have") << "a:b" << int(DirectoryText::BadFolderName);
    QTest::newRow("a folder of that name exists") << "STY_27" << int(DirectoryText::FolderExists);
    QTest::newRow("cancelled") << "" << 0;
}

void tst_DirectoryDlg::createFolder()
{
    QFETCH(QString, name);
    QFETCH(int, refusal);
    const QString parent = m_dir->filePath("data");
    openDialog(parent);
    const auto before = QDir(parent).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    QString label;
    QList<SeenBox> seen;
    QList<ModalWatcher::Answer> answers{[&](QWidget *dialog) {
        auto *input = qobject_cast<QInputDialog *>(dialog);
        QVERIFY(input);
        label = input->labelText();
        QCOMPARE(input->windowTitle(), text(DirectoryText::CreateFolderEntry));
        QCOMPARE(input->okButtonText(), text(DirectoryText::OkButton));
        QCOMPARE(input->cancelButtonText(), text(DirectoryText::CancelButton));
        // Room for a long folder name.
        QVERIFY(input->width() >= input->fontMetrics().averageCharWidth() * 40);
        if (name.isEmpty()) {
            input->reject();
            return;
        }
        input->setTextValue(name);
        input->accept();
    }};
    if (refusal > 0)
        answers.append(PressOnBox(QMessageBox::Ok, &seen));
    ModalSequence sequence(answers);
    child<QAction>("miCreateFolder")->trigger();
    QVERIFY(sequence.allAnswered());
    QCOMPARE(label, text(DirectoryText::NewFolderName));

    const QString folder = QDir(parent).filePath(name);
    if (refusal < 0) {
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(m_dialog->chosenPath(), folder);
        QCOMPARE(list()->directory(), folder);
        return;
    }
    QCOMPARE(QDir(parent).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QCOMPARE(m_dialog->chosenPath(), parent);
    if (refusal == DirectoryText::BadFolderName)
        QCOMPARE(seen.value(0).text, text(refusal) + name);
    else if (refusal == DirectoryText::FolderExists)
        QCOMPARE(seen.value(0).text, text(refusal) + native(folder));
}

void tst_DirectoryDlg::deleteFolder_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<int>("refusal"); // text number; -1 when the question is asked
    const auto ok = QMessageBox::Ok;
    QTest::newRow("an empty folder, Yes") << "data/empty" << QMessageBox::Yes << -1;
    QTest::newRow("an empty folder, No") << "data/empty" << QMessageBox::No << -1;
    QTest::newRow("not empty") << "data/full" << ok << int(DirectoryText::FolderNotEmpty);
    QTest::newRow("protected") << "Vestra 3.1/Color" << ok << int(DirectoryText::ProtectedFolder);
    QTest::newRow("a version's folder")
            << "Vestra 2.0/Bin" << ok << int(DirectoryText::ProtectedFolder);
    QTest::newRow("another kind's destination")
            << "data/STY_27" << ok << int(DirectoryText::OtherDestination);
}

void tst_DirectoryDlg::deleteFolder()
{
    QFETCH(QString, folder);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(int, refusal);
    const QString path = m_dir->filePath(folder);
    openDialog(path);
    QList<SeenBox> seen;
    ModalWatcher watcher(PressOnBox(answer, &seen));
    child<QAction>("miDeleteFolder")->trigger();
    QVERIFY(watcher.answered());
    QCOMPARE(seen.size(), 1);

    if (refusal > 0) {
        QCOMPARE(seen[0].text, text(refusal) + native(path));
        QCOMPARE(seen[0].caption, QString("Warning"));
        QVERIFY(QFileInfo(path).isDir());
        return;
    }
    const bool yes = answer == QMessageBox::Yes;
    QCOMPARE(seen[0].text, text(DirectoryText::DeleteQuestion) + native(path));
    QCOMPARE(seen[0].icon, QMessageBox::Question);
    QCOMPARE(QFileInfo(path).isDir(), !yes);
    QCOMPARE(m_dialog->chosenPath(), yes ? m_dir->filePath("data") : path);
}

// GIVEN the dialog on a folder, WHEN the arrows move the highlight and OK is
// pressed, THEN the highlighted folder is the one chosen.
void tst_DirectoryDlg::arrowsChooseTheHighlightedFolder()
{
    openDialog(m_dir->filePath("data"));
    list()->setFocus();
    QCOMPARE(list()->highlightedFolder(), m_dir->filePath("data"));
    QTest::keyClick(list(), Qt::Key_Down); // the first subfolder, "empty"
    QCOMPARE(m_dialog->chosenPath(), m_dir->filePath("data/empty"));
    QCOMPARE(shownPath(), native(m_dir->filePath("data/empty")));
    QCOMPARE(list()->directory(), m_dir->filePath("data"));
    QTest::keyClick(child<QPushButton>("btOK"), Qt::Key_Space);
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    QCOMPARE(m_dialog->chosenPath(), m_dir->filePath("data/empty"));
}

// Enter opens the highlighted folder; Enter on the open folder is OK's.
void tst_DirectoryDlg::enterOpensThenAccepts()
{
    openDialog(m_dir->filePath("data"));
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Down);
    QTest::keyClick(list(), Qt::Key_Down); // "full"
    QTest::keyClick(list(), Qt::Key_Return);
    QCOMPARE(list()->directory(), m_dir->filePath("data/full"));
    QVERIFY(m_dialog->isVisible());
    QTest::keyClick(list(), Qt::Key_Return);
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    QCOMPARE(m_dialog->chosenPath(), m_dir->filePath("data/full"));
}

void tst_DirectoryDlg::folderMenuFromKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("the Menu key") << int(Qt::Key_Menu) << Qt::KeyboardModifiers();
    QTest::newRow("Shift+F10") << int(Qt::Key_F10) << Qt::KeyboardModifiers(Qt::ShiftModifier);
}

// The Menu key and Shift+F10 act as the right button on the highlighted
// folder: it is opened and the folder menu pops up.
void tst_DirectoryDlg::folderMenuFromKeys()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    openDialog(m_dir->filePath("data"));
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Down);
    QTest::keyClick(list(), Qt::Key(key), modifiers);
    auto *menu = child<QMenu>("pmDirectory");
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(list()->directory(), m_dir->filePath("data/empty"));
    menu->close();
}

void tst_DirectoryDlg::textsInTheDialogsLanguage()
{
    SetCurrentLanguageName("Thai");
    LanguageTextTable thai;
    QVERIFY(LoadTextTable(thai, QUILLON_RESOURCES_DIR, "Thai", "DirectoryDlgForm"));
    openDialog(m_setup.versionFolderList.at(1));
    QCOMPARE(m_dialog->windowTitle(), GetText(thai, DirectoryText::WindowTitle));
    QString ok;
    QList<SeenBox> seen;
    ModalWatcher watcher([&](QWidget *box) {
        ok = static_cast<QMessageBox *>(box)->button(QMessageBox::Ok)->text();
        PressOnBox(QMessageBox::Ok, &seen)(box);
    });
    QTest::keyClick(child<QPushButton>("btOK"), Qt::Key_Space);
    QVERIFY(watcher.answered());
    QCOMPARE(seen.value(0).caption, GetText(thai, DirectoryText::InformationCaption));
    QCOMPARE(ok, GetText(thai, DirectoryText::OkButton));
    SetCurrentLanguageName("English");
}

QTEST_MAIN(tst_DirectoryDlg)
#include "tst_directorydlg.moc"
