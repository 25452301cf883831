#include "VersionStore.h"

#include "platform/RegFileVersionStore.h"

#ifdef Q_OS_WIN
#include "platform/WindowsVersionStore.h"
#endif

QString ApplicationRegistryKey()
{
    return QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrel\\Vestra");
}

QString RegistryPathToQt(const QString &value)
{
    // QDir::fromNativeSeparators does nothing on Linux, where the exports are read too.
    QString path = value;
    path.replace(u'\\', u'/');
    return path;
}

namespace {

std::unique_ptr<VersionStore> openRegFile(const QString &path)
{
    auto store = std::make_unique<RegFileVersionStore>();
    // A failed load leaves the store empty; its errorString() is reported
    // when preparation finds no installed version.
    (void) store->load(path);
    return store;
}

} // namespace

std::unique_ptr<VersionStore> OpenVersionStore(const QString &regFile, const QString &programFolder)
{
    if (!regFile.isEmpty())
        return openRegFile(regFile);
#ifdef Q_OS_WIN
    Q_UNUSED(programFolder);
    return std::make_unique<WindowsVersionStore>();
#else
    return openRegFile(programFolder + QStringLiteral("/registry.reg"));
#endif
}
