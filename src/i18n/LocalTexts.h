#pragma once

#include <QList>
#include <QString>

#include <utility>

struct LanguageTextTable;

// Texts that once were English literals in every language and now come from
// the language files, each with its English words as the fallback.

// The text with that number, or fallback when the table has none (a language
// file written before the text existed, or no file at all).
QString TextOr(const LanguageTextTable &table, int number, const QString &fallback);

// The English captions of the message boxes of section "InstallForm" with
// their text numbers. The install run and the page checks pass these English
// captions; the windows show them in their language.
const QList<std::pair<QString, int>> &InstallCaptions();

// A message box caption in the language of an "InstallForm" table. A caption
// that is not among InstallCaptions() is shown as it is.
QString InstallCaption(const LanguageTextTable &installTexts, const QString &englishCaption);
