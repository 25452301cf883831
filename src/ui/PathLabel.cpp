#include "PathLabel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

PathLabel::PathLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QSize PathLabel::minimumSizeHint() const
{
    return {fontMetrics().averageCharWidth() * 12, QLabel::minimumSizeHint().height()};
}

void PathLabel::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event); // the frame only; the text is drawn below
    QPainter painter(this);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const QStringList lines = text().split(u'\n');
    const int lineHeight = fontMetrics().lineSpacing();
    QRect lineRect(area.left(), area.top(), area.width(), lineHeight);
    if (alignment() & Qt::AlignVCenter)
        lineRect.moveTop(area.top() + (area.height() - lineHeight * int(lines.size())) / 2);
    for (const QString &line : lines) {
        const QString shown = fontMetrics().elidedText(line, Qt::ElideMiddle, area.width());
        style()->drawItemText(&painter, lineRect, int(alignment()), palette(), isEnabled(), shown,
                              foregroundRole());
        lineRect.translate(0, lineHeight);
    }
}

bool PathLabel::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        if (isShortened())
            QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}

bool PathLabel::isShortened() const
{
    const int width = contentsRect().width() - 2 * margin();
    const QStringList lines = text().split(u'\n');
    return std::any_of(lines.cbegin(), lines.cend(), [&](const QString &line) {
        return fontMetrics().horizontalAdvance(line) > width;
    });
}
