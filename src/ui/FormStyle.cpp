#include "FormStyle.h"

#include "ui/FocusStyle.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

const int CompactSpacing = 2;
const int CompactMargin = 4;

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
    // The window system's own answer is the newest; a widget learns of its
    // frame only when it moves.
    if (const QWindow *handle = window->windowHandle(); handle && !handle->frameMargins().isNull())
        return handle->frameMargins();
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    if (frame != client)
        return {client.left() - frame.left(), client.top() - frame.top(),
                frame.right() - client.right(), frame.bottom() - client.bottom()};
    // The window manager frames the program's windows alike: one that is
    // framed already tells what this one will get.
    for (const QWidget *other : QApplication::topLevelWidgets()) {
        const QWindow *handle = other->windowHandle();
        if (other != window && handle && !handle->frameMargins().isNull())
            return handle->frameMargins();
    }
    // Before the first window is framed, a generous guess. Window managers
    // draw their title bars in device pixels, so on a scaled screen the real
    // frame is smaller than this.
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
    // A shown window whose frame Qt does not know yet would take a plain
    // move as the place of its client area, and the window manager would put
    // the title bar above it, off the top of the screen; the frame's place is
    // said as such.
    if (QWindow *handle = window->windowHandle())
        handle->setFramePosition(frame.topLeft());
    else
        window->move(frame.topLeft());
}

void FormStyle::ShowFocusAlways()
{
    // Styles draw the focus only in a window whose focus was moved by a key
    // (Qt marks such a window with WA_KeyboardFocusChange); a window opened
    // with its focus set, or clicked, would hide where Enter and Space go.
    static bool connected = false;
    if (connected || !qApp)
        return;
    connected = true;
    QApplication::setStyle(new FocusStyle);
    QObject::connect(qApp, &QApplication::focusChanged, qApp, [](QWidget *, QWidget *now) {
        if (now && !now->window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
            now->window()->setAttribute(Qt::WA_KeyboardFocusChange);
            now->update();
        }
    });
}

void FormStyle::Compact(QWidget *root)
{
    QList<QLayout *> layouts = root->findChildren<QLayout *>();
    if (root->layout())
        layouts.append(root->layout());
    for (QLayout *layout : std::as_const(layouts)) {
        if (layout->spacing() < 0 || layout->spacing() > CompactSpacing)
            layout->setSpacing(CompactSpacing);
        const QMargins m = layout->contentsMargins();
        layout->setContentsMargins(
                std::min(m.left(), CompactMargin), std::min(m.top(), CompactMargin),
                std::min(m.right(), CompactMargin), std::min(m.bottom(), CompactMargin));
        layout->invalidate();
    }
}
