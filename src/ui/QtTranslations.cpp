#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

QString QtLocaleName(const QString &language)
{
    static const QHash<QString, QString> locales{
            {QStringLiteral("Korean"), QStringLiteral("ko")},
            {QStringLiteral("English"), QStringLiteral("en")},
            {QStringLiteral("Chinese"), QStringLiteral("zh_CN")},
            {QStringLiteral("Indonesian"), QStringLiteral("id")},
            {QStringLiteral("Japanese"), QStringLiteral("ja")},
            {QStringLiteral("Taiwanese"), QStringLiteral("zh_TW")},
            {QStringLiteral("Thai"), QStringLiteral("th")},
    };
    return locales.value(language);
}

void UseQtTranslations(const QString &language)
{
    static std::unique_ptr<QTranslator> current;
    if (current) {
        QCoreApplication::removeTranslator(current.get());
        current.reset();
    }
    const QString name = QStringLiteral("qtbase_") + QtLocaleName(language);
    // A Windows installation carries them in "translations" beside the program.
    const QStringList folders{
            QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath),
    };
    auto translator = std::make_unique<QTranslator>();
    for (const QString &folder : folders) {
        if (translator->load(name, folder)) {
            QCoreApplication::installTranslator(translator.get());
            current = std::move(translator);
            return;
        }
    }
}
