#pragma once

#include <QString>

// Captions as a screen reader should say them. The language files keep what
// is drawn on screen: access key marks ("&Yes", "예(&Y)"), blanks that pad a
// button or line up a menu's shortcut column ("Next  ", "&Close   Alt+F4"),
// line breaks and indents that shape a note. None of that is worth hearing.

// The caption without its access key mark (a "(&Y)" group goes whole, a lone
// "&" goes, "&&" becomes "&"), without a shortcut column, with every run of
// blanks and line breaks made one blank, trimmed, and without a trailing ":".
QString SpokenText(const QString &caption);

// The shortcut column of a caption: what stands after a run of two or more
// blanks ("Alt+F4" in "&Close            Alt+F4"), or "" when there is none.
QString ShortcutColumn(const QString &caption);
