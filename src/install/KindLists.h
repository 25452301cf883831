#pragma once

#include "install/FileOutcome.h"

#include <QList>
#include <QSet>
#include <QStringList>

// The lists one data kind's installation is made of. Paths are in Qt form.
struct KindLists
{
    QStringList sourceFolders;      // folders to create, full source paths
    QStringList sourceFiles;        // packed files to install, full source paths
    QStringList destinationFolders; // sourceFolders mapped under the destination
    QStringList destinationFiles;   // sourceFiles mapped under the destination
    QStringList copied;             // packed copies put into the destination by this run
    // The packed copies whose installed file the copy step's answer (Yes or
    // All to a file that was there) lets the run replace; any other is
    // placed only where nothing stands.
    QSet<QString> mayReplace;
    QStringList status;             // the lines of the kind's status file ("fail list")
    // Packed files whose names cannot exist on this system: never opened,
    // they count as failed files of every run and check.
    QList<FileOutcome> refusedFiles;

    // What this run created, so that removing after a cancel takes away only
    // that and never something that was there before.
    QStringList createdFolders; // parents before children
    QStringList createdFiles;   // installed data files that did not exist before
    // Installed files this run replaced, and where their earlier versions
    // are kept until the run ends, so that removing puts them back.
    struct Replaced
    {
        QString installed, backup;
    };
    QList<Replaced> replaced;
    // Files that stood where packed copies were put, kept aside in the same
    // way: they come back when their packed copy goes unused, or the run is
    // undone.
    QList<Replaced> packedAside;

    // What went wrong, for the line that closes the kind in the memo.
    int unreadFolders = 0; // source folders that could not be found or listed
    int failedFiles = 0;   // packed files that could not be installed
    bool refused = false;  // the destination could not be written: nothing was tried

    // What became of each file, in the order it happened, for the report.
    QList<FileOutcome> outcomes;

    bool unitsChosen = false; // the kind has something to install in this run

    void clearSources()
    {
        sourceFolders.clear();
        sourceFiles.clear();
        refusedFiles.clear();
        unreadFolders = 0;
    }

    void clearRunRecords()
    {
        copied.clear();
        mayReplace.clear();
        createdFolders.clear();
        createdFiles.clear();
        replaced.clear();
        packedAside.clear();
        failedFiles = 0;
        refused = false;
        outcomes.clear();
    }
};
