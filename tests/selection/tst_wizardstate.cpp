#include "platform/RegFileVersionStore.h"
#include "selection/WizardState.h"

#include "TestFiles.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Versions and their Defaultdir values, in store order.
class FakeVersionStore : public VersionStore
{
public:
    QList<std::pair<QString, QString>> versions;

    QStringList versionNames() const override
    {
        QStringList names;
        for (const auto &v : versions)
            names.append(v.first);
        return names;
    }
    QString defaultDir(const QString &version) const override
    {
        for (const auto &v : versions) {
            if (v.first == version)
                return v.second;
        }
        return {};
    }
    QString location() const override { return QStringLiteral("HKLM-test-key"); }
};

using Versions = QList<std::pair<QString, QString>>;

DataSetDescription description(bool sty, bool sti, bool detail)
{
    DataSetDescription d;
    d.present = {sty, sti, detail};
    d.folderName = {"STY_27", "STI_27", "DETAIL_27"};
    d.year = "2027";
    return d;
}

} // namespace

class tst_WizardState : public QObject
{
    Q_OBJECT
private slots:
    void newestVersion_data();
    void newestVersion();
    void protectedFolders();
    void kinds_data();
    void kinds();
    void noVersion_data();
    void noVersion();
    void commaLocale();
    void fromRegistryExport();
    void selectionAndDefaults();
};

void tst_WizardState::newestVersion_data()
{
    QTest::addColumn<Versions>("versions");
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<QString>("baseFolder");

    QTest::newRow("1.5 2.0 3.1 beta 2.x") << Versions{{"1.5", "/v15"},
                                                      {"2.0", "/v20"},
                                                      {"3.1", "/v31"},
                                                      {"beta", "/b"},
                                                      {"2.x", "/x"}}
                                          << QStringList{"2.0", "3.1"} << "/v31/Bin/";
    QTest::newRow("2 then 2.0: the later wins") << Versions{{"2", "/two"}, {"2.0", "/twopointzero"}}
                                                << QStringList{"2", "2.0"} << "/twopointzero/Bin/";
    QTest::newRow("2.0 then 2: the later wins") << Versions{{"2.0", "/twopointzero"}, {"2", "/two"}}
                                                << QStringList{"2.0", "2"} << "/two/Bin/";
    QTest::newRow("Defaultdir without separator")
            << Versions{{"3.1", "C:/Program Files/Vestra"}} << QStringList{"3.1"}
            << "C:/Program Files/Vestra/Bin/";
    QTest::newRow("Defaultdir with separator")
            << Versions{{"3.1", "C:/Program Files/Vestra/"}} << QStringList{"3.1"}
            << "C:/Program Files/Vestra/Bin/";
    QTest::newRow("drive root") << Versions{{"3.1", "D:/"}} << QStringList{"3.1"} << "D:/Bin/";
    QTest::newRow("numbers, not text, compare") << Versions{{"10.0", "/ten"}, {"9.5", "/nine"}}
                                                << QStringList{"10.0", "9.5"} << "/ten/Bin/";
    QTest::newRow("digits and dots that are no number")
            << Versions{{"2.0.1", "/a"}, {".", "/b"}, {"1..2", "/c"}, {"3.0", "/d"}, {"4.", "/e"}}
            << QStringList{"3.0", "4."} << "/e/Bin/";
    QTest::newRow("signs and spaces are no digits")
            << Versions{{"+5", "/a"}, {"-3", "/b"}, {" 4", "/c"}, {"2e1", "/d"}, {"2.5", "/f"}}
            << QStringList{"2.5"} << "/f/Bin/";
    QTest::newRow("other scripts' digits")
            << Versions{{"٣.١", "/a"}, {"2.2", "/b"}} << QStringList{"2.2"} << "/b/Bin/";
}

void tst_WizardState::newestVersion()
{
    QFETCH(Versions, versions);
    QFETCH(QStringList, kept);
    QFETCH(QString, baseFolder);

    FakeVersionStore store;
    store.versions = versions;
    WizardState state;
    QVERIFY2(state.prepare(description(true, true, true), "/data", store),
             qPrintable(state.errorString()));
    QCOMPARE(state.versionList, kept);
    QCOMPARE(state.versionFolderList.size(), kept.size());
    QCOMPARE(state.baseFolder, baseFolder);
}

void tst_WizardState::protectedFolders()
{
    FakeVersionStore store;
    store.versions = {{"3.1", "C:/V31/"}, {"2.0", "C:/V20"}};
    WizardState state;
    QVERIFY(state.prepare(description(true, false, false), "/data", store));

    QCOMPARE(state.versionFolderList, (QStringList{"C:/V31/Bin", "C:/V20/Bin"}));
    const QStringList expected{"C:/V31/Bin",           "C:/V31/Color",      "C:/V31/screencam",
                               "C:/V31/StyleLib",      "C:/V31/Bin/Detail", "C:/V31/Bin/GuideImage",
                               "C:/V31/Bin/stiSample", "C:/V31/Bin/Style",  "C:/V31/Bin/Vestra",
                               "C:/V20/Bin",           "C:/V20/Color",      "C:/V20/screencam",
                               "C:/V20/StyleLib",      "C:/V20/Bin/Detail", "C:/V20/Bin/GuideImage",
                               "C:/V20/Bin/stiSample", "C:/V20/Bin/Style",  "C:/V20/Bin/Vestra"};
    QCOMPARE(state.protectedFolderList, expected);
    // The default destinations lie inside the protected folder "Bin" but are none of them.
    QCOMPARE(state.defaultDestination(DataKind::STY), QString("C:/V31/Bin/STY_27"));
}

