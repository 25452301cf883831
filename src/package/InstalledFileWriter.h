#pragma once

#include "package/FileFailure.h"

#include <QString>

#include <memory>

class QTemporaryFile;

// Writes an installed data file under a temporary name beside it and puts it
// in place only when commit() is called; until then, and when anything
// fails, the target is untouched and no partial file is left.
//
// The temporary name is the target's name, six random characters and
// TemporarySuffix ("Coat.sty.a1B2c3.quillon-part"), so that what an
// interrupted run leaves behind can be found and taken away by a later one.
//
// Replacing an existing file syncs the new data to disk before renaming it
// over the old one in one step, so that a power cut can never leave the user
// with neither the old file nor the new one. A new file is only renamed into
// place: there is nothing to lose, and a sync per file would cost a large
// install most of its time.
class InstalledFileWriter
{
public:
    static constexpr QLatin1StringView TemporarySuffix{".quillon-part"};

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
    bool commitNewFile();
    bool commitReplacement();
    bool fail(FailureReason reason, const QString &message);
    bool failed();

    QString m_target;
    std::unique_ptr<QTemporaryFile> m_file;
    bool m_replacing = false;
    QString m_error;
    FileFailure m_failure;
};
