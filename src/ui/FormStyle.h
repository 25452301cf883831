#pragma once

#include <QColor>

class QLabel;
class QWidget;

// The look shared by the language window and the welcome window.
namespace FormStyle {
inline const QColor Background(0xF5, 0xF4, 0xEB);
inline const QColor TitleColour(0x05, 0x64, 0xD8);
inline const QColor ButtonColour(0x00, 0x00, 0x80); // navy

// Fills the window with the background colour.
void SetBackground(QWidget *window);

// The large "Quillon" at the top of a window: bold serif in the title colour.
void SetTitleStyle(QLabel *title);

// Gives the window the size its layout asks for, at least minimum, and keeps
// it there: these windows are not resizable.
void FixSize(QWidget *window, int minimumWidth, int minimumHeight);

// Moves the window to the middle of the screen it is on.
void CentreOnScreen(QWidget *window);
} // namespace FormStyle
