#include "UnitTreeAdapter.h"

#include "selection/UnitTree.h"
#include "ui/TreeRowAccessible.h"

#include <QAbstractItemDelegate>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTreeWidget>

UnitTreeAdapter::UnitTreeAdapter(QTreeWidget *view, UnitTree *tree,
                                 const std::array<QIcon, 3> &images, QObject *parent)
    : QObject(parent), m_view(view), m_viewport(view->viewport()), m_tree(tree), m_images(images)
{
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setHeaderHidden(true);
    m_view->setColumnCount(1);
    m_viewport->installEventFilter(this);
    m_view->installEventFilter(this);
}

void UnitTreeAdapter::populate()
{
    m_view->clear();
    m_items.clear();
    for (int i = 0; i < m_tree->nodeCount(); ++i) {
        const UnitNode &node = m_tree->node(i);
        auto *item = node.parent < 0 ? new QTreeWidgetItem(m_view)
                                     : new QTreeWidgetItem(m_items.at(node.parent));
        item->setText(0, node.text);
        if (!node.folder.isEmpty())
            item->setToolTip(0, QDir::toNativeSeparators(node.folder));
        m_items.append(item);
    }
    if (!m_items.isEmpty())
        m_items.first()->setExpanded(true);
    refreshImages();
}

void UnitTreeAdapter::refreshImages()
{
    for (int i = 0; i < m_items.size() && i < m_tree->nodeCount(); ++i) {
        const int image = m_tree->node(i).image;
        if (image >= 0 && image < int(m_images.size()))
            m_items.at(i)->setIcon(0, m_images[image]);
        // The pictures are the check marks; screen readers get them as states.
        static constexpr Qt::CheckState States[]
                = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
        if (image >= 0 && image < 3)
            TreeRowAccessible::SetCheckState(m_items.at(i), States[image]);
    }
}

QTreeWidgetItem *UnitTreeAdapter::item(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items.at(index) : nullptr;
}

bool UnitTreeAdapter::eventFilter(QObject *watched, QEvent *event)
{
    // The viewport is compared by the pointer kept at the start: while the
    // view is being destroyed it no longer answers viewport().
    // A double click's second press arrives as a double-click event: each press counts.
    // The stored viewport is compared, since the view may be half destroyed when its
    // viewport's last events arrive.
    if (watched == m_viewport
        && (event->type() == QEvent::MouseButtonPress
            || event->type() == QEvent::MouseButtonDblClick))
        tvSelectUnitMouseDown(static_cast<QMouseEvent *>(event));
    if (watched == m_view && event->type() == QEvent::KeyPress)
        return tvSelectUnitKeyDown(static_cast<QKeyEvent *>(event));
    return QObject::eventFilter(watched, event);
}

// Space on the focused node is a click on it, so units can be chosen without
// a mouse. The view's own use of Space (selecting) is not wanted here.
bool UnitTreeAdapter::tvSelectUnitKeyDown(const QKeyEvent *event)
{
    if (event->key() != Qt::Key_Space || event->modifiers() != Qt::NoModifier)
        return false;
    const int index = int(m_items.indexOf(m_view->currentItem()));
    if (index >= 0) {
        m_tree->click(index);
        refreshImages();
        emit checksChanged();
    }
    return true;
}

void UnitTreeAdapter::tvSelectUnitMouseDown(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    QTreeWidgetItem *hit = m_view->itemAt(pos);
    const int index = int(m_items.indexOf(hit));
    if (index < 0 || !isOnLabelOrImage(hit, pos))
        return;
    m_tree->click(index);
    refreshImages();
    emit checksChanged();
}

// The item's cell starts after the indentation and the expand button; of it
// only the picture and the text count, not the empty space after them.
bool UnitTreeAdapter::isOnLabelOrImage(QTreeWidgetItem *item, const QPoint &pos) const
{
    const QModelIndex index = m_view->indexFromItem(item);
    const QRect cell = m_view->visualRect(index);
    QStyleOptionViewItem option;
    option.initFrom(m_view);
    const int iconExtent = m_view->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, m_view);
    option.decorationSize
            = m_view->iconSize().isValid() ? m_view->iconSize() : QSize(iconExtent, iconExtent);
    option.font = m_view->font();
    const QSize content = m_view->itemDelegateForIndex(index)->sizeHint(option, index);
    QRect used = cell;
    if (m_view->layoutDirection() == Qt::RightToLeft)
        used.setLeft(cell.right() - content.width() + 1);
    else
        used.setWidth(qMin(content.width(), cell.width()));
    return used.contains(pos);
}
