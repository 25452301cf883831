#pragma once

#include "ModalWatcher.h"

#include <QAbstractButton>
#include <QList>
#include <QMessageBox>

// What a message box showed, for checking after it was answered.
struct SeenBox
{
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// An answer for ModalWatcher or ModalSequence that records the message box
// and presses one of its buttons. A window that is no message box is
// recorded by its class name and closed.
inline ModalWatcher::Answer PressOnBox(QMessageBox::StandardButton button, QList<SeenBox> *seen)
{
    return [button, seen](QWidget *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        if (!box) {
            seen->append({QStringLiteral("<no message box>"),
                          QString::fromLatin1(dialog->metaObject()->className())});
            dialog->close();
            return;
        }
        // The zero-width breaks a box puts into Windows paths are not part of
        // what a person reads.
        seen->append({box->windowTitle(), QString(box->text()).remove(QChar(0x200B)), box->icon()});
        if (QAbstractButton *pressed = box->button(button))
            pressed->click();
        else
            box->close();
    };
}
