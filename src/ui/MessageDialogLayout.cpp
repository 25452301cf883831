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

MessageDialogLayout LayOutMessageDialog(const QSize &labelSize, int buttonCount)
{
    const int n = std::max(buttonCount, 0);
    MessageDialogLayout layout;
    const int width = std::max(ButtonPitch * n + 68, labelSize.width() + 73);
    layout.window = QSize(width, LabelTop + labelSize.height() + 101);

    // Integer halves; an even row starts 2 pixels further left than an odd one.
    const int half = width / 2;
    const int first = n % 2 == 0 ? half - 2 - (n / 2) * ButtonPitch
                                 : half - 32 - ((n - 1) / 2) * ButtonPitch;
    const int top = LabelTop + labelSize.height() + 30;
    for (int i = 0; i < n; ++i)
        layout.buttons.append(QPoint(first + i * ButtonPitch, top));
    return layout;
}
