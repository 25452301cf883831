#pragma once

#include "ui/AccessibleTreeWidget.h"

// The folder list of the install location dialog (DirectoryListBox): the folders from the root
// down to the open folder, then the open folder's subfolders. A click on a
// folder opens it. From the keyboard the arrows move the highlight, Enter
// opens the highlighted folder (Enter on the open folder is left to the
// dialog, whose OK is its default button), and the Menu key or Shift+F10
// asks for the folder menu as the right mouse button does. Folders are in Qt
// form.
class FolderListView : public AccessibleTreeWidget
{
    Q_OBJECT
public:
    explicit FolderListView(QWidget *parent = nullptr);

    // The open folder.
    QString directory() const { return m_directory; }

    // Opens a folder; of a folder that does not exist, its nearest existing
    // parent. directoryChanged() follows when the open folder changes.
    void setDirectory(const QString &folder);

    // Lists the open folder again, e.g. after a subfolder was made or removed.
    void refresh();

    // The folder an item stands for.
    static QString folderOf(const QTreeWidgetItem *item);
    // The item of a folder, or null when the list does not show it.
    QTreeWidgetItem *itemOf(const QString &folder) const;

    // The folder highlighted, which is the open folder until the arrow keys
    // move the highlight.
    QString highlightedFolder() const { return folderOf(currentItem()); }

signals:
    void directoryChanged(const QString &folder);
    // The highlight moved onto a folder.
    void highlightChanged(const QString &folder);

protected:
    void keyPressEvent(QKeyEvent *event) override;

    // Every folder shown is open or a leaf: no expand buttons.
    void drawBranches(QPainter *, const QRect &, const QModelIndex &) const override {}

private:
    void DirectoryListBoxClick(QTreeWidgetItem *item);
    QTreeWidgetItem *addItem(QTreeWidgetItem *parent, const QString &folder, bool open);

    QString m_directory;
};
