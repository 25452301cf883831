#include "i18n/SpokenText.h"

#include <QtTest>

class tst_SpokenText : public QObject
{
    Q_OBJECT
private slots:
    void spoken_data();
    void spoken();
};

void tst_SpokenText::spoken_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("spoken");
    QTest::addColumn<QString>("shortcut");
    QTest::newRow("padded button") << "Next  "
                                   << "Next"
                                   << "";
    QTest::newRow("padded Korean button") << "다음  "
                                          << "다음"
                                          << "";
    QTest::newRow("menu entry with shortcut column") << "&Close            Alt+F4"
                                                     << "Close"
                                                     << "Alt+F4";
    QTest::newRow("bracketed key and column") << "닫기(&C)            Alt+F4"
                                              << "닫기"
                                              << "Alt+F4";
    QTest::newRow("tab column") << "&Close\tAlt+F4"
                                << "Close"
                                << "Alt+F4";
    QTest::newRow("bracketed key") << "아니요(&N)"
                                   << "아니요"
                                   << "";
    QTest::newRow("full-width brackets") << "はい（&Y）"
                                         << "はい"
                                         << "";
    QTest::newRow("doubled ampersand") << "S&&P &Data"
                                       << "S&P Data"
                                       << "";
    QTest::newRow("function key column") << "&Help    F1"
                                         << "Help"
                                         << "F1";
    QTest::newRow("blanks before a word") << "Select  Drive"
                                          << "Select Drive"
                                          << "";
    QTest::newRow("note over two lines") << "※ Only checked data\n    will be installed."
                                         << "※ Only checked data will be installed."
                                         << "";
    QTest::newRow("written line break") << "two\\nlines"
                                        << "two lines"
                                        << "";
    QTest::newRow("label with colon") << "Select  Drive :"
                                      << "Select Drive"
                                      << "";
    QTest::newRow("one blank between words") << "Select Folder :"
                                             << "Select Folder"
                                             << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
}

void tst_SpokenText::spoken()
{
    QFETCH(QString, caption);
    QFETCH(QString, spoken);
    QFETCH(QString, shortcut);
    QCOMPARE(SpokenText(caption), spoken);
    QCOMPARE(ShortcutColumn(caption), shortcut);
}

QTEST_GUILESS_MAIN(tst_SpokenText)
#include "tst_spokentext.moc"
