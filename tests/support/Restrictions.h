#pragma once

#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>

// Real failures for tests of failure paths: a small disk that fills up, files
// and folders that even root cannot change, runs without root's rights. Tests
// often run as root, for whom permission bits change nothing. Each helper
// says why it could not be set up, so that a test skips with that message.
namespace Restrictions {

// Runs a system tool; false, with why set, when it is missing or fails.
inline bool runTool(const QString &program, const QStringList &arguments, QString *why)
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(program, arguments);
    if (tool.waitForFinished(30000) && tool.exitStatus() == QProcess::NormalExit
        && tool.exitCode() == 0)
        return true;
    *why = program + u' ' + arguments.join(u' ') + QStringLiteral(": ")
           + (tool.error() == QProcess::FailedToStart ? QStringLiteral("cannot be run")
                                                      : QString::fromLocal8Bit(tool.readAll()));
    return false;
}

// A tmpfs of the given size ("16k") mounted on folder while the helper lives.
class SmallDisk
{
public:
    SmallDisk(const QString &folder, const QString &size) : m_folder(folder)
    {
        QDir().mkpath(folder);
        m_mounted = mount(folder, size, &m_why);
    }
    ~SmallDisk()
    {
        if (m_mounted && !runTool("umount", {m_folder}, &m_why))
            runTool("umount", {"-l", m_folder}, &m_why);
    }
    bool isMounted() const { return m_mounted; }
    QString whyNot() const { return m_why; }

private:
    static bool mount(const QString &folder, const QString &size, QString *why)
    {
#ifdef Q_OS_WIN
        // Not a fault of the program: under Wine a volume mounted below a
        // drive is not seen, as Wine answers the free space of the drive.
        Q_UNUSED(folder);
        Q_UNUSED(size);
        *why = QStringLiteral("a Windows program cannot mount one, and Wine answers the free "
                              "space of the drive, not of a volume mounted below it");
        return false;
#else
        return runTool("mount", {"-t", "tmpfs", "-o", "size=" + size, "tmpfs", folder}, why);
#endif
    }

    QString m_folder;
    bool m_mounted = false;
    QString m_why;
};

// Files and folders marked immutable (chattr +i), which stops root too;
// undone at the end so that the temporary folder can go.
class Immutable
{
public:
    explicit Immutable(const QStringList &paths) : m_paths(paths)
    {
        m_applied = runTool("chattr", QStringList{"+i"} + paths, &m_why);
    }
    ~Immutable() { runTool("chattr", QStringList{"-i"} + m_paths, &m_why); }
    bool isApplied() const { return m_applied; }
    QString whyNot() const { return m_why; }

private:
    QStringList m_paths;
    bool m_applied = false;
    QString m_why;
};

// The command that runs program as the user "nobody", so that permission bits
// apply, after handing that user the tree the program works in; empty, with
// why set, where that is not possible (not root, no setpriv).
inline QStringList asNobody(const QString &tree, const QString &program, QString *why)
{
    const QStringList prefix{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
    if (!runTool("chown", {"-R", "65534:65534", tree}, why)
        || !runTool(prefix.first(), prefix.mid(1) + QStringList{program, "--help"}, why))
        return {};
    return prefix;
}

} // namespace Restrictions
