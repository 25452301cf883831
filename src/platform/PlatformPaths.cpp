#include "PlatformPaths.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <shlobj.h>
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

QString FallbackStartPath()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:/");
#else
    return QStringLiteral("/");
#endif
}
