#include "package/EntryType.h"
#include "platform/DriveList.h"
#include "platform/FileReplacement.h"
#include "platform/FolderIdentity.h"
#include "platform/LongPath.h"

#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

// Every form a path can be given in (by a person, a registry value, the
// command line), through every place that hands a path to the system itself:
// the replacement of installed files, folder identity, drive types, disk
// space, links. Under Wine the folder is named as on Linux ("/tmp/..."),
// which Windows reads as rooted on the current drive.
class tst_PathForms : public QObject
{
    Q_OBJECT
public:
    enum class Form {
        Native,
        Slashes,
        Rooted,
        RootedSlashes,
        Relative,
        DriveRelative,
        Unc,
        LongForm,
        Dots
    };

private slots:
    void initTestCase();
    void init() { ++m_row; }
    void cleanupTestCase();
    void pureForms_data();
    void pureForms();
    void longPathForm_data() { addForms(); }
    void longPathForm();
    void replacement_data() { addForms(); }
    void replacement();
    void folderIdentity_data() { addForms(); }
    void folderIdentity();
    void driveType_data() { addForms(); }
    void driveType();
    void diskSpace_data() { addForms(); }
    void diskSpace();
    void links_data() { addForms(); }
    void links();

private:
    static void addForms();
    // path (absolute, clean, Qt form) in the form; skips a row the system cannot reach.
    QString inForm(Form form, const QString &path) const;
    // A file or folder of the running row, which has a folder of its own.
    QString path(const QString &relative) const
    {
        return m_root + u"/row"_qs + QString::number(m_row) + u'/' + relative;
    }

    QTemporaryDir m_dir{
#ifdef QUILLON_TEST_UNIX_TEMP
            QStringLiteral(QUILLON_TEST_UNIX_TEMP "/quillon-forms-XXXXXX")
#endif
    };
    QString m_root; // the test's folder, absolute, with its drive on Windows
    QString m_previousFolder;
    int m_row = 0;
    bool m_canLink = false; // the system makes symbolic links
};

Q_DECLARE_METATYPE(tst_PathForms::Form)

void tst_PathForms::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_root = QDir::cleanPath(QFileInfo(m_dir.path()).absoluteFilePath());
    // Asked once, in a folder of its own: under Wine the attempt leaves the
    // folder it was made in impossible to remove.
    const QTemporaryDir links;
    m_canLink = TestFiles::symbolicLink(links.path(), links.filePath("link"));
    // The rooted and relative forms are read against the current folder.
    m_previousFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_root));
}

void tst_PathForms::cleanupTestCase()
{
    QDir::setCurrent(m_previousFolder);
}

void tst_PathForms::addForms()
{
    QTest::addColumn<Form>("form");
#ifdef Q_OS_WIN
    QTest::newRow("C:\\a") << Form::Native;
    QTest::newRow("C:/a") << Form::Slashes;
    QTest::newRow("\\a, on the current drive") << Form::Rooted;
    QTest::newRow("/a, on the current drive") << Form::RootedSlashes;
    QTest::newRow("a\\b, relative") << Form::Relative;
    QTest::newRow("D:a, below the drive's current folder") << Form::DriveRelative;
    QTest::newRow("\\\\server\\share\\a") << Form::Unc;
    QTest::newRow("\\\\?\\C:\\a") << Form::LongForm;
    QTest::newRow("C:\\a\\..\\a") << Form::Dots;
#else
    QTest::newRow("/a") << Form::Slashes;
    QTest::newRow("a/b, relative") << Form::Relative;
    QTest::newRow("/a/../a") << Form::Dots;
#endif
}

QString tst_PathForms::inForm(Form form, const QString &path) const
{
    const QString relative = QDir::current().relativeFilePath(path);
    const QString parent = QFileInfo(path).path();
    switch (form) {
    case Form::Native:
        return QDir::toNativeSeparators(path);
    case Form::Slashes:
        return path;
    case Form::Rooted:
        return QDir::toNativeSeparators(path.mid(2));
    case Form::RootedSlashes:
        return path.mid(2);
    case Form::Relative:
        return QDir::toNativeSeparators(relative);
    case Form::DriveRelative:
        return path.left(2) + QDir::toNativeSeparators(relative);
    case Form::Unc:
        // The drive's administrative share: only where this account may use it.
        return QDir::toNativeSeparators(u"//localhost/"_qs + path.left(1) + u'$' + path.mid(2));
    case Form::LongForm:
        return u"\\\\?\\"_qs + QDir::toNativeSeparators(path);
    case Form::Dots:
        return QDir::toNativeSeparators(parent + u"/../"_qs + QFileInfo(parent).fileName() + u'/'
                                        + QFileInfo(path).fileName());
    }
    return {};
}

