#include "ReadmeCard.h"

#include "i18n/TextNumbers.h"
#include "i18n/TextTable.h"

ReadmeCard ReadmeCardOf(const LanguageTextTable &mainTexts)
{
    auto text = [&mainTexts](int number) { return GetText(mainTexts, number); };
    ReadmeCard card;
    card.subtitle = text(MainText::ReadmeSubtitle);
    card.installsHeading = text(MainText::ReadmeInstallsHeading);
    card.installsBody = text(MainText::ReadmeInstallsBody);
    card.requirement = text(MainText::ReadmeRequirement);
    card.stepsHeading = text(MainText::ReadmeStepsHeading);
    card.steps = {text(MainText::ReadmeStep1), text(MainText::ReadmeStep2),
                  text(MainText::ReadmeStep3), text(MainText::ReadmeStep4)};
    card.homePageLabel = text(MainText::ReadmeHomePage);
    card.contactNote = text(MainText::ReadmeContactNote);
    return card;
}

QString ReadmeCardText(const ReadmeCard &card)
{
    QStringList lines{card.installsHeading, card.installsBody, card.requirement, card.stepsHeading};
    for (qsizetype i = 0; i < card.steps.size(); ++i) {
        if (!card.steps.at(i).isEmpty())
            lines << QStringLiteral("%1. %2").arg(i + 1).arg(card.steps.at(i));
    }
    lines << card.homePageLabel + QStringLiteral(": ") + HomePageShown;
    lines << card.contactNote + u' ' + EMailShown;
    lines.removeAll(QString());
    return lines.join(u'\n');
}
