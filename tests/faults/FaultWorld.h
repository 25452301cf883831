#pragma once

#include "PackageBytes.h"
#include "TestFiles.h"

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>

#include <map>

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

// The world the fault sweep runs quillon in: a data set, a registry file, a
// Vestra folder and the journal folder, all below one folder whose
// file-system calls the injector numbers. Installations are laid out from
// templates kept outside that folder, so that each point starts from the
// same state, modes and times included.
class FaultWorld
{
public:
    // What stands at a path, as lstat() and the bytes give it.
    struct Entry
    {
        char type = 'f'; // f file, d folder, l link, o other
        QByteArray bytes;
        uint mode = 0;
        qint64 mtime = 0; // files only: a folder's changes with what is made in it

        bool operator==(const Entry &) const = default;
    };
    using Tree = std::map<QString, Entry>;

    // How quillon ended: its exit status, or -1 when a signal ended it.
    struct Run
    {
        int status = 0;
        QString out;
    };

    FaultWorld()
    {
        root = m_dir.filePath("world");
        dataSet = root + "/dataset";
        bin = root + "/Vestra 3.1/Bin";
        journals = root + "/appdata/Quillon";
        writeRegistry();
        // Only a process that is not root meets permission bits.
        m_asNobody = ::geteuid() == 0;
    }

    // A package set of three kinds, 7 files in all.
    static std::map<QString, QByteArray> plainData()
    {
        return {{"STY_2027SS/Unit1/a.sty", PackageBytes::styData(3000, 610)},
                {"STY_2027SS/Unit1/b.sty", PackageBytes::styData(5000, 620)},
                {"STY_2027SS/Unit2/c.sty", PackageBytes::styData(2000, 630)},
                {"STI_2027SS/Set1/d.sti", PackageBytes::stiData(1500, 710)},
                {"STI_2027SS/Set2/e.sti", PackageBytes::stiData(900, 720)},
                {"DETAIL_2027SS/Collar/f.tex", PackageBytes::data(7000)},
                {"DETAIL_2027SS/Cuff/g.tfc", PackageBytes::data(300)}};
    }

    bool pack(const QString &tool)
    {
        const QString plain = m_dir.filePath("plain");
        for (const auto &[rel, bytes] : plainData())
            TestFiles::write(plain + '/' + rel, bytes);
        QProcess pack;
        pack.start(tool, {plain, dataSet, "--year", "2027", "--season", "S/S", "--volume", "12",
                          "--folder", "STY=STY_2027SS", "--folder", "STI=STI_2027SS", "--folder",
                          "DETAIL=DETAIL_2027SS"});
        return pack.waitForFinished(60000) && pack.exitCode() == 0 && handOver(root);
    }

    // The Vestra folder and the journal folder as they are now, kept as the
    // template name.
    bool keep(const QString &name)
    {
        const QString folder = m_dir.filePath("templates/" + name);
        return copyTree(root + "/Vestra 3.1", folder + "/Vestra 3.1")
               && copyTree(root + "/appdata", folder + "/appdata");
    }

    // Lays out the template name again, as it was kept.
    bool restore(const QString &name)
    {
        const QString folder = m_dir.filePath("templates/" + name);
        for (const QString &part : {QStringLiteral("Vestra 3.1"), QStringLiteral("appdata")}) {
            makeRemovable(root + '/' + part);
            QDir(root + '/' + part).removeRecursively();
            if (!copyTree(folder + '/' + part, root + '/' + part))
                return false;
        }
        return handOver(root + "/Vestra 3.1") && handOver(root + "/appdata");
    }

