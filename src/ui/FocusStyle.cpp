#include "FocusStyle.h"

#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QStyleOptionMenuItem>

FocusStyle::FocusStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

int FocusStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                          QStyleHintReturn *returnData) const
{
    if (hint == SH_MenuBar_AltKeyNavigation)
        return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void FocusStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                             const QWidget *widget) const
{
    // A menu bar entry reached by Alt or the arrows is drawn as a pressed one,
    // which every style marks (some mark a merely selected one not at all).
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (element == CE_MenuBarItem && item && (item->state & State_Selected)) {
        QStyleOptionMenuItem pressed = *item;
        pressed.state |= State_Sunken;
        return QProxyStyle::drawControl(element, &pressed, painter, widget);
    }
    QProxyStyle::drawControl(element, option, painter, widget);
    const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option);
    if (element != CE_PushButton || !button || !(button->state & State_HasFocus))
        return;
    const QRect inside = option->rect.adjusted(4, 4, -5, -5);
    painter->save();
    painter->setPen(QPen(option->palette.color(QPalette::ButtonText), 1, Qt::DotLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(inside);
    painter->restore();
}
