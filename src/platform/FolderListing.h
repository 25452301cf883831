#pragma once

#include <QString>
#include <QStringList>

// The names in a folder (without "." and ".."), in the order the file system
// gives them. False, with error set to the system's message, when the folder
// could not be listed to the end, which Qt's directory iterators cannot
// tell from an empty folder.
bool ListFolder(const QString &folder, QStringList *names, QString *error);
