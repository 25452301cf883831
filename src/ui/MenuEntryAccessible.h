#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QPointer>

class QAction;
class QWidget;

// A menu entry or a menu bar title as assistive technology sees it: named
// by its caption as a screen reader should say it ("Close", not "&Close
// Alt+F4" with the blanks that line up its shortcut), with the shortcut as
// its accelerator. Qt's own entries read the caption as it is drawn.
class MenuEntryAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    // entry: an action shown in a QMenu or a QMenuBar.
    explicit MenuEntryAccessible(QAction *entry);

    // The menu or menu bar that shows the action, or null.
    static QWidget *OwnerOf(const QAction *entry);

    bool isValid() const override;
    QObject *object() const override;
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

private:
    QPointer<QAction> m_entry;
};
