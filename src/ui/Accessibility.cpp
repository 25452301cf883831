#include "Accessibility.h"

#include "i18n/SpokenText.h"
#include "ui/ItemTreeAccessible.h"
#include "ui/LinkAccessible.h"
#include "ui/MenuEntryAccessible.h"
#include "ui/ShownChildrenAccessible.h"

#include <QAction>
#include <QLabel>
#include <QTreeWidget>

namespace {

const char *const DecorativeProperty = "quillonDecorative";

// Qt asks every factory for each class of an object, most derived first, and
// the last factory installed first; a null answer lets Qt's own decide.
QAccessibleInterface *quillonInterfaces(const QString &className, QObject *object)
{
    if (className == QLatin1String("QAction")) {
        auto *entry = qobject_cast<QAction *>(object);
        return MenuEntryAccessible::OwnerOf(entry) ? new MenuEntryAccessible(entry) : nullptr;
    }
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (className == QLatin1String("QLabel"))
        return LinkAccessible::IsLink(object) ? new LinkAccessible(widget) : nullptr;
    if (className == QLatin1String("QTreeWidget"))
        return new ItemTreeAccessible(static_cast<QTreeWidget *>(widget));
    if (className == QLatin1String("QGroupBox"))
        return new ShownChildrenAccessible(widget, QAccessible::Grouping);
    if (className == QLatin1String("QStackedWidget"))
        return new ShownChildrenAccessible(widget, QAccessible::LayeredPane);
    if (className == QLatin1String("QDialog"))
        return new ShownChildrenAccessible(widget, QAccessible::Dialog);
    if (className == QLatin1String("QWidget") || className == QLatin1String("QFrame"))
        return new ShownChildrenAccessible(widget, widget->isWindow() ? QAccessible::Window
                                                                      : QAccessible::Client);
    return nullptr;
}

} // namespace

namespace Accessibility {

void Install()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(quillonInterfaces);
}

void SetName(QWidget *widget, const QString &caption)
{
    widget->setAccessibleName(SpokenText(caption));
}

void SetDescription(QWidget *widget, const QString &text)
{
    widget->setAccessibleDescription(SpokenText(text));
}

void MarkDecorative(QWidget *picture)
{
    picture->setProperty(DecorativeProperty, true);
}

bool IsDecorative(const QWidget *widget)
{
    return widget->property(DecorativeProperty).toBool();
}

void TieLabel(QLabel *label, QWidget *field)
{
    label->setBuddy(field);
    SetName(field, label->text());
}

} // namespace Accessibility
