#include "PlatformPaths.h"

#include <QDir>

QString DefaultStatusFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:/");
#else
    return QDir::homePath();
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
