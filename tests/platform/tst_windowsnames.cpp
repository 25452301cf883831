#include "platform/WindowsNames.h"

#include <QtTest>

// The names Windows cannot hold, judged as one folder's listing.
class tst_WindowsNames : public QObject
{
    Q_OBJECT
private slots:
    void problems_data();
    void problems();
};

void tst_WindowsNames::problems_data()
{
    QTest::addColumn<QStringList>("names");
    // "name: rule" for each name refused, in list order; "case:other" names the other.
    QTest::addColumn<QStringList>("expected");
    const auto one = [](const char *row, const QString &name, const QString &rule) {
        QTest::newRow(row) << QStringList{name}
                           << (rule.isEmpty() ? QStringList() : QStringList{name + ": " + rule});
    };
    one("plain", "Jacket 01.sty", "");
    one("Korean", "재킷.sty", "");
    one("device", "CON", "device");
    one("device with an extension", "con.sty", "device");
    one("device, mixed case", "Aux.sti", "device");
    one("device, two extensions", "nul.tar.sty", "device");
    one("device, blank before the dot", "prn .sty", "device");
    one("port", "COM1.tex", "device");
    one("port nine", "lpt9", "device");
    one("port with a superscript", QString::fromUtf8("COM\u00B9.sty"), "device");
    one("longer than a device", "CONSOLE.sty", "");
    one("port without a digit", "COM.sty", "");
    one("port ten", "COM10.sty", "");
    one("device later in the name", "a.con", "");
    one("trailing dot", "Coats.", "dot");
    one("trailing blank", "Coats ", "dot");
    one("leading blank", " Coats", "");
    for (const char *c : {"<", ">", ":", "\"", "|", "?", "*", "\\"})
        one(qPrintable(QString("character ") + c), QString("a") + c + "b.sty", "character");
    one("control character", QString("a") + QChar(0x1F) + "b.sty", "character");
    one("tab", "a\tb.sty", "character");
    QTest::newRow("differ only in case") << QStringList{"A.sty", "b.sty", "a.sty"}
                                         << QStringList{"A.sty: case:a.sty", "a.sty: case:A.sty"};
    QTest::newRow("three in one case")
            << QStringList{"Coats", "coats", "COATS"}
            << QStringList{"Coats: case:coats", "coats: case:Coats", "COATS: case:Coats"};
    QTest::newRow("non-Latin case")
            << QStringList{QString::fromUtf8("Ärmel.sty"), QString::fromUtf8("ärmel.sty")}
            << QStringList{QString::fromUtf8("Ärmel.sty: case:ärmel.sty"),
                           QString::fromUtf8("ärmel.sty: case:Ärmel.sty")};
    // Windows compares one unit at a time: "ß" is not "SS".
    QTest::newRow("sharp s") << QStringList{QString::fromUtf8("Straße"), "STRASSE"}
                             << QStringList();
    QTest::newRow("a rule before case") << QStringList{"con.sty", "CON.sty"}
                                        << QStringList{"con.sty: device", "CON.sty: device"};
}

void tst_WindowsNames::problems()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, expected);
    QStringList found;
    for (const WindowsNameProblem &problem : WindowsNameProblems(names)) {
        static const char *const rules[] = {"allowed", "device", "dot", "character", "case:"};
        found << names.at(problem.index) + ": " + rules[int(problem.rule)] + problem.other;
        QVERIFY(!WindowsNameRuleText(problem.rule, problem.other).isEmpty());
    }
    QCOMPARE(found, expected);
}

QTEST_GUILESS_MAIN(tst_WindowsNames)
#include "tst_windowsnames.moc"
