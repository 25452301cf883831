#pragma once

#include "selection/WizardState.h"

// The wizard's state for a Basic install of the DETAIL kind alone, from the
// packages in source into target, as the benchmarks run it.
inline WizardState DetailOnly(const QString &source, const QString &target)
{
    WizardState state;
    KindState &detail = state.kind(DataKind::DETAIL);
    detail.enabled = detail.selected = true;
    detail.folderName = QStringLiteral("DETAIL");
    detail.sourceFolder = source;
    detail.destination = target;
    return state;
}
