#include "Shots.h"

#include "DemoDataSet.h"
#include "ShotSession.h"
#include "selection/DataSetDescription.h"
#include "wizard/TSTYInstallForm.h"

#include <QAbstractButton>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
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

void answerNo(QWidget *modal)
{
    if (auto *box = qobject_cast<QMessageBox *>(modal))
        box->button(QMessageBox::No)->click();
    else
        modal->close();
}

// A User install through every page, the location dialog from the STY page,
// then the install run and its completion question.
void walkWizard(ShotSession &session)
{
    DemoDataSet dataSet(session.programFolder());
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
    click(wizard, "rbUser");
    click(wizard, "sbNext1");
    expandTree(wizard, "tvSelectUnit");
    session.grab(wizard, QStringLiteral("wizard-page2"));
    session.grabModal(
            QStringLiteral("location-dialog"), [&] { click(wizard, "sbDirectory"); },
            [](QWidget *dialog) { static_cast<QDialog *>(dialog)->reject(); });
    click(wizard, "sbNext2");
    expandTree(wizard, "tvSelectUnit2");
    session.grab(wizard, QStringLiteral("wizard-page3"));
    click(wizard, "sbNext3");
    session.grab(wizard, QStringLiteral("wizard-page4"));
    click(wizard, "sbNext4");
    session.grab(wizard, QStringLiteral("wizard-page5"));
    session.grabModal(
            QStringLiteral("completion-question"), [&] { click(wizard, "btInstall"); }, answerNo);
    session.grab(wizard, QStringLiteral("wizard-page5-installed"));
    delete wizard.data();
}

} // namespace

QList<Scenario> WizardScenarios()
{
    return {{QStringLiteral("wizard"), walkWizard}};
}
