#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// Saves pictures of the installer's windows, frame included, for one
// language: each as <outputFolder>/<language>/<name>.png (language in lower
// case). A window manager must be running for the frame to be there. A shot
// that fails (no frame, nothing grabbed) is reported and written nowhere, so
// a picture from an earlier run stays as it was.
class ShotSession
{
public:
    // A modal window to wait for: its picture is saved under name (unless
    // name is empty), then answer closes it. takes tells whether a modal
    // window is the one meant; none means any.
    struct ModalShot
    {
        QString name;
        std::function<void(QWidget *)> answer;
        std::function<bool(QWidget *)> takes = nullptr;
    };

    ShotSession(const QString &outputFolder, const QString &language, const QString &programFolder,
                const QString &dataRoot);

    QString language() const { return m_language; }
    QString programFolder() const { return m_programFolder; }
    // Where the demonstration data is made; empty for a temporary folder.
    QString dataRoot() const { return m_dataRoot; }

    // Shows the window if it is not shown, waits until it is framed and
    // painted, and saves its picture.
    void grab(QWidget *window, const QString &name);

    // Calls open(), which shows a modal window and returns when it closes;
    // once the modal window is up its picture is saved and answer(window)
    // closes it. A modal window that never comes up is reported.
    void grabModal(const QString &name, const std::function<void()> &open,
                   const std::function<void(QWidget *)> &answer);

    // The same for several modal windows that open() brings up one after
    // the other, each answered in turn. A modal window that the next shot
    // does not take is answered by other, without a picture. A modal window
    // still open when the waiting ends is closed, so that the walk goes on.
    void grabModals(const std::function<void()> &open, const QList<ModalShot> &shots,
                    const std::function<void(QWidget *)> &other = nullptr);

    // Saves only the pictures of these names (all when empty); the walks
    // still open and answer every window.
    void saveOnly(const QStringList &names) { m_only = names; }

    // Notes a failure of a scenario; the program then ends with status 1.
    void report(const QString &error) { m_errors.append(error); }

    // Lets window events run for a while.
    static void wait(int milliseconds);

    QStringList saved() const { return m_saved; }
    QStringList errors() const { return m_errors; }

private:
    bool waitForFrame(QWidget *window);
    void save(QWidget *window, const QString &name);

    QString m_outputFolder;
    QString m_language;
    QString m_programFolder;
    QString m_dataRoot;
    QStringList m_only;
    QStringList m_saved;
    QStringList m_errors;
};
