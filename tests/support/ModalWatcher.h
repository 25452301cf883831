#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

// Answers the next modal dialog of a widget test. Create it before the call
// that opens the dialog: it polls QApplication::activeModalWidget() and runs
// `answer` on the first modal dialog once that is the active window. Every
// wait is bounded, so a test whose dialog never appears or never becomes
// active, or whose answer leaves it open, fails instead of hanging: a dialog
// still open when the wait ends is closed.
class ModalWatcher : public QObject
{
public:
    using Answer = std::function<void(QWidget *dialog)>;

    explicit ModalWatcher(Answer answer, int tries = 300, int intervalMs = 10)
        : m_answer(std::move(answer)), m_tries(tries), m_triesLeft(tries)
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalWatcher::poll);
        m_timer.start(intervalMs);
    }

    // True when a dialog appeared, was answered and closed by the answer.
    bool answered() const { return m_answered && !m_leftOpen; }

private:
    void poll()
    {
        if (m_answered) {
            if (m_dialog && m_dialog->isVisible() && --m_triesLeft <= 0)
                giveUp(m_dialog);
            if (!m_dialog || !m_dialog->isVisible())
                m_timer.stop();
            return;
        }
        // A person answers a dialog once it is the active window.
        QWidget *dialog = QApplication::activeModalWidget();
        if (dialog && dialog->isActiveWindow()) {
            m_answered = true;
            m_dialog = dialog;
            m_triesLeft = m_tries; // the same patience for the dialog to close
            m_answer(dialog);
        } else if (--m_triesLeft <= 0) {
            giveUp(dialog);
        }
    }

    // Ends the wait: the test fails, and a dialog still open is closed so
    // that the call that opened it returns.
    void giveUp(QWidget *dialog)
    {
        m_leftOpen = true;
        m_timer.stop();
        if (dialog)
            dialog->close();
    }

    Answer m_answer;
    QTimer m_timer;
    QPointer<QWidget> m_dialog;
    int m_tries;
    int m_triesLeft;
    bool m_answered = false;
    bool m_leftOpen = false;
};
