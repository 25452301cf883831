#include "AccessibleTreeWidget.h"

#include "ui/ItemTreeAccessible.h"
#include "ui/TreeRowAccessible.h"

#include <QAccessible>

AccessibleTreeWidget::AccessibleTreeWidget(QWidget *parent) : QTreeWidget(parent) {}

// As QTreeView does, but for the event: the rows it names are its own.
void AccessibleTreeWidget::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    for (const QModelIndex &index : {previous, current}) {
        if (index.isValid())
            viewport()->update(visualRect(index));
    }
    if (current.isValid() && hasFocus())
        tell(QAccessible::Focus, current);
    QAbstractItemView::currentChanged(current, previous);
}

void AccessibleTreeWidget::selectionChanged(const QItemSelection &selected,
                                            const QItemSelection &deselected)
{
    QAbstractItemView::selectionChanged(selected, deselected);
    tell(QAccessible::SelectionAdd, selected.indexes().value(0));
    tell(QAccessible::SelectionRemove, deselected.indexes().value(0));
}

void AccessibleTreeWidget::tell(QAccessible::Event type, const QModelIndex &index)
{
    if (!QAccessible::isActive() || !index.isValid())
        return;
    auto *tree = dynamic_cast<ItemTreeAccessible *>(QAccessible::queryAccessibleInterface(this));
    QTreeWidgetItem *item = itemFromIndex(index);
    if (!tree || !item)
        return;
    QAccessibleEvent event(tree->rowOf(item), type);
    QAccessible::updateAccessibility(&event);
}
