#include "WindowsVersionStore.h"

namespace {

// Below the software key; QSettings reads subkeys with "/".
QString applicationGroup()
{
    return QStringLiteral("Kestrel/Vestra");
}

QStringList versionsIn(QSettings &view)
{
    // Subkeys are opened for reading only; nothing is written or created.
    view.beginGroup(applicationGroup());
    const QStringList names = view.childGroups();
    view.endGroup();
    return names;
}

QString defaultDirIn(QSettings &view, const QString &version)
{
    const QString key
            = applicationGroup() + u'/' + version + QStringLiteral("/Directory/Defaultdir");
    return RegistryPathToQt(view.value(key).toString());
}

} // namespace

WindowsVersionStore::WindowsVersionStore(const QString &softwareKey)
    : m_view64(softwareKey, QSettings::Registry64Format)
    , m_view32(softwareKey, QSettings::Registry32Format)
{}

// The 64-bit view's versions first, then those only the 32-bit view holds.
QStringList WindowsVersionStore::versionNames() const
{
    QStringList names = versionsIn(m_view64);
    for (const QString &name : versionsIn(m_view32)) {
        if (!names.contains(name, Qt::CaseInsensitive))
            names.append(name);
    }
    return names;
}

QString WindowsVersionStore::defaultDir(const QString &version) const
{
    const QString folder = defaultDirIn(m_view64, version);
    return folder.isEmpty() ? defaultDirIn(m_view32, version) : folder;
}

QString WindowsVersionStore::location() const
{
    return ApplicationRegistryKey();
}
