#include "MessageDialogLayout.h"

#include <QStringList>

#include <algorithm>

using namespace MessageDialogMetrics;

bool IsGivenText(const QString &text)
{
    return !text.isEmpty() && text != QLatin1String("0");
}

QString MessageLabelText(const QString &message)
{
    if (!IsGivenText(message))
        return {};
    QString text = message;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QList<MessageButton> SplitButtonCaptions(const QString &buttons)
{
    QList<MessageButton> result;
    if (!IsGivenText(buttons))
        return result;
    const QStringList pieces = buttons.split(QLatin1Char('|'));
    for (const QString &piece : pieces) {
        if (!IsGivenText(piece))
            continue;
        MessageButton button;
        button.caption = piece;
        button.name = piece;
        const qsizetype ampersand = piece.indexOf(QLatin1Char('&'));
        if (ampersand >= 0)
            button.name.remove(ampersand, 1);
        button.result = int(result.size()) + 1;
        result.append(button);
    }
    return result;
}

QSize MessageButtonSize(const QList<QSize> &captionSizes)
{
    QSize size(ButtonWidth, ButtonHeight);
    for (const QSize &caption : captionSizes)
        size = size.expandedTo(caption + QSize(2 * ButtonPadding, ButtonPadding));
    return size;
}

MessageDialogLayout LayOutMessageDialog(const QSize &labelSize, int buttonCount,
                                        const QSize &buttonSize)
{
    const int n = std::max(buttonCount, 0);
    const int pitch = buttonSize.width() + ButtonGap;
    MessageDialogLayout layout;
    const int width = std::max(pitch * n + 68, labelSize.width() + 73);
    const int top = LabelTop + labelSize.height() + 30;
    layout.window = QSize(width, top + buttonSize.height() + BottomMargin);

    // Integer halves: an even row has its middle gap just left of the half,
    // an odd row its middle button on it (63 wide: W/2 - 2 and W/2 - 32).
    const int half = width / 2;
    const int first = n % 2 == 0 ? half - 2 - (n / 2) * pitch
                                 : half - (buttonSize.width() + 1) / 2 - ((n - 1) / 2) * pitch;
    for (int i = 0; i < n; ++i)
        layout.buttons.append(QPoint(first + i * pitch, top));
    return layout;
}
