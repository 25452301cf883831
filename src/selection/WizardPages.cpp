#include "WizardPages.h"

#include "i18n/TextNumbers.h"
#include "i18n/TextTable.h"
#include "selection/WizardState.h"

#include <QDir>
#include <QStringList>

namespace WizardPages {

Page KindPage(DataKind kind)
{
    return static_cast<Page>(PageTwo + KindIndex(kind));
}

std::optional<DataKind> PageKind(int page)
{
    if (page < PageTwo || page > PageFour)
        return std::nullopt;
    return static_cast<DataKind>(page - PageTwo);
}

std::optional<DataKind> NextKind(const WizardState &state, std::optional<DataKind> after)
{
    const int first = after ? KindIndex(*after) + 1 : 0;
    for (int i = first; i < int(AllDataKinds.size()); ++i) {
        if (state.kind(AllDataKinds[i]).selected)
            return AllDataKinds[i];
    }
    return std::nullopt;
}

Page PreviousPage(int page, const WizardState &state)
{
    if (page == PageFive && !state.userInstall)
        return PageOne;
    const int before = page == PageFive ? int(AllDataKinds.size()) : page - PageTwo;
    for (int i = before - 1; i >= 0; --i) {
        if (state.kind(AllDataKinds[i]).selected)
            return KindPage(AllDataKinds[i]);
    }
    return page == PageFive ? PageTwo : PageOne;
}

QString ClickHint(const WizardState &state, const LanguageTextTable &texts)
{
    const bool sty = state.kind(DataKind::STY).selected;
    const bool sti = state.kind(DataKind::STI).selected;
    const bool detail = state.kind(DataKind::DETAIL).selected;
    int pair = -1;
    if (sty && sti && detail)
        pair = InstallText::HintAllKinds;
    else if (sty && sti)
        pair = InstallText::HintStyAndSti;
    else if (sti && detail)
        pair = InstallText::HintStiAndDetail;
    else if (sty && detail)
        pair = InstallText::HintStyAndDetail;
    QString hint = GetText(texts, InstallText::ClickHint);
    if (pair >= 0)
        hint += GetText(texts, pair) + GetText(texts, InstallText::HintDifferentFolders);
    return hint;
}

QString InstallSummary(const WizardState &state, int page)
{
    const bool basic = page == PageOne;
    QStringList lines;
    for (DataKind kind : AllDataKinds) {
        const KindState &k = state.kind(kind);
        if (k.selected && (basic || k.hasCheckedUnit))
            lines.append(DataKindName(kind) + QStringLiteral(" : ")
                         + QDir::toNativeSeparators(k.destination));
    }
    QString summary = lines.join(u'\n');
    // Leaving the STY page straight for page 5 has always indented its line by a blank.
    if (page == PageTwo && !summary.isEmpty())
        summary.prepend(u' ');
    return summary;
}

} // namespace WizardPages
