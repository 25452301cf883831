#pragma once

#include "install/InstallUi.h"

#include <QList>
#include <QStringList>

#include <functional>

// An install interface with scripted answers that records everything a run
// shows and asks.
class ScriptedInstallUi : public InstallUi
{
public:
    struct Asked
    {
        QString type; // "yesno", "warning" or "overwrite"
        QString text;
        QString caption;
        Question question = Question::CancelRun; // for yes/no questions
    };

    // Answers, used in order; when a list runs out, the default answers.
    QList<bool> yesNo;
    bool defaultYesNo = false;
    QList<OverwriteAnswer> overwrite;
    OverwriteAnswer defaultOverwrite = OverwriteAnswer::No;
    // Runs at every processEvents(), e.g. to press Cancel at some moment.
    std::function<void()> onEvents;

    QList<int> bar;
    QList<int> percent;
    bool percentVisible = true;
    QStringList stages;
    QStringList memo;
    int elapsedSeconds = -1;
    bool runButtonsEnabled = true;
    int closeRequests = 0;
    int eventRounds = 0;
    QList<Asked> asked;

    void setProgressBar(int value) override { bar.append(value); }
    void setPercentLabel(int value) override { percent.append(value); }
    void setPercentVisible(bool visible) override { percentVisible = visible; }
    void setStage(const QString &text) override { stages.append(text); }
    void clearMemo() override { memo.clear(); }
    void addMemoLine(const QString &line) override { memo.append(line); }
    void setElapsedSeconds(int seconds) override { elapsedSeconds = seconds; }
    void setRunButtonsEnabled(bool enabled) override { runButtonsEnabled = enabled; }
    void processEvents() override
    {
        ++eventRounds;
        if (onEvents)
            onEvents();
    }
    bool askYesNo(Question question, const QString &text, const QString &caption) override
    {
        asked.append({QStringLiteral("yesno"), text, caption, question});
        return yesNo.isEmpty() ? defaultYesNo : yesNo.takeFirst();
    }
    void showWarning(const QString &text, const QString &caption) override
    {
        asked.append({QStringLiteral("warning"), text, caption});
    }
    OverwriteAnswer askOverwrite(const QString &text) override
    {
        asked.append({QStringLiteral("overwrite"), text, QStringLiteral("Question")});
        return overwrite.isEmpty() ? defaultOverwrite : overwrite.takeFirst();
    }
    void closeInstaller() override { ++closeRequests; }

    QStringList captions() const
    {
        QStringList list;
        for (const Asked &a : asked)
            list.append(a.caption);
        return list;
    }
};
