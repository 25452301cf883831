// Times a whole Basic install (scan, mapping, copy into the destination,
// extraction, status) against an ideal pipeline written plainly here that
// reads each package, inflates it and writes the data file, and a second
// install over the first one that replaces every installed file; each with
// the packages unpacked on 1, 2 and all worker threads. Also reports the
// longest time between two rounds of window events, the peak memory of the
// installs, and what the look at each name that Windows makes (names Windows
// cannot hold are refused as the lists are built) adds to building them.
// Figures are printed last.
//
//   install_bench [--season detail|small|big] [--runs N] [--zlib-only]
//     detail  1,500 packages, ten of them 5-30 MiB (the default)
//     small   50,000 packages of 2-20 KB
//     big     one package of 2 GiB
//     --zlib-only  zlib inflates everything, for comparison with the faster inflaters

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
#include "package/PayloadStream.h"
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

struct Options
{
    QString season = u"detail"_s;
    int runs = 5;
    bool zlibOnly = false;
};

Options parseOptions(const QStringList &arguments)
{
    Options options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == u"--season"_s && i + 1 < arguments.size())
            options.season = arguments.at(++i);
        else if (argument == u"--runs"_s && i + 1 < arguments.size())
            options.runs = qMax(1, arguments.at(++i).toInt());
        else if (argument == u"--zlib-only"_s)
            options.zlibOnly = true;
        else
            qFatal("usage: install_bench [--season detail|small|big] [--runs N] [--zlib-only]");
    }
    if (options.season != u"detail"_s && options.season != u"small"_s && options.season != u"big"_s)
        qFatal("unknown season %s", qPrintable(options.season));
    return options;
}

bool makeSeason(BenchDataSet &dataSet, const QString &folder, const QString &season, QString *error)
{
    if (season == u"big"_s)
        return dataSet.makeOne(folder, 2048LL * 1024 * 1024, error, u"unit0/big.sty"_s);
    return dataSet.makeMixed(
            folder, season == u"small"_s ? BenchDataSet::manySmall() : BenchDataSet::detailSeason(),
            error);
}

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
    const Options options = parseOptions(app.arguments());
    const int Runs = options.runs;
    if (options.zlibOnly)
        PayloadStream::setInflaters(PayloadStream::Inflaters::ZlibOnly);
    QTemporaryDir dir;
    BenchDataSet dataSet(Seed);
    say(u"Making the %1 data set in %2 ..."_s.arg(options.season, dir.path()));
    QString error;
    if (!makeSeason(dataSet, dir.path(), options.season, &error))
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
    say(u"runs: %1 each; inflaters: %2"_s.arg(Runs).arg(
            options.zlibOnly ? u"zlib only"_s : u"ISA-L, zlib"_s));
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
