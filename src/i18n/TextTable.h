#pragma once

#include <QHash>
#include <QString>

// The numbered texts of one window in one language, loaded from one section of
// the language file "<folder>/<language>.tdw", text by text falling back to
// "<folder>/English.tdw".
//
// Only the texts present in the files are held: a damaged "Length" costs
// nothing beyond the texts that really exist, and a number without a text in
// either file reads as empty.
struct LanguageTextTable
{
    int count = 0;             // the language file's "Length"; 0 when nothing is loaded
    QHash<int, QString> texts; // number -> text, only for numbers below count that have one
    // Why the last load left a language file unread (one too large to be a
    // language file), naming the file; empty when every file there was read.
    QString error;
};

// Fills the table from section `section`. Returns false, with count set to 0,
// when the language file gives no positive "Length" for the section; the
// English file is never asked for the count. A "\n" in a value (backslash,
// letter n) becomes a line break (CR LF). A file larger than
// IniFile::MaxFileSize reads as missing, and error says so.
bool LoadTextTable(LanguageTextTable &table, const QString &folder, const QString &language,
                   const QString &section);

// The text with that number, or an empty string when number is not below count.
QString GetText(const LanguageTextTable &table, int number);
