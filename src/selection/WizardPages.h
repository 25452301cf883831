#pragma once

#include "selection/DataKind.h"

#include <QString>

#include <optional>

class WizardState;
struct LanguageTextTable;

// The wizard's page logic that needs no window: which page follows which,
// the hint of the folder pages and the install summary of the last page.
namespace WizardPages {

// The pages in the order of the wizard's page stack: pnOne .. pnFive.
enum Page : int { PageOne = 0, PageTwo = 1, PageThree = 2, PageFour = 3, PageFive = 4 };

// Page 2, 3 or 4: the page of a kind's units and folder.
Page KindPage(DataKind kind);
// The kind of page 2, 3 or 4; none for pages 1 and 5.
std::optional<DataKind> PageKind(int page);

// The first selected kind after `after` (after none: the first selected kind
// at all), whose page a User install shows next; none when page 5 follows.
std::optional<DataKind> NextKind(const WizardState &state, std::optional<DataKind> after);

// Where a page's back button leads: from a kind's page to the page of the
// selected kind before it, or page 1; from page 5 to page 1 for a Basic
// install, otherwise to the page of the last selected kind (page 2 if none).
Page PreviousPage(int page, const WizardState &state);

// lbClickmsg of the three folder pages: text 15 and, when two or three kinds
// are selected, the reminder that they need different folders.
QString ClickHint(const WizardState &state, const LanguageTextTable &texts);

// lbInstallPath when page 5 is entered from `page`: one line "KIND : folder"
// per kind that will be installed, in kind order. From page 1 (a Basic
// install) these are the selected kinds; from a kind's page the selected
// kinds with a checked unit. Folders in native form.
QString InstallSummary(const WizardState &state, int page);

} // namespace WizardPages
