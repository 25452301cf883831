#include "InstalledFileWriter.h"

#include "package/EntryType.h"
#include "package/WriteJournal.h"
#include "platform/FileReplacement.h"

#include <QRandomGenerator>

namespace {

constexpr auto OrdinaryPermissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                     | QFileDevice::ReadUser | QFileDevice::WriteUser
                                     | QFileDevice::ReadGroup | QFileDevice::ReadOther;

} // namespace

QString NameBeside(const QString &path, QLatin1StringView suffix)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString name = path + u'.';
    for (int i = 0; i < 6; ++i)
        name += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))]);
    return name + suffix;
}

InstalledFileWriter::InstalledFileWriter(const QString &target, WriteJournal *journal)
    : m_target(target), m_journal(journal)
{}

InstalledFileWriter::~InstalledFileWriter()
{
    // An uncommitted file is discarded.
    if (m_tempMade)
        m_file.remove();
}

bool InstalledFileWriter::fail(const FileFailure &failure)
{
    m_failure = failure;
    m_error = failure.systemMessage;
    return false;
}

bool InstalledFileWriter::failed()
{
    return fail({WriteFailureReason(m_file.error(), m_target), m_file.errorString()});
}

// A target that is a link, a special file or a folder is never written
// through or replaced.
bool InstalledFileWriter::refused(EntryType target)
{
    switch (target) {
    case EntryType::Link:
    case EntryType::Special:
        return !fail({FailureReason::LinkInTheWay, {}});
    case EntryType::Folder:
        return !fail({FailureReason::FolderInTheWay, {}});
    case EntryType::File:
    case EntryType::Missing:
        break;
    }
    return false;
}

bool InstalledFileWriter::open()
{
    const EntryType target = EntryTypeOf(m_target);
    if (refused(target))
        return false;
    // A read-only installed file is replaced like any other: the new file
    // takes its name and has normal attributes (see KeepAside).
    m_file.setFileName(NameBeside(m_target, TemporarySuffix));
    if (m_journal && !m_journal->willCreate(m_file.fileName()))
        return fail(m_journal->failure());
    // Created new: an existing name, a link among them, makes this fail.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        if (m_journal)
            m_journal->didNotCreate(m_file.fileName());
        return failed();
    }
    m_tempMade = true;
    // Set on the open file, so a name swapped meanwhile is not what changes.
    m_file.setPermissions(OrdinaryPermissions);
    return true;
}

// The temporary file now is the installed one.
bool InstalledFileWriter::placed()
{
    m_tempMade = false;
    return true;
}

bool InstalledFileWriter::write(const char *data, qint64 size)
{
    return WriteWhole(m_file, data, size) || failed();
}

bool InstalledFileWriter::finishWriting()
{
    m_file.close();
    return m_file.error() == QFileDevice::NoError || failed();
}

bool InstalledFileWriter::commit(bool mayReplace)
{
    if (!finishWriting())
        return false;
    // Looked at again: the name may have changed while the data was written.
    const EntryType target = EntryTypeOf(m_target);
    if (refused(target))
        return false;
    // The temporary file goes with this writer.
    m_keptExisting = target == EntryType::File && !mayReplace;
    if (m_keptExisting)
        return true;
    m_replaced = target == EntryType::File;
    return m_replaced ? replaceTarget() : putNewTarget();
}

bool InstalledFileWriter::replaceTarget()
{
    QString error;
    if (!m_journal) {
        if (ReplaceWith(m_file.fileName(), m_target, &error))
            return placed();
        return fail({WriteFailureReason(QFileDevice::RenameError, m_target), error});
    }
    const QString backup = NameBeside(m_target, BackupSuffix);
    if (!m_journal->willKeepAside(m_target, backup))
        return fail(m_journal->failure());
    const AsideResult aside = KeepAside(m_target, backup, &error);
    if (aside == AsideResult::Failed)
        return fail({WriteFailureReason(QFileDevice::RenameError, m_target), error});
    if (ReplaceWith(m_file.fileName(), m_target, &error)) {
        m_backup = backup;
        return placed();
    }
    // The earlier version goes back where it was.
    QString ignored;
    if (aside == AsideResult::Moved)
        ReplaceWith(backup, m_target, &ignored);
    else
        QFile::remove(backup);
    return fail({WriteFailureReason(QFileDevice::RenameError, m_target), error});
}

bool InstalledFileWriter::putNewTarget()
{
    if (m_journal && !m_journal->willInstall(m_target))
        return fail(m_journal->failure());
    QString error;
    if (RenameNew(m_file.fileName(), m_target, &error))
        return placed();
    if (m_journal)
        m_journal->didNotCreate(m_target);
    return fail({WriteFailureReason(QFileDevice::RenameError, m_target), error});
}

QString InstalledFileWriter::errorString() const
{
    return m_error;
}