    // Runs quillon with the arguments after the world's own, and the
    // injector's variables; on one processor unless threads is set, so that
    // the unpacking runs on one thread and the calls are numbered the same
    // every time.
    Run run(const QString &program, const QStringList &arguments,
            const QMap<QString, QString> &variables = {}, bool threads = false)
    {
        QProcess quillon;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QUILLON_JOURNAL_DIR", journals);
        // A run lock of the world's own, outside what is compared: no other
        // run on this machine waits for the sweep's.
        env.insert("QUILLON_LOCK_DIR", root + "/locks");
        for (auto it = variables.cbegin(); it != variables.cend(); ++it)
            env.insert(it.key(), it.value());
        quillon.setProcessEnvironment(env);
        const bool asNobody = m_asNobody;
        quillon.setChildProcessModifier([asNobody, threads] {
            cpu_set_t one;
            CPU_ZERO(&one);
            if (!threads && ::sched_getaffinity(0, sizeof one, &one) == 0) {
                for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
                    if (CPU_ISSET(cpu, &one)) {
                        CPU_ZERO(&one);
                        CPU_SET(cpu, &one);
                        ::sched_setaffinity(0, sizeof one, &one);
                        break;
                    }
                }
            }
            if (asNobody
                && (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0))
                ::_exit(125);
        });
        quillon.start(program, QStringList{"--lang", "English", "--dataset", dataSet, "--registry",
                                           registry(), "--status-dir", root + "/status"}
                                       + arguments);
        Run result{-3, {}};
        if (!quillon.waitForFinished(120000)) {
            quillon.kill();
            quillon.waitForFinished();
            return result;
        }
        result.status = quillon.exitStatus() == QProcess::NormalExit ? quillon.exitCode() : -1;
        result.out = QString::fromUtf8(quillon.readAllStandardOutput()
                                       + quillon.readAllStandardError());
        return result;
    }

    static Tree snapshot(const QString &folder)
    {
        Tree tree;
        QDirIterator it(folder,
                        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            struct stat info;
            if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
                continue;
            Entry entry;
            entry.mode = info.st_mode & 07777;
            if (S_ISDIR(info.st_mode)) {
                entry.type = 'd';
            } else if (S_ISREG(info.st_mode)) {
                entry.bytes = TestFiles::read(path);
                entry.mtime = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
            } else {
                entry.type = S_ISLNK(info.st_mode) ? 'l' : 'o';
            }
            tree[QDir(folder).relativeFilePath(path)] = entry;
        }
        return tree;
    }

    // Whether the program runs as "nobody" (the tests run as root, and the
    // system lets root become another user); a test that cannot says so.
    bool asNobody() const { return m_asNobody; }
    void runAsThisUser() { m_asNobody = false; }
    QString registry() const { return root + "/registry.reg"; }

    QString root, dataSet, bin, journals;

private:
    static constexpr uid_t Nobody = 65534;

    void writeRegistry()
    {
        const QString text = "Windows Registry Editor Version 5.00\r\n\r\n"
                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrel\\Vestra\\3.1\\Directory]\r\n"
                             "\"Defaultdir\"=\""
                             + root + "/Vestra 3.1\"\r\n";
        TestFiles::write(registry(), text.toUtf8());
        QDir().mkpath(bin);
        QDir().mkpath(journals);
        QDir().mkpath(root + "/status");
        QDir().mkpath(root + "/locks");
        QFile::setPermissions(root + "/locks", QFileDevice::Permissions(0x7777));
    }

    // Copies a tree with its modes and times.
    static bool copyTree(const QString &from, const QString &to)
    {
        QDir().mkpath(to);
        QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        QStringList folders{from};
        while (it.hasNext()) {
            const QString path = it.next();
            const QString target = to + '/' + QDir(from).relativeFilePath(path);
            if (it.fileInfo().isDir()) {
                QDir().mkpath(target);
                folders.append(path);
            } else if (!QFile::copy(path, target) || !sameTimes(path, target)) {
                return false;
            }
        }
        // Folders last, deepest first, so that their modes allow the copying.
        for (auto folder = folders.crbegin(); folder != folders.crend(); ++folder) {
            struct stat info;
            const QString target = to + '/' + QDir(from).relativeFilePath(*folder);
            if (::stat(QFile::encodeName(*folder).constData(), &info) != 0
                || ::chmod(QFile::encodeName(target).constData(), info.st_mode & 07777) != 0)
                return false;
        }
        return true;
    }

    static bool sameTimes(const QString &from, const QString &to)
    {
        struct stat info;
        if (::stat(QFile::encodeName(from).constData(), &info) != 0)
            return false;
        const struct timespec times[2] = {info.st_atim, info.st_mtim};
        return ::utimensat(AT_FDCWD, QFile::encodeName(to).constData(), times, 0) == 0
               && ::chmod(QFile::encodeName(to).constData(), info.st_mode & 07777) == 0;
    }

    // Read-only folders left by a run would stop their removal.
    static void makeRemovable(const QString &folder)
    {
        QDirIterator it(folder, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            ::chmod(QFile::encodeName(it.next()).constData(), 0755);
    }

    // The tree belongs to the user quillon runs as.
    bool handOver(const QString &folder)
    {
        if (!m_asNobody)
            return true;
        bool ok = ::chown(QFile::encodeName(folder).constData(), Nobody, Nobody) == 0;
        QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            ok = ::lchown(QFile::encodeName(it.next()).constData(), Nobody, Nobody) == 0 && ok;
        // The folders above the world must let that user through.
        ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
        return ok;
    }

    QTemporaryDir m_dir;
    bool m_asNobody = false;
};
