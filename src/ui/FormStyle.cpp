#include "FormStyle.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace {

QRect availableArea(const QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace

void FormStyle::SetBackground(QWidget *window)
{
    QPalette colours = window->palette();
    colours.setColor(QPalette::Window, Background);
    window->setPalette(colours);
    window->setAutoFillBackground(true);
}

void FormStyle::SetTitleStyle(QLabel *title)
{
    QFont font = title->font();
    // A serif face on every desktop: the first that is installed is taken.
    font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("DejaVu Serif"),
                      QStringLiteral("Noto Serif")});
    font.setStyleHint(QFont::Serif);
    font.setPointSize(22);
    font.setBold(true);
    title->setFont(font);
    QPalette colours = title->palette();
    colours.setColor(QPalette::WindowText, TitleColour);
    title->setPalette(colours);
}

QMargins FormStyle::FrameMargins(const QWidget *window)
{
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    if (frame != client)
        return {client.left() - frame.left(), client.top() - frame.top(),
                frame.right() - client.right(), frame.bottom() - client.bottom()};
    // Window managers draw their title bars in device pixels, so on a scaled
    // screen the real frame is smaller than this.
    const int border = 4;
    const int titleBar = std::max(window->style()->pixelMetric(QStyle::PM_TitleBarHeight), 24);
    return {border, border + titleBar, border, border};
}

QSize FormStyle::ClientRoom(const QWidget *window)
{
    const QRect area = availableArea(window);
    if (area.isEmpty())
        return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    return area.marginsRemoved(FrameMargins(window)).size();
}

void FormStyle::FixSize(QWidget *window, int minimumWidth, int minimumHeight)
{
    if (window->layout())
        window->layout()->activate();
    const QSize wanted = window->sizeHint().expandedTo(QSize(minimumWidth, minimumHeight));
    const QSize least = window->layout() ? window->layout()->totalMinimumSize() : QSize();
    window->setFixedSize(wanted.boundedTo(ClientRoom(window)).expandedTo(least));
}

void FormStyle::CentreOnScreen(QWidget *window)
{
    const QRect area = availableArea(window);
    if (area.isEmpty())
        return;
    QRect frame = window->geometry().marginsAdded(FrameMargins(window));
    frame.moveCenter(area.center());
    // A window taller or wider than the area keeps its title bar and its
    // left edge on the screen; what does not fit goes off the bottom.
    frame.moveTop(std::max(area.top(), std::min(frame.top(), area.bottom() - frame.height() + 1)));
    frame.moveLeft(std::max(area.left(), std::min(frame.left(), area.right() - frame.width() + 1)));
    window->move(frame.topLeft());
}
