// Reads registry exports of several shapes and prepares the wizard state from
// each, as the wizard does when it opens: a whole-machine export just under
// the size limit, one of 84 MB, and one naming 50,000 versions of the target
// application. Each case runs in a child process of its own, so that its peak
// memory is its own. Figures are printed last.

#include "BenchReport.h"

#include "platform/RegFileVersionStore.h"
#include "selection/WizardState.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// Peak resident memory of the process so far in KiB, from Linux's
// /proc/self/status (getrusage would count the parent's peak too, which the
// child inherits across exec); -1 elsewhere.
long peakMemoryKiB()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

const QByteArray Prefix = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrel\\Vestra\\";

// Keys of other software around the application's, as an export of a whole
// machine holds them, until the file reaches size bytes.
QByteArray machineExport(qint64 size)
{
    QByteArray text = "Windows Registry Editor Version 5.00\r\n\r\n";
    text += Prefix + "3.1\\Directory]\r\n\"Defaultdir\"=\"C:\\\\Vestra 3.1\"\r\n\r\n";
    for (qint64 i = 0; text.size() < size; ++i) {
        text += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor" + QByteArray::number(i % 997)
                + "\\Product\\" + QByteArray::number(i) + "]\r\n\"Path\"=\"C:\\\\Program Files\\\\P"
                + QByteArray::number(i) + "\"\r\n\"Data\"=hex:00,01,02,03,04,05,06,07,\\\r\n"
                + "  08,09,0a,0b\r\n\r\n";
    }
    return text;
}

// count versions, every other one older than 2 (which the wizard drops).
QByteArray manyVersions(int count)
{
    QByteArray text = "Windows Registry Editor Version 5.00\r\n\r\n";
    for (int i = 0; i < count; ++i) {
        const QByteArray version = QByteArray::number(i % 2 ? 1 : 2) + '.' + QByteArray::number(i);
        text += Prefix + version + "\\Directory]\r\n\"Defaultdir\"=\"C:\\\\Vestra " + version
                + "\"\r\n\r\n";
    }
    return text;
}

// The child's part: reads one export and prints "milliseconds peak-KiB versions".
int runCase(const QString &path)
{
    const long before = peakMemoryKiB();
    QElapsedTimer timer;
    timer.start();
    RegFileVersionStore store;
    const bool loaded = store.load(path);
    WizardState state;
    DataSetDescription description;
    description.present = {true, false, false};
    description.folderName[0] = u"STY"_s;
    (void) state.prepare(description, u"/data"_s, store);
    const qint64 ns = timer.nsecsElapsed();
    std::printf("%.1f %ld %lld %d\n", ns / 1e6, peakMemoryKiB() - before,
                qint64(state.versionList.size()), loaded ? 1 : 0);
    if (!loaded)
        std::printf("%s\n", qPrintable(store.errorString()));
    return 0;
}

void measure(const QString &name, const QString &path)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {u"--case"_s, path});
    child.waitForFinished(-1);
    const QStringList lines = QString::fromLocal8Bit(child.readAllStandardOutput()).split(u'\n');
    const QStringList f = lines.value(0).split(u' ');
    say(u"%1 (%2): %3 ms, %4 more peak memory, %5 versions kept%6"_s.arg(name)
                .arg(mib(QFile(path).size()))
                .arg(f.value(0), mib(f.value(1).toLongLong() * 1024), f.value(2))
                .arg(f.value(3) == u"1" ? QString() : u", refused: "_s + lines.value(1)));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == u"--case")
        return runCase(args.at(2));

    QTemporaryDir dir;
    const QList<std::pair<QString, QByteArray>> cases{
            {u"whole-machine export, 15 MB"_s, machineExport(15 * 1024 * 1024)},
            {u"whole-machine export, 84 MB"_s, machineExport(84 * 1024 * 1024)},
            {u"50,000 versions"_s, manyVersions(50000)},
    };
    for (const auto &[name, bytes] : cases) {
        const QString path = dir.filePath(u"registry.reg"_s);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return 1;
        file.close();
        measure(name, path);
    }
    return 0;
}
