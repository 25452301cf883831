#include "TDirectoryDlgForm.h"
#include "ui_TDirectoryDlgForm.h"

#include "i18n/Languages.h"
#include "i18n/LocalTexts.h"
#include "i18n/TextNumbers.h"
#include "ui/FormStyle.h"
#include "ui/MessageBoxes.h"
#include "wizard/WizardAccessibility.h"

#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>

#include <algorithm>

namespace {
const int SmallestListHeight = 80;
// The Create Folder box holds a long folder name, and its title with the
// title bar's buttons.
const int NameWidthInCharacters = 48;
const int TitleBarExtras = 120;
} // namespace

TDirectoryDlgForm::TDirectoryDlgForm(const QString &textFolder, std::unique_ptr<DriveList> drives,
                                     QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TDirectoryDlgForm>()), m_driveList(std::move(drives))
{
    ui->setupUi(this);
    FormStyle::ShowFocusAlways();
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    pmDirectory = new QMenu(this);
    pmDirectory->setObjectName(QStringLiteral("pmDirectory"));
    pmDirectory->addAction(ui->miCreateFolder);
    pmDirectory->addAction(ui->miDeleteFolder);
    (void) LoadTextTable(m_texts, textFolder, CurrentLanguageName(), TextSection::DirectoryDlgForm);
    applyTexts();
    fillDrives();

    connect(ui->cbVestraVersion, &QComboBox::activated, this,
            &TDirectoryDlgForm::cbVestraVersionChange);
    connect(ui->DriveComboBox, &QComboBox::currentIndexChanged, this,
            &TDirectoryDlgForm::DriveComboBoxChange);
    connect(ui->DirectoryListBox, &FolderListView::directoryChanged, this,
            &TDirectoryDlgForm::DirectoryListBoxChange);
    // The highlighted folder is the one OK takes, however it was reached.
    connect(ui->DirectoryListBox, &FolderListView::highlightChanged, this,
            &TDirectoryDlgForm::setChosenPath);
    connect(ui->DirectoryListBox, &QWidget::customContextMenuRequested, this,
            &TDirectoryDlgForm::DirectoryListBoxContextMenu);
    connect(ui->btOK, &QPushButton::clicked, this, &TDirectoryDlgForm::btOKClick);
    connect(ui->btCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->btDetialOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->btDetailCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->miCreateFolder, &QAction::triggered, this, &TDirectoryDlgForm::miCreateFolderClick);
    connect(ui->miDeleteFolder, &QAction::triggered, this, &TDirectoryDlgForm::miDeleteFolderClick);
    fitToScreen();
}

TDirectoryDlgForm::~TDirectoryDlgForm() = default;

void TDirectoryDlgForm::applyTexts()
{
    setWindowTitle(text(DirectoryText::WindowTitle, QStringLiteral("Choose Install Location")));
    ui->stVersion->setText(GetText(m_texts, DirectoryText::VersionLabel));
    ui->Label1->setText(GetText(m_texts, DirectoryText::DriveLabel));
    ui->Label2->setText(GetText(m_texts, DirectoryText::FolderLabel));
    ui->Label3->setText(GetText(m_texts, DirectoryText::PopupHint));
    ui->btOK->setText(GetText(m_texts, DirectoryText::OkButton));
    ui->btCancel->setText(GetText(m_texts, DirectoryText::CancelButton));
    ui->miCreateFolder->setText(GetText(m_texts, DirectoryText::CreateFolderEntry));
    ui->miDeleteFolder->setText(GetText(m_texts, DirectoryText::DeleteFolderEntry));
    DescribeLocationDialog(*ui, m_texts);
}

// The folder list gives up height on a small or scaled screen, so that the
// buttons stay in sight.
void TDirectoryDlgForm::fitToScreen()
{
    const int missing = height() - FormStyle::ClientRoom(this).height();
    if (missing <= 0)
        return;
    FolderListView *list = ui->DirectoryListBox;
    list->setMinimumHeight(std::max(SmallestListHeight, list->minimumHeight() - missing));
    resize(width(), std::max(FormStyle::ClientRoom(this).height(), minimumSizeHint().height()));
}

