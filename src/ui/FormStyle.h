#pragma once

#include <QColor>
#include <QMargins>
#include <QSize>

class QLabel;
class QWidget;

// The look shared by the language window and the welcome window, and the
// rules that keep every window on its screen.
namespace FormStyle {
inline const QColor Background(0xF5, 0xF4, 0xEB);
inline const QColor TitleColour(0x05, 0x64, 0xD8);
inline const QColor ButtonColour(0x00, 0x00, 0x80); // navy

// Fills the window with the background colour.
void SetBackground(QWidget *window);

// The large "Quillon" at the top of a window: bold serif in the title colour.
void SetTitleStyle(QLabel *title);

// The frame the window system puts around the window: the real one once the
// window is framed, before that a generous guess (a title bar and borders).
QMargins FrameMargins(const QWidget *window);

// The largest size of the window's client area for which the window, frame
// included, fits into the available area of its screen (the screen less its
// task bars and panels).
QSize ClientRoom(const QWidget *window);

// Gives the window the size its layout asks for, at least minimum, but no
// more than ClientRoom() unless its layout cannot be squeezed further, and
// keeps it there: these windows are not resizable.
void FixSize(QWidget *window, int minimumWidth, int minimumHeight);

// From now on every window shows where its focus is, from its first moment,
// whether the focus came by key, by click or by the program, in the
// application's style wrapped in FocusStyle. Each window calls it; the first
// call does it.
void ShowFocusAlways();

// Narrows the spacing and margins of every layout of root, for a window
// that does not fit its screen with them.
void Compact(QWidget *root);

// Moves the window to the middle of the screen it is on, keeping its frame,
// and above all its title bar, inside the screen's available area.
void CentreOnScreen(QWidget *window);
} // namespace FormStyle
