#include "PackageKind.h"

#include <array>

namespace {

struct KindNames
{
    PackageKind kind;
    QLatin1StringView name;
    QLatin1StringView dataExtension;
    QByteArrayView magic;
};

using namespace Qt::StringLiterals;

// The magic is seven characters followed by one zero byte; the views keep it.
constexpr std::array<KindNames, 4> Kinds{{
        {PackageKind::STY, "STY"_L1, ".sty"_L1, QByteArrayView("STYComp\0", 8)},
        {PackageKind::STI, "STI"_L1, ".sti"_L1, QByteArrayView("STIComp\0", 8)},
        {PackageKind::TEX, "TEX"_L1, ".tex"_L1, QByteArrayView("TEXComp\0", 8)},
        {PackageKind::TFC, "TFC"_L1, ".tfc"_L1, QByteArrayView("TFCComp\0", 8)},
}};

const KindNames &namesOf(PackageKind kind)
{
    return Kinds[static_cast<size_t>(kind)];
}

} // namespace

std::optional<PackageKind> PackageKindForDataPath(const QString &path)
{
    for (const KindNames &names : Kinds) {
        if (path.endsWith(names.dataExtension, Qt::CaseInsensitive))
            return names.kind;
    }
    return std::nullopt;
}

std::optional<PackageKind> PackageKindForPath(const QString &path)
{
    if (!path.endsWith(u'_'))
        return std::nullopt;
    return PackageKindForDataPath(InstalledName(path));
}

QString InstalledName(const QString &packedPath)
{
    return packedPath.chopped(packedPath.isEmpty() ? 0 : 1);
}

QString PackageKindName(PackageKind kind)
{
    return namesOf(kind).name;
}

QByteArrayView PackageMagic(PackageKind kind)
{
    return namesOf(kind).magic;
}
