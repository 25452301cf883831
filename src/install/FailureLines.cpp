#include "FailureLines.h"

#include "i18n/TextNumbers.h"
#include "i18n/TextTable.h"
#include "install/InstallContext.h"

int ReasonText(FailureReason reason)
{
    switch (reason) {
    case FailureReason::DoesNotInflate:
        return InstallText::ReasonDoesNotInflate;
    case FailureReason::WrongSize:
        return InstallText::ReasonWrongSize;
    case FailureReason::TooShort:
        return InstallText::ReasonTooShort;
    case FailureReason::OldFormat:
        return InstallText::ReasonOldFormat;
    case FailureReason::CannotRead:
        return InstallText::ReasonCannotRead;
    case FailureReason::FolderMissing:
        return InstallText::ReasonFolderNotCreated;
    case FailureReason::FileInTheWay:
        return InstallText::ReasonFileInTheWay;
    case FailureReason::NoPermission:
        return InstallText::ReasonNoPermission;
    case FailureReason::DiskFull:
        return InstallText::ReasonDiskFull;
    case FailureReason::LinkInTheWay:
        return InstallText::ReasonLinkInTheWay;
    case FailureReason::FolderInTheWay:
        return InstallText::ReasonFolderInTheWay;
    case FailureReason::NotRecorded:
        return InstallText::ReasonNotRecorded;
    case FailureReason::NotRemoved:
        return InstallText::ReasonNotRemoved;
    case FailureReason::NameNotAllowed:
        return InstallText::ReasonNameNotAllowed;
    case FailureReason::None:
    case FailureReason::Other:
        break;
    }
    return -1;
}

QString FailureLine(const InstallContext &context, int text, const QString &path,
                    const FileFailure &failure)
{
    return FailureLine(context.texts, text, path, failure);
}

QString FailureLine(const LanguageTextTable &texts, int text, const QString &path,
                    const FileFailure &failure)
{
    QString line = GetText(texts, text) + NativePath(path);
    const int reason = ReasonText(failure.reason);
    const QString message = failure.systemMessage.trimmed();
    if (reason >= 0)
        line += QStringLiteral(" - ") + GetText(texts, reason);
    if (!message.isEmpty())
        line += reason >= 0 ? QStringLiteral(" (") + message + u')'
                            : QStringLiteral(" - ") + message;
    return line;
}
