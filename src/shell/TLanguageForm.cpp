#include "TLanguageForm.h"

#include "ui_TLanguageForm.h"

#include "i18n/Languages.h"
#include "shell/ShellAccessibility.h"
#include "shell/TMainForm.h"
#include "ui/DefaultButtonKey.h"
#include "ui/FormStyle.h"
#include "ui/LanguageFont.h"
#include "ui/Pictures.h"
#include "ui/QtTranslations.h"

#include <QKeyEvent>

namespace {
const int ClientWidth = 473; // the banner's width
const int ClientHeight = 550;

// The button next to `from` in the direction of an arrow key, in the same row
// or column, or null at the edge of the grid.
QToolButton *neighbour(const QList<QToolButton *> &buttons, const QToolButton *from, int key)
{
    const bool across = key == Qt::Key_Left || key == Qt::Key_Right;
    const int sign = key == Qt::Key_Left || key == Qt::Key_Up ? -1 : 1;
    QToolButton *nearest = nullptr;
    int nearestDistance = 0;
    for (QToolButton *button : buttons) {
        const QRect a = from->geometry();
        const QRect b = button->geometry();
        const bool inLine = across ? a.top() <= b.bottom() && b.top() <= a.bottom()
                                   : a.left() <= b.right() && b.left() <= a.right();
        const int distance
                = sign
                  * (across ? b.center().x() - a.center().x() : b.center().y() - a.center().y());
        if (inLine && distance > 0 && (!nearest || distance < nearestDistance)) {
            nearest = button;
            nearestDistance = distance;
        }
    }
    return nearest;
}

} // namespace

TLanguageForm::TLanguageForm(const RunSettings &settings, QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::TLanguageForm>()), m_settings(settings)
{
    ui->setupUi(this);
    FormStyle::SetBackground(this);
    FormStyle::ShowFocusAlways();
    FormStyle::SetTitleStyle(ui->stMainText);
    InitPictures();
    ui->Image1->setPixmap(QPixmap(Pictures::Banner));

    QFont bold = ui->sbKorean->font();
    bold.setBold(true);
    QPalette navy = ui->sbKorean->palette();
    navy.setColor(QPalette::ButtonText, FormStyle::ButtonColour);
    m_buttons = {ui->sbKorean,   ui->sbEnglish,   ui->sbChinese, ui->sbIndonesian,
                 ui->sbJapanese, ui->sbTaiwanese, ui->sbThai};
    for (qsizetype i = 0; i < m_buttons.size(); ++i) {
        QToolButton *button = m_buttons.at(i);
        button->setAutoRaise(true);
        button->setFont(bold);
        button->setPalette(navy);
        button->setMinimumSize(95, 26);
        button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        // Flat buttons show no focus in every style; a dotted frame marks
        // the one that Enter or Space presses.
        button->setStyleSheet(
                QStringLiteral("QToolButton:focus { border: 1px dotted #000080; padding: 1px; }"));
        button->installEventFilter(this);
        connectButton(button, LanguageNames().at(i));
    }
    // Enter, like Space, presses the focused language button.
    new DefaultButtonKey(this, nullptr);
    ui->sbKorean->setFocus(Qt::OtherFocusReason);
    DescribeLanguageWindow(*ui);

    FormStyle::FixSize(this, ClientWidth, ClientHeight);
    FormStyle::CentreOnScreen(this);
}

TLanguageForm::~TLanguageForm() = default;

TMainForm *TLanguageForm::welcomeWindow() const
{
    return m_welcome;
}

void TLanguageForm::connectButton(QToolButton *button, const QString &language)
{
    connect(button, &QToolButton::clicked, this, [this, language] { ChooseLanguage(language); });
}

// The arrow keys move between the buttons as they stand in their grid; the
// button that takes the focus is scrolled into sight on a small screen.
bool TLanguageForm::eventFilter(QObject *watched, QEvent *event)
{
    auto *button = qobject_cast<QToolButton *>(watched);
    if (!button || !m_buttons.contains(button))
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn)
        ui->languageScroll->ensureWidgetVisible(button);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up
            || key == Qt::Key_Down) {
            if (QToolButton *next = neighbour(m_buttons, button, key))
                next->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TLanguageForm::ChooseLanguage(const QString &language)
{
    SetCurrentLanguageName(language);
    UseQtTranslations(language);
    UseLanguageFont(language);
    if (!m_welcome)
        m_welcome = new TMainForm(m_settings, this);
    m_welcome->show();
    hide();
}
