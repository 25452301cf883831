#include "FolderIdentity.h"

#include "platform/LongPath.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>

#include <vector>
#endif

namespace {

#ifdef Q_OS_WIN

// The system's own final path of an existing folder: links, junctions,
// short names ("PROGRA~1") and letter case resolved. QFileInfo's canonical
// path resolves neither short names nor case.
QString resolvedExistingFolder(const QString &folder)
{
    const std::wstring native = LongPathForm(folder).toStdWString();
    HANDLE handle = CreateFileW(native.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return QFileInfo(folder).canonicalFilePath();
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD length = GetFinalPathNameByHandleW(handle, buffer.data(), DWORD(buffer.size()), 0);
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = GetFinalPathNameByHandleW(handle, buffer.data(), DWORD(buffer.size()), 0);
    }
    CloseHandle(handle);
    if (length == 0 || length >= buffer.size())
        return QFileInfo(folder).canonicalFilePath();
    QString path = QDir::fromNativeSeparators(QString::fromWCharArray(buffer.data(), length));
    // "//?/C:/x" and "//?/UNC/server/share/x" are the long forms of "C:/x" and "//server/share/x".
    if (path.startsWith(QLatin1String("//?/UNC/"), Qt::CaseInsensitive))
        path = u'/' + path.mid(7);
    else if (path.startsWith(QLatin1String("//?/")))
        path = path.mid(4);
    return path;
}

QString comparable(const QString &path)
{
    return path.toCaseFolded();
}

#else

QString resolvedExistingFolder(const QString &folder)
{
    return QFileInfo(folder).canonicalFilePath();
}

QString comparable(const QString &path)
{
    return path;
}

#endif

} // namespace

QString FolderIdentity(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QString absolute
            = QDir::cleanPath(QFileInfo(QDir::fromNativeSeparators(path)).absoluteFilePath());
    // The deepest existing folder on the path is resolved; what lies below
    // it does not exist yet and is taken as written.
    QString existing = absolute;
    QString rest;
    while (!QFileInfo(existing).isDir()) {
        const qsizetype slash = existing.lastIndexOf(u'/');
        // A drive or share that is not there: nothing on the path exists.
        if (slash < 0 || slash == existing.size() - 1
            || (slash == 1 && existing.startsWith(QLatin1String("//"))))
            return comparable(absolute);
        rest.prepend(existing.mid(slash));
        // "/x" and "C:/x" go up to the root itself, "/a/x" to "/a".
        const bool root = slash == 0 || existing.at(slash - 1) == u':';
        existing.truncate(root ? slash + 1 : slash);
    }
    const QString resolved = resolvedExistingFolder(existing);
    if (resolved.isEmpty())
        return comparable(absolute);
    return comparable(QDir::cleanPath(resolved + rest));
}

bool IsSameFolder(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return a.isEmpty() && b.isEmpty();
    return FolderIdentity(a) == FolderIdentity(b);
}
