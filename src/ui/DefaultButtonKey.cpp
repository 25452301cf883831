#include "DefaultButtonKey.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QRadioButton>
#include <QWidget>

DefaultButtonKey::DefaultButtonKey(QWidget *window, Finder defaultButton)
    : QObject(window), m_window(window), m_defaultButton(std::move(defaultButton))
{
    window->installEventFilter(this);
}

bool DefaultButtonKey::isEnter(const QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    return enter && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

// A key the focused control did not use travels up to the window, where it
// arrives here.
bool DefaultButtonKey::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window || event->type() != QEvent::KeyPress
        || !isEnter(static_cast<QKeyEvent *>(event)))
        return false;
    QAbstractButton *button = buttonToPress();
    if (!button || !button->isVisible() || !button->isEnabled())
        return false;
    button->click();
    return true;
}

// Check boxes and radio buttons are chosen with Space; Enter on them means
// "go on", as in a dialog.
QAbstractButton *DefaultButtonKey::buttonToPress() const
{
    auto *focused = qobject_cast<QAbstractButton *>(m_window->focusWidget());
    if (focused && !qobject_cast<QCheckBox *>(focused) && !qobject_cast<QRadioButton *>(focused))
        return focused;
    return m_defaultButton ? m_defaultButton() : nullptr;
}