QString TDirectoryDlgForm::text(int number, const QString &english) const
{
    return TextOr(m_texts, number, english);
}

BoxButtons TDirectoryDlgForm::buttonWords() const
{
    return {text(DirectoryText::OkButton, QStringLiteral("OK")),
            text(DirectoryText::YesButton, QStringLiteral("&Yes")),
            text(DirectoryText::NoButton, QStringLiteral("&No"))};
}

void TDirectoryDlgForm::fillDrives()
{
    m_drives = m_driveList->drives();
    const QSignalBlocker quiet(ui->DriveComboBox);
    ui->DriveComboBox->clear();
    for (const Drive &drive : std::as_const(m_drives))
        ui->DriveComboBox->addItem(DriveDisplayName(drive), drive.root);
    ui->DriveComboBox->setCurrentIndex(-1);
}

void TDirectoryDlgForm::SetUp(const LocationSetup &setup)
{
    m_setup = setup;
    ui->cbVestraVersion->clear();
    ui->cbVestraVersion->addItems(setup.versionList);
    ui->cbVestraVersion->setCurrentIndex(int(setup.versionList.size()) - 1);
    ui->lbDetailpath->setText(QDir::toNativeSeparators(setup.baseFolder));

    ui->DirectoryListBox->setDirectory(LocationRules::StartFolder(setup.startPath));
    setChosenPath(LocationRules::StartChoice(setup.startPath));
    selectDriveOfList();
    // The arrow keys choose a folder from the start, on the open one.
    ui->DirectoryListBox->setFocus(Qt::OtherFocusReason);
}

void TDirectoryDlgForm::setChosenPath(const QString &path)
{
    m_chosenPath = LocationRules::WithRootSeparator(path);
    ui->lbDestinationPath->setText(QDir::toNativeSeparators(m_chosenPath));
}

void TDirectoryDlgForm::selectDriveOfList()
{
    m_muted = true;
    ui->DriveComboBox->setCurrentIndex(DriveIndexOf(m_drives, ui->DirectoryListBox->directory()));
    m_muted = false;
}

void TDirectoryDlgForm::cbVestraVersionChange(int index)
{
    if (index < 0 || index >= m_setup.versionFolderList.size())
        return;
    const QString folder = m_setup.versionFolderList.at(index);
    ui->DirectoryListBox->setDirectory(folder);
    setChosenPath(folder);
    selectDriveOfList();
}

// Only a fixed drive can be chosen; any other puts the combo back on the
// drive of the open folder.
void TDirectoryDlgForm::DriveComboBoxChange(int index)
{
    if (m_muted || index < 0 || index >= m_drives.size())
        return;
    const QString root = m_drives.at(index).root;
    const DriveType type = m_driveList->driveType(root);
    if (type == DriveType::Fixed) {
        ui->DirectoryListBox->setDirectory(root);
        setChosenPath(ui->DirectoryListBox->directory());
        return;
    }
    warn(type == DriveType::Remote ? DirectoryText::RemoteDrive : DirectoryText::OtherDrive);
    selectDriveOfList();
}

void TDirectoryDlgForm::DirectoryListBoxChange(const QString &folder)
{
    setChosenPath(folder);
    // Opening a folder can cross onto another mounted volume.
    selectDriveOfList();
}

void TDirectoryDlgForm::DirectoryListBoxContextMenu(const QPoint &pos)
{
    // The menu acts on the folder clicked, which is opened first.
    if (QTreeWidgetItem *item = ui->DirectoryListBox->itemAt(pos))
        ui->DirectoryListBox->setDirectory(FolderListView::folderOf(item));
    pmDirectory->popup(ui->DirectoryListBox->viewport()->mapToGlobal(pos));
}

