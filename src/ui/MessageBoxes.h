#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// The platform's message boxes as the installer uses them: a numbered text
// (often followed by a path) under a caption. The text is shown as plain
// text, so a path holding "<" or "&" reads as it is.

// The words on the buttons, in the language of the window that asks. An empty
// one keeps Qt's own word, which Qt translates only into some languages.
struct BoxButtons
{
    QString ok;
    QString yes;
    QString no;
};

// The text as a box shows it: a zero-width break after every "\" that has a
// name after it, so that a long Windows path wraps at its separators rather
// than running past the box. ("/" is a break already.)
QString WithPathBreaks(const QString &text);

// A message with an OK button and the given icon.
void ShowMessageBox(QWidget *parent, QMessageBox::Icon icon, const QString &caption,
                    const QString &text, const BoxButtons &buttons = {});

// A question with Yes (the default) and No; true for Yes. Closing the box
// answers No.
bool AskYesNo(QWidget *parent, const QString &caption, const QString &text,
              const BoxButtons &buttons = {});
