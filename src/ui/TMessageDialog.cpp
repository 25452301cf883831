#include "TMessageDialog.h"

#include "ui/Accessibility.h"
#include "ui/MessageDialogLayout.h"
#include "ui/Pictures.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

using namespace MessageDialogMetrics;

namespace {
const QColor Background(0xF5, 0xF4, 0xEB);
}

TMessageDialog::TMessageDialog(QWidget *parent)
    : QDialog(parent), lbMessage(new QLabel(this)), imgIcon(new QLabel(this))
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                   | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("MessageDialog"));
    setModal(true);
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
    lbMessage->setText(MessageLabelText(message));
    lbMessage->adjustSize();
    // An empty label still stands one line tall, so the buttons stay clear of
    // the question image.
    lbMessage->resize(lbMessage->width(),
                      std::max(lbMessage->height(), lbMessage->fontMetrics().height()));
    if (IsGivenText(title))
        setWindowTitle(title);
    // A screen reader says the question with the dialog's title, as it does a message box's.
    setAccessibleDescription(lbMessage->text());

    for (const MessageButton &button : SplitButtonCaptions(buttons))
        m_buttons.append(addButton(button));

    // The sizes are the outer size of the window, frame included, in the
    // layout this dialog follows. The frame is not known before the window
    // system has framed the window (on X11 only after it is shown), and
    // shrinking it then would make it jump; so they are used as the client
    // size. The window is a frame's width larger, every control keeps its
    // place and the row of buttons keeps its place relative to the window.
    const MessageDialogLayout layout = LayOutMessageDialog(lbMessage->size(), m_buttons.size());
    for (qsizetype i = 0; i < m_buttons.size(); ++i)
        m_buttons.at(i)->move(layout.buttons.at(i));
    setFixedSize(layout.window);
    centreOnScreen();
}

QPushButton *TMessageDialog::addButton(const MessageButton &button)
{
    auto *pushButton = new QPushButton(button.caption, this);
    pushButton->setObjectName(button.name);
    Accessibility::SetName(pushButton, button.caption);
    pushButton->resize(ButtonWidth, ButtonHeight);
    const int result = button.result;
    connect(pushButton, &QPushButton::clicked, this, [this, result] { done(result); });
    m_buttonNames.append(button.name);
    return pushButton;
}

void TMessageDialog::setDefaultButtonName(const QString &name)
{
    m_defaultButtonName = name;
}

void TMessageDialog::centreOnScreen()
{
    QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect desktop = screen->availableGeometry();
    // A message taller than the screen keeps its title bar on it.
    const QPoint centred = desktop.center() - QPoint(width() / 2, height() / 2);
    move(std::max(centred.x(), desktop.left()), std::max(centred.y(), desktop.top()));
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
