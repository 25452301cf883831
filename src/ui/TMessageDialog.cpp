#include "TMessageDialog.h"

#include "ui/Accessibility.h"
#include "ui/FormStyle.h"
#include "ui/MessageBoxes.h"
#include "ui/MessageDialogLayout.h"
#include "ui/Pictures.h"

#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

using namespace MessageDialogMetrics;

namespace {
const QColor Background(0xF5, 0xF4, 0xEB);

// A caption as its button shows it: "&" marks the access key, "&&" is an "&".
QString shownCaption(QString caption)
{
    caption.replace(QLatin1String("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    return caption.replace(QChar(1), QLatin1Char('&'));
}
} // namespace

TMessageDialog::TMessageDialog(QWidget *parent)
    : QDialog(parent), lbMessage(new QLabel(this)), imgIcon(new QLabel(this))
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                   | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("MessageDialog"));
    setModal(true);
    FormStyle::ShowFocusAlways();
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Background);
    setPalette(colours);
    setAutoFillBackground(true);

    InitPictures();
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setGeometry(IconLeft, IconTop, IconSize, IconSize);
    imgIcon->setPixmap(QPixmap(Pictures::Question));
    // The same picture for every question says nothing a screen reader should.
    Accessibility::MarkDecorative(imgIcon);

    // Plain text: a path with "&" or "<" in it is shown as it is.
    lbMessage->setObjectName(QStringLiteral("lbMessage"));
    lbMessage->setTextFormat(Qt::PlainText);
    lbMessage->move(LabelLeft, LabelTop);
    setFixedSize(129, 74);
}

void TMessageDialog::build(const QString &message, const QString &title, const QString &buttons)
{
    if (IsGivenText(title))
        setWindowTitle(title);
    for (const MessageButton &button : SplitButtonCaptions(buttons))
        m_buttons.append(addButton(button));
    setMessage(message);
    // A screen reader says the question with the dialog's title, as it does a
    // message box's: in its words, without the breaks a narrow screen adds.
    setAccessibleDescription(MessageLabelText(message));

    // The sizes are the outer size of the window, frame included, in the
    // layout this dialog follows. The frame is not known before the window
    // system has framed the window (on X11 only after it is shown), and
    // shrinking it then would make it jump; so they are used as the client
    // size, less the band that the frame's title bar would have taken below
    // the buttons.
    const MessageDialogLayout layout
            = LayOutMessageDialog(lbMessage->size(), m_buttons.size(), buttonSize());
    for (qsizetype i = 0; i < m_buttons.size(); ++i)
        m_buttons.at(i)->setGeometry(QRect(layout.buttons.at(i), buttonSize()));
    setFixedSize(layout.window);
    FormStyle::CentreOnScreen(this);
}

// The label takes its text's size; a message too wide for the screen wraps,
// a path at its separators.
void TMessageDialog::setMessage(const QString &message)
{
    lbMessage->setText(MessageLabelText(message));
    lbMessage->adjustSize();
    const int widest = FormStyle::ClientRoom(this).width() - (LabelLeft + 25);
    if (lbMessage->width() > widest) {
        lbMessage->setText(WithPathBreaks(lbMessage->text()));
        lbMessage->setWordWrap(true);
        lbMessage->resize(widest, lbMessage->heightForWidth(widest));
    }
    // An empty label still stands one line tall, so the buttons stay clear of
    // the question image.
    lbMessage->resize(lbMessage->width(),
                      std::max(lbMessage->height(), lbMessage->fontMetrics().height()));
}

// All buttons alike, as wide as the widest caption needs, 63 x 23 at least.
QSize TMessageDialog::buttonSize() const
{
    QList<QSize> captions;
    for (const QPushButton *button : m_buttons) {
        const QFontMetrics metrics = button->fontMetrics();
        captions.append(
                QSize(metrics.horizontalAdvance(shownCaption(button->text())), metrics.height()));
    }
    return MessageButtonSize(captions);
}

QPushButton *TMessageDialog::addButton(const MessageButton &button)
{
    auto *pushButton = new QPushButton(button.caption, this);
    pushButton->setObjectName(button.name);
    Accessibility::SetName(pushButton, button.caption);
    const int result = button.result;
    connect(pushButton, &QPushButton::clicked, this, [this, result] { done(result); });
    m_buttonNames.append(button.name);
    return pushButton;
}

void TMessageDialog::setDefaultButtonName(const QString &name)
{
    m_defaultButtonName = name;
}

bool TMessageDialog::event(QEvent *event)
{
    const bool handled = QDialog::event(event);
    // Only the first activation moves the focus: a user who comes back to the
    // dialog finds it where they left it.
    if (event->type() == QEvent::WindowActivate && m_firstActivation) {
        m_firstActivation = false;
        const qsizetype index = m_buttonNames.indexOf(m_defaultButtonName);
        if (index >= 0)
            m_buttons.at(index)->setFocus(Qt::ActiveWindowFocusReason);
    }
    return handled;
}

int ShowMessageDialog(const QString &message, const QString &title, const QString &buttons,
                      const QString &defaultButtonName, QWidget *parent)
{
    // Guarded: a parent that goes away while the question is open takes the
    // dialog with it.
    QPointer<TMessageDialog> dialog = new TMessageDialog(parent);
    dialog->build(message, title, buttons);
    dialog->setDefaultButtonName(defaultButtonName);
    const int result = dialog->exec();
    delete dialog.data();
    return result;
}
