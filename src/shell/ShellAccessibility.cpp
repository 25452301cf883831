#include "ShellAccessibility.h"

#include "ui_TLanguageForm.h"
#include "ui_TMainForm.h"

#include "i18n/LocalTexts.h"
#include "i18n/ReadmeCard.h"
#include "i18n/TextNumbers.h"
#include "i18n/TextTable.h"
#include "ui/Accessibility.h"

void DescribeLanguageWindow(Ui::TLanguageForm &ui)
{
    Accessibility::Install();
    // The banner shows the program's name and what it is.
    Accessibility::SetName(ui.Image1, QStringLiteral("Quillon: Style data installer"));
    const QList<std::pair<QToolButton *, QString>> ownNames{
            {ui.sbKorean, QStringLiteral("한국어")},
            {ui.sbEnglish, QStringLiteral("English")},
            {ui.sbChinese, QStringLiteral("简体中文")},
            {ui.sbIndonesian, QStringLiteral("Bahasa Indonesia")},
            {ui.sbJapanese, QStringLiteral("日本語")},
            {ui.sbTaiwanese, QStringLiteral("繁體中文")},
            {ui.sbThai, QStringLiteral("ภาษาไทย")},
    };
    for (const auto &[button, ownName] : ownNames)
        Accessibility::SetDescription(button, ownName);
}

void DescribeWelcomeWindow(Ui::TMainForm &ui, const LanguageTextTable &texts)
{
    Accessibility::Install();
    const ReadmeCard readme = ReadmeCardOf(texts);
    const QString card = QStringLiteral("Quillon: ") + readme.subtitle;
    const QString cardText = ReadmeCardText(readme);
    // The box takes the focus before the links; it says what it shows.
    ui.ScrollBox1->setAccessibleName(GetText(texts, MainText::ReadmeBoxName));
    ui.ScrollBox1->setAccessibleDescription(card + u'\n' + cardText);
    ui.imgReadMe->setAccessibleName(card);
    ui.imgReadMe->setAccessibleDescription(cardText);
    Accessibility::SetName(ui.lbHomepage, TextOr(texts, MainText::HomePageLink,
                                                 QStringLiteral("The maker's home page")));
    ui.lbHomepage->setAccessibleDescription(HomePageShown);
    Accessibility::SetName(
            ui.lbEMail, TextOr(texts, MainText::EMailLink, QStringLiteral("Write to the maker")));
    ui.lbEMail->setAccessibleDescription(EMailShown);
    Accessibility::SetName(ui.sbNext, GetText(texts, MainText::NextButton));
}
