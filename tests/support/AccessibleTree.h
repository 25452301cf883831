#pragma once

#include <QAccessible>
#include <QList>
#include <QString>
#include <QStringList>

// The accessibility tree of a window as assistive technology reads it through
// Qt's QAccessible interfaces: one entry per node, depth first.
namespace AccessibleTree {

// What one node says, read when the tree is collected: the interfaces go
// with their window.
struct Node
{
    QString path;                          // the names of the ancestors and this node's, by " > "
    QStringList objectPath;                // the object names of the ancestors and this node's
    QAccessibleInterface *iface = nullptr; // valid while the window is
    QAccessible::Role role = QAccessible::NoRole;
    QAccessible::Role parentRole = QAccessible::NoRole;
    QString name;
    QString description;
    QString value;
    QAccessible::State state;
    QString objectName;    // of the node's object, or of its view for an item
    QString relations;     // relation:name of each related node
    bool labelled = false; // another node is its label
};

inline QString describe(const Node &node)
{
    QStringList states;
    const QAccessible::State &s = node.state;
    if (s.invisible)
        states << "invisible";
    if (s.focusable)
        states << "focusable";
    if (s.focused)
        states << "focused";
    if (s.checkable)
        states << "checkable";
    if (s.checked)
        states << "checked";
    if (s.checkStateMixed)
        states << "mixed";
    if (s.expandable)
        states << "expandable";
    if (s.expanded)
        states << "expanded";
    if (s.disabled)
        states << "disabled";
    return QStringLiteral("%1 [%2] role %3 \"%4\" (%5) {%6} %7")
            .arg(node.path, node.objectName)
            .arg(int(node.role))
            .arg(node.name, node.description, states.join(u','), node.relations);
}

inline void collect(QAccessibleInterface *iface, const Node *parent, QList<Node> *nodes,
                    int depth = 0)
{
    if (!iface || !iface->isValid() || depth > 40)
        return;
    Node node;
    node.iface = iface;
    node.role = iface->role();
    node.name = iface->text(QAccessible::Name);
    node.description = iface->text(QAccessible::Description);
    node.value = iface->text(QAccessible::Value);
    node.state = iface->state();
    QStringList relations;
    for (const auto &[other, relation] : iface->relations()) {
        relations << QStringLiteral("%1:%2").arg(int(relation)).arg(other->text(QAccessible::Name));
        node.labelled = node.labelled || relation == QAccessible::Label;
    }
    node.relations = relations.join(u';');
    if (QObject *object = iface->object())
        node.objectName = object->objectName();
    else if (QAccessibleInterface *parent = iface->parent(); parent && parent->object())
        node.objectName = parent->object()->objectName();
    node.path = parent ? parent->path + QStringLiteral(" > ") + node.name : node.name;
    node.objectPath = parent ? parent->objectPath : QStringList();
    node.objectPath << node.objectName;
    node.parentRole = parent ? parent->role : QAccessible::NoRole;
    nodes->append(node);
    const Node self = node;
    const int count = iface->childCount();
    for (int i = 0; i < count; ++i)
        collect(iface->child(i), &self, nodes, depth + 1);
}

inline QList<Node> of(QObject *window)
{
    QList<Node> nodes;
    collect(QAccessible::queryAccessibleInterface(window), nullptr, &nodes);
    return nodes;
}

} // namespace AccessibleTree
