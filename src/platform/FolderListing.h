#pragma once

#include <QString>
#include <QStringList>

enum class Listing {
    Listed,
    Missing, // there is no such folder
    Failed,  // it could not be listed to the end: error says why
};

// Adds the names in a folder (without "." and "..") to names, in the order
// the file system gives them. Qt's directory iterators tell neither a
// missing folder nor a failed listing from an empty folder.
Listing ListFolder(const QString &folder, QStringList *names, QString *error);
