#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// The kind of a packed file, chosen by its extension. Distinct from DataKind:
// a DETAIL installation holds STY, TEX and TFC packages.
enum class PackageKind { STY = 0, STI = 1, TEX = 2, TFC = 3 };

// The kind of a packed file by its lower-cased extension ".sty_", ".sti_",
// ".tex_" or ".tfc_"; nothing for any other name.
std::optional<PackageKind> PackageKindForPath(const QString &path);

// The kind of a plain data file by its lower-cased extension ".sty", ".sti",
// ".tex" or ".tfc"; nothing for any other name.
std::optional<PackageKind> PackageKindForDataPath(const QString &path);

// The installed data file of a packed file: the path without its last
// character (the trailing underscore).
QString InstalledName(const QString &packedPath);

// "STY", "STI", "TEX" or "TFC".
QString PackageKindName(PackageKind kind);

// The eight bytes a package of this kind starts with: "STYComp" and a zero
// byte for STY, and so on.
QByteArrayView PackageMagic(PackageKind kind);
