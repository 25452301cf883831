#pragma once

#include <QObject>

#include <functional>

class QAbstractButton;
class QKeyEvent;
class QWidget;

// Enter and Return in a plain window, as a dialog has them: a focused push or
// tool button is pressed, otherwise the window's default button. Qt does this
// only in a QDialog; the installer's windows are plain windows. The key is
// taken only when the control with the focus left it unused, so a control
// that answers Enter itself keeps it. The default button is asked for at each
// key press, so a window with pages answers with the current page's button.
class DefaultButtonKey : public QObject
{
public:
    using Finder = std::function<QAbstractButton *()>;

    // Watches window; the object is the window's child and goes with it.
    DefaultButtonKey(QWidget *window, Finder defaultButton);

    // Enter or Return without Ctrl or Alt.
    static bool isEnter(const QKeyEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractButton *buttonToPress() const;

    QWidget *m_window;
    Finder m_defaultButton;
};
