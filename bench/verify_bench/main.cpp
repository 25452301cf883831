// Times the check of an installed data set (--verify: build the lists, then
// unpack every package and compare it with the installed file) against a
// whole Basic install of the same data set, and prints the peak memory of a
// check above the memory at rest. Figures are printed last.

#include "BenchDataSet.h"
#include "BenchReport.h"
#include "BenchState.h"
#include "BenchUi.h"
#include "PeakMemory.h"

#include "i18n/TextTable.h"
#include "install/InstallContext.h"
#include "install/InstallRun.h"
#include "install/InstallUi.h"
#include "install/verify/InstalledDataCheck.h"
#include "selection/WizardState.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

constexpr quint32 Seed = 20261209;
constexpr int Runs = 5;

qint64 runInstall(const QString &source, const QString &target)
{
    QDir(target).removeRecursively();
    WizardState state = DetailOnly(source, target);
    LanguageTextTable texts;
    SilentUi ui;
    InstallContext context(state, texts, ui);
    context.journalFolder = context.lockFolder = target + u"-journal"_s;
    InstallRun run(context);
    QElapsedTimer timer;
    timer.start();
    run.btInstallClick();
    const qint64 elapsed = timer.nsecsElapsed();
    if (run.outcome() != InstallRun::Outcome::Installed || run.hasStatusLines())
        qFatal("The install run did not install everything");
    return elapsed;
}

qint64 runCheck(const QString &source, const QString &target)
{
    WizardState state = DetailOnly(source, target);
    // The check's lines are made from the texts, as in the program.
    LanguageTextTable texts;
    LoadTextTable(texts, QCoreApplication::applicationDirPath(), u"English"_s, u"InstallForm"_s);
    SilentUi ui;
    InstallContext context(state, texts, ui);
    QElapsedTimer timer;
    timer.start();
    InstalledDataCheck check(context);
    if (!InstallRun(context).collectLists())
        qFatal("The lists could not be built");
    check.checkAll();
    const qint64 elapsed = timer.nsecsElapsed();
    if (check.verdict() != InstalledDataCheck::Verdict::Identical)
        qFatal("The check did not find the install identical");
    return elapsed;
}

// The peak resident memory of one check above the memory before it, in KiB;
// -1 where Linux's peak cannot be reset.
long checkPeakKiB(const QString &source, const QString &target)
{
    if (!resetPeakMemory())
        return -1;
    const long rest = statusKiB("VmRSS");
    runCheck(source, target);
    return statusKiB("VmHWM") - rest;
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
    const QString target = dir.filePath(u"installed"_s);

    QList<qint64> installs, checks;
    for (int run = 0; run < Runs; ++run) {
        installs << runInstall(source, target);
        checks << runCheck(source, target);
    }
    const long peak = checkPeakKiB(source, target);
    const double a = medianMs(installs), b = medianMs(checks);
    say(u"data set: %1 packages, %2 of data in %3 of packages"_s.arg(dataSet.packages().size())
                .arg(mib(dataSet.dataBytes()), mib(dataSet.packageBytes())));
    say(u"runs: %1 each"_s.arg(Runs));
    say(u"(a) whole Basic install, median: %1 ms"_s.arg(a, 0, 'f', 1));
    say(u"(b) check of the install (--verify), median: %1 ms"_s.arg(b, 0, 'f', 1));
    say(u"ratio b/a: %1"_s.arg(b / a, 0, 'f', 2));
    say(peak < 0 ? u"peak memory of a check: not measured here"_s
                 : u"peak memory of a check above rest: %1 MiB"_s.arg(peak / 1024.0, 0, 'f', 1));
    return 0;
}
