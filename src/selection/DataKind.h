#pragma once

#include <QString>

#include <array>

// The three kinds of style data, always handled in this order.
enum class DataKind : int { STY = 0, STI = 1, DETAIL = 2 };

inline constexpr std::array<DataKind, 3> AllDataKinds{DataKind::STY, DataKind::STI,
                                                      DataKind::DETAIL};

inline constexpr int KindIndex(DataKind kind)
{
    return static_cast<int>(kind);
}

// "STY", "STI" or "DETAIL": the literal that texts, options and file names use.
inline QString DataKindName(DataKind kind)
{
    switch (kind) {
    case DataKind::STY:
        return QStringLiteral("STY");
    case DataKind::STI:
        return QStringLiteral("STI");
    case DataKind::DETAIL:
        return QStringLiteral("DETAIL");
    }
    return {};
}
