#pragma once

#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>

// The arithmetic of the message dialog (TMessageDialog), kept apart from the
// window so that it can be checked without showing one.

// One button of the message dialog.
struct MessageButton
{
    QString caption; // the piece of the caption list, "&" included
    QString name;    // the caption without its first "&": "&Yes" is "Yes"
    int result = 0;  // its number among the created buttons, 1 for the leftmost
};

// Where the dialog's parts go.
struct MessageDialogLayout
{
    QSize window;          // the dialog's size
    QList<QPoint> buttons; // each button's left and top, left to right
};

namespace MessageDialogMetrics {
constexpr int IconLeft = 8;
constexpr int IconTop = 13;
constexpr int IconSize = 36;
constexpr int LabelLeft = 48;
constexpr int LabelTop = 13;
constexpr int ButtonWidth = 63;
constexpr int ButtonHeight = 23;
constexpr int ButtonGap = 5;
constexpr int ButtonPitch = ButtonWidth + ButtonGap;
// The room a caption keeps from its button's edges, at each side.
constexpr int ButtonPadding = 8;
constexpr int BottomMargin = 12; // below the row of buttons
} // namespace MessageDialogMetrics

// False for "" and "0", which callers pass for a text they do not give.
bool IsGivenText(const QString &text);

// The message as the label shows it: CR LF and lone CR become line feeds, so
// texts written with Windows line breaks break their lines and show no stray
// characters. A message not given is empty.
QString MessageLabelText(const QString &message);

// Splits a caption list such as "&Yes|&All|&No|Cancel" at every "|", left to
// right. A piece that is not given ("" or "0") makes no button and takes no
// number. A list that is not given makes no buttons.
QList<MessageButton> SplitButtonCaptions(const QString &buttons);

// The size of every button of a row whose captions need captionSizes: at least
// 63 x 23, wider and taller where a caption needs it, all alike.
QSize MessageButtonSize(const QList<QSize> &captionSizes);

// Lays out a dialog whose message label (at 48,13) has labelSize, with
// buttonCount buttons of buttonSize in one row, 5 apart, centred on half the
// width, 30 pixels below the label and 12 above the bottom edge. The window is
// as wide as the row or the label with 73 pixels to spare, whichever is wider.
MessageDialogLayout LayOutMessageDialog(const QSize &labelSize, int buttonCount,
                                        const QSize &buttonSize
                                        = {MessageDialogMetrics::ButtonWidth,
                                           MessageDialogMetrics::ButtonHeight});
