#pragma once

#include <QProxyStyle>

// The platform's style with the focus always in sight: a focused push button
// wears a dotted frame inside its edge, so that it shows even where it is
// also the default button (which the styles mark alike), and Alt alone takes
// the keyboard to the menu bar, marking its first entry, on every platform
// as on Windows.
class FocusStyle : public QProxyStyle
{
public:
    // Wraps a new instance of the style the application has now.
    FocusStyle();

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
};
