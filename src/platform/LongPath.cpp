#include "LongPath.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <qt_windows.h>

#include <vector>
#endif

using namespace Qt::StringLiterals;

namespace {

bool isLongForm(const QString &path)
{
    return path.startsWith(u"\\\\?\\"_s) || path.startsWith(u"\\\\.\\"_s);
}

bool isUnc(const QString &path)
{
    return path.startsWith(u"\\\\"_s) && !isLongForm(path);
}

#ifdef Q_OS_WIN
// The system's own qualification: the current drive, the current folder of
// each drive, "." and "..", trailing dots and blanks of the last name.
QString qualified(const QString &native)
{
    const std::wstring given = native.toStdWString();
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD length = GetFullPathNameW(given.c_str(), DWORD(buffer.size()), buffer.data(), nullptr);
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = GetFullPathNameW(given.c_str(), DWORD(buffer.size()), buffer.data(), nullptr);
    }
    if (length == 0 || length >= buffer.size())
        return native;
    QString full = QString::fromWCharArray(buffer.data(), int(length));
    // Qt keeps a trailing blank the system took away, so that a name that
    // cannot exist stays one; the same file as Qt's is named.
    if (native.endsWith(u' '))
        full += u' ';
    return full;
}
#endif

} // namespace

QString LongFormOfQualified(const QString &qualified)
{
    if (qualified.isEmpty() || isLongForm(qualified))
        return qualified;
    if (isUnc(qualified))
        return u"\\\\?\\UNC\\"_s + qualified.mid(2);
    return u"\\\\?\\"_s + qualified;
}

QString RootOfQualified(const QString &qualified)
{
    QString path = qualified;
    if (path.startsWith(u"\\\\?\\UNC\\"_s, Qt::CaseInsensitive))
        path = u"\\\\"_s + path.mid(8);
    else if (isLongForm(path))
        path = path.mid(4);
    if (path.size() >= 2 && path.at(1) == u':' && path.at(0).isLetter())
        return path.left(2) + u'\\';
    if (!isUnc(path))
        return {};
    // "\\server\share\": the share is part of the root.
    const qsizetype server = path.indexOf(u'\\', 2);
    if (server < 0)
        return {};
    const qsizetype share = path.indexOf(u'\\', server + 1);
    return share < 0 ? path + u'\\' : path.left(share + 1);
}

QString LongPathForm(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QString native = QDir::toNativeSeparators(path);
    if (isLongForm(native))
        return native;
#ifdef Q_OS_WIN
    return LongFormOfQualified(qualified(native));
#else
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
#endif
}
