#include "MenuEntryAccessible.h"

#include "i18n/SpokenText.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

MenuEntryAccessible::MenuEntryAccessible(QAction *entry) : m_entry(entry) {}

QWidget *MenuEntryAccessible::OwnerOf(const QAction *entry)
{
    if (!entry)
        return nullptr;
    for (QObject *owner : entry->associatedObjects()) {
        if (qobject_cast<QMenu *>(owner) || qobject_cast<QMenuBar *>(owner))
            return static_cast<QWidget *>(owner);
    }
    return nullptr;
}

bool MenuEntryAccessible::isValid() const
{
    return m_entry && OwnerOf(m_entry);
}

QObject *MenuEntryAccessible::object() const
{
    return m_entry;
}

QWindow *MenuEntryAccessible::window() const
{
    QWidget *owner = OwnerOf(m_entry);
    return owner ? owner->window()->windowHandle() : nullptr;
}

QAccessibleInterface *MenuEntryAccessible::parent() const
{
    return QAccessible::queryAccessibleInterface(OwnerOf(m_entry));
}

// A menu bar title holds its menu.
QAccessibleInterface *MenuEntryAccessible::child(int index) const
{
    if (index != 0 || !m_entry || !m_entry->menu())
        return nullptr;
    return QAccessible::queryAccessibleInterface(m_entry->menu());
}

int MenuEntryAccessible::childCount() const
{
    return m_entry && m_entry->menu() ? 1 : 0;
}

int MenuEntryAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    return child && m_entry && child->object() == m_entry->menu() ? 0 : -1;
}

QAccessibleInterface *MenuEntryAccessible::childAt(int, int) const
{
    return nullptr;
}

QString MenuEntryAccessible::text(QAccessible::Text t) const
{
    if (!m_entry)
        return {};
    switch (t) {
    case QAccessible::Name:
        return SpokenText(m_entry->text());
    case QAccessible::Accelerator:
        if (!m_entry->shortcut().isEmpty())
            return m_entry->shortcut().toString(QKeySequence::NativeText);
        return ShortcutColumn(m_entry->text());
    case QAccessible::Description:
        return m_entry->toolTip() == m_entry->iconText() ? QString() : m_entry->toolTip();
    default:
        return {};
    }
}

QRect MenuEntryAccessible::rect() const
{
    QWidget *owner = OwnerOf(m_entry);
    QRect area;
    if (auto *menu = qobject_cast<QMenu *>(owner))
        area = menu->actionGeometry(m_entry);
    else if (auto *bar = qobject_cast<QMenuBar *>(owner))
        area = bar->actionGeometry(m_entry);
    return owner && area.isValid() ? area.translated(owner->mapToGlobal(QPoint(0, 0))) : QRect();
}

QAccessible::Role MenuEntryAccessible::role() const
{
    return m_entry && m_entry->isSeparator() ? QAccessible::Separator : QAccessible::MenuItem;
}

QAccessible::State MenuEntryAccessible::state() const
{
    QAccessible::State state;
    QWidget *owner = OwnerOf(m_entry);
    if (!m_entry || !owner)
        return state;
    state.invisible = !owner->isVisible() || !m_entry->isVisible();
    state.disabled = !m_entry->isEnabled();
    state.focusable = !state.disabled;
    state.checkable = m_entry->isCheckable();
    state.checked = m_entry->isChecked();
    state.hasPopup = m_entry->menu() != nullptr;
    const QAction *active = nullptr;
    if (auto *menu = qobject_cast<QMenu *>(owner))
        active = menu->activeAction();
    else if (auto *bar = qobject_cast<QMenuBar *>(owner))
        active = bar->activeAction();
    state.focused = state.hotTracked = active == m_entry;
    return state;
}

void *MenuEntryAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this)
                                                : nullptr;
}

QStringList MenuEntryAccessible::actionNames() const
{
    if (!m_entry || !m_entry->isEnabled() || m_entry->isSeparator())
        return {};
    return {m_entry->menu() ? showMenuAction() : pressAction()};
}

// As a click does: an entry runs its action, a title opens its menu.
void MenuEntryAccessible::doAction(const QString &actionName)
{
    if (!actionNames().contains(actionName))
        return;
    QWidget *owner = OwnerOf(m_entry);
    if (actionName == pressAction())
        m_entry->trigger();
    else if (auto *bar = qobject_cast<QMenuBar *>(owner))
        bar->setActiveAction(m_entry);
    else if (auto *menu = qobject_cast<QMenu *>(owner))
        menu->setActiveAction(m_entry);
}

QStringList MenuEntryAccessible::keyBindingsForAction(const QString &) const
{
    const QString key = text(QAccessible::Accelerator);
    return key.isEmpty() ? QStringList() : QStringList{key};
}
