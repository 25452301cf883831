#include "i18n/TextTable.h"
#include "selection/WizardPages.h"
#include "selection/WizardState.h"

#include <QDir>
#include <QtTest>

using namespace WizardPages;

namespace {

// Which kinds are selected, and which have a checked unit, as "STY,DETAIL".
struct Kinds
{
    bool sty = false, sti = false, detail = false;
};

Kinds parse(const QString &list)
{
    const QStringList names = list.split(u',', Qt::SkipEmptyParts);
    return {names.contains("STY"), names.contains("STI"), names.contains("DETAIL")};
}

WizardState stateOf(const QString &selected, const QString &checked = {}, bool user = true)
{
    WizardState state;
    state.userInstall = user;
    const Kinds s = parse(selected);
    const Kinds c = parse(checked);
    const std::array<bool, 3> sel{s.sty, s.sti, s.detail};
    const std::array<bool, 3> chk{c.sty, c.sti, c.detail};
    const char *folders[] = {"/V/Bin/STY_27", "/V/Bin/STI_27", "/V/Bin/DETAIL_27"};
    for (DataKind kind : AllDataKinds) {
        KindState &k = state.kind(kind);
        k.selected = sel[KindIndex(kind)];
        k.hasCheckedUnit = chk[KindIndex(kind)];
        k.destination = QString::fromLatin1(folders[KindIndex(kind)]);
    }
    return state;
}

QString native(const char *path)
{
    return QDir::toNativeSeparators(QString::fromLatin1(path));
}

const QString S = "STY : " + native("/V/Bin/STY_27");
const QString T = "STI : " + native("/V/Bin/STI_27");
const QString D = "DETAIL : " + native("/V/Bin/DETAIL_27");

} // namespace

class tst_WizardPages : public QObject
{
    Q_OBJECT
private slots:
    void nextKind_data();
    void nextKind();
    void previousPage_data();
    void previousPage();
    void clickHint_data();
    void clickHint();
    void installSummary_data();
    void installSummary();
};

void tst_WizardPages::nextKind_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("after");    // -1: leaving page 1
    QTest::addColumn<int>("expected"); // -1: page 5 follows
    QTest::newRow("page 1, all") << "STY,STI,DETAIL" << -1 << 0;
    QTest::newRow("page 1, DETAIL alone") << "DETAIL" << -1 << 2;
    QTest::newRow("page 1, STI and DETAIL") << "STI,DETAIL" << -1 << 1;
    QTest::newRow("page 2, STY and STI") << "STY,STI" << 0 << 1;
    QTest::newRow("page 2, STY and DETAIL") << "STY,DETAIL" << 0 << 2;
    QTest::newRow("page 2, STY alone") << "STY" << 0 << -1;
    QTest::newRow("page 3, all") << "STY,STI,DETAIL" << 1 << 2;
    QTest::newRow("page 3, STY and STI") << "STY,STI" << 1 << -1;
    QTest::newRow("page 4") << "STY,STI,DETAIL" << 2 << -1;
}

void tst_WizardPages::nextKind()
{
    QFETCH(QString, selected);
    QFETCH(int, after);
    QFETCH(int, expected);
    const auto from = after < 0 ? std::nullopt : std::optional(static_cast<DataKind>(after));
    const auto next = NextKind(stateOf(selected), from);
    QCOMPARE(next ? KindIndex(*next) : -1, expected);
}

void tst_WizardPages::previousPage_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<bool>("user");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("expected");
    QTest::newRow("sbPrev2") << "STY,STI,DETAIL" << true << 1 << 0;
    QTest::newRow("sbPrev3, STY selected") << "STY,STI" << true << 2 << 1;
    QTest::newRow("sbPrev3, STI alone") << "STI" << true << 2 << 0;
    QTest::newRow("sbPrev4, STI selected") << "STY,STI,DETAIL" << true << 3 << 2;
    QTest::newRow("sbPrev4, STY and DETAIL") << "STY,DETAIL" << true << 3 << 1;
    QTest::newRow("sbPrev4, DETAIL alone") << "DETAIL" << true << 3 << 0;
    QTest::newRow("sbPrev5, Basic") << "STY,STI,DETAIL" << false << 4 << 0;
    QTest::newRow("sbPrev5, DETAIL selected") << "STY,DETAIL" << true << 4 << 3;
    QTest::newRow("sbPrev5, STI last") << "STY,STI" << true << 4 << 2;
    QTest::newRow("sbPrev5, STY alone") << "STY" << true << 4 << 1;
    QTest::newRow("sbPrev5, nothing selected") << "" << true << 4 << 1;
}

