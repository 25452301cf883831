#include "LocationRules.h"

#include "platform/FolderIdentity.h"
#include "platform/PlatformPaths.h"
#include "selection/WizardState.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

// "/Vestra/Bin/" is the same folder as "/Vestra/Bin", and on Windows so is
// "c:\vestra\bin"; letting them through would let the user pick or remove a
// folder of the application.
bool holds(const QStringList &folders, const QString &path)
{
    const QString folder = FolderIdentity(path);
    return std::any_of(folders.cbegin(), folders.cend(),
                       [&folder](const QString &f) { return FolderIdentity(f) == folder; });
}

} // namespace

namespace LocationRules {

LocationSetup SetupFor(DataKind kind, const WizardState &state)
{
    LocationSetup setup;
    setup.versionList = state.versionList;
    setup.versionFolderList = state.versionFolderList;
    setup.startPath = state.kind(kind).destination;
    const QString sty = state.kind(DataKind::STY).destination;
    const QString sti = state.kind(DataKind::STI).destination;
    switch (kind) {
    case DataKind::STY:
        setup.otherDestinations = {QString(), QString()};
        break;
    case DataKind::STI:
        setup.otherDestinations = {QString(), sty};
        break;
    case DataKind::DETAIL:
        setup.otherDestinations = {sti, sty};
        break;
    }
    setup.protectedFolderList = state.protectedFolderList;
    setup.baseFolder = state.baseFolder;
    return setup;
}

QString WithRootSeparator(const QString &path)
{
    return path.endsWith(u':') ? path + u'/' : path;
}

QString NearestExistingFolder(const QString &path)
{
    // A relative path would be taken from wherever the program was started.
    if (!QDir::isAbsolutePath(path))
        return {};
    QString folder = QDir::cleanPath(path);
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            return {};
        folder = parent;
    }
    return folder;
}

QString StartFolder(const QString &startPath)
{
    const QString path = WithRootSeparator(startPath);
    if (QFileInfo(path).isDir() && QDir::isAbsolutePath(path))
        return path;
    const QString nearest = NearestExistingFolder(path);
    return nearest.isEmpty() ? FallbackStartPath() : nearest;
}

QString StartChoice(const QString &startPath)
{
    const QString path = WithRootSeparator(startPath);
    const bool notMadeYet = !QFileInfo::exists(path) && !NearestExistingFolder(path).isEmpty();
    return notMadeYet ? path : StartFolder(startPath);
}

bool IsVersionFolder(const QString &path, const QStringList &versionFolderList)
{
    return holds(versionFolderList, path);
}

bool IsValidFolderName(const QString &name)
{
    static const QRegularExpression forbidden(QStringLiteral("[<>:\"/\\\\|?*\\x00-\\x1F]"));
    static const QRegularExpression device(
            QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])(\\..*)?$"),
            QRegularExpression::CaseInsensitiveOption);
    if (name.isEmpty() || name == u"." || name == u".." || name.size() > 255)
        return false;
    if (name.endsWith(u' ') || name.endsWith(u'.'))
        return false;
    return !forbidden.match(name).hasMatch() && !device.match(name).hasMatch();
}

DeleteRefusal CheckDelete(const QString &folder, const LocationSetup &setup)
{
    if (holds(setup.protectedFolderList, folder) || holds(setup.versionFolderList, folder))
        return DeleteRefusal::ProtectedFolder;
    for (const QString &destination : setup.otherDestinations) {
        if (!destination.isEmpty() && IsSameFolder(destination, folder))
            return DeleteRefusal::OtherDestination;
    }
    const QDir dir(folder);
    if (!QFileInfo(folder).isDir())
        return DeleteRefusal::Missing;
    if (!dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        return DeleteRefusal::NotEmpty;
    return DeleteRefusal::None;
}

} // namespace LocationRules
