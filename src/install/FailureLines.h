#pragma once

#include "package/FileFailure.h"

#include <QString>

class InstallContext;
struct LanguageTextTable;

// The text number that says a failure's reason in the user's language; -1 when
// only the system's message can say why.
int ReasonText(FailureReason reason);

// A status line for a file or folder that failed: the text, the path, the
// reason in the user's language and the system's own message, e.g.
// "Could not install: C:\...\a.sty - the disk is full (No space left on device)".
QString FailureLine(const InstallContext &context, int text, const QString &path,
                    const FileFailure &failure);
QString FailureLine(const LanguageTextTable &texts, int text, const QString &path,
                    const FileFailure &failure);
