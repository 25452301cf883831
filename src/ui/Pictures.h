#pragma once

#include <QString>

// The pictures compiled into the program. Readme pictures are not among them:
// they are files beside the program ("readme_k.bmp", "readme_e.bmp").
namespace Pictures {
inline const QString Banner = QStringLiteral(":/pictures/banner.png");     // 473 x 83
inline const QString Next = QStringLiteral(":/pictures/next.png");         // 16 x 16
inline const QString Question = QStringLiteral(":/pictures/question.png"); // 36 x 36
inline const QString CheckUnchecked = QStringLiteral(":/pictures/check_unchecked.png");
inline const QString CheckChecked = QStringLiteral(":/pictures/check_checked.png");
inline const QString CheckPartial = QStringLiteral(":/pictures/check_partial.png");

// The unit tree's check image of an index: 0 unchecked, 1 checked, 2 partly
// checked; any other index gives the unchecked image.
QString CheckImage(int index);
} // namespace Pictures

// Registers the compiled pictures. The program and every test that shows a
// window call it once before a picture is used: the pictures live in a static
// library, whose unreferenced resources the linker would otherwise drop.
// Calling it again does nothing.
void InitPictures();
