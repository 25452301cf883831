#pragma once

#include "TestFiles.h"

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

// A program folder for tests of the windows: language files whose welcome
// texts name their language and number, and readme pictures of one colour
// each, so a test sees which file a window took.
namespace ProgramFolder {

inline const QColor KoreanReadMe(200, 30, 30);
inline const QColor OtherReadMe(30, 30, 200);

// The text number n of section "Main" in the test's language files.
inline QString mainText(const QString &language, int n)
{
    return QStringLiteral("%1 %2").arg(language).arg(n);
}

// The text number n of section "InstallForm" in the test's language files.
inline QString installText(const QString &language, int n)
{
    return QStringLiteral("%1 install %2").arg(language).arg(n);
}

// The welcome window's twelve texts, in the order ApplyWelcomeTexts sets them.
inline QStringList welcomeTexts(const QString &language)
{
    QStringList texts;
    for (int n : {0, 1, 2, 3, 4, 6, 8, 9, 10, 11, 12, 13})
        texts << mainText(language, n);
    return texts;
}

inline bool writeLanguageFile(const QString &folder, const QString &language)
{
    QByteArray text = "[Main]\r\nLength=14\r\n";
    for (int n = 0; n < 14; ++n)
        text += QStringLiteral("%1=%2\r\n").arg(n).arg(mainText(language, n)).toUtf8();
    text += "[InstallForm]\r\nLength=70\r\n";
    for (int n = 0; n < 70; ++n)
        text += QStringLiteral("%1=%2\r\n").arg(n).arg(installText(language, n)).toUtf8();
    return TestFiles::write(folder + u'/' + language + QStringLiteral(".tdw"), text);
}

inline bool writePicture(const QString &path, const QColor &colour, QSize size = {380, 350})
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    return picture.save(path, "BMP");
}

// Language files for the languages given and both readme pictures.
inline bool make(const QString &folder, const QStringList &languages)
{
    for (const QString &language : languages) {
        if (!writeLanguageFile(folder, language))
            return false;
    }
    return writePicture(folder + QStringLiteral("/readme_k.bmp"), KoreanReadMe)
           && writePicture(folder + QStringLiteral("/readme_e.bmp"), OtherReadMe);
}

} // namespace ProgramFolder
