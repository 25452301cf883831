#pragma once

#include "package/PackageInfo.h"
#include "package/PackageKind.h"

#include <QByteArrayView>

#include <optional>

// Plain STY and STI data start with a header record of fixed size that holds a
// format number; older formats cannot be read by the target application.
inline constexpr qsizetype StyHeaderRecordSize = 936;
inline constexpr qsizetype StiHeaderRecordSize = 212;
inline constexpr qint32 OldestFormatNumber = 500;

// The size of the kind's header record; 0 for TEX and TFC, which have none
// that is checked.
qsizetype DataHeaderSize(PackageKind kind);

// The format number in the header record at the start of head (offset 0 for
// STY, 20 for STI); nothing when head is shorter than the record or the kind
// has none.
std::optional<qint32> DataFormatNumber(QByteArrayView head, PackageKind kind);

// True for TEX and TFC at once. For STY and STI true when the unpacked data
// (info's payload size) and head, its first bytes, both hold the whole header
// record and its format number is at least 500.
[[nodiscard]] bool CheckDataHeader(const PackageInfo &info, QByteArrayView head, PackageKind kind);
