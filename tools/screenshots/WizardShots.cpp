#include "Shots.h"

#include "DemoDataSet.h"
#include "ShotSession.h"
#include "selection/DataSetDescription.h"
#include "ui/TMessageDialog.h"
#include "wizard/FolderListView.h"
#include "wizard/TSTYInstallForm.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>

namespace {

void click(QWidget *window, const char *name)
{
    if (auto *button = window->findChild<QAbstractButton *>(QLatin1String(name)))
        button->click();
}

void expandTree(QWidget *window, const char *name)
{
    if (auto *tree = window->findChild<QTreeWidget *>(QLatin1String(name)))
        tree->expandAll();
}

// Presses a message box's button, or the message dialog's button at place
// (1 for the leftmost).
std::function<void(QWidget *)> press(QMessageBox::StandardButton button, int place = 0)
{
    return [button, place](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            box->button(button)->click();
            return;
        }
        const auto buttons = modal->findChildren<QPushButton *>();
        if (place > 0 && place <= buttons.size())
            buttons.at(place - 1)->click();
        else
            modal->close();
    };
}

void reject(QWidget *modal)
{
    static_cast<QDialog *>(modal)->reject();
}

// Page 1 with no kind chosen: the "Not Selected" warning.
void shootNothingSelected(ShotSession &session, QWidget *wizard)
{
    const char *boxes[] = {"cbSTYInstall", "cbSTIInstall", "cbDETAILInstall"};
    for (const char *box : boxes)
        click(wizard, box);
    session.grabModal(
            QStringLiteral("not-selected"), [&] { click(wizard, "sbNext1"); },
            press(QMessageBox::Ok));
    for (const char *box : boxes)
        click(wizard, box);
}

// Opens a folder in the location dialog.
void openFolder(QWidget *dialog, const QString &folder)
{
    dialog->findChild<FolderListView *>(QStringLiteral("DirectoryListBox"))->setDirectory(folder);
}

// The location dialog from the STY page, its Create Folder box, and its
// refusal of the application's own folder.
void shootLocationDialog(ShotSession &session, QWidget *wizard, const QString &vestra)
{
    session.grabModal(
            QStringLiteral("location-dialog"), [&] { click(wizard, "sbDirectory"); },
            [&session, vestra](QWidget *dialog) {
                session.grabModal(
                        QStringLiteral("create-folder"),
                        [dialog] {
                            dialog->findChild<QAction *>(QStringLiteral("miCreateFolder"))
                                    ->trigger();
                        },
                        reject);
                openFolder(dialog, vestra + QStringLiteral("/Bin"));
                session.grabModal(
                        QStringLiteral("version-folder-refused"),
                        [dialog] { click(dialog, "btOK"); }, press(QMessageBox::Ok));
                reject(dialog);
            });
}

// The STI data sent to the STY folder: the warning on page 3's Next.
void shootSameFolder(ShotSession &session, QWidget *wizard, const QString &styFolder)
{
    click(wizard, "sbPrev5");
    click(wizard, "sbPrev4");
    session.grabModal(
            QString(), [&] { click(wizard, "sbDirectory2"); },
            [styFolder](QWidget *dialog) {
                openFolder(dialog, styFolder);
                click(dialog, "btOK");
            });
    session.grabModal(
            QStringLiteral("same-folder-warning"), [&] { click(wizard, "sbNext3"); },
            press(QMessageBox::Ok));
}

// A second run over the first: the overwrite question (answered All, as
// are those of the other kinds), then the offer to save the status lists and
// the question to close (both No).
void shootSecondRun(ShotSession &session, QWidget *wizard)
{
    const auto overwrite
            = [](QWidget *modal) { return qobject_cast<TMessageDialog *>(modal) != nullptr; };
    const auto box = [](QWidget *modal) { return qobject_cast<QMessageBox *>(modal) != nullptr; };
    const auto all = press(QMessageBox::NoButton, 2);
    click(wizard, "sbPrev5");
    click(wizard, "sbNext4");
    session.grabModals([&] { click(wizard, "btInstall"); },
                       {{QStringLiteral("overwrite-question"), all, overwrite},
                        {QStringLiteral("save-status-question"), press(QMessageBox::No), box},
                        {QString(), press(QMessageBox::No), box}},
                       all);
}

// A third run, cancelled at its first overwrite question: the question to
// cancel (Yes), whether to remove what was installed (No), the offer to save
// the status lists (No) and the question to close (No).
void shootCancelledRun(ShotSession &session, QWidget *wizard)
{
    const auto overwrite
            = [](QWidget *modal) { return qobject_cast<TMessageDialog *>(modal) != nullptr; };
    const auto box = [](QWidget *modal) { return qobject_cast<QMessageBox *>(modal) != nullptr; };
    const auto cancelThenYes = [wizard](QWidget *modal) {
        click(wizard, "btCancel");
        press(QMessageBox::NoButton, 1)(modal);
    };
    session.grabModals([&] { click(wizard, "btInstall"); },
                       {{QString(), cancelThenYes, overwrite},
                        {QStringLiteral("cancel-question"), press(QMessageBox::Yes), box},
                        {QStringLiteral("remove-files-question"), press(QMessageBox::No), box},
                        {QString(), press(QMessageBox::No), box},
                        {QStringLiteral("close-question"), press(QMessageBox::No), box}},
                       press(QMessageBox::No));
}

// A User install through every page, with the location dialog from the STY
// page, then the install run and its questions, a second and a third run,
// and a warning on page 3.
void walkWizard(ShotSession &session)
{
    DemoDataSet dataSet(session.programFolder(), session.dataRoot());
    if (!dataSet.isValid())
        return session.report(dataSet.errorString());
    QPointer<TSTYInstallForm> wizard = new TSTYInstallForm(dataSet.settings(), nullptr);
    wizard->ApplyInstallFormTexts();
    DataSetDescription description;
    if (!wizard->Prepare(description)) {
        session.report(wizard->PrepareFailureMessage());
        delete wizard.data();
        return;
    }
    session.grab(wizard, QStringLiteral("wizard-page1"));
    shootNothingSelected(session, wizard);
    click(wizard, "rbUser");
    click(wizard, "sbNext1");
    expandTree(wizard, "tvSelectUnit");
    session.grab(wizard, QStringLiteral("wizard-page2"));
    shootLocationDialog(session, wizard, dataSet.vestraFolder());
    click(wizard, "sbNext2");
    expandTree(wizard, "tvSelectUnit2");
    session.grab(wizard, QStringLiteral("wizard-page3"));
    click(wizard, "sbNext3");
    session.grab(wizard, QStringLiteral("wizard-page4"));
    click(wizard, "sbNext4");
    session.grab(wizard, QStringLiteral("wizard-page5"));
    session.grabModal(
            QStringLiteral("completion-question"), [&] { click(wizard, "btInstall"); },
            press(QMessageBox::No));
    session.grab(wizard, QStringLiteral("wizard-page5-installed"));
    shootSecondRun(session, wizard);
    shootCancelledRun(session, wizard);
    shootSameFolder(session, wizard, dataSet.vestraFolder() + QStringLiteral("/Bin/STY_2027SS"));
    delete wizard.data();
}

} // namespace

QList<Scenario> WizardScenarios()
{
    return {{QStringLiteral("wizard"), walkWizard}};
}
