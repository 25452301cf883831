#pragma once

#include "platform/VersionStore.h"

#include <QSettings>

// The installed versions in the Windows registry, read only. A 32-bit
// Vestra registers under the registry's 32-bit view (WOW6432Node), a 64-bit
// one under the 64-bit view; both are searched, so that whichever is newer
// is found. A version in both views takes its folder from the 64-bit view.
class WindowsVersionStore : public VersionStore
{
public:
    // softwareKey is the key that holds "Kestrel\Vestra"; tests give their own.
    explicit WindowsVersionStore(const QString &softwareKey
                                 = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE"));

    QStringList versionNames() const override;
    QString defaultDir(const QString &version) const override;
    QString location() const override;

private:
    // Opened on a key that always exists (HKEY_LOCAL_MACHINE\SOFTWARE):
    // QSettings creates the key it is opened on when it is missing and the
    // process may write there, and the application's key must never be created.
    mutable QSettings m_view64;
    mutable QSettings m_view32;
};
