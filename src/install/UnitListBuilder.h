#pragma once

#include <QStringList>

class InstallContext;

// Builds the current kind's source lists of a User install from the checked
// nodes of its unit tree. A checked node contributes its folder and everything
// below it; a partly checked node only its own folder. Both lists come out
// sorted. Returns false when the user confirmed a cancel.
[[nodiscard]] bool BuildFromChosenUnits(InstallContext &context);

// Sorts paths case-insensitively in the user's locale.
void SortPaths(QStringList &paths);
