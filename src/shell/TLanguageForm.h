#pragma once

#include "selection/RunSettings.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QToolButton;
class TMainForm;

namespace Ui {
class TLanguageForm;
}

// The first window and the application's main window: seven buttons, one per
// interface language. Its own texts are English and fixed. Choosing a
// language opens the welcome window, which this window owns, and hides this
// one; it stays alive, hidden, until the program ends. On a small or scaled
// screen the buttons' box gives up height and scrolls.
class TLanguageForm : public QWidget
{
    Q_OBJECT
public:
    explicit TLanguageForm(const RunSettings &settings, QWidget *parent = nullptr);
    ~TLanguageForm() override;

    // What a language button does: makes the language current, creates and
    // shows the welcome window, and hides this window. The welcome window is
    // made once; a second call only shows it again.
    void ChooseLanguage(const QString &language);

    // The welcome window, once a language was chosen.
    TMainForm *welcomeWindow() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectButton(QToolButton *button, const QString &language);

    std::unique_ptr<Ui::TLanguageForm> ui;
    RunSettings m_settings;
    QList<QToolButton *> m_buttons; // in the order of the language names
    QPointer<TMainForm> m_welcome;
};
