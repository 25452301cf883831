#include "InstalledFileWriter.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

InstalledFileWriter::InstalledFileWriter(const QString &target) : m_target(target) {}

InstalledFileWriter::~InstalledFileWriter() = default; // an uncommitted file is discarded

QFileDevice *InstalledFileWriter::device() const
{
    if (m_replacement)
        return m_replacement.get();
    return m_newFile.get();
}

bool InstalledFileWriter::open()
{
    if (QFileInfo::exists(m_target)) {
        m_replacement = std::make_unique<QSaveFile>(m_target);
        if (m_replacement->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return true;
    } else {
        m_newFile = std::make_unique<QTemporaryFile>(m_target + QStringLiteral(".XXXXXX"));
        if (m_newFile->open())
            return true;
    }
    return failed();
}

bool InstalledFileWriter::write(const char *data, qint64 size)
{
    return WriteWhole(*device(), data, size) || failed();
}

bool InstalledFileWriter::failed()
{
    m_error = device()->errorString();
    m_failure = {WriteFailureReason(device()->error(), m_target), m_error};
    return false;
}

bool InstalledFileWriter::commit()
{
    if (m_replacement) {
        // The replacement takes the old file's permissions; data its owner
        // cannot read is of no use to Vestra, so reading is always allowed.
        m_replacement->setPermissions(m_replacement->permissions() | QFileDevice::ReadOwner
                                      | QFileDevice::ReadUser);
        return m_replacement->commit() || failed();
    }
    // A temporary file is readable by its owner only; an installed file gets
    // the permissions any new file would.
    m_newFile->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner
                              | QFileDevice::ReadUser | QFileDevice::WriteUser
                              | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    if (m_newFile->flush() && m_newFile->rename(m_target)) {
        m_newFile->setAutoRemove(false);
        return true;
    }
    return failed();
}

QString InstalledFileWriter::errorString() const
{
    return m_error;
}
