#include "WizardState.h"

#include "platform/VersionStore.h"

#include <QDir>

#include <algorithm>

namespace {

// A version name counts only when it is made of digits and dots and reads as
// a number; "." is the decimal point whatever the user's locale.
bool readVersionNumber(const QString &name, double *number)
{
    for (QChar c : name) {
        if ((c < u'0' || c > u'9') && c != u'.')
            return false;
    }
    bool ok = false;
    *number = name.toDouble(&ok); // QString::toDouble always uses the C locale
    return ok;
}

// "C:/Vestra/" and "C:/Vestra" name the same folder; without this the
// protected folders of the first would never equal a destination.
QString withoutTrailingSeparators(QString folder)
{
    while (folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

} // namespace

bool WizardState::prepare(const DataSetDescription &description, const QString &dataSetFolder,
                          const VersionStore &store)
{
    m_error.clear();
    m_description = description;
    for (KindState &k : m_kinds)
        k.selected = false;
    takeKinds(dataSetFolder);
    for (DataKind k : AllDataKinds) {
        if (kind(k).enabled && kind(k).folderName.isEmpty()) {
            m_error = QStringLiteral("The data set description names no folder for %1")
                              .arg(DataKindName(k));
            return false;
        }
    }
    baseFolder.clear();
    protectedFolderList.clear();
    const QString applicationFolder = findApplicationFolder(store);
    if (applicationFolder.isEmpty())
        return false;
    fillProtectedFolders();
    baseFolder = withoutTrailingSeparators(applicationFolder) + QStringLiteral("/Bin/");
    for (KindState &k : m_kinds)
        k.destination = QStringLiteral(" ");
    closingAllowed = false;
    return true;
}

// A data set that marks no kind as present is taken as holding DETAIL alone.
void WizardState::takeKinds(const QString &dataSetFolder)
{
    const bool anyPresent
            = std::find(m_description.present.cbegin(), m_description.present.cend(), true)
              != m_description.present.cend();
    for (DataKind k : AllDataKinds) {
        KindState &state = kind(k);
        state.enabled = anyPresent ? m_description.present[KindIndex(k)] : k == DataKind::DETAIL;
        state.folderName.clear();
        state.sourceFolder.clear();
        if (!state.enabled)
            continue;
        state.folderName = m_description.folderName[KindIndex(k)];
        state.sourceFolder = dataSetFolder.endsWith(u'/') ? dataSetFolder + state.folderName
                                                          : dataSetFolder + u'/' + state.folderName;
    }
}

// Keeps the versions numbered 2 or higher and returns the Defaultdir of the
// highest; of two equal numbers the one later in the store wins. One pass
// into a new list, so that thousands of versions cost no more than their count.
QString WizardState::findApplicationFolder(const VersionStore &store)
{
    const QStringList names = store.versionNames();
    versionList.clear();
    versionFolderList.clear();
    QString best;
    double bestNumber = 0;
    for (const QString &name : names) {
        double number = 0;
        if (!readVersionNumber(name, &number) || number < 2)
            continue;
        versionList.append(name);
        if (number >= bestNumber) {
            bestNumber = number;
            best = name;
        }
    }
    for (const QString &version : std::as_const(versionList))
        versionFolderList.append(withoutTrailingSeparators(store.defaultDir(version))
                                 + QStringLiteral("/Bin"));
    const QString folder = best.isEmpty() ? QString() : store.defaultDir(best);
    if (best.isEmpty() && !store.errorString().isEmpty())
        m_error = QStringLiteral("No installed Vestra was found: %1").arg(store.errorString());
    else if (best.isEmpty())
        m_error = QStringLiteral("No installed Vestra 2.0 or newer was found under %1")
                          .arg(store.location());
    else if (folder.isEmpty())
        m_error = QStringLiteral("Vestra %1 under %2 has no Defaultdir in its Directory key")
                          .arg(best, store.location());
    return folder;
}

void WizardState::fillProtectedFolders()
{
    static const char *const folders[] = {"/Bin",           "/Color",      "/screencam",
                                          "/StyleLib",      "/Bin/Detail", "/Bin/GuideImage",
                                          "/Bin/stiSample", "/Bin/Style",  "/Bin/Vestra"};
    for (const QString &versionFolder : std::as_const(versionFolderList)) {
        const QString application = versionFolder.chopped(4); // without "/Bin"
        for (const char *folder : folders)
            protectedFolderList.append(application + QLatin1String(folder));
    }
}

QString WizardState::defaultDestination(DataKind k) const
{
    return baseFolder + kind(k).folderName;
}

bool WizardState::takeSelection()
{
    bool any = false;
    for (KindState &k : m_kinds) {
        k.selected = k.checked && k.enabled;
        any = any || k.selected;
    }
    return any;
}
