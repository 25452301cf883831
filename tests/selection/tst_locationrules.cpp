#include "platform/PlatformPaths.h"
#include "selection/LocationRules.h"
#include "selection/WizardState.h"

#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(LocationRules::DeleteRefusal)

using LocationRules::DeleteRefusal;

class tst_LocationRules : public QObject
{
    Q_OBJECT
private slots:
    void setupFor_data();
    void setupFor();
    void startFolder_data();
    void startFolder();
    void versionFolder_data();
    void versionFolder();
    void folderName_data();
    void folderName();
    void deleteChecks_data();
    void deleteChecks();

private:
    QTemporaryDir m_dir;
};

void tst_LocationRules::setupFor_data()
{
    QTest::addColumn<DataKind>("kind");
    QTest::addColumn<QStringList>("others");
    QTest::newRow("STY: none") << DataKind::STY << QStringList{"", ""};
    QTest::newRow("STI: the STY destination") << DataKind::STI << QStringList{"", "/a/sty"};
    QTest::newRow("DETAIL: STI and STY") << DataKind::DETAIL << QStringList{"/b/sti", "/a/sty"};
}

void tst_LocationRules::setupFor()
{
    QFETCH(DataKind, kind);
    QFETCH(QStringList, others);
    WizardState state;
    state.kind(DataKind::STY).destination = "/a/sty";
    state.kind(DataKind::STI).destination = "/b/sti";
    state.kind(DataKind::DETAIL).destination = "/c/detail";
    state.versionList = {"2.0", "3.1"};
    state.versionFolderList = {"/v2/Bin", "/v3/Bin"};
    state.protectedFolderList = {"/v3/Bin", "/v3/Color"};
    state.baseFolder = "/v3/Bin/";

    const LocationSetup setup = LocationRules::SetupFor(kind, state);
    QCOMPARE(setup.otherDestinations, others);
    QCOMPARE(setup.startPath, state.kind(kind).destination);
    QCOMPARE(setup.versionList, state.versionList);
    QCOMPARE(setup.versionFolderList, state.versionFolderList);
    QCOMPARE(setup.protectedFolderList, state.protectedFolderList);
    QCOMPARE(setup.baseFolder, state.baseFolder);
}

void tst_LocationRules::startFolder_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("expected"); // the folder the dialog opens on
    QTest::addColumn<QString>("offered");  // the folder it offers first
    QVERIFY(QDir(m_dir.path()).mkpath("Vestra/Bin/STY"));
    QVERIFY(TestFiles::write(m_dir.filePath("a file"), "x"));
    const QString existing = m_dir.filePath("Vestra/Bin/STY");
    QTest::newRow("an existing folder") << existing << existing << existing;
    // A folder not made yet: the dialog opens on the nearest existing folder
    // above, where the install will make it, and offers the folder itself.
    const QString missing = m_dir.filePath("Vestra/Bin/STI");
    QTest::newRow("a missing folder") << missing << m_dir.filePath("Vestra/Bin") << missing;
    const QString deeper = m_dir.filePath("Vestra/New/STI");
    QTest::newRow("two missing levels") << deeper << m_dir.filePath("Vestra") << deeper;
    QTest::newRow("a file") << m_dir.filePath("a file") << m_dir.path() << m_dir.path();
    QTest::newRow("unset (one blank)") << " " << FallbackStartPath() << FallbackStartPath();
    QTest::newRow("relative") << "." << FallbackStartPath() << FallbackStartPath();
#ifdef Q_OS_WIN
    const QString drive = QDir::rootPath().left(2); // "C:"
    QTest::newRow("a drive letter and colon") << drive << drive + "/" << drive + "/";
#endif
}

void tst_LocationRules::startFolder()
{
    QFETCH(QString, start);
    QFETCH(QString, expected);
    QFETCH(QString, offered);
    QCOMPARE(LocationRules::StartFolder(start), expected);
    QCOMPARE(LocationRules::StartChoice(start), offered);
}

void tst_LocationRules::versionFolder_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("expected");
    QTest::newRow("the folder") << "/Vestra 3.1/Bin" << true;
    QTest::newRow("with a trailing separator") << "/Vestra 3.1/Bin/" << true;
    QTest::newRow("another version's") << "/Vestra 2.0/Bin" << true;
    QTest::newRow("a folder inside") << "/Vestra 3.1/Bin/Style" << false;
    // Windows file names keep their case but compare without it.
