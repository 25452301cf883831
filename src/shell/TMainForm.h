#pragma once

#include "i18n/TextTable.h"
#include "selection/DataSetDescription.h"
#include "selection/RunSettings.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QKeyEvent;
class QWheelEvent;
class TSTYInstallForm;

namespace Ui {
class TMainForm;
}

// The welcome window: a readme picture with links to the maker's home page
// and e-mail address, a Language menu that switches the interface language,
// and Next, which opens the install wizard. It is owned by the language
// window; closing it closes its owner and so ends the program. It holds the
// data set description that the wizard's preparation fills.
class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    // Loads the texts of the current language and the readme picture. A
    // picture that cannot be loaded is reported by the standard exception
    // display and the window opens without it.
    TMainForm(const RunSettings &settings, QWidget *owner);
    ~TMainForm() override;

    // Sets the captions of the menus, the menu entries, Next and the note
    // from the window's text table.
    void ApplyWelcomeTexts();

    // The wizard, once Next made it.
    TSTYInstallForm *installForm() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpLinks();
    void connectLanguageEntries();
    void fitToScreen();
    void setReadMeBoxHeight(int height);
    void LoadWelcomeTexts();
    void LoadReadMePicture();
    void msmLanguageClick(const QString &language);
    void sbNextClick();
    void lbHomepageClick();
    void lbEMailClick();
    void imgReadMeMouseDown();
    bool ScrollBox1MouseWheel(const QWheelEvent *event);
    bool linkKeyPress(QObject *watched, const QKeyEvent *event);

    std::unique_ptr<Ui::TMainForm> ui;
    RunSettings m_settings;
    LanguageTextTable m_texts;
    DataSetDescription m_description;
    QPointer<TSTYInstallForm> m_wizard;
    bool m_closed = false;
};
