#include "PictureFonts.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>

namespace {
// One collection file holds the Japanese, Korean and Chinese variants; the
// Korean one is chosen so that Hangul takes its Korean forms.
const QString KoreanSuffix = QStringLiteral(" KR");
} // namespace

bool PictureFonts::load(const QString &fontDir)
{
    const QDir dir(fontDir);
    QString boldFamily;
    return addFamily(dir.filePath(QStringLiteral("NotoSansCJK-Regular.ttc")), m_sansFamily)
           && addFamily(dir.filePath(QStringLiteral("NotoSansCJK-Bold.ttc")), boldFamily)
           && addFamily(dir.filePath(QStringLiteral("NotoSerifCJK-Bold.ttc")), m_serifFamily);
}

bool PictureFonts::addFamily(const QString &path, QString &family)
{
    const QString shownPath = QDir::toNativeSeparators(path);
    if (!QFileInfo::exists(path)) {
        m_error = QStringLiteral("Font file not found: %1 (install fonts-noto-cjk)").arg(shownPath);
        return false;
    }
    const int id = QFontDatabase::addApplicationFont(path);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    for (const QString &name : families) {
        if (name.endsWith(KoreanSuffix)) {
            family = name;
            return true;
        }
    }
    m_error = QStringLiteral("No Korean face in font file %1").arg(shownPath);
    return false;
}

QFont PictureFonts::make(const QString &family, int pixelSize, bool bold) const
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    // No hinting, no sub-pixel colours and no fallback faces: the glyphs then
    // depend only on the font file, not on the machine's font settings.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias
                                               | QFont::NoFontMerging));
    return font;
}

QFont PictureFonts::sans(int pixelSize, bool bold) const
{
    return make(m_sansFamily, pixelSize, bold);
}

QFont PictureFonts::serif(int pixelSize) const
{
    return make(m_serifFamily, pixelSize, true);
}

QFont PictureFonts::fitted(QFont font, const QString &text, int width)
{
    while (font.pixelSize() > 8 && QFontMetrics(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}
