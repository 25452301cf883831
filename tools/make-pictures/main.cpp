// make-pictures: draws the installer's pictures into a resources folder.
//
//   make-pictures OUTPUT_DIR [--font-dir DIR]
//
// Writes OUTPUT_DIR/readme_k.bmp, OUTPUT_DIR/readme_e.bmp and the small
// pictures under OUTPUT_DIR/pictures/, the program's icon quillon.ico among them. The same fonts
// give the same bytes, so the pictures can be made again and compared. The
// readme pictures are drawn from the readme card's words in Korean.tdw and
// English.tdw of OUTPUT_DIR, which screen readers read in their stead.

#include "IconFile.h"
#include "PictureFonts.h"
#include "ReadmePicture.h"
#include "SmallPictures.h"

#include "i18n/ReadmeCard.h"
#include "i18n/TextTable.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <QStringList>
#include <QTextStream>

namespace {

const QString DefaultFontDir = QStringLiteral("/usr/share/fonts/opentype/noto");

struct Picture
{
    QString file; // relative to the output folder
    QImage image;
};

// The program's icon in the sizes Windows shows it at.
QByteArray programIconFile(const PictureFonts &fonts)
{
    QList<QImage> images;
    for (int size : {16, 24, 32, 48, 256})
        images.append(SmallPictures::programIcon(fonts, size));
    return IconFile(images);
}

// Writes through a temporary file, so a failed write leaves the old picture.
bool saveFile(const QString &path, const QByteArray &bytes, QString &error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = QStringLiteral("Cannot write %1: %2")
                        .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}

bool savePicture(const QString &path, const QImage &image, QString &error)
{
    QSaveFile file(path);
    const QByteArray format = path.endsWith(QLatin1String(".bmp")) ? "BMP" : "PNG";
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, format.constData())
        || !file.commit()) {
        error = QStringLiteral("Cannot write %1: %2")
                        .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}

// The card's words in a language file of the folder; false when it has none.
bool readCard(const QDir &folder, const QString &language, ReadmeCard &card, QString &error)
{
    LanguageTextTable texts;
    (void) LoadTextTable(texts, folder.path(), language, QStringLiteral("Main"));
    card = ReadmeCardOf(texts);
    if (!card.subtitle.isEmpty())
        return true;
    error = QStringLiteral("No readme card's words in %1")
                    .arg(QDir::toNativeSeparators(folder.filePath(language + ".tdw")));
    return false;
}

QList<Picture> drawPictures(const PictureFonts &fonts, const ReadmeCard &korean,
                            const ReadmeCard &english)
{
    return {
            {QStringLiteral("readme_k.bmp"), DrawReadmePicture(korean, fonts)},
            {QStringLiteral("readme_e.bmp"), DrawReadmePicture(english, fonts)},
            {QStringLiteral("pictures/banner.png"), SmallPictures::banner(fonts)},
            {QStringLiteral("pictures/next.png"), SmallPictures::nextGlyph()},
            {QStringLiteral("pictures/question.png"), SmallPictures::question()},
            {QStringLiteral("pictures/check_unchecked.png"), SmallPictures::checkImage(0)},
            {QStringLiteral("pictures/check_checked.png"), SmallPictures::checkImage(1)},
            {QStringLiteral("pictures/check_partial.png"), SmallPictures::checkImage(2)},
    };
}

int usage(QTextStream &err)
{
    err << "Usage: make-pictures OUTPUT_DIR [--font-dir DIR]\n";
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    // Drawing needs no screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList args = app.arguments().mid(1);
    QString fontDir = DefaultFontDir;
    const qsizetype fontOption = args.indexOf(QStringLiteral("--font-dir"));
    if (fontOption >= 0) {
        if (fontOption + 1 >= args.size())
            return usage(err);
        fontDir = args.at(fontOption + 1);
        args.remove(fontOption, 2);
    }
    if (args.size() != 1)
        return usage(err);

    PictureFonts fonts;
    if (!fonts.load(fontDir)) {
        err << fonts.errorString() << '\n';
        return 1;
    }
    const QDir outputDir(args.first());
    if (!outputDir.mkpath(QStringLiteral("pictures"))) {
        err << "Cannot create folder "
            << QDir::toNativeSeparators(outputDir.filePath(QStringLiteral("pictures"))) << '\n';
        return 1;
    }
    ReadmeCard korean;
    ReadmeCard english;
    QString error;
    if (!readCard(outputDir, QStringLiteral("Korean"), korean, error)
        || !readCard(outputDir, QStringLiteral("English"), english, error)) {
        err << error << '\n';
        return 1;
    }
    for (const Picture &picture : drawPictures(fonts, korean, english)) {
        const QString path = outputDir.filePath(picture.file);
        if (!savePicture(path, picture.image, error)) {
            err << error << '\n';
            return 1;
        }
        out << "Wrote " << QDir::toNativeSeparators(path) << '\n';
    }
    const QString icon = outputDir.filePath(QStringLiteral("pictures/quillon.ico"));
    if (!saveFile(icon, programIconFile(fonts), error)) {
        err << error << '\n';
        return 1;
    }
    out << "Wrote " << QDir::toNativeSeparators(icon) << '\n';
    return 0;
}
