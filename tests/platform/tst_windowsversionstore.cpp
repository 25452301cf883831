#include "platform/WindowsVersionStore.h"

#include <QUuid>
#include <QtTest>

// Versions written as "3.1=C:\Vestra 3.1" into the registry's 64-bit and
// 32-bit views, below a key of the test's own that is removed afterwards.
class tst_WindowsVersionStore : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();
    void bothViews_data();
    void bothViews();

private:
    void write(QSettings::Format view, const QStringList &versions);

    const QString m_software = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE");
    const QString m_name = "QuillonTest-" + QUuid::createUuid().toString(QUuid::Id128);
    const QString m_key = m_software + u'\\' + m_name;
};

void tst_WindowsVersionStore::initTestCase()
{
    QSettings probe(m_key, QSettings::Registry64Format);
    probe.setValue("probe", 1);
    probe.sync();
    if (probe.status() != QSettings::NoError)
        QSKIP("HKEY_LOCAL_MACHINE cannot be written here (not an administrator)");
}

void tst_WindowsVersionStore::cleanup()
{
    for (QSettings::Format view : {QSettings::Registry64Format, QSettings::Registry32Format}) {
        QSettings settings(m_key, view);
        settings.remove(QString());
    }
}

void tst_WindowsVersionStore::cleanupTestCase()
{
    for (QSettings::Format view : {QSettings::Registry64Format, QSettings::Registry32Format})
        QSettings(m_software, view).remove(m_name);
}

void tst_WindowsVersionStore::write(QSettings::Format view, const QStringList &versions)
{
    QSettings settings(m_key, view);
    for (const QString &entry : versions) {
        const QString version = entry.section(u'=', 0, 0);
        settings.setValue("Kestrel/Vestra/" + version + "/Directory/Defaultdir",
                          entry.section(u'=', 1));
    }
    settings.sync();
    QCOMPARE(settings.status(), QSettings::NoError);
}

void tst_WindowsVersionStore::bothViews_data()
{
    QTest::addColumn<QStringList>("view64");
    QTest::addColumn<QStringList>("view32");
    QTest::addColumn<QStringList>("versions"); // as "3.1=C:/Vestra 3.1", in store order
    QTest::newRow("64-bit only") << QStringList{"3.1=C:\\V31"} << QStringList{}
                                 << QStringList{"3.1=C:/V31"};
    QTest::newRow("32-bit only") << QStringList{} << QStringList{"2.5=C:\\V25"}
                                 << QStringList{"2.5=C:/V25"};
    QTest::newRow("newer in the 32-bit view")
            << QStringList{"2.5=C:\\V25"} << QStringList{"3.1=C:\\Program Files (x86)\\V31"}
            << QStringList{"2.5=C:/V25", "3.1=C:/Program Files (x86)/V31"};
    QTest::newRow("one version in both") << QStringList{"3.1=C:\\V64"} << QStringList{"3.1=C:\\V32"}
                                         << QStringList{"3.1=C:/V64"};
    QTest::newRow("none") << QStringList{} << QStringList{} << QStringList{};
}

void tst_WindowsVersionStore::bothViews()
{
    QFETCH(QStringList, view64);
    QFETCH(QStringList, view32);
    QFETCH(QStringList, versions);
    write(QSettings::Registry64Format, view64);
    write(QSettings::Registry32Format, view32);

    const WindowsVersionStore store(m_key);
    QStringList found;
    for (const QString &version : store.versionNames())
        found.append(version + u'=' + store.defaultDir(version));
    QCOMPARE(found, versions);
}

QTEST_GUILESS_MAIN(tst_WindowsVersionStore)
#include "tst_windowsversionstore.moc"
