#include "DataHeader.h"

#include <QtEndian>

namespace {

qsizetype formatNumberOffset(PackageKind kind)
{
    return kind == PackageKind::STI ? 20 : 0;
}

} // namespace

qsizetype DataHeaderSize(PackageKind kind)
{
    switch (kind) {
    case PackageKind::STY:
        return StyHeaderRecordSize;
    case PackageKind::STI:
        return StiHeaderRecordSize;
    case PackageKind::TEX:
    case PackageKind::TFC:
        break;
    }
    return 0;
}

std::optional<qint32> DataFormatNumber(QByteArrayView head, PackageKind kind)
{
    const qsizetype recordSize = DataHeaderSize(kind);
    if (recordSize == 0 || head.size() < recordSize)
        return std::nullopt;
    return qFromLittleEndian<qint32>(head.data() + formatNumberOffset(kind));
}

bool CheckDataHeader(const PackageInfo &info, QByteArrayView head, PackageKind kind)
{
    const qsizetype recordSize = DataHeaderSize(kind);
    if (recordSize == 0)
        return true;
    if (info.payloadSize < recordSize)
        return false;
    const std::optional<qint32> number = DataFormatNumber(head, kind);
    return number && *number >= OldestFormatNumber;
}
