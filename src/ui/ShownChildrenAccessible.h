#pragma once

#include <QAccessibleWidget>

// What assistive technology sees of a container (a window, a page, a group
// box, the stack of wizard pages): the children a user can see. Qt's own
// interfaces also list the children hidden on purpose (the wizard's unused
// labels, the location dialog's spare OK/Cancel pair, the pages not shown),
// which screen readers then offer as if they were there. Pictures marked
// decorative are left out too.
class ShownChildrenAccessible : public QAccessibleWidget
{
public:
    ShownChildrenAccessible(QWidget *widget, QAccessible::Role role);

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

    // A group box is named by its title and labels what it holds, as Qt's own does.
    QString text(QAccessible::Text t) const override;
    QList<QPair<QAccessibleInterface *, QAccessible::Relation>> relations(
            QAccessible::Relation match = QAccessible::AllRelations) const override;

private:
    QList<QWidget *> shownChildren() const;
};
