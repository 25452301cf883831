#pragma once

#include "platform/VersionStore.h"

#include <QSettings>

// The installed versions in the Windows registry, read only.
class WindowsVersionStore : public VersionStore
{
public:
    WindowsVersionStore();

    QStringList versionNames() const override;
    QString defaultDir(const QString &version) const override;
    QString location() const override;

private:
    // Opened on HKEY_LOCAL_MACHINE\SOFTWARE, which always exists: QSettings
    // creates the key it is opened on when it is missing and the process may
    // write there, and the application's key must never be created.
    mutable QSettings m_software;
};
