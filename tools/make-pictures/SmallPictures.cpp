#include "SmallPictures.h"

#include "PictureColours.h"
#include "PictureFonts.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace SmallPictures {

namespace {

QImage transparentImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void setUpPainter(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

// A row of short dashes, like a seam's stitches.
void drawStitches(QPainter &painter, qreal y, qreal from, qreal to, const QColor &colour)
{
    QPen pen(colour, 1.5, Qt::CustomDashLine, Qt::RoundCap);
    pen.setDashPattern({3, 3});
    painter.setPen(pen);
    painter.drawLine(QPointF(from, y), QPointF(to, y));
}

// A sewing needle lying across the banner with its thread curling away.
void drawNeedle(QPainter &painter)
{
    painter.save();
    painter.translate(400, 44);
    painter.rotate(-28);
    QPainterPath needle;
    needle.moveTo(-44, 0);
    needle.cubicTo(-20, -3.2, 20, -3.2, 44, -1.2);
    needle.lineTo(44, 1.2);
    needle.cubicTo(20, 3.2, -20, 3.2, -44, 0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 235));
    painter.drawPath(needle);
    painter.setBrush(QColor(0x0A, 0x3E, 0x8C));
    painter.drawEllipse(QRectF(34, -1, 7, 2));
    painter.restore();

    QPainterPath thread;
    thread.moveTo(433, 28);
    thread.cubicTo(470, 10, 470, 70, 430, 66);
    thread.cubicTo(395, 62, 380, 80, 350, 74);
    painter.setPen(QPen(QColor(255, 214, 120), 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(thread);
}

} // namespace

QImage banner(const PictureFonts &fonts)
{
    QImage image(473, 83, QImage::Format_RGB32);
    QPainter painter(&image);
    setUpPainter(painter);
    QLinearGradient background(0, 0, 473, 83);
    background.setColorAt(0, PictureColours::Blue);
    background.setColorAt(1, PictureColours::DeepBlue);
    painter.fillRect(image.rect(), background);
    // A faint twill: diagonal lines as in woven cloth.
    painter.setPen(QPen(QColor(255, 255, 255, 14), 2));
    for (int x = -83; x < 473; x += 9)
        painter.drawLine(x, 83, x + 83, 0);
    drawStitches(painter, 8, 8, 465, QColor(255, 255, 255, 110));
    drawStitches(painter, 75, 8, 465, QColor(255, 255, 255, 110));
    drawNeedle(painter);

    painter.setPen(Qt::white);
    painter.setFont(fonts.serif(38));
    painter.drawText(QRect(24, 12, 220, 56), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Quillon"));
    painter.setPen(QColor(255, 255, 255, 215));
    painter.setFont(fonts.sans(14));
    painter.drawText(QRect(196, 12, 180, 56), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Style data installer"));
    return image;
}

QImage nextGlyph()
{
    QImage image = transparentImage(16, 16);
    QPainter painter(&image);
    setUpPainter(painter);
    QPainterPath arrow;
    arrow.moveTo(2, 6);
    arrow.lineTo(8, 6);
    arrow.lineTo(8, 2);
    arrow.lineTo(14, 8);
    arrow.lineTo(8, 14);
    arrow.lineTo(8, 10);
    arrow.lineTo(2, 10);
    arrow.closeSubpath();
    painter.fillPath(arrow, PictureColours::Navy);
    return image;
}

QImage question()
{
    QImage image = transparentImage(36, 36);
    QPainter painter(&image);
    setUpPainter(painter);
    QRadialGradient ball(QPointF(13, 11), 24);
    ball.setColorAt(0, QColor(0x4A, 0x98, 0xF0));
    ball.setColorAt(1, PictureColours::DeepBlue);
    painter.setPen(QPen(PictureColours::Navy, 1));
    painter.setBrush(ball);
    painter.drawEllipse(QRectF(1.5, 1.5, 33, 33));

    // The question mark: a hook, a short stem and a dot.
    QPainterPath hook;
    hook.arcMoveTo(QRectF(12.5, 7.5, 11, 11), 160);
    hook.arcTo(QRectF(12.5, 7.5, 11, 11), 160, -250);
    hook.lineTo(18, 20.5);
    hook.lineTo(18, 22.5);
    painter.setPen(QPen(Qt::white, 3.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(hook);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(18, 27.5), 2.3, 2.3);
    return image;
}

QImage checkImage(int index)
{
    QImage image = transparentImage(16, 16);
    QPainter painter(&image);
    setUpPainter(painter);
    const QRectF box(1.5, 1.5, 13, 13);
    const bool checked = index == 1;
    painter.setPen(QPen(checked ? PictureColours::DeepBlue : PictureColours::Grey, 1));
    painter.setBrush(checked ? PictureColours::Blue : QColor(Qt::white));
    painter.drawRoundedRect(box, 2, 2);
    if (checked) {
        QPainterPath tick;
        tick.moveTo(4.5, 8.2);
        tick.lineTo(7, 10.8);
        tick.lineTo(11.8, 5);
        painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(tick);
    } else if (index == 2) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(PictureColours::Blue);
        painter.drawRect(QRectF(5, 5, 6, 6));
    }
    return image;
}

QImage programIcon(const PictureFonts &fonts, int size)
{
    QImage image = transparentImage(size, size);
    QPainter painter(&image);
    setUpPainter(painter);
    painter.scale(size / 256.0, size / 256.0); // drawn on a 256-pixel grid
    QLinearGradient background(0, 0, 256, 256);
    background.setColorAt(0, PictureColours::Blue);
    background.setColorAt(1, PictureColours::DeepBlue);
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    painter.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);
    if (size >= 32) {
        QPen stitches(QColor(255, 255, 255, 120), 6, Qt::CustomDashLine, Qt::RoundCap);
        stitches.setDashPattern({2, 2.5});
        painter.setPen(stitches);
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(26, 26, 204, 204), 30, 30);
    }
    painter.setPen(Qt::white);
    painter.setFont(fonts.serif(150));
    painter.drawText(QRectF(8, 0, 240, 232), Qt::AlignCenter, QStringLiteral("Q"));
    QPainterPath thread;
    thread.moveTo(150, 176);
    thread.cubicTo(190, 200, 206, 150, 226, 196);
    painter.setPen(QPen(QColor(255, 214, 120), 12, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(thread);
    return image;
}

} // namespace SmallPictures
