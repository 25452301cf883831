#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// Saves pictures of the installer's windows, frame included, for one
// language: each as <outputFolder>/<name>-<language>.png (language in lower
// case). A window manager must be running for the frame to be there.
class ShotSession
{
public:
    ShotSession(const QString &outputFolder, const QString &language, const QString &programFolder);

    QString language() const { return m_language; }
    QString programFolder() const { return m_programFolder; }

    // Shows the window if it is not shown, waits until it is framed and
    // painted, and saves its picture.
    void grab(QWidget *window, const QString &name);

    // Calls open(), which shows a modal window and returns when it closes;
    // once the modal window is up its picture is saved and answer(window)
    // closes it. A modal window that never comes up is reported.
    void grabModal(const QString &name, const std::function<void()> &open,
                   const std::function<void(QWidget *)> &answer);

    // Notes a failure of a scenario; the program then ends with status 1.
    void report(const QString &error) { m_errors.append(error); }

    // Lets window events run for a while.
    static void wait(int milliseconds);

    QStringList saved() const { return m_saved; }
    QStringList errors() const { return m_errors; }

private:
    void save(QWidget *window, const QString &name);

    QString m_outputFolder;
    QString m_language;
    QString m_programFolder;
    QStringList m_saved;
    QStringList m_errors;
};
