#pragma once

#include "package/FileFailure.h"

#include <QString>

#include <memory>

class QFileDevice;
class QSaveFile;
class QTemporaryFile;

// Writes an installed data file under a temporary name beside it and puts it
// in place only when commit() is called; until then, and when anything
// fails, the target is untouched and no partial file is left.
//
// Replacing an existing file goes through QSaveFile, which also syncs the
// data to disk before the rename, so that a power cut can never leave the
// user with neither the old file nor the new one. A new file is only
// renamed into place: there is nothing to lose, and a sync per file would
// cost a large install most of its time.
class InstalledFileWriter
{
public:
    explicit InstalledFileWriter(const QString &target);
    ~InstalledFileWriter();

    [[nodiscard]] bool open();
    [[nodiscard]] bool write(const char *data, qint64 size);
    [[nodiscard]] bool commit();
    QString errorString() const;
    // Why the last call failed: a full disk, missing rights, or the system's message.
    const FileFailure &failure() const { return m_failure; }
    QString fileName() const { return m_target; }

private:
    QFileDevice *device() const;
    bool failed();

    QString m_target;
    std::unique_ptr<QSaveFile> m_replacement;
    std::unique_ptr<QTemporaryFile> m_newFile;
    QString m_error;
    FileFailure m_failure;
};
