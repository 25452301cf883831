#include "FileCopy.h"

#include "package/EntryType.h"
#include "package/WriteJournal.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>

namespace {
constexpr qint64 ChunkSize = 1 << 20;
}

FileCopy::FileCopy(std::function<void()> yield, WriteJournal *journal)
    : m_yield(std::move(yield)), m_journal(journal)
{}

bool FileCopy::fail(const FileFailure &failure, const QString &path)
{
    m_failure = failure;
    m_error = QStringLiteral("%1 \"%2\": %3")
                      .arg(QStringLiteral("Cannot copy"), QDir::toNativeSeparators(path),
                           failure.systemMessage);
    return false;
}

bool FileCopy::readFailed(const QFileDevice &in)
{
    return fail({FailureReason::CannotRead, in.errorString()}, in.fileName());
}

bool FileCopy::writeFailed(const QFileDevice &out)
{
    return fail({WriteFailureReason(out.error(), out.fileName()), out.errorString()},
                out.fileName());
}

bool FileCopy::copy(const QString &source, const QString &target)
{
    m_error.clear();
    m_failure = {};
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return readFailed(in);
    QFile out(target);
    if (!clearTarget(target) || !create(out))
        return false;
    auto removePartial = qScopeGuard([&out] { out.remove(); });

    QByteArray buffer(ChunkSize, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(buffer.data(), buffer.size());
        if (n < 0)
            return readFailed(in);
        if (n == 0)
            break;
        if (!WriteWhole(out, buffer.constData(), n))
            return writeFailed(out);
        if (m_yield)
            m_yield();
    }
    out.close();
    if (out.error() != QFileDevice::NoError)
        return writeFailed(out);
    removePartial.dismiss();
    return true;
}

// Removes what has the target's name; a folder there is not ours to remove.
bool FileCopy::clearTarget(const QString &target)
{
    switch (EntryTypeOf(target)) {
    case EntryType::Missing:
        return true;
    case EntryType::Folder:
        return fail({FailureReason::FolderInTheWay, {}}, target);
    case EntryType::File:
    case EntryType::Link:
    case EntryType::Special:
        break;
    }
    QFile old(target);
    return old.remove() || writeFailed(old);
}

bool FileCopy::create(QFile &out)
{
    if (m_journal && !m_journal->willCreate(out.fileName()))
        return fail(m_journal->failure(), out.fileName());
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (m_journal)
            m_journal->didNotCreate(out.fileName());
        return writeFailed(out);
    }
    // Like copying with "normal" attributes: a read-only source must not give
    // a copy that the extraction cannot remove. Set on the open file, so that
    // a name swapped meanwhile is not what changes.
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                       | QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return true;
}
