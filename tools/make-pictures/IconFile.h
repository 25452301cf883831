#pragma once

#include <QByteArray>
#include <QList>

class QImage;

// A Windows icon file (.ico) holding the images, each stored as PNG, which
// Windows reads since Vista. Qt's own icon writer stores a single image.
QByteArray IconFile(const QList<QImage> &images);
