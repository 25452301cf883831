#include "PageChecks.h"

#include "i18n/LocalTexts.h"
#include "i18n/TextNumbers.h"
#include "i18n/TextTable.h"
#include "platform/FolderIdentity.h"
#include "selection/WizardState.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString Warning = QStringLiteral("Warning");

// The protected folder each kind may still use for its own data.
QString ownFolderSuffix(DataKind kind)
{
    switch (kind) {
    case DataKind::STY:
        return QStringLiteral("Style");
    case DataKind::STI:
        return QStringLiteral("stiSample");
    case DataKind::DETAIL:
        break;
    }
    return QStringLiteral("Detail");
}

std::optional<Refusal> protectedFolder(DataKind kind, const WizardState &state,
                                       const LanguageTextTable &texts)
{
    const QString destination = state.kind(kind).destination;
    for (const QString &folder : state.protectedFolderList) {
        if (!folder.endsWith(ownFolderSuffix(kind)) && IsSameFolder(destination, folder))
            return Refusal{GetText(texts, InstallText::ProtectedFolder) + u'\n'
                                   + GetText(texts, InstallText::ChooseAnotherFolder),
                           Warning};
    }
    return std::nullopt;
}

// "STY install folder: " or "STI install folder: " in the texts' language.
QString installFolderWords(DataKind kind, const LanguageTextTable &texts)
{
    const bool sty = kind == DataKind::STY;
    return TextOr(texts, sty ? InstallText::StyInstallFolder : InstallText::StiInstallFolder,
                  DataKindName(kind) + QStringLiteral(" install folder: "));
}

Refusal taken(DataKind other, const WizardState &state, const LanguageTextTable &texts)
{
    return {GetText(texts, InstallText::DestinationTaken) + QStringLiteral("\n\n")
                    + installFolderWords(other, texts)
                    + QDir::toNativeSeparators(state.kind(other).destination),
            Warning};
}

std::optional<Refusal> checkSti(const WizardState &state, const LanguageTextTable &texts)
{
    const KindState &sty = state.kind(DataKind::STY);
    const KindState &sti = state.kind(DataKind::STI);
    if (!sty.selected || !sti.selected)
        return std::nullopt;
    if (IsSameFolder(sti.destination, sty.destination))
        return taken(DataKind::STY, state, texts);
    if (!IsSameFolder(sti.destination, state.defaultDestination(DataKind::STI))
        && !QFileInfo(sti.destination).isDir())
        return Refusal{GetText(texts, InstallText::DestinationMissing) + u'\n'
                               + installFolderWords(DataKind::STI, texts)
                               + QDir::toNativeSeparators(sti.destination),
                       Warning};
    return std::nullopt;
}

std::optional<Refusal> checkDetail(const WizardState &state, const LanguageTextTable &texts)
{
    for (DataKind kind : AllDataKinds) {
        if (!state.kind(kind).selected)
            return std::nullopt;
    }
    const QString detail = state.kind(DataKind::DETAIL).destination;
    if (IsSameFolder(detail, state.kind(DataKind::STY).destination))
        return taken(DataKind::STY, state, texts);
    if (IsSameFolder(detail, state.kind(DataKind::STI).destination))
        return taken(DataKind::STI, state, texts);
    return std::nullopt;
}

} // namespace

namespace PageChecks {

std::optional<Refusal> checkSelection(const WizardState &state, const LanguageTextTable &texts)
{
    for (DataKind kind : AllDataKinds) {
        if (state.kind(kind).selected)
            return std::nullopt;
    }
    return Refusal{GetText(texts, InstallText::NothingSelected), QStringLiteral("Not Selected")};
}

std::optional<Refusal> checkDestination(DataKind kind, const WizardState &state,
                                        const LanguageTextTable &texts)
{
    if (auto refusal = protectedFolder(kind, state, texts))
        return refusal;
    switch (kind) {
    case DataKind::STY:
        return std::nullopt;
    case DataKind::STI:
        return checkSti(state, texts);
    case DataKind::DETAIL:
        break;
    }
    return checkDetail(state, texts);
}

} // namespace PageChecks
