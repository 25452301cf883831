#include "ShotSession.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <QPointer>
#include <QSaveFile>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// Waits until the condition holds or the time is up; true when it holds.
bool waitUntil(const std::function<bool()> &condition, int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

const int FrameTries = 3;
const int ModalTries = 200; // of 50 ms
const int FrameWaitMs = 4000;

} // namespace

ShotSession::ShotSession(const QString &outputFolder, const QString &language,
                         const QString &programFolder, const QString &dataRoot)
    : m_outputFolder(QDir(outputFolder).filePath(language.toLower()))
    , m_language(language)
    , m_programFolder(programFolder)
    , m_dataRoot(dataRoot)
{
    QDir().mkpath(m_outputFolder);
}

void ShotSession::wait(int milliseconds)
{
    waitUntil([] { return false; }, milliseconds);
}

void ShotSession::grab(QWidget *window, const QString &name)
{
    if (!window->isVisible())
        window->show();
    window->raise();
    window->activateWindow();
    save(window, name);
}

void ShotSession::grabModal(const QString &name, const std::function<void()> &open,
                            const std::function<void(QWidget *)> &answer)
{
    grabModals(open, {{name, answer}});
}

void ShotSession::grabModals(const std::function<void()> &open, const QList<ModalShot> &shots,
                             const std::function<void(QWidget *)> &other)
{
    QTimer poll;
    qsizetype next = 0;
    int triesLeft = ModalTries;
    QPointer<QWidget> answered; // the last modal window answered, until it has gone
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal != answered && modal->isVisible()) {
            answered = modal;
            triesLeft = ModalTries;
            const ModalShot &shot = shots.at(next);
            if (shot.takes && !shot.takes(modal) && other)
                return other(modal);
            ++next;
            if (!shot.name.isEmpty())
                save(modal, shot.name);
            if (next == shots.size())
                poll.stop();
            shot.answer(modal);
        } else if (--triesLeft <= 0) {
            poll.stop();
            m_errors.append(shots.at(next).name + QStringLiteral(": no modal window came up"));
            if (modal)
                modal->close();
        }
    });
    poll.start(50);
    open();
    poll.stop();
}

// The window manager frames a window a little after it is mapped; one that
// is slow to do so gets the window mapped again.
bool ShotSession::waitForFrame(QWidget *window)
{
    for (int attempt = 1; attempt <= FrameTries; ++attempt) {
        // Asked of the window system's window: a widget's own idea of its
        // frame is brought up to date only when it moves.
        if (waitUntil(
                    [window] {
                        const QWindow *handle = window->windowHandle();
                        return handle && !handle->frameMargins().isNull();
                    },
                    FrameWaitMs))
            return true;
        if (attempt < FrameTries && !window->isModal()) {
            window->hide();
            window->show();
        }
    }
    return false;
}

void ShotSession::save(QWidget *window, const QString &name)
{
    if (!m_only.isEmpty() && !m_only.contains(name))
        return;
    if (!waitForFrame(window)) {
        m_errors.append(name
                        + QStringLiteral(": the window has no frame; is a window manager "
                                         "running? The picture was not written."));
        return;
    }
    wait(400); // painting, and the fonts of the first window of a language
    const QRect frame = window->windowHandle()->frameGeometry();
    const QPixmap picture
            = window->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    const QString file = QDir(m_outputFolder).filePath(name + QStringLiteral(".png"));
    // Written aside and put in place only when complete.
    QSaveFile out(file);
    if (picture.isNull() || !out.open(QIODevice::WriteOnly) || !picture.save(&out, "PNG")
        || !out.commit())
        m_errors.append(QStringLiteral("Cannot write %1").arg(QDir::toNativeSeparators(file)));
    else
        m_saved.append(file);
}