// Without a share to reach (Wine has none, nor has an account that may not
// use the drive's administrative share) the share form is checked only by
// pureForms.
#define SKIP_UNREACHABLE(form) \
    if (form == Form::Unc && !QFileInfo(inForm(form, m_root)).isDir()) \
    QSKIP("no share of this drive can be reached here (Wine has none)")

void tst_PathForms::pureForms_data()
{
    QTest::addColumn<QString>("qualified");
    QTest::addColumn<QString>("longForm");
    QTest::addColumn<QString>("root");
    QTest::newRow("drive") << "C:\\a\\b"
                           << "\\\\?\\C:\\a\\b"
                           << "C:\\";
    QTest::newRow("drive root") << "C:\\"
                                << "\\\\?\\C:\\"
                                << "C:\\";
    QTest::newRow("share") << "\\\\server\\share\\a"
                           << "\\\\?\\UNC\\server\\share\\a"
                           << "\\\\server\\share\\";
    QTest::newRow("share root") << "\\\\server\\share"
                                << "\\\\?\\UNC\\server\\share"
                                << "\\\\server\\share\\";
    QTest::newRow("long form") << "\\\\?\\C:\\a"
                               << "\\\\?\\C:\\a"
                               << "C:\\";
    QTest::newRow("long form of a share") << "\\\\?\\UNC\\server\\share\\a"
                                          << "\\\\?\\UNC\\server\\share\\a"
                                          << "\\\\server\\share\\";
    QTest::newRow("device") << "\\\\.\\COM1"
                            << "\\\\.\\COM1"
                            << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
}

void tst_PathForms::pureForms()
{
    QFETCH(QString, qualified);
    QFETCH(QString, longForm);
    QFETCH(QString, root);
    QCOMPARE(LongFormOfQualified(qualified), longForm);
    QCOMPARE(RootOfQualified(qualified), root);
}

void tst_PathForms::longPathForm()
{
    QFETCH(Form, form);
    const QString file = path("Unit/a.sty");
#ifdef Q_OS_WIN
    const QString expected = form == Form::Unc ? u"\\\\?\\UNC"_qs + inForm(form, file).mid(1)
                                               : u"\\\\?\\"_qs + QDir::toNativeSeparators(file);
#else
    const QString expected = file;
#endif
    QCOMPARE(LongPathForm(inForm(form, file)), expected);
}

void tst_PathForms::replacement()
{
    QFETCH(Form, form);
    SKIP_UNREACHABLE(form);
    // GIVEN an installed file and its new version, named in the form
    const QString folder = path(u"Bin"_qs);
    QVERIFY(TestFiles::write(folder + "/a.sty", "old"));
    QVERIFY(TestFiles::write(folder + "/a.sty.part", "new"));
    const auto named = [&](const QString &name) { return inForm(form, folder + u'/' + name); };
    QString error;

    // WHEN the old one is kept aside, the new one renamed over it, another
    // renamed to a new name, and the result synced
    QVERIFY2(KeepAside(named("a.sty"), named("a.sty.old"), &error) != AsideResult::Failed,
             qPrintable(error));
    QVERIFY2(ReplaceWith(named("a.sty.part"), named("a.sty"), &error), qPrintable(error));
    QVERIFY(TestFiles::write(folder + "/b.part", "b"));
    QVERIFY2(RenameNew(named("b.part"), named("b.sty"), &error), qPrintable(error));
    QVERIFY2(SyncToDisk({named("a.sty"), named("b.sty")}, &error), qPrintable(error));

    // THEN each landed on the file it names, and nothing else is there
    QCOMPARE(TestFiles::read(folder + "/a.sty"), QByteArray("new"));
    QCOMPARE(TestFiles::read(folder + "/a.sty.old"), QByteArray("old"));
    QCOMPARE(TestFiles::read(folder + "/b.sty"), QByteArray("b"));
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name),
             QStringList({"a.sty", "a.sty.old", "b.sty"}));
    // AND a rename onto a name that is taken is refused
    QVERIFY(TestFiles::write(folder + "/c.part", "c"));
    QVERIFY(!RenameNew(named("c.part"), named("b.sty"), &error));
    QCOMPARE(TestFiles::read(folder + "/b.sty"), QByteArray("b"));
}

