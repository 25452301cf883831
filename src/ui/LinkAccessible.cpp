#include "LinkAccessible.h"

#include <QLabel>

namespace {

const QString OpenerName = QStringLiteral("quillonLinkOpener");

// What a link's action does, kept as a child of its label.
class LinkOpener : public QObject
{
public:
    LinkOpener(QLabel *label, std::function<void()> open) : QObject(label), open(std::move(open))
    {
        setObjectName(OpenerName);
    }
    std::function<void()> open;
};

// Found by name: without a meta-object of its own, a search by type would
// take any child.
LinkOpener *openerOf(const QObject *object)
{
    if (!object)
        return nullptr;
    return dynamic_cast<LinkOpener *>(
            object->findChild<QObject *>(OpenerName, Qt::FindDirectChildrenOnly));
}

} // namespace

void LinkAccessible::Attach(QLabel *label, std::function<void()> open)
{
    delete openerOf(label);
    new LinkOpener(label, std::move(open));
    // An interface Qt made for the label before it was a link goes, so that
    // the next one asked for is a link's.
    QAccessible::deleteAccessibleInterface(
            QAccessible::uniqueId(QAccessible::queryAccessibleInterface(label)));
}

bool LinkAccessible::IsLink(const QObject *object)
{
    return qobject_cast<const QLabel *>(object) && openerOf(object);
}

LinkAccessible::LinkAccessible(QWidget *label) : QAccessibleWidget(label, QAccessible::Link) {}

QAccessible::State LinkAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.linked = true;
    return state;
}

QStringList LinkAccessible::actionNames() const
{
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
}

void LinkAccessible::doAction(const QString &actionName)
{
    if (actionName != pressAction())
        return QAccessibleWidget::doAction(actionName);
    if (LinkOpener *opener = openerOf(object()); opener && widget()->isEnabled())
        opener->open();
}

QStringList LinkAccessible::keyBindingsForAction(const QString &actionName) const
{
    if (actionName == pressAction())
        return {QStringLiteral("Return"), QStringLiteral("Space")};
    return QAccessibleWidget::keyBindingsForAction(actionName);
}
