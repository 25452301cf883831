// Times a whole Basic install (scan, mapping, copy into the destination,
// extraction, status) against an ideal pipeline written plainly here that
// reads each package, inflates it and writes the data file, and a second
// install over the first one that replaces every installed file; each with
// the packages unpacked on 1, 2 and all worker threads. Also reports the
// longest time between two rounds of window events, the peak memory of the
// installs, and what the look at each name that Windows makes (names Windows
// cannot hold are refused as the lists are built) adds to building them.
// Figures are printed last.

#include "BenchDataSet.h"
#include "BenchReport.h"
#include "BenchState.h"
#include "BenchUi.h"
#include "IdealPipeline.h"
#include "PeakMemory.h"

#include "i18n/TextTable.h"
#include "install/ExtractionLoop.h"
#include "install/InstallContext.h"
#include "install/InstallRun.h"
#include "install/InstallUi.h"
#include "package/PackageKind.h"
#include "platform/FileReplacement.h"
#include "selection/WizardState.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr quint32 Seed = 20261209;
constexpr int Runs = 5;

// Writes back what earlier runs left in the system's cache (on the volume
// that holds folder), so that no run pays for the one before it: the figures
// otherwise swing with the writeback.
void settle(const QString &folder)
{
    QString ignored;
    SyncToDisk({folder}, &ignored);
}

qint64 runIdeal(const QString &source, const QString &target, const QStringList &packages)
{
    QDir(target).removeRecursively();
    for (const QString &package : packages)
        QDir().mkpath(QFileInfo(target + u'/' + package).path());
    settle(source);
    QElapsedTimer timer;
    timer.start();
    for (const QString &package : packages) {
        if (!IdealExtract(source + u'/' + package, target + u'/' + InstalledName(package)))
            qFatal("The ideal pipeline failed on %s", qPrintable(package));
    }
    return timer.nsecsElapsed();
}

// A whole install into target; with replace, target holds an earlier install
// whose every file is replaced (the answer All), else it starts empty.
qint64 runProject(const QString &source, const QString &target, bool replace, int workers,
                  qint64 *longestGapNs)
{
    if (!replace)
        QDir(target).removeRecursively();
    WizardState state = DetailOnly(source, target);
    LanguageTextTable texts;
    SilentUi ui(replace ? OverwriteAnswer::All : OverwriteAnswer::No);
    InstallContext context(state, texts, ui);
    context.journalFolder = target + u"-journal"_s; // beside the data, not in the user's folder
    context.lockFolder = context.journalFolder;
    context.unpackWorkers = workers;
    InstallRun run(context);
    settle(source);
    QElapsedTimer timer;
    timer.start();
    run.btInstallClick();
    const qint64 elapsed = timer.nsecsElapsed();
    // Replaced files are status lines ("overwritten"); a fresh install has none.
    if (run.outcome() != InstallRun::Outcome::Installed || run.hasStatusLines() != replace)
        qFatal("The install run did not install everything");
    *longestGapNs = std::max(*longestGapNs, ui.longestGapNs);
    return elapsed;
}

