#include "WizardWalk.h"

#include "WindowShooter.h"
#include "selection/DataSetDescription.h"
#include "shell/TLanguageForm.h"
#include "shell/TMainForm.h"
#include "wizard/TSTYInstallForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
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

QComboBox *driveList(QWidget *dialog)
{
    return dialog->findChild<QComboBox *>(QStringLiteral("DriveComboBox"));
}

void openDriveList(QWidget *dialog)
{
    if (QComboBox *drives = driveList(dialog)) {
        drives->showPopup();
        WindowShooter::wait(300);
    }
}

void closeLocationDialog(QWidget *dialog)
{
    if (QComboBox *drives = driveList(dialog))
        drives->hidePopup();
    static_cast<QDialog *>(dialog)->reject();
}

// No to an overwrite question (the message dialog's button "No") and to the
// completion question, so the installed files stay and the wizard stays open.
void answerNo(QWidget *modal)
{
    if (auto *box = qobject_cast<QMessageBox *>(modal))
        box->button(QMessageBox::No)->click();
    else if (auto *no = modal->findChild<QAbstractButton *>(QStringLiteral("No")))
        no->click();
    else
        modal->close();
}

void walkWelcome(const RunSettings &settings, const QString &language, WindowShooter &shooter)
{
    TLanguageForm languageWindow(settings);
    languageWindow.ChooseLanguage(language);
    if (TMainForm *welcome = languageWindow.welcomeWindow())
        shooter.shoot(welcome, QStringLiteral("welcome-window"));
    else
        shooter.report(QStringLiteral("The welcome window did not open"));
}

void walkWizard(TSTYInstallForm *wizard, WindowShooter &shooter)
{
    shooter.shoot(wizard, QStringLiteral("wizard-page1"));
    click(wizard, "rbUser");
    click(wizard, "sbNext1");
    expandTree(wizard, "tvSelectUnit");
    shooter.shoot(wizard, QStringLiteral("wizard-page2"));
    shooter.shootModal(
            QStringLiteral("location-dialog"), [&] { click(wizard, "sbDirectory"); }, openDriveList,
            closeLocationDialog);
    click(wizard, "sbNext2");
    click(wizard, "sbNext3");
    click(wizard, "sbNext4");
    shooter.shoot(wizard, QStringLiteral("wizard-page5"));
    // The data are installed already, so the run asks before each file; the
    // first question is saved, and every question is answered No.
    bool shot = false;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&shot] {
        QWidget *modal = QApplication::activeModalWidget();
        if (shot && modal && modal->isVisible())
            answerNo(modal);
    });
    answerer.start(100);
    shooter.shootModal(
            QStringLiteral("overwrite-question"), [&] { click(wizard, "btInstall"); },
            [](QWidget *) {},
            [&shot](QWidget *question) {
                shot = true;
                answerNo(question);
            });
}

} // namespace

void WalkWelcomeAndWizard(const RunSettings &settings, const QString &language,
                          WindowShooter &shooter)
{
    walkWelcome(settings, language, shooter);
    QPointer<TSTYInstallForm> wizard = new TSTYInstallForm(settings, nullptr);
    wizard->ApplyInstallFormTexts();
    DataSetDescription description;
    if (wizard->Prepare(description))
        walkWizard(wizard, shooter);
    else
        shooter.report(wizard->PrepareFailureMessage());
    delete wizard.data();
}
