#pragma once

#include <QString>

// Where a run of the installer finds and puts things, from the command line
// or the defaults.
struct RunSettings
{
    QString programFolder; // the language files and readme pictures lie here
    QString dataSetFolder; // the kind folders and dataset.ini; by default the program folder
    QString registryFile;  // a registry export file; empty for the platform's store
    QString statusFolder;  // where status files are saved
};
