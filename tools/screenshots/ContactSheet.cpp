#include "ContactSheet.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSaveFile>

#include <algorithm>

namespace {

const int Gap = 16;
const int CaptionHeight = 28;

bool loadAll(const QString &shotName, const QString &shotsFolder, const QStringList &languages,
             QList<QImage> *pictures, QString *error)
{
    for (const QString &language : languages) {
        const QString file
                = QDir(shotsFolder)
                          .filePath(language.toLower() + u'/' + shotName + QStringLiteral(".png"));
        const QImage picture(file);
        if (picture.isNull()) {
            *error = QStringLiteral("Cannot read %1").arg(QDir::toNativeSeparators(file));
            return false;
        }
        pictures->append(picture);
    }
    return true;
}

} // namespace

bool MakeContactSheet(const QString &sheetFile, const QString &shotName, const QString &shotsFolder,
                      const QStringList &languages, int columns, QString *error)
{
    QList<QImage> pictures;
    if (languages.isEmpty() || !loadAll(shotName, shotsFolder, languages, &pictures, error))
        return false;
    QSize cell;
    for (const QImage &picture : pictures)
        cell = cell.expandedTo(picture.size());
    cell.rheight() += CaptionHeight;
    columns = std::clamp(columns, 1, int(pictures.size()));
    const int rows = (int(pictures.size()) + columns - 1) / columns;
    QImage sheet(Gap + columns * (cell.width() + Gap), Gap + rows * (cell.height() + Gap),
                 QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    QFont font = painter.font();
    font.setPixelSize(16);
    font.setBold(true);
    painter.setFont(font);
    for (int i = 0; i < pictures.size(); ++i) {
        const QPoint corner(Gap + (i % columns) * (cell.width() + Gap),
                            Gap + (i / columns) * (cell.height() + Gap));
        painter.drawImage(corner, pictures.at(i));
        const QRect caption(corner.x(), corner.y() + pictures.at(i).height(), cell.width(),
                            CaptionHeight);
        painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter, languages.at(i));
    }
    painter.end();
    QSaveFile out(sheetFile);
    if (!out.open(QIODevice::WriteOnly) || !sheet.save(&out, "PNG") || !out.commit()) {
        *error = QStringLiteral("Cannot write %1").arg(QDir::toNativeSeparators(sheetFile));
        return false;
    }
    return true;
}
