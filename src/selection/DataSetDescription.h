#pragma once

#include "selection/DataKind.h"

#include <QString>

#include <array>

struct LanguageTextTable;

// What a data set says about itself in its "dataset.ini": the kinds it holds,
// each kind's folder name, and the year, season and volume shown to the user.
struct DataSetDescription
{
    std::array<bool, 3> present{};     // by KindIndex(DataKind)
    std::array<QString, 3> folderName; // by KindIndex(DataKind)
    QString year, season;
    int volume = 0;
};

// The name of the description file in a data set folder.
QString DataSetDescriptionFileName();

// Why a data set description cannot be used, kept apart from the words, so
// that a window can say it in the user's language.
struct DataSetProblem
{
    enum class Cause { None, Missing, Unreadable, NoSection, BadVolume, NoFolder, BadFolderName };
    Cause cause = Cause::None;
    QString path;   // the description file, native form
    QString detail; // the system's words (Missing, Unreadable), the volume, the kind or the name
};

// Reads <dataSetFolder>/dataset.ini. Fails, with *error naming the file
// (native form) and the reason, when the file is missing, unreadable or larger
// than IniFile::MaxFileSize, holds none of the sections of a description,
// gives a Volume that is not a whole number, or names no usable folder for a
// kind it uses (a present kind, or DETAIL when no kind is present). A folder name must be one plain
// name: no separators, no "." or "..", so a kind can never reach outside the data set or the
// application's folder.
// *problem, when given, says the same for DataSetProblemMessage().
[[nodiscard]] bool LoadDataSetDescription(const QString &dataSetFolder, DataSetDescription *out,
                                          QString *error, DataSetProblem *problem = nullptr);

// The message for a problem in the language of an "InstallForm" table: that
// the description could not be read, its path, the cause, and the system's
// own (untranslated) words after a mark that says whose they are.
QString DataSetProblemMessage(const DataSetProblem &problem, const LanguageTextTable &texts);
