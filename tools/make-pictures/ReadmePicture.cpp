#include "ReadmePicture.h"

#include "PictureColours.h"
#include "PictureFonts.h"
#include "i18n/ReadmeCard.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

// Where the welcome window's labels lie over the picture.
const QRect HomePageArea(16, 136, 113, 52);
const QRect EMailArea(16, 303, 185, 25);
const int Margin = 16;
const int Width = 380;
const int Height = 350;

void drawHeader(QPainter &painter, const ReadmeCard &texts, const PictureFonts &fonts)
{
    QLinearGradient band(0, 0, Width, 0);
    band.setColorAt(0, PictureColours::Blue);
    band.setColorAt(1, PictureColours::DeepBlue);
    painter.fillRect(QRect(0, 0, Width, 44), band);
    QPen stitches(QColor(255, 255, 255, 120), 1.2, Qt::CustomDashLine, Qt::RoundCap);
    stitches.setDashPattern({3, 3});
    painter.setPen(stitches);
    painter.drawLine(QPointF(6, 39.5), QPointF(Width - 6, 39.5));

    painter.setPen(Qt::white);
    painter.setFont(fonts.serif(24));
    painter.drawText(QRect(Margin, 2, 130, 36), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Quillon"));
    painter.setFont(PictureFonts::fitted(fonts.sans(12), texts.subtitle, 200));
    painter.drawText(QRect(Width - Margin - 200, 2, 200, 36), Qt::AlignRight | Qt::AlignVCenter,
                     texts.subtitle);
}

void drawHeading(QPainter &painter, const PictureFonts &fonts, int top, const QString &text)
{
    painter.setPen(PictureColours::Navy);
    painter.setFont(fonts.sans(13, true));
    painter.drawText(QRect(Margin, top, Width - 2 * Margin, 18), Qt::AlignLeft | Qt::AlignVCenter,
                     text);
}

void drawInstalls(QPainter &painter, const ReadmeCard &texts, const PictureFonts &fonts)
{
    drawHeading(painter, fonts, 52, texts.installsHeading);
    painter.setPen(PictureColours::Text);
    painter.setFont(fonts.sans(11));
    painter.drawText(QRect(Margin, 72, Width - 2 * Margin, 58), Qt::TextWordWrap,
                     texts.installsBody);
}

void drawPanel(QPainter &painter, const QRect &area, const QColor &fill, const QColor &border)
{
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
}

void drawLink(QPainter &painter, const PictureFonts &fonts, const QRect &area, const QString &text)
{
    QFont font = PictureFonts::fitted(fonts.sans(12), text, area.width());
    font.setUnderline(true);
    painter.setPen(PictureColours::Blue);
    painter.setFont(font);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, text);
}

// A globe: a circle with its equator and one meridian.
void drawGlobe(QPainter &painter, const QRectF &box)
{
    painter.setPen(QPen(PictureColours::Blue, 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(box);
    painter.drawEllipse(box.adjusted(box.width() / 4, 0, -box.width() / 4, 0));
    painter.drawLine(QPointF(box.left(), box.center().y()), QPointF(box.right(), box.center().y()));
}

void drawHomePage(QPainter &painter, const ReadmeCard &texts, const PictureFonts &fonts)
{
    drawPanel(painter, HomePageArea, PictureColours::Window, PictureColours::Blue);
    drawGlobe(painter, QRectF(24.5, 143.5, 13, 13));
    painter.setPen(PictureColours::Navy);
    painter.setFont(PictureFonts::fitted(fonts.sans(12, true), texts.homePageLabel, 80));
    painter.drawText(QRect(43, 141, 80, 18), Qt::AlignLeft | Qt::AlignVCenter, texts.homePageLabel);
    drawLink(painter, fonts, QRect(24, 163, 101, 20), HomePageShown);
}

void drawRequirement(QPainter &painter, const ReadmeCard &texts, const PictureFonts &fonts)
{
    const QRect area(140, 136, Width - Margin - 140, 52);
    drawPanel(painter, area, PictureColours::NoteFill, PictureColours::NoteBorder);
    painter.setPen(Qt::NoPen);
    painter.setBrush(PictureColours::NoteBorder);
    painter.drawEllipse(QRectF(148, 152, 20, 20));
    painter.setPen(Qt::white);
    painter.setFont(fonts.sans(14, true));
    painter.drawText(QRect(148, 152, 20, 20), Qt::AlignCenter, QStringLiteral("!"));
    painter.setPen(PictureColours::Text);
    painter.setFont(fonts.sans(11, true));
    painter.drawText(area.adjusted(36, 4, -8, -4), Qt::AlignVCenter | Qt::TextWordWrap,
                     texts.requirement);
}

void drawSteps(QPainter &painter, const ReadmeCard &texts, const PictureFonts &fonts)
{
    drawHeading(painter, fonts, 195, texts.stepsHeading);
    for (int i = 0; i < texts.steps.size(); ++i) {
        const int top = 215 + i * 19;
        painter.setPen(Qt::NoPen);
        painter.setBrush(PictureColours::Blue);
        painter.drawEllipse(QRectF(Margin, top + 1, 16, 16));
        painter.setPen(Qt::white);
        painter.setFont(fonts.sans(10, true));
        painter.drawText(QRect(Margin, top + 1, 16, 16), Qt::AlignCenter, QString::number(i + 1));
        painter.setPen(PictureColours::Text);
        const int textWidth = Width - Margin - 40;
        painter.setFont(PictureFonts::fitted(fonts.sans(11), texts.steps.at(i), textWidth));
        painter.drawText(QRect(40, top, textWidth, 18), Qt::AlignLeft | Qt::AlignVCenter,
                         texts.steps.at(i));
    }
}

// An envelope: its outline and the flap's fold.
void drawEnvelope(QPainter &painter, const QRectF &box)
{
    painter.setPen(QPen(PictureColours::Blue, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawRect(box);
    QPainterPath flap;
    flap.moveTo(box.topLeft());
    flap.lineTo(box.center().x(), box.top() + box.height() * 0.6);
    flap.lineTo(box.topRight());
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(flap);
}

void drawEMail(QPainter &painter, const ReadmeCard &texts, const PictureFonts &fonts)
{
    drawPanel(painter, EMailArea, PictureColours::Window, PictureColours::Blue);
    drawEnvelope(painter, QRectF(24.5, 310.5, 15, 11));
    drawLink(painter, fonts, QRect(47, 303, EMailArea.right() - 47 - 4, 25), EMailShown);
    painter.setPen(PictureColours::Grey);
    const QRect note(EMailArea.right() + 10, 300, Width - Margin - EMailArea.right() - 10, 31);
    painter.setFont(fonts.sans(10));
    painter.drawText(note, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, texts.contactNote);
}

void drawFooter(QPainter &painter)
{
    QLinearGradient band(0, 0, Width, 0);
    band.setColorAt(0, PictureColours::Blue);
    band.setColorAt(1, PictureColours::DeepBlue);
    painter.fillRect(QRect(0, Height - 8, Width, 8), band);
}

} // namespace

QImage DrawReadmePicture(const ReadmeCard &texts, const PictureFonts &fonts)
{
    // A 24-bit picture: no alpha channel, so it is written as a plain BMP.
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    drawHeader(painter, texts, fonts);
    drawInstalls(painter, texts, fonts);
    drawHomePage(painter, texts, fonts);
    drawRequirement(painter, texts, fonts);
    drawSteps(painter, texts, fonts);
    drawEMail(painter, texts, fonts);
    drawFooter(painter);
    return image;
}
