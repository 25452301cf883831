#include "StatusFiles.h"

#include "package/FileFailure.h"

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
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    return SaveFileWhole(path, bytes, error);
}

bool SaveFileWhole(const QString &path, const QByteArray &bytes, QString *error)
{
    // A folder named on the command line may not exist yet.
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    // Unbuffered: a full disk then fails the write itself; a buffered write
    // would fail only in the flush inside commit(), which commits regardless
    // and would replace the earlier file with an empty one.
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        && WriteWhole(file, bytes.constData(), bytes.size()) && file.commit())
        return true;
    if (error)
        *error = QDir::toNativeSeparators(path) + QStringLiteral(": ") + file.errorString();
    return false;
}