#ifdef Q_OS_WIN
    QTest::newRow("other case") << "/vestra 3.1/bin" << true;
#else
    QTest::newRow("other case") << "/vestra 3.1/bin" << false;
#endif
}

void tst_LocationRules::versionFolder()
{
    QFETCH(QString, path);
    QFETCH(bool, expected);
    QCOMPARE(LocationRules::IsVersionFolder(path, {"/Vestra 2.0/Bin", "/Vestra 3.1/Bin"}),
             expected);
}

void tst_LocationRules::folderName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");
    QTest::newRow("plain") << "STY_2027SS" << true;
    QTest::newRow("blanks inside") << "Spring 2027" << true;
    QTest::newRow("Korean") << QStringLiteral("\uC2A4\uD0C0\uC77C") << true;
    QTest::newRow("leading dot") << ".hidden" << true;
    QTest::newRow("255 characters") << QString(255, u'a') << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("dot") << "." << false;
    QTest::newRow("dot dot") << ".." << false;
    QTest::newRow("256 characters") << QString(256, u'a') << false;
    QTest::newRow("slash") << "a/b" << false;
    QTest::newRow("backslash") << "a\\b" << false;
    for (const char *bad : {"a<b", "a>b", "a:b", "a\"b", "a|b", "a?b", "a*b"})
        QTest::newRow(bad) << QString::fromLatin1(bad) << false;
    QTest::newRow("tab") << "a\tb" << false;
    QTest::newRow("trailing blank") << "name " << false;
    QTest::newRow("trailing dot") << "name." << false;
    QTest::newRow("device name") << "con" << false;
    QTest::newRow("device name with extension") << "NUL.txt" << false;
    QTest::newRow("starts like a device name") << "CONTENT" << true;
}

void tst_LocationRules::folderName()
{
    QFETCH(QString, name);
    QFETCH(bool, valid);
    QCOMPARE(LocationRules::IsValidFolderName(name), valid);
}

void tst_LocationRules::deleteChecks_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<DeleteRefusal>("expected");
    const QDir root(m_dir.path());
    for (const char *folder :
         {"V/Bin", "V/Color", "V2/Bin", "dest/sty", "empty", "full/sub", "hidden", "withfile"})
        QVERIFY(root.mkpath(folder));
    QVERIFY(TestFiles::write(root.filePath("hidden/.keep"), ""));
    QVERIFY(TestFiles::write(root.filePath("withfile/a.sty"), "x"));

    QTest::newRow("protected") << root.filePath("V/Color") << DeleteRefusal::ProtectedFolder;
    QTest::newRow("protected, trailing separator")
            << root.filePath("V/Color/") << DeleteRefusal::ProtectedFolder;
#ifdef Q_OS_WIN
    QTest::newRow("protected, other spelling")
            << QDir::toNativeSeparators(root.filePath("v/COLOR")) << DeleteRefusal::ProtectedFolder;
    QTest::newRow("another kind's destination, other case")
            << root.filePath("DEST/Sty") << DeleteRefusal::OtherDestination;
#endif
    QTest::newRow("a version's folder")
            << root.filePath("V2/Bin") << DeleteRefusal::ProtectedFolder;
    QTest::newRow("another kind's destination")
            << root.filePath("dest/sty") << DeleteRefusal::OtherDestination;
    QTest::newRow("with a subfolder") << root.filePath("full") << DeleteRefusal::NotEmpty;
    QTest::newRow("with a hidden file") << root.filePath("hidden") << DeleteRefusal::NotEmpty;
    QTest::newRow("with a file") << root.filePath("withfile") << DeleteRefusal::NotEmpty;
    QTest::newRow("missing") << root.filePath("gone") << DeleteRefusal::Missing;
    QTest::newRow("empty") << root.filePath("empty") << DeleteRefusal::None;
}

void tst_LocationRules::deleteChecks()
{
    QFETCH(QString, folder);
    QFETCH(DeleteRefusal, expected);
    LocationSetup setup;
    setup.protectedFolderList = {m_dir.filePath("V/Bin"), m_dir.filePath("V/Color")};
    setup.versionFolderList = {m_dir.filePath("V2/Bin"), m_dir.filePath("V/Bin")};
    // An unset destination is empty and must not match anything.
    setup.otherDestinations = {QString(), m_dir.filePath("dest/sty")};
    QCOMPARE(LocationRules::CheckDelete(folder, setup), expected);
}

QTEST_GUILESS_MAIN(tst_LocationRules)
#include "tst_locationrules.moc"