// Builds the lists of a Basic install, with or without Windows's rules for names.
qint64 runLists(const QString &source, const QString &target, bool windowsNames)
{
    WizardState state = DetailOnly(source, target);
    LanguageTextTable texts;
    SilentUi ui(OverwriteAnswer::No);
    InstallContext context(state, texts, ui);
    context.windowsNames = windowsNames;
    QElapsedTimer timer;
    timer.start();
    if (!InstallRun(context).collectLists())
        qFatal("The lists could not be built");
    const qint64 elapsed = timer.nsecsElapsed();
    if (!context.kindLists(DataKind::DETAIL).refusedFiles.isEmpty())
        qFatal("A name of the data set was refused");
    return elapsed;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    BenchDataSet dataSet(Seed);
    const BenchDataSet::Mix mix = BenchDataSet::detailSeason();
    say(u"Making the data set in %1 ..."_s.arg(dir.path()));
    QString error;
    if (!dataSet.makeMixed(dir.path(), mix, &error))
        qFatal("%s", qPrintable(error));
    const QString source = dir.filePath(u"packages"_s);

    // The installs with each number of workers, and their peak memory.
    struct Installs
    {
        int workers = 1;
        QList<qint64> fresh, replacing;
        long peakKiB = -1;
    };
    QList<Installs> installs;
    {
        WizardState state;
        LanguageTextTable texts;
        SilentUi ui(OverwriteAnswer::No);
        const int all = UnpackWorkers(InstallContext(state, texts, ui));
        for (int workers : {1, 2, all}) {
            if (installs.isEmpty() || installs.last().workers < workers)
                installs.append({workers, {}, {}, -1});
        }
    }

    // What the process holds before any install (the data set's making):
    // every peak below includes it.
    const long residentKiB = statusKiB("VmRSS");
    QList<qint64> ideal;
    qint64 longestGapNs = 0;
    const QString target = dir.filePath(u"project"_s);
    // The peak of the installs alone (the ideal pipeline holds whole files):
    // reset before each install where the system allows, else the process's.
    const auto install = [&](Installs &runs, bool replace) {
        const bool peakReset = resetPeakMemory();
        (replace ? runs.replacing : runs.fresh)
                << runProject(source, target, replace, runs.workers, &longestGapNs);
        runs.peakKiB = std::max(runs.peakKiB, peakReset ? statusKiB("VmHWM") : peakMemoryKiB());
    };
    for (Installs &runs : installs) {
        for (int run = 0; run < Runs; ++run) {
            // Alternate the order so that neither side always runs on a warmer cache.
            if (run % 2 == 0)
                ideal << runIdeal(source, dir.filePath(u"ideal"_s), dataSet.packages());
            install(runs, false);
            install(runs, true);
            if (run % 2 == 1)
                ideal << runIdeal(source, dir.filePath(u"ideal"_s), dataSet.packages());
        }
    }
    QList<qint64> lists, listsWithNames;
    for (int run = 0; run < 4 * Runs; ++run) {
        lists << runLists(source, target, false);
        listsWithNames << runLists(source, target, true);
    }
    const double a = medianMs(ideal);
    say(u"data set: %1 packages, %2 of data in %3 of packages (%4:1)"_s
                .arg(dataSet.packages().size())
                .arg(mib(dataSet.dataBytes()), mib(dataSet.packageBytes()))
                .arg(double(dataSet.dataBytes()) / dataSet.packageBytes(), 0, 'f', 2));
    say(u"runs: %1 each"_s.arg(Runs));
    say(u"longest time without window events: %1 ms"_s.arg(longestGapNs / 1e6, 0, 'f', 1));
    say(u"(a) ideal pipeline, median:   %1 ms"_s.arg(a, 0, 'f', 1));
    if (residentKiB >= 0)
        say(u"resident before the installs: %1"_s.arg(mib(residentKiB * 1024LL)));
    for (const Installs &runs : std::as_const(installs)) {
        const double b = medianMs(runs.fresh), c = medianMs(runs.replacing);
        say(u"%1 worker(s): (b) whole Basic install %2 ms, b/a %3; (c) again, replacing every "
            "file, %4 ms, c/a %5; peak memory %6"_s.arg(runs.workers)
                    .arg(b, 0, 'f', 1)
                    .arg(b / a, 0, 'f', 2)
                    .arg(c, 0, 'f', 1)
                    .arg(c / a, 0, 'f', 2)
                    .arg(runs.peakKiB < 0 ? u"unknown"_s : mib(runs.peakKiB * 1024LL)));
    }
    const double d = medianMs(lists), e = medianMs(listsWithNames);
    say(u"(d) building the lists, median of %1: %2 ms; (e) with Windows's rules for names: "
        "%3 ms, %4 us more per package"_s.arg(lists.size())
                .arg(d, 0, 'f', 2)
                .arg(e, 0, 'f', 2)
                .arg((e - d) * 1000 / dataSet.packages().size(), 0, 'f', 2));
    return 0;
}
