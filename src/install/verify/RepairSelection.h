#pragma once

#include "selection/DataKind.h"

#include <QHash>
#include <QStringList>

#include <array>

class InstallContext;
class InstalledDataCheck;

// A repair through the normal install run: once the run has built its lists,
// they are narrowed to the files that are missing or differ from their
// packages and to the folders that are missing, so the run installs those
// and touches nothing else. Afterwards the whole lists can be put back, for
// the check that follows.
class RepairSelection
{
public:
    // Hooks into the context's runs until destroyed.
    explicit RepairSelection(InstallContext &context);
    ~RepairSelection();
    RepairSelection(const RepairSelection &) = delete;
    RepairSelection &operator=(const RepairSelection &) = delete;

    // Puts back the lists as they were before they were narrowed.
    void restoreLists();
    // Removes what runs cut short left beside the installed files (found
    // while narrowing), each with a line and an outcome: removed, or failed.
    void removeLeftovers();
    // Gives each file the run installed or replaced the reason it was
    // repaired ("missing", "different-size", ...) in its kind's outcomes.
    void markReasons();

private:
    struct WholeLists
    {
        QStringList sourceFolders, sourceFiles, destinationFolders, destinationFiles;
    };

    void narrow();
    void narrowKind(DataKind kind, InstalledDataCheck &check);

    InstallContext &m_context;
    std::array<WholeLists, 3> m_whole;
    std::array<QStringList, 3> m_leftovers;
    QHash<QString, QString> m_reasons; // installed path -> why it is repaired
};
