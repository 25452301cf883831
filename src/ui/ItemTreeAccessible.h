#pragma once

#include <QAccessibleWidget>
#include <QHash>

class QTreeWidget;
class QTreeWidgetItem;
class TreeRowAccessible;

// A tree widget as assistive technology sees it: its rows in the order they
// are shown (a collapsed branch's rows are not there, nor the hidden header),
// each a TreeRowAccessible. Qt's own rows lack the partly checked state of a
// unit tree, whose check marks are pictures, and call every row it shows
// expanded, leaves too.
class ItemTreeAccessible : public QAccessibleWidget
{
public:
    explicit ItemTreeAccessible(QTreeWidget *view);
    ~ItemTreeAccessible() override;

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;

    // The interface of an item's row, made when first asked for.
    TreeRowAccessible *rowOf(QTreeWidgetItem *item) const;

private:
    QTreeWidget *view() const;
    QList<QTreeWidgetItem *> shownRows() const;

    mutable QHash<QTreeWidgetItem *, QAccessible::Id> m_rows;
};
