#include "InstalledFileWriter.h"

#include "platform/FileReplacement.h"

#include <QFileInfo>
#include <QTemporaryFile>

InstalledFileWriter::InstalledFileWriter(const QString &target) : m_target(target) {}

InstalledFileWriter::~InstalledFileWriter() = default; // an uncommitted file is discarded

bool InstalledFileWriter::open()
{
    const QFileInfo target(m_target);
    m_replacing = target.exists();
    if (target.isDir()) {
        m_error = QStringLiteral("a folder of that name is in the way");
        return false;
    }
    // Checked first, so that nothing is unpacked that could not be put in place.
    if (m_replacing && !target.isWritable()) {
        m_error = QStringLiteral("the installed file is read-only");
        return false;
    }
    m_file = std::make_unique<QTemporaryFile>(m_target + QStringLiteral(".XXXXXX")
                                              + TemporarySuffix);
    if (m_file->open())
        return true;
    m_error = m_file->errorString();
    return false;
}

bool InstalledFileWriter::write(const char *data, qint64 size)
{
    if (m_file->write(data, size) == size)
        return true;
    m_error = m_file->errorString();
    return false;
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
    m_error = m_file->errorString();
    return false;
}

bool InstalledFileWriter::commitReplacement()
{
    // The replaced file keeps its permissions. Asking for the name gives an
    // unnamed temporary file (Linux) its name.
    m_file->setPermissions(QFile::permissions(m_target));
    const QString temporary = m_file->fileName();
    if (!m_file->flush()) {
        m_error = m_file->errorString();
        return false;
    }
    // Windows renames no file that is open, and QTemporaryFile::close()
    // keeps it open: only deleting the object closes it.
    m_file->setAutoRemove(false);
    m_file.reset();
    if (ReplaceFileDurably(temporary, m_target, &m_error))
        return true;
    QFile::remove(temporary);
    return false;
}

QString InstalledFileWriter::errorString() const
{
    return m_error;
}
