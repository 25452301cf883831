#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

class QLabel;
class QPushButton;
struct MessageButton;

// The installer's own modal question box: a question image, a message and a
// row of buttons whose captions the caller passes as one "|"-separated text.
// It is made for one question; the answer is the number of the button
// pressed, 1 for the leftmost, or 0 when it is closed from its title bar or
// with Escape.
class TMessageDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TMessageDialog(QWidget *parent = nullptr);

    // Sets the message and the caption and creates the buttons, then sizes
    // the window and places the buttons. A text that is "" or "0" is not
    // given: the message stays empty, the caption stays "MessageDialog", and
    // such a caption piece makes no button. Call it once.
    void build(const QString &message, const QString &title, const QString &buttons);

    // The name ("&Yes" is named "Yes") of the button that takes the keyboard
    // focus when the window is first activated.
    void setDefaultButtonName(const QString &name);

    // The names of the created buttons, left to right.
    QStringList buttonNames() const { return m_buttonNames; }

protected:
    bool event(QEvent *event) override;

private:
    QPushButton *addButton(const MessageButton &button);
    void setMessage(const QString &message);
    QSize buttonSize() const;

    QLabel *lbMessage = nullptr;
    QLabel *imgIcon = nullptr;
    QList<QPushButton *> m_buttons;
    QStringList m_buttonNames;
    QString m_defaultButtonName;
    bool m_firstActivation = true;
};

// Shows a modal TMessageDialog for one question and returns the number of the
// button pressed (1 for the leftmost), or 0 when the dialog was closed without
// a button; callers read 0 as their most cautious answer (the overwrite
// question "&Yes|&All|&No|Cancel" as Cancel). buttons: captions separated by
// "|", "&" marking an access key. The dialog is destroyed before it returns.
int ShowMessageDialog(const QString &message, const QString &title, const QString &buttons,
                      const QString &defaultButtonName, QWidget *parent = nullptr);