void tst_WizardPages::previousPage()
{
    QFETCH(QString, selected);
    QFETCH(bool, user);
    QFETCH(int, page);
    QFETCH(int, expected);
    QCOMPARE(int(PreviousPage(page, stateOf(selected, {}, user))), expected);
}

void tst_WizardPages::clickHint_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("expected");
    QTest::newRow("all") << "STY,STI,DETAIL"
                         << "t15 t60 t64";
    QTest::newRow("STY and STI") << "STY,STI"
                                 << "t15 t61 t64";
    QTest::newRow("STY and DETAIL") << "STY,DETAIL"
                                    << "t15 t62 t64";
    QTest::newRow("STI and DETAIL") << "STI,DETAIL"
                                    << "t15 t63 t64";
    QTest::newRow("STY") << "STY"
                         << "t15";
    QTest::newRow("STI") << "STI"
                         << "t15";
    QTest::newRow("DETAIL") << "DETAIL"
                            << "t15";
    QTest::newRow("none") << ""
                          << "t15";
}

void tst_WizardPages::clickHint()
{
    QFETCH(QString, selected);
    QFETCH(QString, expected);
    LanguageTextTable texts;
    texts.count = 70;
    for (int n : {15, 60, 61, 62, 63, 64})
        texts.texts[n] = QStringLiteral("t%1 ").arg(n);
    QCOMPARE(ClickHint(stateOf(selected), texts).trimmed(), expected);
}

void tst_WizardPages::installSummary_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("expected");
    // Page 1, Basic: every selected kind; the first line has no line break before it.
    QTest::newRow("basic, all") << 0 << "STY,STI,DETAIL"
                                << "" << S + "\n" + T + "\n" + D;
    QTest::newRow("basic, STI alone") << 0 << "STI"
                                      << "" << T;
    QTest::newRow("basic, DETAIL alone") << 0 << "DETAIL"
                                         << "" << D;
    QTest::newRow("basic, STY and DETAIL") << 0 << "STY,DETAIL"
                                           << "" << S + "\n" + D;
    // Page 2 straight to page 5: STY alone, its line led by a blank.
    QTest::newRow("page 2, checked") << 1 << "STY"
                                     << "STY"
                                     << " " + S;
    QTest::newRow("page 2, nothing checked") << 1 << "STY"
                                             << ""
                                             << "";
    // Page 3 straight to page 5.
    QTest::newRow("page 3, STY and STI") << 2 << "STY,STI"
                                         << "STY,STI" << S + "\n" + T;
    QTest::newRow("page 3, STI") << 2 << "STY,STI"
                                 << "STI" << T;
    QTest::newRow("page 3, STY") << 2 << "STY,STI"
                                 << "STY" << S;
    QTest::newRow("page 3, STI alone") << 2 << "STI"
                                       << "STI" << T;
    QTest::newRow("page 3, nothing checked") << 2 << "STY,STI"
                                             << ""
                                             << "";
    // Page 4: the first matching row.
    QTest::newRow("page 4, STY STI DETAIL") << 3 << "STY,STI,DETAIL"
                                            << "STY,STI,DETAIL" << S + "\n" + T + "\n" + D;
    QTest::newRow("page 4, STY DETAIL") << 3 << "STY,STI,DETAIL"
                                        << "STY,DETAIL" << S + "\n" + D;
    QTest::newRow("page 4, STI DETAIL") << 3 << "STY,STI,DETAIL"
                                        << "STI,DETAIL" << T + "\n" + D;
    QTest::newRow("page 4, STY STI") << 3 << "STY,STI,DETAIL"
                                     << "STY,STI" << S + "\n" + T;
    QTest::newRow("page 4, STY") << 3 << "STY,STI,DETAIL"
                                 << "STY" << S;
    QTest::newRow("page 4, STI") << 3 << "STY,STI,DETAIL"
                                 << "STI" << T;
    QTest::newRow("page 4, DETAIL") << 3 << "STY,STI,DETAIL"
                                    << "DETAIL" << D;
    QTest::newRow("page 4, nothing checked") << 3 << "STY,STI,DETAIL"
                                             << ""
                                             << "";
    // A kind checked on an earlier pass but not selected now is not installed.
    QTest::newRow("page 4, STY checked but not selected") << 3 << "DETAIL"
                                                          << "STY,DETAIL" << D;
}

void tst_WizardPages::installSummary()
{
    QFETCH(int, page);
    QFETCH(QString, selected);
    QFETCH(QString, checked);
    QFETCH(QString, expected);
    QCOMPARE(InstallSummary(stateOf(selected, checked, page != PageOne), page), expected);
}

QTEST_GUILESS_MAIN(tst_WizardPages)
#include "tst_wizardpages.moc"
