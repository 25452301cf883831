#pragma once

#include <QFontDatabase>
#include <QList>
#include <QString>

// One Han character is drawn in different forms in Simplified Chinese,
// Traditional Chinese, Japanese and Korean, and a font draws one of them.
// Qt's fallback takes the form of the machine's own locale, so a Japanese
// desktop would show the Chinese texts in Japanese forms. The interface
// therefore asks Qt's font database, per language, for a family of that
// language's writing system. Thai, kana and Hangul have no such ambiguity:
// Qt's fallback already asks the platform for a font of their language.

// The writing system whose Han forms the language uses: Chinese simplified,
// Taiwanese traditional, Japanese and Korean their own; Any for the others.
QFontDatabase::WritingSystem HanWritingSystem(const QString &language);

// A family and the writing systems Qt's font database says it supports.
struct FontCandidate
{
    QString family;
    QList<QFontDatabase::WritingSystem> systems;
};

// The family among candidates (in the database's order) that draws system's
// forms: first one whose name carries the system's tag ("SC", "TC", "JP",
// "KR", ..., as collections serving all four name their faces), then one
// that supports system and no other Han writing system, then any that
// supports it; within each, a plain face before a serif or fixed-pitch one.
// Empty when none supports it.
QString PickHanFamily(QFontDatabase::WritingSystem system, const QList<FontCandidate> &candidates);

// Sets the application's font for the language: the platform's interface
// face, followed by the family picked for the language's Han forms. A
// language without Han characters gets the platform's face alone.
void UseLanguageFont(const QString &language);
