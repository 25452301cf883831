#pragma once

#include <QFont>
#include <QString>

// The typefaces the pictures are drawn with. They are loaded from named font
// files, never picked by the system's font matching, so that the pictures come
// out the same on every machine that has the same font files.
class PictureFonts
{
public:
    // Loads the Noto CJK sans (regular and bold) and serif bold faces from
    // fontDir. Returns false, with errorString() naming the file, when one
    // cannot be loaded.
    [[nodiscard]] bool load(const QString &fontDir);
    QString errorString() const { return m_error; }

    // A sans face of pixelSize pixels (Korean and Latin in one face).
    QFont sans(int pixelSize, bool bold = false) const;
    // The bold serif face used for the name "Quillon".
    QFont serif(int pixelSize) const;

    // The largest font of at most font's size whose rendering of text fits
    // into width pixels (never below 8 pixels).
    static QFont fitted(QFont font, const QString &text, int width);

private:
    [[nodiscard]] bool addFamily(const QString &path, QString &family);
    QFont make(const QString &family, int pixelSize, bool bold) const;

    QString m_sansFamily;
    QString m_serifFamily;
    QString m_error;
};
