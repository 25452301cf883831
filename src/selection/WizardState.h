#pragma once

#include "selection/DataKind.h"
#include "selection/DataSetDescription.h"
#include "selection/UnitTree.h"

#include <QString>
#include <QStringList>

#include <array>

class VersionStore;

// One data kind's part of an installation.
struct KindState
{
    bool enabled = false;  // the kind's check box is enabled (the data set offers it)
    bool checked = true;   // the kind's check box is checked (all start checked)
    bool selected = false; // checked and enabled, taken when page 1 is left
    QString folderName;    // only for enabled kinds
    QString sourceFolder;  // data set folder + "/" + folder name, only for enabled kinds
    QString destination = QStringLiteral(" "); // " " until page 1 sets it
    bool hasCheckedUnit = false;               // the kind's unit tree has a checked node
    UnitTree units; // built the first time the kind's tree page is entered
};

// The state of one installation, owned by the install wizard and read and
// written by its pages, the location dialog and the install run.
class WizardState
{
public:
    // The preparation that needs no window: which kinds the data set offers
    // and where they lie, the installed versions of the target application,
    // the base folder and the protected folders. Returns false, with
    // errorString() naming what was searched, when no installed version with
    // a folder is found; base folder, protected folders and destinations are
    // then left unset.
    [[nodiscard]] bool prepare(const DataSetDescription &description, const QString &dataSetFolder,
                               const VersionStore &store);
    QString errorString() const { return m_error; }

    KindState &kind(DataKind k) { return m_kinds[KindIndex(k)]; }
    const KindState &kind(DataKind k) const { return m_kinds[KindIndex(k)]; }
    const DataSetDescription &description() const { return m_description; }

    // Where a kind goes unless the user picks another folder: base folder + folder name.
    QString defaultDestination(DataKind k) const;
    // Takes each kind's selected flag from its check box (checked and
    // enabled), as page 1 does when it is left; true when some kind is selected.
    bool takeSelection();

    DataKind currentKind = DataKind::STY;
    bool userInstall = false;        // rbUser checked
    QString baseFolder;              // Defaultdir of the newest version + "/Bin/"
    QStringList versionList;         // installed versions, in store order
    QStringList versionFolderList;   // per version: its Defaultdir + "/Bin"
    QStringList protectedFolderList; // nine application folders per version
    bool closingAllowed = false;
    bool cancelRequested = false;

private:
    void takeKinds(const QString &dataSetFolder);
    QString findApplicationFolder(const VersionStore &store);
    void fillProtectedFolders();

    std::array<KindState, 3> m_kinds;
    DataSetDescription m_description;
    QString m_error;
};
