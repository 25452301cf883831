#pragma once

#include <QAccessible>
#include <QTreeWidget>

// A tree widget whose focus and selection events name the row that
// ItemTreeAccessible shows. QTreeView counts its header among the rows when
// it tells assistive technology which row took the focus, hidden or not, so
// a screen reader following the focus would hear the row below it.
class AccessibleTreeWidget : public QTreeWidget
{
    Q_OBJECT
public:
    explicit AccessibleTreeWidget(QWidget *parent = nullptr);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void selectionChanged(const QItemSelection &selected,
                          const QItemSelection &deselected) override;

private:
    void tell(QAccessible::Event type, const QModelIndex &index);
};
