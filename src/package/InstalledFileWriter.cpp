#include "InstalledFileWriter.h"

#include "platform/FileReplacement.h"

#include <QFileInfo>
#include <QTemporaryFile>

InstalledFileWriter::InstalledFileWriter(const QString &target) : m_target(target) {}

InstalledFileWriter::~InstalledFileWriter() = default; // an uncommitted file is discarded

bool InstalledFileWriter::fail(FailureReason reason, const QString &message)
{
    m_error = message;
    m_failure = {reason, message};
    return false;
}

bool InstalledFileWriter::failed()
{
    return fail(WriteFailureReason(m_file->error(), m_target), m_file->errorString());
}

bool InstalledFileWriter::open()
{
    const QFileInfo target(m_target);
    m_replacing = target.exists();
    if (target.isDir())
        return fail(FailureReason::FileInTheWay,
                    QStringLiteral("a folder of that name is in the way"));
    // Checked first, so that nothing is unpacked that could not be put in place.
    if (m_replacing && !target.isWritable())
        return fail(FailureReason::NoPermission, QStringLiteral("the installed file is read-only"));
    m_file = std::make_unique<QTemporaryFile>(m_target + QStringLiteral(".XXXXXX")
                                              + TemporarySuffix);
    return m_file->open() || failed();
}

bool InstalledFileWriter::write(const char *data, qint64 size)
{
    return WriteWhole(*m_file, data, size) || failed();
}

bool InstalledFileWriter::commit()
{
    return m_replacing ? commitReplacement() : commitNewFile();
}

bool InstalledFileWriter::commitNewFile()
{
    // A temporary file is readable by its owner only; an installed file gets
    // the permissions any new file would.
    m_file->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                           | QFileDevice::WriteUser | QFileDevice::ReadGroup
                           | QFileDevice::ReadOther);
    if (m_file->flush() && m_file->rename(m_target)) {
        m_file->setAutoRemove(false);
        return true;
    }
    return failed();
}

bool InstalledFileWriter::commitReplacement()
{
    // The replaced file keeps its permissions, but data its owner cannot read
    // is of no use to Vestra, so reading is always allowed. Asking for the
    // name gives an unnamed temporary file (Linux) its name.
    m_file->setPermissions(QFile::permissions(m_target) | QFileDevice::ReadOwner
                           | QFileDevice::ReadUser);
    const QString temporary = m_file->fileName();
    if (!m_file->flush())
        return failed();
    // Windows renames no file that is open, and QTemporaryFile::close()
    // keeps it open: only deleting the object closes it.
    m_file->setAutoRemove(false);
    m_file.reset();
    QString error;
    if (ReplaceFileDurably(temporary, m_target, &error))
        return true;
    QFile::remove(temporary);
    return fail(WriteFailureReason(QFileDevice::RenameError, m_target), error);
}

QString InstalledFileWriter::errorString() const
{
    return m_error;
}
