#pragma once

#include <QString>
#include <QStringList>

// The seven interface languages, spelled as their language files are named.
const QStringList &LanguageNames();

// The language chosen for this run; empty until the user (or --lang) picks one.
QString CurrentLanguageName();
void SetCurrentLanguageName(const QString &name);

// The sections of the language files, one per window.
namespace TextSection {
inline const QString Main = QStringLiteral("Main");
inline const QString InstallForm = QStringLiteral("InstallForm");
inline const QString DirectoryDlgForm = QStringLiteral("DirectoryDlgForm");
} // namespace TextSection
