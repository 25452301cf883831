#include "ShotSession.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>

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

} // namespace

ShotSession::ShotSession(const QString &outputFolder, const QString &language,
                         const QString &programFolder)
    : m_outputFolder(outputFolder), m_language(language), m_programFolder(programFolder)
{}

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
    QTimer poll;
    int triesLeft = 100;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            poll.stop();
            save(modal, name);
            answer(modal);
        } else if (--triesLeft <= 0) {
            poll.stop();
            m_errors.append(name + QStringLiteral(": no modal window came up"));
        }
    });
    poll.start(50);
    open();
    poll.stop();
}

void ShotSession::save(QWidget *window, const QString &name)
{
    // The window manager frames a window a little after it is mapped.
    if (!waitUntil([window] { return window->frameGeometry() != window->geometry(); }, 5000))
        m_errors.append(
                name + QStringLiteral(": the window has no frame; is a window manager running?"));
    wait(400); // painting, and the fonts of the first window of a language
    const QRect frame = window->frameGeometry();
    const QPixmap picture
            = window->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    const QString file
            = QDir(m_outputFolder)
                      .filePath(name + u'-' + m_language.toLower() + QStringLiteral(".png"));
    if (picture.isNull() || !picture.save(file, "PNG"))
        m_errors.append(QStringLiteral("Cannot write %1").arg(QDir::toNativeSeparators(file)));
    else
        m_saved.append(file);
}
