#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// The platform's message boxes as the installer uses them: a numbered text
// (often followed by a path) under an English caption. The text is shown as
// plain text, so a path holding "<" or "&" reads as it is.

// A message with an OK button and the given icon.
void ShowMessageBox(QWidget *parent, QMessageBox::Icon icon, const QString &caption,
                    const QString &text);

// A question with Yes (the default) and No; true for Yes. Closing the box
// answers No.
bool AskYesNo(QWidget *parent, const QString &caption, const QString &text);
