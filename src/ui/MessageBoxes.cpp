#include "MessageBoxes.h"

#include <QAbstractButton>

namespace {

void name(QMessageBox &box, QMessageBox::StandardButton which, const QString &word)
{
    if (QAbstractButton *button = box.button(which); button && !word.isEmpty())
        button->setText(word);
}

} // namespace

void ShowMessageBox(QWidget *parent, QMessageBox::Icon icon, const QString &caption,
                    const QString &text, const BoxButtons &buttons)
{
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    name(box, QMessageBox::Ok, buttons.ok);
    box.exec();
}

bool AskYesNo(QWidget *parent, const QString &caption, const QString &text,
              const BoxButtons &buttons)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    name(box, QMessageBox::Yes, buttons.yes);
    name(box, QMessageBox::No, buttons.no);
    return box.exec() == QMessageBox::Yes;
}
