#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// Saves pictures of windows as they are on the screen, frame included, as
// <folder>/<name>-<language>.png. The window manager draws the frames.
class WindowShooter
{
public:
    WindowShooter(const QString &folder, const QString &language);

    // Shows the window if need be, waits until it is framed and painted, and saves it.
    void shoot(QWidget *window, const QString &name);

    // Calls open(), which shows a modal window and returns when it is closed;
    // once that window is up, prepare(window) runs, the window is saved and
    // answer(window) closes it. A modal window that never comes up is an error.
    void shootModal(const QString &name, const std::function<void()> &open,
                    const std::function<void(QWidget *)> &prepare,
                    const std::function<void(QWidget *)> &answer);

    static void wait(int milliseconds);

    QStringList saved() const { return m_saved; }
    QStringList errors() const { return m_errors; }
    void report(const QString &error) { m_errors.append(error); }

private:
    QString m_folder;
    QString m_language;
    QStringList m_saved;
    QStringList m_errors;
};
