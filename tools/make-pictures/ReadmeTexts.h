#pragma once

#include <QString>
#include <QStringList>

// The words of one readme picture.
struct ReadmeTexts
{
    QString subtitle;
    QString installsHeading;
    QString installsBody;
    QString requirement;
    QString stepsHeading;
    QStringList steps;
    QString homePageLabel;
    QString contactNote;
};

// The readme of the Korean picture (readme_k.bmp) and of the picture every
// other language shows (readme_e.bmp).
ReadmeTexts KoreanReadmeTexts();
ReadmeTexts EnglishReadmeTexts();

// The maker's addresses as the pictures show them; the welcome window's links
// open the same places.
inline const QString HomePageShown = QStringLiteral("www.example.com");
inline const QString EMailShown = QStringLiteral("support@example.com");
