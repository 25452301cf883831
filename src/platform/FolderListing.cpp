#include "FolderListing.h"

#include "platform/LongPath.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <cerrno>
#include <dirent.h>
#endif

#ifdef Q_OS_WIN
Listing ListFolder(const QString &folder, QStringList *names, QString *error)
{
    // The "\\?\" form lifts the 260-character limit on the path.
    QString pattern = LongPathForm(folder);
    if (!pattern.endsWith(u'\\'))
        pattern += u'\\';
    pattern += u'*';
    WIN32_FIND_DATAW entry;
    const HANDLE find
            = FindFirstFileExW(reinterpret_cast<const wchar_t *>(pattern.utf16()), FindExInfoBasic,
                               &entry, FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (code == ERROR_PATH_NOT_FOUND || code == ERROR_FILE_NOT_FOUND || code == ERROR_DIRECTORY)
            return Listing::Missing;
        *error = qt_error_string(int(code));
        return Listing::Failed;
    }
    DWORD ended = ERROR_NO_MORE_FILES;
    do {
        const QString name = QString::fromWCharArray(entry.cFileName);
        if (name != QLatin1String(".") && name != QLatin1String(".."))
            names->append(name);
    } while (FindNextFileW(find, &entry) || (ended = GetLastError()) != ERROR_NO_MORE_FILES);
    FindClose(find);
    if (ended == ERROR_NO_MORE_FILES)
        return Listing::Listed;
    *error = qt_error_string(int(ended));
    return Listing::Failed;
}
#else
Listing ListFolder(const QString &folder, QStringList *names, QString *error)
{
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    // ENOTDIR: a file stands there, or on the way to it.
    if (!dir && (errno == ENOENT || errno == ENOTDIR))
        return Listing::Missing;
    if (!dir) {
        *error = qt_error_string(errno);
        return Listing::Failed;
    }
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir);
        if (!entry)
            break;
        const QString name = QFile::decodeName(entry->d_name);
        if (name != QLatin1String(".") && name != QLatin1String(".."))
            names->append(name);
    }
    const int why = errno;
    ::closedir(dir);
    if (why == 0)
        return Listing::Listed;
    *error = qt_error_string(why);
    return Listing::Failed;
}
#endif
