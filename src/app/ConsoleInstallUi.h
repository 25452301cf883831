#pragma once

#include "install/InstallUi.h"

class ConsoleStream;

struct LanguageTextTable;

// The install run on the console: memo lines, warnings and the final
// message on standard output, progress as one updating line when standard
// output is a terminal, and every question answered beforehand.
class ConsoleInstallUi : public InstallUi
{
public:
    struct Answers
    {
        OverwriteAnswer overwrite = OverwriteAnswer::No;
        bool saveStatus = false;
    };

    // texts: the run's "InstallForm" texts.
    ConsoleInstallUi(ConsoleStream &out, const Answers &answers, const LanguageTextTable &texts);

    int elapsedSeconds() const { return m_elapsed; }
    // The last warning shown: why a run could not start.
    QString lastWarning() const { return m_lastWarning; }
    // Prints a line, clearing the progress line first.
    void print(const QString &text);

    void setProgressBar(int value) override;
    void setPercentLabel(int) override {}
    void setPercentVisible(bool) override {}
    void setStage(const QString &text) override;
    void clearMemo() override {}
    void addMemoLine(const QString &line) override { print(line); }
    void setElapsedSeconds(int seconds) override { m_elapsed = seconds; }
    void setRunButtonsEnabled(bool) override {}
    void processEvents() override {}
    bool askYesNo(Question question, const QString &text, const QString &caption) override;
    void showWarning(const QString &text, const QString &caption) override;
    OverwriteAnswer askOverwrite(const QString &text) override;
    void closeInstaller() override {}

private:
    void drawProgress();

    Answers m_answers;
    const LanguageTextTable &m_texts;
    ConsoleStream &m_out;
    bool m_progressShown = false;
    QString m_stage;
    int m_progress = -1;
    int m_elapsed = 0;
    QString m_lastWarning;
};
