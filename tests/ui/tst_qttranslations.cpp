#include "i18n/Languages.h"
#include "ui/QtTranslations.h"

#include <QLibraryInfo>
#include <QSet>
#include <QtTest>

// Qt's own texts (message box buttons) follow the interface language.
class tst_QtTranslations : public QObject
{
    Q_OBJECT
private slots:
    void everyLanguageHasALocale();
    void buttonsFollowTheLanguage();
};

void tst_QtTranslations::everyLanguageHasALocale()
{
    QSet<QString> locales;
    for (const QString &language : LanguageNames())
        locales.insert(QtLocaleName(language));
    QCOMPARE(locales.size(), LanguageNames().size());
    QVERIFY(!locales.contains(QString()));
    QCOMPARE(QtLocaleName("Taiwanese"), QStringLiteral("zh_TW"));
}

void tst_QtTranslations::buttonsFollowTheLanguage()
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(folder + "/qtbase_ko.qm"))
        QSKIP("Qt's Korean translations are not installed here");
    const QString english = QCoreApplication::translate("QPlatformTheme", "&Yes");
    UseQtTranslations("Korean");
    const QString korean = QCoreApplication::translate("QPlatformTheme", "&Yes");
    QVERIFY2(korean != english, qPrintable(korean));
    UseQtTranslations("English"); // back, and no translator left behind
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), english);
}

QTEST_MAIN(tst_QtTranslations)
#include "tst_qttranslations.moc"
