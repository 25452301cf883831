#pragma once

#include <QString>
#include <QStringList>

#include <memory>

// The store of installed target-application versions: one subkey per version
// under the application's key, each with subkey "Directory" holding the string
// value "Defaultdir". Read only.
class VersionStore
{
public:
    virtual ~VersionStore() = default;

    // Subkey names under the application key, in store order.
    virtual QStringList versionNames() const = 0;

    // "Defaultdir" of subkey "Directory" of the version, in Qt form ("/");
    // empty when the version, the subkey or the value is missing.
    virtual QString defaultDir(const QString &version) const = 0;

    // What was searched, for messages: the registry key, or the export file's native path.
    virtual QString location() const = 0;

    // Why the store could not be read at all (a missing or damaged file);
    // empty when it was read, even if it holds no version.
    virtual QString errorString() const { return {}; }
};

// "HKEY_LOCAL_MACHINE\SOFTWARE\Kestrel\Vestra": the application's key, as a person reads it.
QString ApplicationRegistryKey();

// Registry values hold native paths; inside the program paths use "/".
QString RegistryPathToQt(const QString &value);

// The .reg file given by --registry when regFile is not empty; otherwise the
// platform's store (Windows: the registry key, read only; elsewhere:
// <programFolder>/registry.reg). A file that cannot be read gives an empty
// store whose errorString() says why.
std::unique_ptr<VersionStore> OpenVersionStore(const QString &regFile,
                                               const QString &programFolder);
