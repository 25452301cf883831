#pragma once

#include "package/FileFailure.h"

#include <QString>

class QFile;

#include <functional>

class WriteJournal;

// Copies source to target in chunks, calling yield between chunks so that
// window events keep running during a large file. The target is our packed
// copy, never the user's data: whatever file, link or special file had its
// name is removed (a link, never what it leads to), and the copy is created
// new, so that nothing is ever written through a link planted there. A copy
// that fails is removed again rather than left half written. The copy can be
// read and written by its owner whatever the source's attributes were.
class FileCopy
{
public:
    // journal, when given, is told of the copy before it is created.
    explicit FileCopy(std::function<void()> yield = {}, WriteJournal *journal = nullptr);

    [[nodiscard]] bool copy(const QString &source, const QString &target);
    QString errorString() const { return m_error; }
    // Why the last copy failed: the source could not be read, or the target
    // not written (missing folder, no permission, full disk, ...).
    const FileFailure &failure() const { return m_failure; }

private:
    bool readFailed(const QFileDevice &in);
    bool writeFailed(const QFileDevice &out);
    bool fail(const FileFailure &failure, const QString &path);
    bool clearTarget(const QString &target);
    bool create(QFile &out);

    std::function<void()> m_yield;
    WriteJournal *m_journal;
    QString m_error;
    FileFailure m_failure;
};
