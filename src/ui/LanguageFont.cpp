#include "LanguageFont.h"

#include <QApplication>
#include <QFont>
#include <QHash>

#include <algorithm>

namespace {

using WS = QFontDatabase::WritingSystem;

const QList<WS> HanSystems{QFontDatabase::SimplifiedChinese, QFontDatabase::TraditionalChinese,
                           QFontDatabase::Japanese, QFontDatabase::Korean};

QStringList tagsOf(WS system)
{
    switch (system) {
    case QFontDatabase::SimplifiedChinese:
        return {QStringLiteral("SC"), QStringLiteral("CN"), QStringLiteral("GB")};
    case QFontDatabase::TraditionalChinese:
        return {QStringLiteral("TC"), QStringLiteral("TW"), QStringLiteral("HK")};
    case QFontDatabase::Japanese:
        return {QStringLiteral("JP")};
    case QFontDatabase::Korean:
        return {QStringLiteral("KR")};
    default:
        return {};
    }
}

// Lower is better: tagged, then made for this system alone, then any; a
// plain face before a serif or fixed-pitch one of the same rank.
int rank(WS system, const FontCandidate &candidate)
{
    const QStringList words = candidate.family.split(u' ', Qt::SkipEmptyParts);
    const QStringList tags = tagsOf(system);
    const bool tagged = std::any_of(tags.cbegin(), tags.cend(),
                                    [&](const QString &tag) { return words.contains(tag); });
    const bool alone = std::none_of(HanSystems.cbegin(), HanSystems.cend(), [&](WS other) {
        return other != system && candidate.systems.contains(other);
    });
    static const QStringList notPlain{QStringLiteral("Serif"), QStringLiteral("Mono")};
    const bool plain = std::none_of(notPlain.cbegin(), notPlain.cend(),
                                    [&](const QString &word) { return words.contains(word); });
    return (tagged ? 0 : alone ? 2 : 4) + (plain ? 0 : 1);
}

QList<FontCandidate> installedCandidates(WS system)
{
    QList<FontCandidate> candidates;
    for (const QString &family : QFontDatabase::families(system))
        candidates.append({family, QFontDatabase::writingSystems(family)});
    return candidates;
}

} // namespace

QFontDatabase::WritingSystem HanWritingSystem(const QString &language)
{
    static const QHash<QString, WS> systems{
            {QStringLiteral("Chinese"), QFontDatabase::SimplifiedChinese},
            {QStringLiteral("Taiwanese"), QFontDatabase::TraditionalChinese},
            {QStringLiteral("Japanese"), QFontDatabase::Japanese},
            {QStringLiteral("Korean"), QFontDatabase::Korean},
    };
    return systems.value(language, QFontDatabase::Any);
}

QString PickHanFamily(QFontDatabase::WritingSystem system, const QList<FontCandidate> &candidates)
{
    const FontCandidate *best = nullptr;
    int bestRank = 0;
    for (const FontCandidate &candidate : candidates) {
        if (!candidate.systems.contains(system))
            continue;
        const int r = rank(system, candidate);
        if (!best || r < bestRank) {
            best = &candidate;
            bestRank = r;
        }
    }
    return best ? best->family : QString();
}

void UseLanguageFont(const QString &language)
{
    // The platform's face, as it was before any language was chosen.
    static const QFont platformFont = QApplication::font();
    QFont font = platformFont;
    const WS system = HanWritingSystem(language);
    const QString han = system == QFontDatabase::Any
                                ? QString()
                                : PickHanFamily(system, installedCandidates(system));
    if (!han.isEmpty()) {
        QStringList families = platformFont.families();
        if (families.isEmpty())
            families.append(platformFont.family());
        families.append(han);
        font.setFamilies(families);
    }
    QApplication::setFont(font);
}
