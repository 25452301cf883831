#pragma once

#include "package/FileFailure.h"

#include <QString>

#include <functional>

// Copies source to target, replacing target, in chunks, calling yield between
// chunks so that window events keep running during a large file. The target
// is written in place: it is our packed copy, never the user's data, and a
// copy that fails is removed again rather than left half written. The copy
// can be read and written by its owner whatever the source's attributes were.
class FileCopy
{
public:
    explicit FileCopy(std::function<void()> yield = {});

    [[nodiscard]] bool copy(const QString &source, const QString &target);
    QString errorString() const { return m_error; }
    // Why the last copy failed: the source could not be read, or the target
    // not written (missing folder, no permission, full disk, ...).
    const FileFailure &failure() const { return m_failure; }

private:
    bool readFailed(const QFileDevice &in);
    bool writeFailed(const QFileDevice &out);
    bool fail(const FileFailure &failure, const QString &path);

    std::function<void()> m_yield;
    QString m_error;
    FileFailure m_failure;
};
