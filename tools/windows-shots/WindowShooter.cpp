#include "WindowShooter.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace {

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

WindowShooter::WindowShooter(const QString &folder, const QString &language)
    : m_folder(folder), m_language(language.toLower())
{}

void WindowShooter::wait(int milliseconds)
{
    waitUntil([] { return false; }, milliseconds);
}

void WindowShooter::shoot(QWidget *window, const QString &name)
{
    if (!window->isVisible())
        window->show();
    window->raise();
    window->activateWindow();
    if (!waitUntil([window] { return window->frameGeometry() != window->geometry(); }, 5000))
        m_errors.append(name + QStringLiteral(": no frame; is a window manager running?"));
    wait(600); // painting, and the fonts of a language's first window
    // The screen's pixels, so that open pop-up lists are in the picture too.
    const QRect frame = window->frameGeometry();
    const QPixmap picture
            = window->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    const QString file = QDir(m_folder).filePath(name + u'-' + m_language + QStringLiteral(".png"));
    if (picture.isNull() || !picture.save(file, "PNG"))
        m_errors.append(QStringLiteral("Cannot write %1").arg(QDir::toNativeSeparators(file)));
    else
        m_saved.append(file);
}

void WindowShooter::shootModal(const QString &name, const std::function<void()> &open,
                               const std::function<void(QWidget *)> &prepare,
                               const std::function<void(QWidget *)> &answer)
{
    QTimer poll;
    int triesLeft = 200;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            poll.stop();
            prepare(modal);
            shoot(modal, name);
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
