#include "FolderListView.h"

#include "selection/LocationRules.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>

namespace {

// The folders from the root down to `folder`, both included.
QStringList chainTo(const QString &folder)
{
    QStringList chain;
    QDir dir(folder);
    do {
        chain.prepend(dir.absolutePath());
    } while (dir.cdUp());
    return chain;
}

} // namespace

FolderListView::FolderListView(QWidget *parent) : AccessibleTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemClicked, this, &FolderListView::DirectoryListBoxClick);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current) {
        if (current)
            emit highlightChanged(folderOf(current));
    });
}

void FolderListView::keyPressEvent(QKeyEvent *event)
{
    const bool enter = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
                       && event->modifiers() == Qt::NoModifier;
    const bool menu = (event->key() == Qt::Key_Menu && event->modifiers() == Qt::NoModifier)
                      || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    QTreeWidgetItem *item = currentItem();
    if (enter && item && folderOf(item) != m_directory) {
        setDirectory(folderOf(item));
        return;
    }
    if (menu && item) {
        // Where the right button would have been pressed: on the highlight.
        emit customContextMenuRequested(visualItemRect(item).center());
        return;
    }
    if (enter) {
        event->ignore(); // for the dialog's default button
        return;
    }
    AccessibleTreeWidget::keyPressEvent(event);
}

void FolderListView::setDirectory(const QString &folder)
{
    const QString path = LocationRules::NearestExistingFolder(folder);
    if (path.isEmpty())
        return;
    const bool changed = path != m_directory;
    m_directory = path;
    refresh();
    if (changed)
        emit directoryChanged(m_directory);
}

void FolderListView::refresh()
{
    clear();
    if (m_directory.isEmpty())
        return;
    QTreeWidgetItem *open = nullptr;
    for (const QString &folder : chainTo(m_directory))
        open = addItem(open, folder, true);
    const QFileInfoList subfolders
            = QDir(m_directory)
                      .entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot,
                                     QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    for (const QFileInfo &subfolder : subfolders)
        addItem(open, subfolder.absoluteFilePath(), false);
    expandAll();
    setCurrentItem(open);
    scrollToItem(open);
}

QTreeWidgetItem *FolderListView::addItem(QTreeWidgetItem *parent, const QString &folder, bool open)
{
    auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    const QString name = QFileInfo(folder).fileName();
    item->setText(0, name.isEmpty() ? QDir::toNativeSeparators(folder) : name);
    item->setData(0, Qt::UserRole, folder);
    // Screen readers say the whole path after the name: a row named "/" or
    // "Bin" alone leaves open where it is.
    item->setData(0, Qt::AccessibleDescriptionRole, QDir::toNativeSeparators(folder));
    item->setIcon(0,
                  style()->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon));
    return item;
}

QString FolderListView::folderOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

QTreeWidgetItem *FolderListView::itemOf(const QString &folder) const
{
    for (QTreeWidgetItemIterator it(const_cast<FolderListView *>(this)); *it; ++it) {
        if (folderOf(*it) == folder)
            return *it;
    }
    return nullptr;
}

void FolderListView::DirectoryListBoxClick(QTreeWidgetItem *item)
{
    const QString folder = folderOf(item);
    if (!folder.isEmpty())
        setDirectory(folder);
}
