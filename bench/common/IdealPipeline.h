#pragma once

#include <QString>

// The ideal pipeline for one package, written plainly: read the package,
// inflate it whole with zlib's uncompress, write the data file.
bool IdealExtract(const QString &packagePath, const QString &dataPath);
