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

namespace {
const int ClientWidth = 473; // the banner's width
const int ClientHeight = 550;
} // namespace

TLanguageForm::TLanguageForm(const RunSettings &settings, QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::TLanguageForm>()), m_settings(settings)
{
    ui->setupUi(this);
    FormStyle::SetBackground(this);
    FormStyle::SetTitleStyle(ui->stMainText);
    InitPictures();
    ui->Image1->setPixmap(QPixmap(Pictures::Banner));

    QFont bold = ui->sbKorean->font();
    bold.setBold(true);
    QPalette navy = ui->sbKorean->palette();
    navy.setColor(QPalette::ButtonText, FormStyle::ButtonColour);
    const QList<QToolButton *> buttons{ui->sbKorean,     ui->sbEnglish,  ui->sbChinese,
                                       ui->sbIndonesian, ui->sbJapanese, ui->sbTaiwanese,
                                       ui->sbThai};
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        QToolButton *button = buttons.at(i);
        button->setAutoRaise(true);
        button->setFont(bold);
        button->setPalette(navy);
        button->setMinimumSize(95, 26);
        button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        // Flat buttons show no focus in every style; a dotted frame marks
        // the one that Enter or Space presses.
        button->setStyleSheet(
                QStringLiteral("QToolButton:focus { border: 1px dotted #000080; padding: 1px; }"));
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
