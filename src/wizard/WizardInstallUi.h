#pragma once

#include "install/InstallUi.h"
#include "ui/MessageBoxes.h"

#include <QElapsedTimer>
#include <QList>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QWidget;
struct LanguageTextTable;

// The install wizard's answer to what an install run shows and asks: the
// progress bar and labels of the last page, its memo, the platform's message
// boxes and the message dialog for the overwrite question.
class WizardInstallUi : public InstallUi
{
public:
    struct Widgets
    {
        QWidget *window
                = nullptr; // the wizard: parent of the questions, closed by closeInstaller()
        QProgressBar *Installprgbar = nullptr;
        QLabel *lbPercent = nullptr;
        QLabel *stPercent = nullptr;
        QLabel *stInstall = nullptr;
        QLabel *Timer = nullptr;
        QPlainTextEdit *mmInstallStatus = nullptr;
        QList<QWidget *> runButtons; // sbPrev5, btInstall
        QWidget *btCancel = nullptr; // enabled only while a run is busy
    };

    // texts: the wizard's "InstallForm" table, for the elapsed time's words.
    WizardInstallUi(const Widgets &widgets, const LanguageTextTable &texts);

    void setProgressBar(int value) override;
    void setPercentLabel(int value) override;
    void setPercentVisible(bool visible) override;
    void setStage(const QString &text) override;
    void clearMemo() override;
    void addMemoLine(const QString &line) override;
    void setElapsedSeconds(int seconds) override;
    void setRunButtonsEnabled(bool enabled) override;
    void processEvents() override;
    bool askYesNo(Question question, const QString &text, const QString &caption) override;
    void showWarning(const QString &text, const QString &caption) override;
    OverwriteAnswer askOverwrite(const QString &text) override;
    void closeInstaller() override;

    // The words on OK, Yes and No in the language of an "InstallForm" table.
    static BoxButtons ButtonWords(const LanguageTextTable &texts);

private:
    void announce(const QString &text);

    Widgets m_widgets;
    const LanguageTextTable &m_texts;
    QElapsedTimer m_sinceEvents;
};
