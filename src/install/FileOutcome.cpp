#include "FileOutcome.h"

FileOutcome FileOutcome::failed(const QString &path, const FileFailure &failure)
{
    return {path, Result::Failed, FailureCode(failure.reason), failure.systemMessage.trimmed()};
}

std::optional<FileOutcome> FileOutcome::checked(const QString &path, Comparison comparison,
                                                const FileFailure &failure)
{
    switch (comparison) {
    case Comparison::Identical:
        return std::nullopt;
    case Comparison::Missing:
        return FileOutcome{path, Result::Missing, ComparisonCode(comparison), {}};
    case Comparison::DifferentSize:
    case Comparison::DifferentContent:
    case Comparison::InstalledUnreadable:
    case Comparison::LinkInTheWay:
        return FileOutcome{path, Result::Different, ComparisonCode(comparison),
                           failure.systemMessage.trimmed()};
    case Comparison::PackageDamaged:
        break;
    }
    // Nothing could be compared: the check failed for this file.
    return failed(path, failure);
}

void MarkUndone(QList<FileOutcome> &outcomes, const QSet<QString> &paths)
{
    for (FileOutcome &outcome : outcomes) {
        const bool done = outcome.result == FileOutcome::Result::Installed
                          || outcome.result == FileOutcome::Result::Replaced;
        if (done && paths.contains(outcome.path))
            outcome = {outcome.path, FileOutcome::Result::Failed, QStringLiteral("undone")};
    }
}

QString ResultCode(FileOutcome::Result result)
{
    switch (result) {
    case FileOutcome::Result::Installed:
        return QStringLiteral("installed");
    case FileOutcome::Result::Replaced:
        return QStringLiteral("replaced");
    case FileOutcome::Result::Kept:
        return QStringLiteral("kept");
    case FileOutcome::Result::Failed:
        return QStringLiteral("failed");
    case FileOutcome::Result::Missing:
        return QStringLiteral("missing");
    case FileOutcome::Result::Removed:
        return QStringLiteral("removed");
    case FileOutcome::Result::Different:
        break;
    }
    return QStringLiteral("different");
}

QString FailureCode(FailureReason reason)
{
    switch (reason) {
    case FailureReason::None:
        return {};
    case FailureReason::DoesNotInflate:
        return QStringLiteral("does-not-inflate");
    case FailureReason::WrongSize:
        return QStringLiteral("wrong-size");
    case FailureReason::TooShort:
        return QStringLiteral("too-short");
    case FailureReason::OldFormat:
        return QStringLiteral("old-format");
    case FailureReason::CannotRead:
        return QStringLiteral("cannot-read");
    case FailureReason::FolderMissing:
        return QStringLiteral("folder-missing");
    case FailureReason::FileInTheWay:
        return QStringLiteral("file-in-the-way");
    case FailureReason::NoPermission:
        return QStringLiteral("no-permission");
    case FailureReason::DiskFull:
        return QStringLiteral("disk-full");
    case FailureReason::LinkInTheWay:
        return QStringLiteral("link-in-the-way");
    case FailureReason::FolderInTheWay:
        return QStringLiteral("folder-in-the-way");
    case FailureReason::NotRecorded:
        return QStringLiteral("not-recorded");
    case FailureReason::NotRemoved:
        return QStringLiteral("not-removed");
    case FailureReason::NameNotAllowed:
        return QStringLiteral("name-not-allowed");
    case FailureReason::Other:
        break;
    }
    return QStringLiteral("other");
}

QString ComparisonCode(Comparison comparison)
{
    switch (comparison) {
    case Comparison::Identical:
        return QStringLiteral("identical");
    case Comparison::Missing:
        return QStringLiteral("missing");
    case Comparison::DifferentSize:
        return QStringLiteral("different-size");
    case Comparison::DifferentContent:
        return QStringLiteral("different-content");
    case Comparison::InstalledUnreadable:
        return QStringLiteral("unreadable");
    case Comparison::LinkInTheWay:
        return FailureCode(FailureReason::LinkInTheWay);
    case Comparison::PackageDamaged:
        break;
    }
    return QStringLiteral("package-damaged");
}
