#pragma once

#include <QString>

class QLabel;
class QWidget;

// What every window does for assistive technology (screen readers through
// AT-SPI on Linux and UI Automation on Windows). Names and descriptions come
// from the window's language table, so they follow the chosen language, and
// are spoken forms of the captions (SpokenText): the captions on screen keep
// their access keys, padding and shortcut columns.
namespace Accessibility {

// Installs the interfaces that stand in for Qt's where Qt's fall short:
// containers that list only what is shown, links, menu entries named
// without padding, tree rows with tri-state checks. Every window calls it;
// only the first call installs.
void Install();

// The widget's name: the caption as a screen reader should say it.
void SetName(QWidget *widget, const QString &caption);
// The widget's description, spoken after its name.
void SetDescription(QWidget *widget, const QString &text);

// Takes a picture that only decorates out of the tree.
void MarkDecorative(QWidget *picture);
// Whether MarkDecorative() took the widget out.
bool IsDecorative(const QWidget *widget);

// Ties a caption label to the field it names: the field is labelled by it
// (its buddy) and takes its caption as its name.
void TieLabel(QLabel *label, QWidget *field);

} // namespace Accessibility
