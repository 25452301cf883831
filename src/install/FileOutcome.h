#pragma once

#include "package/FileFailure.h"
#include "package/InstalledFileComparer.h"

#include <QList>
#include <QSet>
#include <QString>

#include <optional>

// What became of one installed data file in a run or a check, for the report
// that deployment tools read. The reason is a fixed English code, the same in
// every language; the detail is the system's own message where there is one.
struct FileOutcome
{
    enum class Result { Installed, Replaced, Kept, Failed, Missing, Different, Removed };

    FileOutcome(const QString &path, Result result, const QString &reason = {},
                const QString &detail = {})
        : path(path), result(result), reason(reason), detail(detail)
    {}

    QString path; // the installed data file, Qt form
    Result result;
    QString reason; // e.g. "disk-full", "different-size"; empty when none
    QString detail;

    static FileOutcome failed(const QString &path, const FileFailure &failure);
    // Nothing for an identical file.
    static std::optional<FileOutcome> checked(const QString &path, Comparison comparison,
                                              const FileFailure &failure);
};

// The outcomes of files whose installing or replacing was undone (a cancel
// with removal, a stop): those in paths become failed, "undone".
void MarkUndone(QList<FileOutcome> &outcomes, const QSet<QString> &paths);

// "installed", "replaced", ... as the report writes a result.
QString ResultCode(FileOutcome::Result result);
// "does-not-inflate", "disk-full", ... as the report writes a failure's reason.
QString FailureCode(FailureReason reason);
// "missing", "different-size", ... as the report writes a comparison.
QString ComparisonCode(Comparison comparison);
