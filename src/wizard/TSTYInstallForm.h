#pragma once

#include "i18n/TextTable.h"
#include "selection/PageChecks.h"
#include "selection/RunSettings.h"
#include "selection/WizardState.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class InstallContext;
class InstallRun;
class PathLabel;
class QCheckBox;
class QLabel;
class QToolButton;
class UnitTreeAdapter;
class WizardInstallUi;
class WizardPageKeys;
struct DataSetDescription;

namespace Ui {
class TSTYInstallForm;
}

// The install wizard: page 1 chooses the data kinds and the install type,
// pages 2 to 4 the units and destination of STY, STI and DETAIL, page 5 runs
// the installation. It owns the state of the installation and is the window
// through which the install run shows its progress and asks its questions.
// A top-level window owned by the welcome window; it deletes itself when closed.
class TSTYInstallForm : public QWidget
{
    Q_OBJECT
public:
    TSTYInstallForm(const RunSettings &settings, QWidget *owner);
    ~TSTYInstallForm() override;

    // First set-up call: loads section "InstallForm" for the current language
    // and sets the captions; the window takes the size its longest texts need.
    void ApplyInstallFormTexts();

    // Second set-up call: reads <dataSetFolder>/dataset.ini into description,
    // opens the version store, prepares the wizard state, shows year, season
    // and volume, clears the memo and shows page 1. False when the data set
    // description cannot be read or no Vestra is installed; see
    // PrepareFailureMessage().
    bool Prepare(DataSetDescription &description);
    // Why Prepare() failed, in the wizard's language, naming the file or the
    // registry key concerned.
    QString PrepareFailureMessage() const { return m_prepareFailure; }

protected:
    // FormCloseQuery: closes freely when closing is allowed or no run is
    // busy; otherwise refuses and asks the run to cancel. A closed wizard
    // closes its hidden owner too.
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void setUpWidgets();
    void connectButtons();
    void fitWindow();
    int leastHeight(int width);
    void forEachHint(const std::function<void()> &measure);
    QString text(int number) const;

    void sbNext1Click();
    void kindPageNextClick(DataKind kind);
    void sbPrevClick(int page);
    void sbPrev1Click();
    void sbPrev5Click();
    void sbDirectoryClick(DataKind kind);
    void btInstallClick();
    void btCancelClick();
    void focusAfterRun();

    void enterKindPage(DataKind kind);
    void showPage(int page);
    bool refused(const std::optional<Refusal> &refusal);

    std::unique_ptr<Ui::TSTYInstallForm> ui;
    RunSettings m_settings;
    QPointer<QWidget> m_owner;
    WizardState m_state;
    LanguageTextTable m_texts;
    QString m_prepareFailure;

    // Per kind, in kind order.
    std::array<QCheckBox *, 3> m_kindBoxes{};
    std::array<PathLabel *, 3> m_pathLabels{};
    std::array<QLabel *, 3> m_clickHints{};
    std::array<UnitTreeAdapter *, 3> m_adapters{};
    WizardPageKeys *m_keys = nullptr;

    std::unique_ptr<WizardInstallUi> m_installUi;
    std::unique_ptr<InstallContext> m_context;
    std::unique_ptr<InstallRun> m_run;
};
