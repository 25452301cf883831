#pragma once

#include "selection/DataKind.h"

#include <QString>

#include <optional>

class WizardState;
struct LanguageTextTable;

// Why a wizard page refuses to go on: the message and its caption.
struct Refusal
{
    QString text;
    QString caption;
};

// The checks the wizard pages make before they let the user go on; the
// unattended install makes the same ones in the same order. Folders compare
// by what they are, not by how they are spelt (see FolderIdentity).
namespace PageChecks {

// Page 1: some kind must be selected.
std::optional<Refusal> checkSelection(const WizardState &state, const LanguageTextTable &texts);

// Leaving a kind's page: its destination must not be a protected folder of
// the target application (other than the one meant for the kind's data) and
// must differ from the destinations of the kinds before it.
std::optional<Refusal> checkDestination(DataKind kind, const WizardState &state,
                                        const LanguageTextTable &texts);

} // namespace PageChecks