void tst_PathForms::folderIdentity()
{
    QFETCH(Form, form);
    SKIP_UNREACHABLE(form);
    QVERIFY(QDir().mkpath(path("Vestra/Color")));
    QCOMPARE(FolderIdentity(inForm(form, path("Vestra/Color"))),
             FolderIdentity(path("Vestra/Color")));
    QVERIFY(IsSameFolder(inForm(form, path("Vestra/Color/New")), path("Vestra/Color/New")));
    QVERIFY(!IsSameFolder(inForm(form, path("Vestra/Bin")), path("Vestra/Color")));
}

void tst_PathForms::driveType()
{
    QFETCH(Form, form);
    SKIP_UNREACHABLE(form);
    const auto drives = OpenDriveList();
    const QString root = VolumeOfFolder(m_root).rootPath();
    const DriveType type = drives->driveType(root);
#ifdef Q_OS_WIN
    // The drive of any folder on it, and of its root.
    QCOMPARE(drives->driveType(inForm(form, m_root)), type);
    QCOMPARE(drives->driveType(inForm(form, root)), type);
#else
    // Mount points are asked for by themselves.
    if (form == Form::Dots && root == u"/")
        QSKIP("the root folder has no parent to come back from");
    QCOMPARE(drives->driveType(inForm(form, root)), type);
#endif
}

void tst_PathForms::diskSpace()
{
    QFETCH(Form, form);
    SKIP_UNREACHABLE(form);
    // A destination the run has yet to make.
    const QStorageInfo expected = VolumeOfFolder(m_root);
    const QStorageInfo volume = VolumeOfFolder(inForm(form, path("Vestra/Bin/New/Folder")));
    QVERIFY(volume.isValid());
    QCOMPARE(volume.rootPath(), expected.rootPath());
    QVERIFY(volume.bytesAvailable() > 0);
}

void tst_PathForms::links()
{
    QFETCH(Form, form);
    SKIP_UNREACHABLE(form);
    // GIVEN a destination with a file where a folder should be
    QVERIFY(TestFiles::write(path("Dest/Unit/a.sty"), "a"));
    QVERIFY(TestFiles::write(path("Dest/File"), "a file"));
    const QString dest = inForm(form, path("Dest"));
    QCOMPARE(EntryTypeOf(inForm(form, path("Dest/Unit/a.sty"))), EntryType::File);
    QCOMPARE(EntryTypeOf(inForm(form, path("Dest/Unit"))), EntryType::Folder);
    QCOMPARE(EntryTypeOf(inForm(form, path("Dest/Unit/b.sty"))), EntryType::Missing);
    // THEN what is on the way is found in the form of the destination
    QCOMPARE(LinkOnTheWay(dest, inForm(form, path("Dest/Unit/a.sty"))), QString());
    QCOMPARE(QFileInfo(LinkOnTheWay(dest, inForm(form, path("Dest/File/b.sty")))),
             QFileInfo(path("Dest/File")));
    // AND a link on the way, where the system can make one
    if (!m_canLink)
        QSKIP("this system makes no symbolic links (Wine cannot)");
    QVERIFY(TestFiles::symbolicLink(path("Dest/Unit"), path("Dest/Linked")));
    QCOMPARE(EntryTypeOf(inForm(form, path("Dest/Linked"))), EntryType::Link);
    QCOMPARE(QFileInfo(LinkOnTheWay(dest, inForm(form, path("Dest/Linked/a.sty")))),
             QFileInfo(path("Dest/Linked")));
}

QTEST_GUILESS_MAIN(tst_PathForms)
#include "tst_pathforms.moc"
