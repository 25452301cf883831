#pragma once

#include <QImage>

class PictureFonts;
struct ReadmeCard;

// Draws a 380 x 350 readme picture. The welcome window lays two clickable
// labels over it, so the picture shows the home page at 16,136 (113 x 52) and
// the e-mail address at 16,303 (185 x 25).
QImage DrawReadmePicture(const ReadmeCard &texts, const PictureFonts &fonts);
