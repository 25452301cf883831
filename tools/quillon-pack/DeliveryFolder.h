#pragma once

#include <QString>
#include <QStringList>

// What a data set author hands over: the packed data set with the Windows
// programs, their language files and pictures beside it, so that the
// installer finds the data set in its own folder.
namespace DeliveryFolder {

// The files of the installer that a delivery holds, by name.
QStringList InstallerFiles();

// The installer files that installerDir lacks (empty when it has them all).
QStringList MissingInstallerFiles(const QString &installerDir);

// Copies the installer files into outputDir, replacing earlier copies. One
// line per file that could not be copied, naming it and why.
QStringList CopyInstaller(const QString &installerDir, const QString &outputDir);

// Reads every package back: its header, and all its data inflated to the
// size the header gives. One line per package that does not read back.
QStringList ReadBack(const QStringList &packages);

// What the folder holds, an entry per line (a folder with its count of
// files), and the total size at the end.
QStringList Contents(const QString &folder);

} // namespace DeliveryFolder
