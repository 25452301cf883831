#pragma once

#include "selection/DataKind.h"

#include <QDate>
#include <QString>
#include <QStringList>

// The status file of a kind: "<folder>/STY_Install_Status-2027-03-01.txt".
// The date is written yyyy-MM-dd whatever the locale, so that it never holds
// characters a file name cannot.
QString StatusFileName(DataKind kind, const QString &folder, QDate date);

// Writes the lines, each ended by CR LF, UTF-8, replacing an existing file;
// a missing folder is created.
// The file is replaced only when it was written whole.
[[nodiscard]] bool SaveStatusFile(const QString &path, const QStringList &lines, QString *error);

// Writes bytes to path whole or not at all: an earlier file stays until the
// new one is complete. A missing folder is created. error gets the file's
// native path and the system's message.
[[nodiscard]] bool SaveFileWhole(const QString &path, const QByteArray &bytes, QString *error);
