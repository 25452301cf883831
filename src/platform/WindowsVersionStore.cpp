#include "WindowsVersionStore.h"

namespace {

// Below HKEY_LOCAL_MACHINE\SOFTWARE; QSettings reads subkeys with "/".
QString applicationGroup()
{
    return QStringLiteral("Kestrel/Vestra");
}

} // namespace

WindowsVersionStore::WindowsVersionStore()
    : m_software(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE"), QSettings::NativeFormat)
{}

QStringList WindowsVersionStore::versionNames() const
{
    // Subkeys are opened for reading only; nothing is written or created.
    m_software.beginGroup(applicationGroup());
    const QStringList names = m_software.childGroups();
    m_software.endGroup();
    return names;
}

QString WindowsVersionStore::defaultDir(const QString &version) const
{
    const QString key
            = applicationGroup() + u'/' + version + QStringLiteral("/Directory/Defaultdir");
    return RegistryPathToQt(m_software.value(key).toString());
}

QString WindowsVersionStore::location() const
{
    return ApplicationRegistryKey();
}
