#pragma once

#include <QString>

// The answers of the overwrite question ("&Yes|&All|&No|Cancel").
enum class OverwriteAnswer { Yes, All, No, Cancel };

// The yes/no questions of a run, so that an implementation without a person
// in front of it can answer each by what it asks.
enum class Question {
    CancelRun,      // Cancel was pressed: stop the run?
    RemoveFiles,    // after a cancel: remove what was installed so far?
    SaveStatus,     // save the status lists?
    CloseInstaller, // the run is over: close the installer?
};

// Everything an install run shows and asks goes through this interface, so the
// wizard answers it with its widgets and dialogs, the unattended install on the
// console, and the tests with scripted answers. The engine never calls a
// widget or a message box itself.
class InstallUi
{
public:
    virtual ~InstallUi() = default;

    // The progress bar (0 to 100) and, separately, the percent label beside it.
    virtual void setProgressBar(int value) = 0;
    virtual void setPercentLabel(int value) = 0;
    virtual void setPercentVisible(bool visible) = 0;
    // The stage text above the bar.
    virtual void setStage(const QString &text) = 0;
    // The status memo.
    virtual void clearMemo() = 0;
    virtual void addMemoLine(const QString &line) = 0;
    // Whole seconds since the Install click.
    virtual void setElapsedSeconds(int seconds) = 0;
    // The back and install buttons of the last page.
    virtual void setRunButtonsEnabled(bool enabled) = 0;

    // Lets pending window events run, so that Cancel and the close box answer.
    // Called often; an implementation may skip work when it ran very recently.
    virtual void processEvents() = 0;

    // A question with Yes and No; true for Yes.
    virtual bool askYesNo(Question question, const QString &text, const QString &caption) = 0;
    // A warning with an OK button.
    virtual void showWarning(const QString &text, const QString &caption) = 0;
    // The per-file overwrite question of the copy step.
    virtual OverwriteAnswer askOverwrite(const QString &text) = 0;

    // The user agreed to close the installer at the end of a run.
    virtual void closeInstaller() = 0;
};
