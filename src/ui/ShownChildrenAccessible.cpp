#include "ShownChildrenAccessible.h"

#include "i18n/SpokenText.h"
#include "ui/Accessibility.h"

#include <QFocusFrame>
#include <QGroupBox>
#include <QMenu>

ShownChildrenAccessible::ShownChildrenAccessible(QWidget *widget, QAccessible::Role role)
    : QAccessibleWidget(widget, role)
{}

// Windows and popup menus are reached on their own, not as children; a
// picture that only decorates is not reached at all.
QList<QWidget *> ShownChildrenAccessible::shownChildren() const
{
    QList<QWidget *> shown;
    for (QObject *object : widget()->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (child && !child->isWindow() && !child->isHidden() && !qobject_cast<QMenu *>(child)
            && !qobject_cast<QFocusFrame *>(child) && !Accessibility::IsDecorative(child))
            shown.append(child);
    }
    return shown;
}

int ShownChildrenAccessible::childCount() const
{
    return int(shownChildren().size());
}

QAccessibleInterface *ShownChildrenAccessible::child(int index) const
{
    const QList<QWidget *> shown = shownChildren();
    return index >= 0 && index < shown.size()
                   ? QAccessible::queryAccessibleInterface(shown.at(index))
                   : nullptr;
}

int ShownChildrenAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    return int(shownChildren().indexOf(qobject_cast<QWidget *>(child->object())));
}

QString ShownChildrenAccessible::text(QAccessible::Text t) const
{
    const auto *group = qobject_cast<const QGroupBox *>(widget());
    if (t == QAccessible::Name && group && widget()->accessibleName().isEmpty())
        return SpokenText(group->title());
    return QAccessibleWidget::text(t);
}

QList<QPair<QAccessibleInterface *, QAccessible::Relation>> ShownChildrenAccessible::relations(
        QAccessible::Relation match) const
{
    auto related = QAccessibleWidget::relations(match);
    const auto *group = qobject_cast<const QGroupBox *>(widget());
    if (!group || group->title().isEmpty() || !(match & QAccessible::Labelled))
        return related;
    for (QWidget *child : shownChildren()) {
        if (QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(child))
            related.append({iface, QAccessible::Labelled});
    }
    return related;
}
