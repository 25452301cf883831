#include "LocalTexts.h"

#include "i18n/TextNumbers.h"
#include "i18n/TextTable.h"

QString TextOr(const LanguageTextTable &table, int number, const QString &fallback)
{
    const QString text = GetText(table, number);
    return text.isEmpty() ? fallback : text;
}

const QList<std::pair<QString, int>> &InstallCaptions()
{
    static const QList<std::pair<QString, int>> captions{
            {QStringLiteral("Question"), InstallText::QuestionCaption},
            {QStringLiteral("Warning"), InstallText::WarningCaption},
            {QStringLiteral("Not Selected"), InstallText::NotSelectedCaption},
            {QStringLiteral("Completed"), InstallText::CompletedCaption},
            {QStringLiteral("Save fail list"), InstallText::SaveFailListCaption},
            {QStringLiteral("Close Installer"), InstallText::CloseInstallerCaption},
            {QStringLiteral("Delete Files"), InstallText::DeleteFilesCaption},
            {QStringLiteral("Remove Files"), InstallText::RemoveFilesCaption},
            {QStringLiteral("Installing Cancel"), InstallText::InstallingCancelCaption},
            {QStringLiteral("Cancel"), InstallText::CancelCaption},
            {QStringLiteral("Cancel Installing"), InstallText::CancelInstallingCaption},
            {QStringLiteral("Saved"), InstallText::SavedCaption},
    };
    return captions;
}

QString InstallCaption(const LanguageTextTable &installTexts, const QString &englishCaption)
{
    for (const auto &[english, number] : InstallCaptions()) {
        if (english == englishCaption)
            return TextOr(installTexts, number, englishCaption);
    }
    return englishCaption;
}
