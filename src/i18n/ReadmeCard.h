#pragma once

#include <QString>
#include <QStringList>

struct LanguageTextTable;

// The words of the readme card, which the welcome window shows as a picture
// (readme_k.bmp, readme_e.bmp). make-pictures draws the pictures from the
// Korean and English ones; screen readers read them in the picture's stead,
// in every language.
struct ReadmeCard
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

// The card in the language of a "Main" table; a table without them gives
// empty words.
ReadmeCard ReadmeCardOf(const LanguageTextTable &mainTexts);

// Everything the card says below its title, a line each, in the order it
// is drawn: headings, paragraphs, the numbered steps, the addresses.
QString ReadmeCardText(const ReadmeCard &card);

// The maker's addresses as the card shows them; the welcome window's links
// open the same places.
inline const QString HomePageShown = QStringLiteral("www.example.com");
inline const QString EMailShown = QStringLiteral("support@example.com");
