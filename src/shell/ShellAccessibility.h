#pragma once

struct LanguageTextTable;

namespace Ui {
class TLanguageForm;
class TMainForm;
} // namespace Ui

// What screen readers hear of the language window and the welcome window
// beyond the captions themselves.

// The language window's texts are English and fixed; each language button
// also says its language's own name, for the speech of that language.
void DescribeLanguageWindow(Ui::TLanguageForm &ui);

// The welcome window in the language of its "Main" table: the readme card,
// which is a picture, in the words it is drawn from; the links by what they
// open; Next without its padding. Called again after a language switch.
void DescribeWelcomeWindow(Ui::TMainForm &ui, const LanguageTextTable &texts);
