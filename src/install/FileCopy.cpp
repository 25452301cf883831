#include "FileCopy.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>

namespace {
constexpr qint64 ChunkSize = 1 << 20;
}

FileCopy::FileCopy(std::function<void()> yield) : m_yield(std::move(yield)) {}

bool FileCopy::fail(const QString &reason, const QString &path)
{
    m_error = QStringLiteral("%1 \"%2\": %3")
                      .arg(QStringLiteral("Cannot copy"), QDir::toNativeSeparators(path), reason);
    return false;
}

bool FileCopy::copy(const QString &source, const QString &target)
{
    m_error.clear();
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fail(in.errorString(), source);
    // The target is our packed copy, never the user's data: written in place,
    // and removed again when the copy fails.
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(out.errorString(), target);
    auto removePartial = qScopeGuard([&out] { out.remove(); });

    QByteArray buffer(ChunkSize, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(buffer.data(), buffer.size());
        if (n < 0)
            return fail(in.errorString(), source);
        if (n == 0)
            break;
        if (out.write(buffer.constData(), n) != n)
            return fail(out.errorString(), target);
        if (m_yield)
            m_yield();
    }
    out.close();
    if (out.error() != QFileDevice::NoError)
        return fail(out.errorString(), target);
    removePartial.dismiss();
    // Like copying with "normal" attributes: a read-only source must not give
    // a copy that the extraction cannot remove.
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                          | QFileDevice::ReadUser | QFileDevice::WriteUser
                                          | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return true;
}
