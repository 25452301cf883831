#include "Languages.h"

namespace {
QString &currentLanguage()
{
    static QString name;
    return name;
}
} // namespace

const QStringList &LanguageNames()
{
    static const QStringList names{
            QStringLiteral("Korean"),     QStringLiteral("English"),  QStringLiteral("Chinese"),
            QStringLiteral("Indonesian"), QStringLiteral("Japanese"), QStringLiteral("Taiwanese"),
            QStringLiteral("Thai"),
    };
    return names;
}

QString CurrentLanguageName()
{
    return currentLanguage();
}

void SetCurrentLanguageName(const QString &name)
{
    currentLanguage() = name;
}
