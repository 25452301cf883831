#pragma once

#include <QColor>

// The colours the installer's windows and pictures share.
namespace PictureColours {
inline const QColor Window(0xF5, 0xF4, 0xEB); // the windows' background
inline const QColor Blue(0x05, 0x64, 0xD8);   // the name "Quillon" on the windows
inline const QColor DeepBlue(0x0A, 0x3E, 0x8C);
inline const QColor Navy(0x0B, 0x2E, 0x59); // the language buttons' text
inline const QColor Text(0x33, 0x33, 0x33);
inline const QColor Grey(0x6B, 0x72, 0x80);
inline const QColor NoteFill(0xFF, 0xF4, 0xD6);
inline const QColor NoteBorder(0xE0, 0xB2, 0x3A);
} // namespace PictureColours
