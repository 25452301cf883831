#include "WizardAccessibility.h"

#include "ui_TDirectoryDlgForm.h"
#include "ui_TSTYInstallForm.h"

#include "i18n/LocalTexts.h"
#include "i18n/TextNumbers.h"
#include "i18n/TextTable.h"
#include "ui/Accessibility.h"

void DescribeWizard(Ui::TSTYInstallForm &ui, const LanguageTextTable &texts)
{
    Accessibility::Install();
    for (QPushButton *next : {ui.sbNext1, ui.sbNext2, ui.sbNext3, ui.sbNext4})
        Accessibility::SetName(next, next->text());
    ui.lbYear->setBuddy(ui.stYear);
    ui.lbSeason->setBuddy(ui.stSeason);
    ui.lbVolume->setBuddy(ui.stVolume);

    const QString folderButton = TextOr(texts, InstallText::FolderButtonName,
                                        QStringLiteral("Choose the install folder of the %1 data"));
    const QString hint = GetText(texts, InstallText::ClickHint);
    const QString note = GetText(texts, InstallText::CheckNote);
    const struct
    {
        QToolButton *folderButton;
        QTreeWidget *tree;
        const char *kind;
        int kindCaption;
        const char *english;
    } pages[]{{ui.sbDirectory, ui.tvSelectUnit, "STY", InstallText::StyDataBox, "STY Data"},
              {ui.sbDirectory2, ui.tvSelectUnit2, "STI", InstallText::StiDataBox, "STI Data"},
              {ui.sbDirectory3, ui.tvSelectUnit3, "DETAIL", InstallText::DetailDataBox,
               "DETAIL Data"}};
    for (const auto &page : pages) {
        Accessibility::SetName(page.folderButton, folderButton.arg(QLatin1String(page.kind)));
        Accessibility::SetDescription(page.folderButton, hint);
        Accessibility::SetName(page.tree,
                               TextOr(texts, page.kindCaption, QString::fromLatin1(page.english)));
        Accessibility::SetDescription(page.tree, note);
    }
    // The note is drawn over two lines with an indent.
    for (QLabel *check : {ui.lbCheck, ui.lbCheck2, ui.lbCheck3})
        Accessibility::SetName(check, note);
    Accessibility::SetName(ui.Installprgbar, TextOr(texts, InstallText::ProgressName,
                                                    QStringLiteral("Installation progress")));
    Accessibility::SetName(ui.mmInstallStatus, TextOr(texts, InstallText::StatusMemoName,
                                                      QStringLiteral("Installation messages")));
}

void DescribeLocationDialog(Ui::TDirectoryDlgForm &ui, const LanguageTextTable &texts)
{
    Accessibility::Install();
    Accessibility::TieLabel(ui.stVersion, ui.cbVestraVersion);
    Accessibility::TieLabel(ui.Label1, ui.DriveComboBox);
    Accessibility::TieLabel(ui.Label2, ui.DirectoryListBox);
    Accessibility::SetDescription(ui.DirectoryListBox, ui.Label3->text());
    Accessibility::SetDescription(
            ui.lbDestinationPath,
            TextOr(texts, DirectoryText::ChosenFolderName, QStringLiteral("Chosen folder")));
}
