// Compares the project's extraction with an ideal pipeline written plainly
// here (read the package, inflate it whole with zlib's uncompress, write the
// data file) on the same data set, and with --big measures the peak memory of
// extracting one 1 GB package. Figures are printed last.

#include "BenchDataSet.h"
#include "BenchReport.h"
#include "IdealPipeline.h"
#include "PeakMemory.h"

#include "package/PackageExtractor.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr quint32 Seed = 20261208;
constexpr int Runs = 7;

void clearFolder(const QString &folder, const QStringList &packages)
{
    QDir(folder).removeRecursively();
    for (const QString &package : packages)
        QDir().mkpath(QFileInfo(folder + u'/' + package).path());
}

qint64 runIdeal(const QString &root, const QStringList &packages)
{
    clearFolder(root + u"/ideal"_s, packages);
    QElapsedTimer timer;
    timer.start();
    for (const QString &package : packages) {
        if (!IdealExtract(root + u"/packages/"_s + package,
                          root + u"/ideal/"_s + InstalledName(package)))
            qFatal("The ideal pipeline failed on %s", qPrintable(package));
    }
    return timer.nsecsElapsed();
}

// As the install engine does: copy the packed files first, then extract
// every copy; only the extraction is timed.
qint64 runProject(const QString &root, const QStringList &packages)
{
    clearFolder(root + u"/project"_s, packages);
    for (const QString &package : packages)
        QFile::copy(root + u"/packages/"_s + package, root + u"/project/"_s + package);
    PackageExtractor extractor;
    QElapsedTimer timer;
    timer.start();
    for (const QString &package : packages) {
        const QString packed = root + u"/project/"_s + package;
        if (!extractor.extract(packed, InstalledName(packed)))
            qFatal("%s", qPrintable(extractor.errorString()));
    }
    return timer.nsecsElapsed();
}

int countDifferences(const QString &root, const QStringList &packages)
{
    int differences = 0;
    for (const QString &package : packages) {
        QFile a(root + u"/ideal/"_s + InstalledName(package));
        QFile b(root + u"/project/"_s + InstalledName(package));
        if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly)
            || a.readAll() != b.readAll())
            ++differences;
    }
    return differences;
}

int runMixed()
{
    QTemporaryDir dir;
    BenchDataSet dataSet(Seed);
    QString error;
    say(u"Making the data set in %1 ..."_s.arg(dir.path()));
    if (!dataSet.makeMixed(dir.path(), BenchDataSet::Mix{}, &error))
        qFatal("%s", qPrintable(error));
    const QStringList packages = dataSet.packages();

    QList<qint64> ideal, project;
    for (int run = 0; run < Runs; ++run) {
        // Alternate the order so that neither side always runs on a warmer cache.
        if (run % 2 == 0) {
            ideal << runIdeal(dir.path(), packages);
            project << runProject(dir.path(), packages);
        } else {
            project << runProject(dir.path(), packages);
            ideal << runIdeal(dir.path(), packages);
        }
    }
    const int differences = countDifferences(dir.path(), packages);
    const double a = medianMs(ideal), b = medianMs(project);
    say(u"data set: %1 packages, %2 of data in %3 of packages (%4:1)"_s.arg(packages.size())
                .arg(mib(dataSet.dataBytes()), mib(dataSet.packageBytes()))
                .arg(double(dataSet.dataBytes()) / dataSet.packageBytes(), 0, 'f', 2));
    say(u"runs: %1 each; files differing between the two outputs: %2"_s.arg(Runs).arg(differences));
    say(u"(a) ideal pipeline, median:      %1 ms (%2 MiB/s of data)"_s.arg(a, 0, 'f', 1)
                .arg(dataSet.dataBytes() / 1048576.0 / (a / 1000), 0, 'f', 0));
    say(u"(b) project's extraction, median: %1 ms (%2 MiB/s of data)"_s.arg(b, 0, 'f', 1)
                .arg(dataSet.dataBytes() / 1048576.0 / (b / 1000), 0, 'f', 0));
    say(u"ratio b/a: %1"_s.arg(b / a, 0, 'f', 2));
    return differences == 0 ? 0 : 1;
}

int runBig()
{
    QTemporaryDir dir;
    qint64 dataBytes = 0, packageBytes = 0;
    {
        BenchDataSet dataSet(Seed);
        QString error;
        say(u"Making a 1 GB package in %1 ..."_s.arg(dir.path()));
        if (!dataSet.makeOne(dir.path(), 1024LL * 1024 * 1024, &error))
            qFatal("%s", qPrintable(error));
        dataBytes = dataSet.dataBytes();
        packageBytes = dataSet.packageBytes();
    }
    const QString packed = dir.path() + u"/packages/big.sty_"_s;

    PackageExtractor extractor;
    QElapsedTimer sinceYield;
    qint64 longestGap = 0;
    extractor.setYield([&] { longestGap = qMax(longestGap, sinceYield.restart()); });
    const long rest = statusKiB("VmRSS");
    const bool peakReset = resetPeakMemory();
    QElapsedTimer timer;
    timer.start();
    sinceYield.start();
    if (!extractor.extract(packed, InstalledName(packed)))
        qFatal("%s", qPrintable(extractor.errorString()));
    const qint64 elapsed = timer.elapsed();
    const long peak = peakReset ? statusKiB("VmHWM") : peakMemoryKiB();
    say(u"package: %1 of data in %2"_s.arg(mib(dataBytes), mib(packageBytes)));
    say(u"extraction: %1 ms; longest time between yields: %2 ms"_s.arg(elapsed).arg(longestGap));
    say(u"resident memory at rest: %1 MiB; peak during extraction: %2 MiB (%3)"_s
                .arg(rest / 1024.0, 0, 'f', 1)
                .arg(peak / 1024.0, 0, 'f', 1)
                .arg(peakReset ? u"VmHWM after reset"_s : u"ru_maxrss of the whole run"_s));
    say(u"peak memory of extraction above rest: %1 MiB (ru_maxrss of the whole run: %2 MiB)"_s
                .arg((peak - rest) / 1024.0, 0, 'f', 1)
                .arg(peakMemoryKiB() / 1024.0, 0, 'f', 1));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments == QStringList{u"--big"_s})
        return runBig();
    if (!arguments.isEmpty()) {
        say(u"usage: extract_bench [--big]"_s);
        return 2;
    }
    return runMixed();
}
