#pragma once

struct LanguageTextTable;

namespace Ui {
class TDirectoryDlgForm;
class TSTYInstallForm;
} // namespace Ui

// What screen readers hear of the wizard and the install location dialog
// beyond the captions themselves, in the language of the window's table.

// The wizard: Next without its padding, the folder buttons by what they do,
// each unit tree by its kind, the year, season and volume by their captions,
// the progress bar and the memo by what they show.
void DescribeWizard(Ui::TSTYInstallForm &ui, const LanguageTextTable &texts);

// The location dialog: the version and drive boxes and the folder list by
// their captions, the folder list's menu hint as its description.
void DescribeLocationDialog(Ui::TDirectoryDlgForm &ui, const LanguageTextTable &texts);
