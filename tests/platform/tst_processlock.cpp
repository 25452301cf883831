#include "platform/ProcessLock.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The lock that ends with its process: held against this process and
// others, and free at once when its holder is gone, however it went.
class tst_ProcessLock : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void heldUntilHolderIsGone_data();
    void heldUntilHolderIsGone();
    void removedWithItsHolder();
    void folderMissing();

private:
    QString lockPath() const { return m_dir->filePath("run.lock"); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_ProcessLock::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_ProcessLock::heldUntilHolderIsGone_data()
{
    QTest::addColumn<bool>("otherProcess");
    QTest::newRow("another lock in this process") << false;
    QTest::newRow("another process, killed") << true;
}

void tst_ProcessLock::heldUntilHolderIsGone()
{
    QFETCH(bool, otherProcess);
    ProcessLock holder;
    QProcess other;
    if (otherProcess) {
        other.start(QCoreApplication::applicationFilePath(), {"--hold", lockPath()});
        QVERIFY(other.waitForReadyRead(30000));
        QCOMPARE(other.readAll().trimmed(), QByteArray("held"));
    } else {
        QCOMPARE(holder.tryLock(lockPath()), ProcessLock::Result::Taken);
        QVERIFY(holder.isLocked());
    }

    ProcessLock second;
    QCOMPARE(second.tryLock(lockPath()), ProcessLock::Result::Held);
    QVERIFY(!second.isLocked());
    QVERIFY(ProcessLock::isHeld(lockPath()));

    if (otherProcess) {
        other.kill();
        QVERIFY(other.waitForFinished(30000));
    } else {
        holder.unlock();
    }
    QVERIFY(!ProcessLock::isHeld(lockPath()));
    QString error;
    QCOMPARE(second.tryLock(lockPath(), &error), ProcessLock::Result::Taken);
    QVERIFY(error.isEmpty());
}

void tst_ProcessLock::removedWithItsHolder()
{
    ProcessLock lock;
    QCOMPARE(lock.tryLock(lockPath()), ProcessLock::Result::Taken);
    QVERIFY(lock.unlockAndRemove());
    QVERIFY(!lock.isLocked());
    QVERIFY(!QFile::exists(lockPath()));
    // Asking whether it is held makes nothing.
    QVERIFY(!ProcessLock::isHeld(lockPath()));
    QVERIFY(!QFile::exists(lockPath()));
    QCOMPARE(lock.tryLock(lockPath()), ProcessLock::Result::Taken);
    QVERIFY(QFile::exists(lockPath()));
}

void tst_ProcessLock::folderMissing()
{
    ProcessLock lock;
    QString error;
    QCOMPARE(lock.tryLock(m_dir->filePath("missing/run.lock"), &error),
             ProcessLock::Result::Failed);
    QVERIFY(!error.isEmpty());
    QVERIFY(!lock.isLocked());
}

// The other process of the tests above: takes the lock, says so and waits to
// be killed.
static int holdLock(const QString &path)
{
    ProcessLock lock;
    if (lock.tryLock(path) != ProcessLock::Result::Taken)
        return 1;
    QTextStream(stdout) << "held" << Qt::endl;
    QThread::sleep(120);
    return 0;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--hold"))
        return holdLock(arguments.at(2));
    tst_ProcessLock test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_processlock.moc"
