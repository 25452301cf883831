#pragma once

#include <QImage>

class PictureFonts;

// The small pictures of the windows. Each is drawn at its final size; all but
// the banner have a transparent background.
namespace SmallPictures {

// 473 x 83: the language window's banner with the name "Quillon".
QImage banner(const PictureFonts &fonts);
// 16 x 16: the arrow on the welcome window's Next button.
QImage nextGlyph();
// 36 x 36: the message dialog's question image.
QImage question();
// 16 x 16: the unit tree's check images, in the order of their index:
// 0 unchecked, 1 checked, 2 partly checked.
QImage checkImage(int index);
// size x size: the program's icon, a serif "Q" on cloth with a thread.
QImage programIcon(const PictureFonts &fonts, int size);

} // namespace SmallPictures
