#include "platform/DriveList.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QtTest>

Q_DECLARE_METATYPE(DriveType)

class tst_DriveList : public QObject
{
    Q_OBJECT
private slots:
    void typeOfFileSystem_data();
    void typeOfFileSystem();
    void indexOfPath_data();
    void indexOfPath();
    void displayName();
    void thisComputer();
};

void tst_DriveList::typeOfFileSystem_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<DriveType>("expected");
    for (const char *fixed :
         {"ext4", "EXT4", "xfs", "btrfs", "vfat", "exfat", "ntfs3", "fuseblk", "overlay"})
        QTest::newRow(fixed) << QByteArray(fixed) << DriveType::Fixed;
    for (const char *remote : {"nfs", "nfs4", "cifs", "smb3", "sshfs", "fuse.sshfs", "9p"})
        QTest::newRow(remote) << QByteArray(remote) << DriveType::Remote;
    // Optical media, memory and pseudo file systems; "nfsd" is the NFS
    // server's control file system, not a share.
    for (const char *other : {"iso9660", "udf", "tmpfs", "proc", "sysfs", "devtmpfs", "squashfs",
                              "nfsd", "fuse", "fuse.", ""})
        QTest::newRow(other[0] ? other : "empty") << QByteArray(other) << DriveType::Other;
}

void tst_DriveList::typeOfFileSystem()
{
    QFETCH(QByteArray, type);
    QFETCH(DriveType, expected);
    QCOMPARE(DriveTypeOfFileSystem(type), expected);
}

void tst_DriveList::indexOfPath_data()
{
    QTest::addColumn<QStringList>("roots");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("expected");
    const QStringList mounts{"/", "/home", "/home/user/share", "/mnt/cd"};
    QTest::newRow("below a mount") << mounts << "/home/user/x" << 1;
    QTest::newRow("the mount point itself") << mounts << "/home" << 1;
    QTest::newRow("the deepest mount wins") << mounts << "/home/user/share/a" << 2;
    QTest::newRow("a name that only starts like a mount") << mounts << "/homework" << 0;
    QTest::newRow("the root") << mounts << "/" << 0;
    QTest::newRow("on no drive") << QStringList{"/home"} << "/tmp" << -1;
    QTest::newRow("drive letters") << QStringList{"C:/", "D:/"} << "D:/Vestra/Bin" << 1;
    QTest::newRow("a drive root") << QStringList{"C:/", "D:/"} << "C:/" << 0;
}

void tst_DriveList::indexOfPath()
{
    QFETCH(QStringList, roots);
    QFETCH(QString, path);
    QFETCH(int, expected);
    QList<Drive> drives;
    for (const QString &root : roots)
        drives.append({root, {}, DriveType::Fixed});
    QCOMPARE(DriveIndexOf(drives, path), expected);
}

void tst_DriveList::displayName()
{
    QCOMPARE(DriveDisplayName({"/home", "", DriveType::Fixed}), QDir::toNativeSeparators("/home"));
    QCOMPARE(DriveDisplayName({"/media/cd", "SEASON27", DriveType::Other}),
             QDir::toNativeSeparators("/media/cd") + "  [SEASON27]");
}

// The real drives: every root is a folder, listed once, and the folder the
// program starts from lies on one of them.
void tst_DriveList::thisComputer()
{
    const auto list = OpenDriveList();
    const QList<Drive> drives = list->drives();
    QVERIFY(!drives.isEmpty());
    QSet<QString> roots;
    for (const Drive &drive : drives) {
        QVERIFY2(QFileInfo(drive.root).isDir(), qPrintable(drive.root));
        QVERIFY2(!roots.contains(drive.root), qPrintable(drive.root));
        roots.insert(drive.root);
        QCOMPARE(list->driveType(drive.root), drive.type);
    }
    QVERIFY(DriveIndexOf(drives, QDir::currentPath()) >= 0);
}

QTEST_GUILESS_MAIN(tst_DriveList)
#include "tst_drivelist.moc"
