#pragma once

#include "selection/DataKind.h"

#include <QString>
#include <QStringList>

#include <array>

// Builds a data set for delivery: every STY, STI, TEX and TFC data file below
// a kind folder of the source is written as a package "<name>_" in the same
// relative place below the output folder, and dataset.ini describes the kinds
// found. The source is only read. Names that cannot exist on Windows, where
// data sets are installed, are refused before anything is written.
class DataSetPacker
{
public:
    struct Options
    {
        QString sourceDir;
        QString outputDir;
        QString year;
        QString season;
        int volume = 0;
        // Folder name per data kind, relative to the source and output folders.
        std::array<QString, 3> folders{QStringLiteral("STY"), QStringLiteral("STI"),
                                       QStringLiteral("DETAIL")};
        // Per data kind: the folder was named on the command line, so it must exist.
        std::array<bool, 3> named{};
        // Where the Windows programs are, to make the output a delivery; empty: none.
        QString installerDir;
    };

    explicit DataSetPacker(Options options);

    // Packs every kind found and writes dataset.ini. Goes on after a file
    // that fails, but writes no dataset.ini then. With an installer folder,
    // every package is read back and the installer copied beside the data
    // set before dataset.ini is written.
    [[nodiscard]] bool run();

    // One line per failure, each naming its file.
    QStringList errors() const { return m_errors; }
    // One line per kind found: how many files were packed and compressed.
    QStringList summary() const { return m_summary; }

private:
    bool checkFolders();
    void findKind(DataKind kind);
    void checkWindowsNames();
    void packKind(DataKind kind);
    void makeDelivery();
    // The data files below folder, sorted; entries gets them and the folders.
    QStringList dataFiles(const QString &folder, QStringList *entries);
    bool writeDescription();
    QString kindSourceDir(DataKind kind) const;
    QString kindOutputDir(DataKind kind) const;

    Options m_options;
    std::array<bool, 3> m_present{};
    std::array<QStringList, 3> m_files;   // per kind: the data files found, sorted
    std::array<QStringList, 3> m_entries; // per kind: the data files and every folder
    QStringList m_written;                // the packages written
    QStringList m_errors;
    QStringList m_summary;
};
