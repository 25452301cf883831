#pragma once

#include <QString>
#include <QStringList>

// One window in several languages side by side, each picture with its
// language's name under it, in rows of `columns`: written as a PNG file.
// Returns false, with *error naming the file, when a picture is missing or
// the sheet cannot be written.
bool MakeContactSheet(const QString &sheetFile, const QString &shotName, const QString &shotsFolder,
                      const QStringList &languages, int columns, QString *error);
