#include "PlatformPaths.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <shlobj.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

QString DefaultStatusFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:/");
#else
    return QDir::homePath();
#endif
}

QString MachineSharedFolder()
{
#ifdef Q_OS_WIN
    // The system knows the folder; the variable of the same name may be unset.
    PWSTR path = nullptr;
    QString folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &path)))
        folder = QDir::fromNativeSeparators(QString::fromWCharArray(path));
    CoTaskMemFree(path);
    return (folder.isEmpty() ? QStringLiteral("C:/ProgramData") : folder)
           + QStringLiteral("/Quillon");
#else
    const QString runLock = QStringLiteral("/run/lock");
    return QFileInfo(runLock).isDir() ? runLock : QStringLiteral("/tmp");
#endif
}

QString CurrentUserName()
{
#ifdef Q_OS_WIN
    wchar_t name[257];
    DWORD size = 257;
    return GetUserNameW(name, &size) ? QString::fromWCharArray(name) : QString();
#else
    const passwd *entry = ::getpwuid(::geteuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString();
#endif
}

QString FallbackStartPath()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:/");
#else
    return QStringLiteral("/");
#endif
}
