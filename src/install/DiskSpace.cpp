#include "DiskSpace.h"

#include "i18n/TextNumbers.h"
#include "install/InstallContext.h"
#include "install/InstallUi.h"
#include "package/PackageKind.h"
#include "package/PackageReader.h"
#include "platform/DriveList.h"
#include "selection/WizardState.h"

#include <QFileInfo>
#include <QLocale>
#include <QMap>

namespace {

// The space an install run needs on one volume, and what that volume has.
struct VolumeNeed
{
    QString volume;    // the volume's root folder
    qint64 needed = 0; // packed copies + unpacked data
    qint64 available = 0;
};

qint64 neededFor(const KindLists &lists, std::optional<OverwriteAnswer> preset)
{
    // No and Cancel never replace: an installed file then needs no room.
    const bool keepsInstalled = preset == OverwriteAnswer::No || preset == OverwriteAnswer::Cancel;
    qint64 needed = 0;
    for (qsizetype i = 0; i < lists.sourceFiles.size(); ++i) {
        const QString &source = lists.sourceFiles.at(i);
        if (keepsInstalled && QFileInfo(InstalledName(lists.destinationFiles.at(i))).isFile())
            continue;
        const QFileInfo packed(source);
        const auto kind = PackageKindForPath(source);
        const qint64 data = kind ? ClaimedDataSize(source, *kind) : -1;
        // A replaced file's earlier version is kept until the run ends, so
        // its space does not come free during the run.
        needed += packed.size() + qMax<qint64>(data, 0);
    }
    return needed;
}

} // namespace

QString SizeText(qint64 bytes)
{
    return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

bool CheckDiskSpace(InstallContext &context)
{
    QMap<QString, VolumeNeed> volumes;
    for (DataKind kind : AllDataKinds) {
        const KindLists &lists = context.kindLists(kind);
        if (!context.state.kind(kind).selected || !lists.unitsChosen)
            continue;
        const QStorageInfo storage = VolumeOfFolder(context.state.kind(kind).destination);
        if (!storage.isValid())
            continue; // the folder step reports a destination that cannot be made
        VolumeNeed &need = volumes[storage.rootPath()];
        need.volume = storage.rootPath();
        need.available = storage.bytesAvailable();
        need.needed += neededFor(lists, context.presetOverwrite);
    }
    for (const VolumeNeed &need : std::as_const(volumes)) {
        if (need.needed <= need.available)
            continue;
        context.ui.showWarning(context.text(InstallText::NotEnoughSpace)
                                       .arg(NativePath(need.volume), SizeText(need.needed),
                                            SizeText(need.available)),
                               QStringLiteral("Warning"));
        return false;
    }
    return true;
}
