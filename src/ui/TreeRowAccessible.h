#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QPersistentModelIndex>
#include <QPointer>

class QTreeWidget;
class QTreeWidgetItem;

// One row of an ItemTreeAccessible. Its name is the item's
// Qt::AccessibleTextRole or else its text, its description the item's
// Qt::AccessibleDescriptionRole or else its tool tip. A row whose item holds
// a check state in CheckRole is checkable, checked or partly checked, and
// its action toggles it as Space does; any other row's action is a click.
class TreeRowAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    // The item data role of a row's Qt::CheckState, for assistive technology
    // alone: the view does not draw it.
    static constexpr int CheckRole = Qt::UserRole + 0x100;

    // Sets an item's check state and tells assistive technology when it changed.
    static void SetCheckState(QTreeWidgetItem *item, Qt::CheckState state);

    TreeRowAccessible(QTreeWidget *view, const QModelIndex &index);

    QModelIndex index() const { return m_index; }

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::TreeItem; }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

private:
    QTreeWidgetItem *item() const;
    bool isCheckable() const;

    QPointer<QTreeWidget> m_view;
    QPersistentModelIndex m_index;
};
