#pragma once

#include "PackageBytes.h"
#include "TestFiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

// A plain data tree packed with quillon-pack into a data set, a registry
// file naming one installed Vestra, and a way to run the built quillon on it.
class SilentFixture
{
public:
    SilentFixture()
    {
        plain = filePath("plain");
        dataSet = filePath("dataset");
        vestra = filePath("Vestra 3.1");
        base = vestra + "/Bin/";
        statusDir = filePath("status");
        QDir().mkpath(statusDir);
        QDir().mkpath(base);
        writePlain("STY_2027SS/Unit1/Blouse/a.sty", PackageBytes::styData(3000, 610));
        writePlain("STY_2027SS/Unit1/Pants/b.sty", PackageBytes::styData(5000, 620));
        writePlain("STY_2027SS/Unit2/c.sty", PackageBytes::styData(2000, 630));
        writePlain("STI_2027SS/Set1/Front/d.sti", PackageBytes::stiData(1500, 710));
        writePlain("STI_2027SS/Set2/e.sti", PackageBytes::stiData(900, 720));
        writePlain("DETAIL_2027SS/Collar/f.tex", PackageBytes::data(7000));
        writePlain("DETAIL_2027SS/Collar/g.tfc", PackageBytes::data(300));
        writePlain("DETAIL_2027SS/Cuff/h.sty", PackageBytes::styData(4000, 640));
        writeRegistry("3.1", vestra);
    }

    void writePlain(const QString &rel, const QByteArray &bytes)
    {
        QVERIFY(TestFiles::write(plain + '/' + rel, bytes));
    }

    // Packs the plain tree into the data set with the delivery tool.
    bool pack()
    {
        QProcess tool;
        tool.start(QUILLON_PACK_PATH, {plain, dataSet, "--year", "2027", "--season", "S/S",
                                       "--volume", "12", "--folder", "STY=STY_2027SS", "--folder",
                                       "STI=STI_2027SS", "--folder", "DETAIL=DETAIL_2027SS"});
        return tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit
               && tool.exitCode() == 0;
    }

    void writeRegistry(const QString &version, const QString &folder)
    {
        QString text = "Windows Registry Editor Version 5.00\r\n\r\n";
        if (!version.isEmpty())
            text += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrel\\Vestra\\" + version
                    + "\\Directory]\r\n\"Defaultdir\"=\"" + QString(folder).replace("\\", "\\\\")
                    + "\"\r\n";
        QVERIFY(TestFiles::write(registry(), TestFiles::utf16le(text)));
    }
    QString registry() const { return filePath("registry.reg"); }

    QString installed(const QString &kindFolder, const QString &rel) const
    {
        return base + kindFolder + '/' + rel;
    }

    // Runs quillon --silent with the data set, registry and status folder,
    // through runAs when that is set (e.g. as another user).
    int run(const QStringList &extra) { return runCommand(QStringList{"--silent"} + extra); }

    // The same, with the mode given in extra (e.g. --verify).
    int runCommand(const QStringList &extra)
    {
        QProcess quillon;
        quillon.setProcessEnvironment(environment());
        const QStringList arguments = QStringList{"--dataset", dataSet,        "--registry",
                                                  registry(),  "--status-dir", statusDir}
                                      + extra;
#ifdef Q_OS_UNIX
        if (childSetup)
            quillon.setChildProcessModifier(childSetup);
#endif
        if (runAs.isEmpty())
            quillon.start(QUILLON_PATH, arguments);
        else
            quillon.start(runAs.first(), runAs.mid(1) + QStringList{QUILLON_PATH} + arguments);
        if (!quillon.waitForFinished(120000))
            return -1;
        out = QString::fromUtf8(quillon.readAllStandardOutput());
        err = QString::fromUtf8(quillon.readAllStandardError());
        return quillon.exitStatus() == QProcess::NormalExit ? quillon.exitCode() : -2;
    }

    // The program's environment: its per-user data (the run's journal) and
    // the lock that keeps runs apart kept in the test's folder, and the
    // variables a test adds.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QUILLON_JOURNAL_DIR", filePath("appdata/Quillon"));
        env.insert("QUILLON_LOCK_DIR", lockFolder());
        for (auto it = extraEnvironment.cbegin(); it != extraEnvironment.cend(); ++it)
            env.insert(it.key(), it.value());
        return env;
    }
    QString journalFolder() const { return filePath("appdata/Quillon"); }
    QString lockFolder() const { return filePath("locks"); }

    // A path named on the command line as the program shows it: qualified,
    // on Windows with its drive, in native form.
    static QString given(const QString &path)
    {
        return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    }

    static std::map<QString, QByteArray> tree(const QString &folder)
    {
        return TestFiles::snapshot(folder);
    }

    // Under Wine the trees lie where the Linux build's tests make them and
    // are named as there ("/tmp/..."), so that the registry and the command
    // line hand the program paths rooted on the current drive.
    static QString folderTemplate()
    {
#ifdef QUILLON_TEST_UNIX_TEMP
        return QStringLiteral(QUILLON_TEST_UNIX_TEMP "/quillon-test-XXXXXX");
#else
        return QDir::tempPath() + QStringLiteral("/quillon-test-XXXXXX");
#endif
    }
    // The test's folder as the program is given it.
    static QString rootOf(const QTemporaryDir &dir)
    {
#ifdef QUILLON_TEST_UNIX_TEMP
        return QStringLiteral(QUILLON_TEST_UNIX_TEMP "/") + QFileInfo(dir.path()).fileName();
#else
        return dir.path();
#endif
    }
    QString filePath(const QString &relative) const
    {
        return root + u'/' + relative;
    }

    QTemporaryDir dir{folderTemplate()};
    QString root = rootOf(dir);
    QString plain, dataSet, vestra, base, statusDir;
    QString out, err;
    QStringList runAs;
    std::function<void()> childSetup; // run in the child before quillon starts (Unix)
    QMap<QString, QString> extraEnvironment;
};
