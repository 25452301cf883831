#include "TreeRowAccessible.h"

#include "ui/ItemTreeAccessible.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTreeWidget>

void TreeRowAccessible::SetCheckState(QTreeWidgetItem *item, Qt::CheckState state)
{
    const QVariant before = item->data(0, CheckRole);
    if (before.isValid() && before.toInt() == state)
        return;
    item->setData(0, CheckRole, int(state));
    QTreeWidget *view = item->treeWidget();
    if (!before.isValid() || !view || !QAccessible::isActive())
        return;
    const auto *tree
            = dynamic_cast<ItemTreeAccessible *>(QAccessible::queryAccessibleInterface(view));
    if (!tree)
        return;
    QAccessible::State changed;
    changed.checked = true;
    changed.checkStateMixed = true;
    QAccessibleStateChangeEvent event(tree->rowOf(item), changed);
    QAccessible::updateAccessibility(&event);
}

TreeRowAccessible::TreeRowAccessible(QTreeWidget *view, const QModelIndex &index)
    : m_view(view), m_index(index)
{}

bool TreeRowAccessible::isValid() const
{
    return m_view && m_index.isValid();
}

QTreeWidgetItem *TreeRowAccessible::item() const
{
    return isValid() ? m_view->itemFromIndex(m_index) : nullptr;
}

bool TreeRowAccessible::isCheckable() const
{
    return isValid() && m_index.data(CheckRole).isValid();
}

QWindow *TreeRowAccessible::window() const
{
    return m_view ? m_view->window()->windowHandle() : nullptr;
}

QAccessibleInterface *TreeRowAccessible::parent() const
{
    return QAccessible::queryAccessibleInterface(m_view);
}

QString TreeRowAccessible::text(QAccessible::Text t) const
{
    if (!isValid())
        return {};
    auto either = [this](int role, int fallback) {
        const QString text = m_index.data(role).toString();
        return text.isEmpty() ? m_index.data(fallback).toString() : text;
    };
    switch (t) {
    case QAccessible::Name:
        return either(Qt::AccessibleTextRole, Qt::DisplayRole);
    case QAccessible::Description:
        return either(Qt::AccessibleDescriptionRole, Qt::ToolTipRole);
    default:
        return {};
    }
}

QRect TreeRowAccessible::rect() const
{
    if (!isValid())
        return {};
    const QRect area = m_view->visualRect(m_index);
    return area.translated(m_view->viewport()->mapToGlobal(QPoint(0, 0)));
}

QAccessible::State TreeRowAccessible::state() const
{
    QAccessible::State state;
    QTreeWidgetItem *row = item();
    if (!row)
        return state;
    state.focusable = state.selectable = true;
    state.focused = m_view->currentItem() == row && m_view->hasFocus();
    state.selected = row->isSelected();
    state.disabled = !m_view->isEnabled() || row->isDisabled();
    state.offscreen = !m_view->viewport()->rect().intersects(m_view->visualRect(m_index));
    // Only a row that holds rows can be expanded; a leaf is neither.
    state.expandable = row->childCount() > 0;
    state.expanded = state.expandable && row->isExpanded();
    if (isCheckable()) {
        const int check = m_index.data(CheckRole).toInt();
        state.checkable = true;
        state.checked = check == Qt::Checked;
        state.checkStateMixed = check == Qt::PartiallyChecked;
    }
    return state;
}

void *TreeRowAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this)
                                                : nullptr;
}

QStringList TreeRowAccessible::actionNames() const
{
    if (!isValid() || !m_view->isEnabled())
        return {};
    return {isCheckable() ? toggleAction() : pressAction()};
}

// The same way a person goes: a checkable row gets Space, which the view's
// owner handles; any other row a click.
void TreeRowAccessible::doAction(const QString &actionName)
{
    if (!actionNames().contains(actionName))
        return;
    QTreeWidgetItem *row = item();
    m_view->setCurrentItem(row);
    if (actionName == pressAction()) {
        emit m_view->itemClicked(row, 0);
        return;
    }
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(m_view, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(m_view, &release);
}

QStringList TreeRowAccessible::keyBindingsForAction(const QString &actionName) const
{
    if (actionName == toggleAction())
        return {QStringLiteral("Space")};
    return {};
}
