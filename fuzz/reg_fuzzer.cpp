// Registry exports as --registry or registry.reg may hold them, and the
// wizard's preparation on what they say: the installed versions, the newest
// one's folder, the protected folders.
//
// Promises checked: a failed read names why and lists nothing; versions are
// listed once whatever their case; a preparation that succeeds keeps only
// versions 2 or newer, with one folder and nine protected folders each, and
// one that fails says why.

#include "FuzzSupport.h"

#include "platform/RegFileVersionStore.h"
#include "selection/WizardState.h"

#include <QSet>

namespace {

DataSetDescription description()
{
    DataSetDescription d;
    d.present = {true, true, true};
    d.folderName = {QStringLiteral("STY_2027SS"), QStringLiteral("STI_2027SS"),
                    QStringLiteral("DETAIL_2027SS")};
    return d;
}

void checkVersions(const RegFileVersionStore &store)
{
    QSet<QString> seen;
    for (const QString &version : store.versionNames()) {
        Fuzz::require(!version.isEmpty(), "a version has a name");
        Fuzz::require(!seen.contains(version.toCaseFolded()), "a version is listed once");
        seen.insert(version.toCaseFolded());
        (void) store.defaultDir(version);
    }
}

void checkPrepared(const WizardState &state)
{
    Fuzz::require(state.baseFolder.endsWith(QLatin1String("/Bin/")), "the base folder is a Bin");
    Fuzz::require(!state.versionList.isEmpty()
                          && state.versionFolderList.size() == state.versionList.size()
                          && state.protectedFolderList.size() == 9 * state.versionFolderList.size(),
                  "each kept version has a folder and nine protected folders");
    for (const QString &version : state.versionList) {
        bool ok = false;
        Fuzz::require(version.toDouble(&ok) >= 2 && ok, "only versions 2 or newer are kept");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    RegFileVersionStore store;
    if (!store.loadData(Fuzz::bytes(data, size))) {
        Fuzz::require(!store.errorString().isEmpty() && store.versionNames().isEmpty(),
                      "a failed read says why and lists nothing");
    }
    checkVersions(store);
    WizardState state;
    if (state.prepare(description(), QStringLiteral("/data"), store))
        checkPrepared(state);
    else
        Fuzz::require(!state.errorString().isEmpty(), "a failed preparation says why");
    return 0;
}
