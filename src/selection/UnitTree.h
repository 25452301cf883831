#pragma once

#include "selection/DataKind.h"

#include <QList>
#include <QString>

// Check images of a unit tree node.
enum UnitImage : int { UnitUnchecked = 0, UnitChecked = 1, UnitPartlyChecked = 2 };

struct UnitNode
{
    QString text;   // the folder name shown, or "Top"/"Bottom"
    QString folder; // the unit's full folder path in Qt form; empty for "Top"/"Bottom"
    int image = UnitChecked;
    int parent = -1; // -1 for the root
    QList<int> children;
};

// One kind's unit tree, the model behind tvSelectUnit, tvSelectUnit2 and
// tvSelectUnit3. Node indices are the tree's pre-order (a node, then its
// descendants, then its next sibling), as a tree view's absolute index.
class UnitTree
{
public:
    // Builds the tree of a kind from its source folder: the root (folder name),
    // one node per unit folder below it, and for STI their subfolders, for STY
    // their subfolders under the categories "Top" and "Bottom" ("Pants" and
    // "Skirt" go to "Bottom"). Every node starts checked. Names beginning with
    // ".", hidden folders and links are left out. Returns false, with the tree
    // empty, when the source folder is missing.
    [[nodiscard]] bool build(DataKind kind, const QString &sourceFolder, const QString &folderName);
    void clear();

    bool isEmpty() const { return m_nodes.isEmpty(); }
    int nodeCount() const { return int(m_nodes.size()); }
    const UnitNode &node(int index) const { return m_nodes.at(index); }
    // Why build() failed, naming the folder in native form.
    QString errorString() const { return m_error; }

    // The index just past the node's subtree: its next sibling, or the node
    // after its deepest last descendant (nodeCount() at the end).
    int subtreeEnd(int index) const;

    // A click on a node: it becomes checked unless it was checked, its
    // descendants follow it, and its ancestors are worked out again.
    void click(int index);
    // Gives the node and its descendants the check state, then works out its ancestors.
    void setChecked(int index, bool checked);
    void setAllChecked(bool checked);

    // Some node has image 1.
    bool hasCheckedUnit() const;

    // The node of a unit folder named relative to the root's folder ("Unit/Pants",
    // "/" or "\" between names); -1 when there is none.
    int findByFolder(const QString &relativePath) const;

private:
    void setImage(int index, int image);
    void updateAncestors(int index);

    QList<UnitNode> m_nodes;
    QString m_error;
};
