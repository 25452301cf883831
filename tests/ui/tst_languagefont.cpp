#include "i18n/Languages.h"
#include "ui/LanguageFont.h"

#include <QApplication>
#include <QtTest>

using WS = QFontDatabase::WritingSystem;
Q_DECLARE_METATYPE(QList<FontCandidate>)

namespace {

const QList<WS> AllHan{QFontDatabase::SimplifiedChinese, QFontDatabase::TraditionalChinese,
                       QFontDatabase::Japanese, QFontDatabase::Korean};

// The faces of one collection serving all four, as a Linux desktop has them.
QList<FontCandidate> collection()
{
    QList<FontCandidate> faces;
    for (const char *family : {"Noto Sans CJK JP", "Noto Sans CJK KR", "Noto Sans CJK SC",
                               "Noto Sans CJK TC", "Noto Sans Mono CJK SC", "Noto Serif CJK TC"})
        faces.append({family, AllHan});
    faces.prepend({"DejaVu Sans", {QFontDatabase::Latin}});
    return faces;
}

// Fonts each made for one writing system, as Windows has them, after one
// that serves them all.
QList<FontCandidate> separate()
{
    return {{"Arial Unicode MS", AllHan},
            {"Malgun Gothic", {QFontDatabase::Korean}},
            {"Microsoft JhengHei", {QFontDatabase::TraditionalChinese}},
            {"Microsoft YaHei", {QFontDatabase::SimplifiedChinese}},
            {"MS Gothic", {QFontDatabase::Japanese}}};
}

} // namespace

// Chinese, Taiwanese, Japanese and Korean texts are drawn in their own Han forms.
class tst_LanguageFont : public QObject
{
    Q_OBJECT
private slots:
    void pick_data();
    void pick();
    void applicationFont();
};

void tst_LanguageFont::pick_data()
{
    QTest::addColumn<QList<FontCandidate>>("candidates");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("family");
    QTest::newRow("collection, Chinese") << collection() << "Chinese"
                                         << "Noto Sans CJK SC";
    QTest::newRow("collection, Taiwanese") << collection() << "Taiwanese"
                                           << "Noto Sans CJK TC";
    QTest::newRow("collection, Japanese") << collection() << "Japanese"
                                          << "Noto Sans CJK JP";
    QTest::newRow("collection, Korean") << collection() << "Korean"
                                        << "Noto Sans CJK KR";
    QTest::newRow("separate, Chinese") << separate() << "Chinese"
                                       << "Microsoft YaHei";
    QTest::newRow("separate, Taiwanese") << separate() << "Taiwanese"
                                         << "Microsoft JhengHei";
    QTest::newRow("separate, Japanese") << separate() << "Japanese"
                                        << "MS Gothic";
    QTest::newRow("one for all") << QList<FontCandidate>{{"Unifont", AllHan}} << "Korean"
                                 << "Unifont";
    QTest::newRow("none") << QList<FontCandidate>{{"DejaVu Sans", {QFontDatabase::Latin}}}
                          << "Chinese"
                          << "";
    QTest::newRow("no Han characters") << separate() << "Thai"
                                       << "";
}

void tst_LanguageFont::pick()
{
    QFETCH(QList<FontCandidate>, candidates);
    QFETCH(QString, language);
    QFETCH(QString, family);
    QCOMPARE(PickHanFamily(HanWritingSystem(language), candidates), family);
}

// GIVEN the fonts of this machine, THEN Chinese and Taiwanese texts get
// their families after the interface face, and English the face alone.
void tst_LanguageFont::applicationFont()
{
    const QFont platform = QApplication::font();
    UseLanguageFont("English");
    QCOMPARE(QApplication::font(), platform);
    const QStringList simplified = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    if (simplified.isEmpty())
        QSKIP("No font for Chinese is installed here");
    UseLanguageFont("Chinese");
    const QStringList chinese = QApplication::font().families();
    QVERIFY(chinese.size() >= 2);
    QVERIFY2(simplified.contains(chinese.last()), qPrintable(chinese.join(", ")));
    UseLanguageFont("Taiwanese");
    const QString taiwanese = QApplication::font().families().last();
    QVERIFY(QFontDatabase::families(QFontDatabase::TraditionalChinese).contains(taiwanese));
    UseLanguageFont("English");
    QCOMPARE(QApplication::font(), platform);
}

QTEST_MAIN(tst_LanguageFont)
#include "tst_languagefont.moc"
