#include "StatusFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

QString StatusFileName(DataKind kind, const QString &folder, QDate date)
{
    const QString base = folder.endsWith(u'/') ? folder : folder + u'/';
    return base + DataKindName(kind) + QStringLiteral("_Install_Status-")
           + date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".txt");
}

bool SaveStatusFile(const QString &path, const QStringList &lines, QString *error)
{
    // A status folder named on the command line may not exist yet.
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = QDir::toNativeSeparators(path) + QStringLiteral(": ") + file.errorString();
    return false;
}
