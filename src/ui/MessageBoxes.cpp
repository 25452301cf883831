#include "MessageBoxes.h"

#include "i18n/SpokenText.h"

#include <QAbstractButton>

namespace {

void name(QMessageBox &box, QMessageBox::StandardButton which, const QString &word)
{
    if (QAbstractButton *button = box.button(which); button && !word.isEmpty()) {
        button->setText(word);
        button->setAccessibleName(SpokenText(word));
    }
}

} // namespace

QString WithPathBreaks(const QString &text)
{
    QString shown;
    shown.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        shown += text.at(i);
        const bool nameFollows = i + 1 < text.size() && !text.at(i + 1).isSpace();
        if (text.at(i) == u'\\' && nameFollows)
            shown += QChar(0x200B); // zero width space
    }
    return shown;
}

void ShowMessageBox(QWidget *parent, QMessageBox::Icon icon, const QString &caption,
                    const QString &text, const BoxButtons &buttons)
{
    QMessageBox box(icon, caption, WithPathBreaks(text), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    name(box, QMessageBox::Ok, buttons.ok);
    box.exec();
}

bool AskYesNo(QWidget *parent, const QString &caption, const QString &text,
              const BoxButtons &buttons)
{
    QMessageBox box(QMessageBox::Question, caption, WithPathBreaks(text),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    name(box, QMessageBox::Yes, buttons.yes);
    name(box, QMessageBox::No, buttons.no);
    return box.exec() == QMessageBox::Yes;
}