void tst_WizardState::kinds_data()
{
    // one letter per kind, STY STI DETAIL: 1 present or enabled, 0 not
    QTest::addColumn<QString>("present");
    QTest::addColumn<QString>("enabled");

    QTest::newRow("all") << "111"
                         << "111";
    QTest::newRow("STY and DETAIL") << "101"
                                    << "101";
    QTest::newRow("STI alone") << "010"
                               << "010";
    QTest::newRow("none present: DETAIL alone") << "000"
                                                << "001";
}

void tst_WizardState::kinds()
{
    QFETCH(QString, present);
    QFETCH(QString, enabled);

    FakeVersionStore store;
    store.versions = {{"3.1", "/opt/Vestra"}};
    WizardState state;
    state.kind(DataKind::STI).checked = false; // the user's ticks are not preparation's business
    state.kind(DataKind::STY).selected = true;
    QVERIFY(state.prepare(description(present[0] == '1', present[1] == '1', present[2] == '1'),
                          "/data/set", store));

    for (DataKind k : AllDataKinds) {
        const KindState &ks = state.kind(k);
        const bool on = enabled[KindIndex(k)] == '1';
        QCOMPARE(ks.enabled, on);
        QCOMPARE(ks.checked, k != DataKind::STI);
        QVERIFY(!ks.selected);
        QCOMPARE(ks.folderName, on ? state.description().folderName[KindIndex(k)] : QString());
        QCOMPARE(ks.sourceFolder, on ? "/data/set/" + ks.folderName : QString());
        QCOMPARE(ks.destination, QString(" "));
    }
    QCOMPARE(state.description().year, QString("2027"));
    QVERIFY(!state.closingAllowed);
}

void tst_WizardState::noVersion_data()
{
    QTest::addColumn<Versions>("versions");
    QTest::addColumn<QString>("reason");

    QTest::newRow("no subkey") << Versions{}
                               << "No installed Vestra 2.0 or newer was found under "
                                  "HKLM-test-key";
    QTest::newRow("none usable")
            << Versions{{"1.5", "/a"}, {"beta", "/b"}, {"2.0.1", "/c"}, {".", "/d"}}
            << "No installed Vestra 2.0 or newer was found under HKLM-test-key";
    QTest::newRow("newest has no Defaultdir") << Versions{{"2.0", "/a"}, {"3.1", ""}}
                                              << "Vestra 3.1 under HKLM-test-key has no Defaultdir";
}

void tst_WizardState::noVersion()
{
    QFETCH(Versions, versions);
    QFETCH(QString, reason);

    FakeVersionStore store;
    store.versions = versions;
    WizardState state;
    QVERIFY(!state.prepare(description(true, true, true), "/data", store));
    QVERIFY2(state.errorString().contains(reason), qPrintable(state.errorString()));
    QVERIFY(state.baseFolder.isEmpty());
    QVERIFY(state.protectedFolderList.isEmpty());
    // What does not need the application is prepared all the same.
    QCOMPARE(state.kind(DataKind::STI).sourceFolder, QString("/data/STI_27"));
}

void tst_WizardState::commaLocale()
{
    // GIVEN a locale that writes "3,10" and uses "." to group thousands
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    FakeVersionStore store;
    store.versions = {{"4.0", "/four"}, {"3.10", "/three"}};
    WizardState state;
    const bool prepared = state.prepare(description(true, true, true), "/data", store);
    QLocale::setDefault(saved);

    // THEN "." is still the decimal point: 4.0 is newer than 3.10
    QVERIFY2(prepared, qPrintable(state.errorString()));
    QCOMPARE(state.baseFolder, QString("/four/Bin/"));
}

void tst_WizardState::fromRegistryExport()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("registry.reg");
    QVERIFY(TestFiles::write(
            path,
            TestFiles::utf16le("Windows Registry Editor Version 5.00\r\n\r\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrel\\Vestra\\1.5\\Directory]\r\n"
                               "\"Defaultdir\"=\"C:\\\\Vestra15\"\r\n\r\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrel\\Vestra\\3.1\\Directory]\r\n"
                               "\"Defaultdir\"=\"C:\\\\Program Files\\\\Vestra\\\\\"\r\n")));
    RegFileVersionStore store;
    QVERIFY(store.load(path));
    WizardState state;
    QVERIFY2(state.prepare(description(true, true, true), "/data", store),
             qPrintable(state.errorString()));
    QCOMPARE(state.versionList, QStringList{"3.1"});
    QCOMPARE(state.baseFolder, QString("C:/Program Files/Vestra/Bin/"));

    // A missing export is named in the reason.
    RegFileVersionStore missing;
    QVERIFY(!missing.load(dir.filePath("none.reg")));
    QVERIFY(!state.prepare(description(true, true, true), "/data", missing));
    QVERIFY2(state.errorString().contains(QDir::toNativeSeparators(dir.filePath("none.reg"))),
             qPrintable(state.errorString()));
}

void tst_WizardState::selectionAndDefaults()
{
    FakeVersionStore store;
    store.versions = {{"3.1", "/opt/Vestra"}};
    WizardState state;
    QVERIFY(state.prepare(description(true, true, false), "/data", store));

    state.kind(DataKind::STI).checked = false;
    QVERIFY(state.takeSelection());
    QVERIFY(state.kind(DataKind::STY).selected);
    QVERIFY(!state.kind(DataKind::STI).selected);
    QVERIFY(!state.kind(DataKind::DETAIL).selected); // checked but not offered
    QCOMPARE(state.defaultDestination(DataKind::STY), QString("/opt/Vestra/Bin/STY_27"));

    state.kind(DataKind::STY).checked = false;
    QVERIFY(!state.takeSelection());
    QVERIFY(!state.kind(DataKind::STY).selected);
}

QTEST_GUILESS_MAIN(tst_WizardState)
#include "tst_wizardstate.moc"
