#include "FileCopy.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>

namespace {
constexpr qint64 ChunkSize = 1 << 20;
}

FileCopy::FileCopy(std::function<void()> yield) : m_yield(std::move(yield)) {}

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
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return writeFailed(out);
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
    // Like copying with "normal" attributes: a read-only source must not give
    // a copy that the extraction cannot remove.
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                          | QFileDevice::ReadUser | QFileDevice::WriteUser
                                          | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return true;
}
