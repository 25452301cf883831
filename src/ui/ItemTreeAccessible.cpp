#include "ItemTreeAccessible.h"

#include "ui/TreeRowAccessible.h"

#include <QTreeWidget>

namespace {

void addShown(QTreeWidgetItem *item, QList<QTreeWidgetItem *> *rows)
{
    if (item->isHidden())
        return;
    rows->append(item);
    if (!item->isExpanded())
        return;
    for (int i = 0; i < item->childCount(); ++i)
        addShown(item->child(i), rows);
}

} // namespace

ItemTreeAccessible::ItemTreeAccessible(QTreeWidget *view)
    : QAccessibleWidget(view, QAccessible::Tree)
{}

ItemTreeAccessible::~ItemTreeAccessible()
{
    for (const QAccessible::Id id : std::as_const(m_rows))
        QAccessible::deleteAccessibleInterface(id);
}

QTreeWidget *ItemTreeAccessible::view() const
{
    return static_cast<QTreeWidget *>(widget());
}

// In the order of the view's own rows, so that the row numbers the view
// sends with its focus events name the same rows.
QList<QTreeWidgetItem *> ItemTreeAccessible::shownRows() const
{
    QList<QTreeWidgetItem *> rows;
    for (int i = 0; i < view()->topLevelItemCount(); ++i)
        addShown(view()->topLevelItem(i), &rows);
    return rows;
}

int ItemTreeAccessible::childCount() const
{
    return int(shownRows().size());
}

QAccessibleInterface *ItemTreeAccessible::child(int index) const
{
    const QList<QTreeWidgetItem *> rows = shownRows();
    return index >= 0 && index < rows.size() ? rowOf(rows.at(index)) : nullptr;
}

int ItemTreeAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *row = dynamic_cast<const TreeRowAccessible *>(child);
    if (!row || !row->isValid())
        return -1;
    return int(shownRows().indexOf(view()->itemFromIndex(row->index())));
}

QAccessibleInterface *ItemTreeAccessible::childAt(int x, int y) const
{
    const QPoint inView = view()->viewport()->mapFromGlobal(QPoint(x, y));
    QTreeWidgetItem *item = view()->itemAt(inView);
    return item ? rowOf(item) : nullptr;
}

// An item that went away may leave its address to a new one; a row that no
// longer stands for the item it is asked for is made anew.
TreeRowAccessible *ItemTreeAccessible::rowOf(QTreeWidgetItem *item) const
{
    if (!item)
        return nullptr;
    const QModelIndex index = view()->indexFromItem(item);
    if (const QAccessible::Id id = m_rows.value(item)) {
        auto *row = static_cast<TreeRowAccessible *>(QAccessible::accessibleInterface(id));
        if (row && row->index() == index)
            return row;
        QAccessible::deleteAccessibleInterface(id);
    }
    auto *row = new TreeRowAccessible(view(), index);
    m_rows.insert(item, QAccessible::registerAccessibleInterface(row));
    return row;
}
