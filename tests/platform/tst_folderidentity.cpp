#include "platform/FolderIdentity.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

class tst_FolderIdentity : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void sameFolder_data();
    void sameFolder();

private:
    QString path(const QString &relative) const { return m_dir.path() + u'/' + relative; }
    QTemporaryDir m_dir;
};

void tst_FolderIdentity::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath("Vestra/Bin"));
    QVERIFY(QDir(m_dir.path()).mkpath("Vestra/Color"));
    QVERIFY(QDir(m_dir.path()).mkpath("Long folder name"));
}

void tst_FolderIdentity::sameFolder_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("same");
    const QString color = path("Vestra/Color");
    QTest::newRow("itself") << color << color << true;
    QTest::newRow("trailing separator") << color + "/" << color << true;
    QTest::newRow("dot and dot-dot") << path("Vestra/Bin/../Color/.") << color << true;
    QTest::newRow("missing below, trailing separator")
            << path("Vestra/Color/New/") << path("Vestra/Color/New") << true;
    QTest::newRow("another folder") << path("Vestra/Bin") << color << false;
    QTest::newRow("a longer name") << color + "s" << color << false;
    QTest::newRow("a folder inside") << path("Vestra/Color/New") << color << false;
    QTest::newRow("empty and a folder") << QString() << color << false;
    QTest::newRow("both empty") << QString() << QString() << true;
#ifdef Q_OS_WIN
    // One folder, many spellings.
    QTest::newRow("other case") << path("VESTRA/color") << color << true;
    QTest::newRow("other case, missing below")
            << path("vestra/COLOR/New") << path("Vestra/Color/new") << true;
    QTest::newRow("backslashes") << QDir::toNativeSeparators(color) << color << true;
    QTest::newRow("drive letter case") << color.left(1).toLower() + color.mid(1)
                                       << color.left(1).toUpper() + color.mid(1) << true;
    const std::wstring longName = QDir::toNativeSeparators(path("Long folder name")).toStdWString();
    wchar_t shortName[MAX_PATH];
    const DWORD length = GetShortPathNameW(longName.c_str(), shortName, MAX_PATH);
    QVERIFY(length > 0 && length < MAX_PATH);
    QTest::newRow("short name") << QString::fromWCharArray(shortName, int(length))
                                << path("Long folder name") << true;
#else
    QTest::newRow("other case") << path("Vestra/color") << color << false;
    // A link into Vestra must not let its folders through under another name.
    QVERIFY(QFile::link(path("Vestra"), path("link")));
    QTest::newRow("link") << path("link/Color") << color << true;
    QTest::newRow("missing below a link") << path("link/Color/New") << color + "/New" << true;
#endif
}

void tst_FolderIdentity::sameFolder()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, same);
    QCOMPARE(IsSameFolder(a, b), same);
    QCOMPARE(IsSameFolder(b, a), same);
}

QTEST_GUILESS_MAIN(tst_FolderIdentity)
#include "tst_folderidentity.moc"
