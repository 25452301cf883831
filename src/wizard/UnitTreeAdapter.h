#pragma once

#include <QIcon>
#include <QList>
#include <QObject>

#include <array>

class QKeyEvent;
class QMouseEvent;
class QTreeWidget;
class QTreeWidgetItem;
class UnitTree;

// Shows a UnitTree in one of the wizard's tree views (tvSelectUnit,
// tvSelectUnit2, tvSelectUnit3) with the check pictures of imglstCheckBox,
// and applies the tree's click rule when a node's label or picture is
// pressed with any mouse button, or when Space is pressed on the focused
// node. The view is read only.
class UnitTreeAdapter : public QObject
{
    Q_OBJECT
public:
    // images: unchecked, checked, partly checked. The view and the tree must
    // outlive the adapter.
    UnitTreeAdapter(QTreeWidget *view, UnitTree *tree, const std::array<QIcon, 3> &images,
                    QObject *parent = nullptr);

    // Fills the view from the tree, replacing what it showed; the root is expanded.
    void populate();
    // Gives every item the picture of its node's current image.
    void refreshImages();

    // The view's item of a node (by the tree's pre-order index), or null.
    QTreeWidgetItem *item(int index) const;

signals:
    // A press changed the check images.
    void checksChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void tvSelectUnitMouseDown(QMouseEvent *event);
    bool tvSelectUnitKeyDown(const QKeyEvent *event);
    bool isOnLabelOrImage(QTreeWidgetItem *item, const QPoint &pos) const;

    QTreeWidget *m_view;
    QObject *m_viewport; // only compared, never called
    UnitTree *m_tree;
    std::array<QIcon, 3> m_images;    // imglstCheckBox
    QList<QTreeWidgetItem *> m_items; // by node index
};
