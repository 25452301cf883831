#include "FormStyle.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <QWidget>

#include <algorithm>

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

void FormStyle::FixSize(QWidget *window, int minimumWidth, int minimumHeight)
{
    if (window->layout())
        window->layout()->activate();
    const QSize wanted = window->sizeHint();
    window->setFixedSize(std::max(wanted.width(), minimumWidth),
                         std::max(wanted.height(), minimumHeight));
}

void FormStyle::CentreOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}
