#pragma once

#include "ModalWatcher.h"

#include <QList>

#include <memory>
#include <vector>

// Answers modal windows one after the other: the first answer goes to the
// first modal window, the next to the one that comes up after it, and so on.
// Each wait is bounded as in ModalWatcher, so a window that never comes up
// fails the test instead of hanging it.
class ModalSequence
{
public:
    explicit ModalSequence(QList<ModalWatcher::Answer> answers) : m_answers(std::move(answers))
    {
        watchNext();
    }

    // True when every answer was given and each window closed.
    bool allAnswered() const
    {
        if (m_watchers.size() != size_t(m_answers.size()))
            return false;
        for (const auto &watcher : m_watchers) {
            if (!watcher->answered())
                return false;
        }
        return true;
    }
    int answeredCount() const
    {
        int count = 0;
        for (const auto &watcher : m_watchers)
            count += watcher->answered() ? 1 : 0;
        return count;
    }

private:
    void watchNext()
    {
        if (m_watchers.size() >= size_t(m_answers.size()))
            return;
        const ModalWatcher::Answer answer = m_answers.at(qsizetype(m_watchers.size()));
        // The next watcher starts before this answer closes its window; its
        // first look comes after the window has gone.
        m_watchers.push_back(std::make_unique<ModalWatcher>([this, answer](QWidget *dialog) {
            watchNext();
            answer(dialog);
        }));
    }

    QList<ModalWatcher::Answer> m_answers;
    std::vector<std::unique_ptr<ModalWatcher>> m_watchers;
};