void TDirectoryDlgForm::btOKClick()
{
    if (LocationRules::IsVersionFolder(m_chosenPath, m_setup.versionFolderList)) {
        ShowMessageBox(this, QMessageBox::Information,
                       text(DirectoryText::InformationCaption, QStringLiteral("Information")),
                       GetText(m_texts, DirectoryText::VersionFolderRefused), buttonWords());
        return;
    }
    accept();
}

void TDirectoryDlgForm::miCreateFolderClick()
{
    const QString parent = ui->DirectoryListBox->directory();
    QString name;
    if (!askFolderName(&name) || parent.isEmpty())
        return;
    if (!LocationRules::IsValidFolderName(name)) {
        ShowMessageBox(this, QMessageBox::Warning,
                       text(DirectoryText::WarningCaption, QStringLiteral("Warning")),
                       GetText(m_texts, DirectoryText::BadFolderName) + name, buttonWords());
        return;
    }
    const QString folder = QDir(parent).filePath(name);
    if (QFileInfo::exists(folder))
        return warn(DirectoryText::FolderExists, folder);
    if (!QDir(parent).mkdir(name))
        return warn(DirectoryText::FolderNotCreated, folder);
    ui->DirectoryListBox->setDirectory(folder);
}

// The Create Folder box: its title, prompt and buttons in the dialog's
// language, wide enough for the title and a long folder name.
bool TDirectoryDlgForm::askFolderName(QString *name)
{
    QInputDialog box(this);
    box.setWindowTitle(GetText(m_texts, DirectoryText::CreateFolderEntry));
    box.setLabelText(GetText(m_texts, DirectoryText::NewFolderName));
    box.setOkButtonText(text(DirectoryText::OkButton, QStringLiteral("OK")));
    box.setCancelButtonText(text(DirectoryText::CancelButton, QStringLiteral("Cancel")));
    box.setInputMode(QInputDialog::TextInput);
    // The box sizes itself to its contents, so the width goes to its field.
    const QFontMetrics metrics = box.fontMetrics();
    const int titleWidth = metrics.horizontalAdvance(box.windowTitle()) + TitleBarExtras;
    if (auto *field = box.findChild<QLineEdit *>())
        field->setMinimumWidth(
                std::max(metrics.averageCharWidth() * NameWidthInCharacters, titleWidth));
    if (box.exec() != QDialog::Accepted)
        return false;
    *name = box.textValue();
    return true;
}

void TDirectoryDlgForm::miDeleteFolderClick()
{
    const QString folder = ui->DirectoryListBox->directory();
    switch (LocationRules::CheckDelete(folder, m_setup)) {
    case LocationRules::DeleteRefusal::ProtectedFolder:
        return warn(DirectoryText::ProtectedFolder, folder);
    case LocationRules::DeleteRefusal::OtherDestination:
        return warn(DirectoryText::OtherDestination, folder);
    case LocationRules::DeleteRefusal::NotEmpty:
        return warn(DirectoryText::FolderNotEmpty, folder);
    case LocationRules::DeleteRefusal::Missing:
        return warn(DirectoryText::FolderNotDeleted, folder);
    case LocationRules::DeleteRefusal::None:
        break;
    }
    if (!AskYesNo(this, text(DirectoryText::DeleteFolderCaption, QStringLiteral("Delete Folder")),
                  GetText(m_texts, DirectoryText::DeleteQuestion)
                          + QDir::toNativeSeparators(folder),
                  buttonWords()))
        return;
    const QString parent = QFileInfo(folder).path();
    if (!QDir().rmdir(folder))
        return warn(DirectoryText::FolderNotDeleted, folder);
    ui->DirectoryListBox->setDirectory(parent);
}

// A warning box: the text, and the folder concerned in native form.
void TDirectoryDlgForm::warn(int textNumber, const QString &path)
{
    ShowMessageBox(this, QMessageBox::Warning,
                   text(DirectoryText::WarningCaption, QStringLiteral("Warning")),
                   GetText(m_texts, textNumber) + QDir::toNativeSeparators(path), buttonWords());
}
