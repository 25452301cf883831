#pragma once

#include "i18n/TextTable.h"
#include "platform/DriveList.h"
#include "selection/LocationRules.h"
#include "ui/MessageBoxes.h"

#include <QDialog>

#include <memory>

class QMenu;
class QTreeWidgetItem;

namespace Ui {
class TDirectoryDlgForm;
}

// "Choose Install Location": the modal dialog in which the user picks the
// destination folder of one data kind by drive and folder, or jumps to the
// folder of an installed Vestra version. A version's own folder is refused;
// only fixed drives can be chosen. The folder list's popup menu makes and
// removes folders.
class TDirectoryDlgForm : public QDialog
{
    Q_OBJECT
public:
    // Loads the texts of section "DirectoryDlgForm" for the current language
    // from textFolder. drives: the drives the drive combo offers.
    TDirectoryDlgForm(const QString &textFolder, std::unique_ptr<DriveList> drives,
                      QWidget *parent = nullptr);
    ~TDirectoryDlgForm() override;

    // Before the dialog is shown: fills the version combo (its last entry
    // selected) and the drive combo, and opens the start path, or the
    // platform's fallback folder when the start path is no folder.
    void SetUp(const LocationSetup &setup);

    // The folder chosen, in Qt form; the result when the dialog ends with OK.
    QString chosenPath() const { return m_chosenPath; }

private:
    void applyTexts();
    void fitToScreen();
    QString text(int number, const QString &english) const;
    BoxButtons buttonWords() const;
    bool askFolderName(QString *name);
    void fillDrives();
    void setChosenPath(const QString &path);
    void selectDriveOfList();

    void cbVestraVersionChange(int index);
    void DriveComboBoxChange(int index);
    void DirectoryListBoxChange(const QString &folder);
    void DirectoryListBoxContextMenu(const QPoint &pos);
    void btOKClick();
    void miCreateFolderClick();
    void miDeleteFolderClick();
    void warn(int textNumber, const QString &path = {});

    std::unique_ptr<Ui::TDirectoryDlgForm> ui;
    QMenu *pmDirectory = nullptr;
    std::unique_ptr<DriveList> m_driveList;
    QList<Drive> m_drives;
    LanguageTextTable m_texts;
    LocationSetup m_setup;
    QString m_chosenPath;
    bool m_muted = false; // the dialog itself moves the drive combo
};
