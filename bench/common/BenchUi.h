#pragma once

#include "install/InstallUi.h"

#include <QElapsedTimer>

#include <algorithm>

// Shows nothing, answers every overwrite question alike and every other
// question No, and measures how long the run goes without letting window
// events run. A warning means the run went wrong.
class SilentUi : public InstallUi
{
public:
    explicit SilentUi(OverwriteAnswer answer = OverwriteAnswer::No) : m_answer(answer) {}

    qint64 longestGapNs = 0;
    QElapsedTimer sinceEvents;

    void setProgressBar(int) override {}
    void setPercentLabel(int) override {}
    void setPercentVisible(bool) override {}
    void setStage(const QString &) override {}
    void clearMemo() override {}
    void addMemoLine(const QString &) override {}
    void setElapsedSeconds(int) override {}
    void setRunButtonsEnabled(bool) override {}
    void processEvents() override
    {
        if (sinceEvents.isValid())
            longestGapNs = std::max(longestGapNs, sinceEvents.nsecsElapsed());
        sinceEvents.start();
    }
    bool askYesNo(Question, const QString &, const QString &) override { return false; }
    void showWarning(const QString &text, const QString &) override
    {
        qFatal("%s", qPrintable(text));
    }
    OverwriteAnswer askOverwrite(const QString &) override { return m_answer; }
    void closeInstaller() override {}

private:
    OverwriteAnswer m_answer;
};
