// Times a repair (--silent --repair: a check narrows the lists to what
// differs, an install run replaces that, a check of the whole selection
// follows) of an installation of many small files that all differ from
// their packages, against what it stands for: an install that replaces every
// file, plus one check. Figures are printed last, medians of several runs.

#include "BenchDataSet.h"
#include "BenchReport.h"
#include "BenchState.h"
#include "BenchUi.h"

#include "i18n/TextTable.h"
#include "install/InstallContext.h"
#include "install/InstallRun.h"
#include "install/verify/InstalledDataCheck.h"
#include "install/verify/RepairSelection.h"
#include "platform/FileReplacement.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

constexpr quint32 Seed = 20261210;
constexpr int Runs = 5;

// Every installed file gets its last byte changed: the same size, so that
// the check must read it to the end.
void makeEveryFileDifferent(const QString &target)
{
    QDirIterator it(target, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadWrite) || !file.seek(file.size() - 1))
            qFatal("Cannot change %s", qPrintable(file.fileName()));
        const char last = file.read(1).at(0);
        file.seek(file.size() - 1);
        file.write(QByteArray(1, char(last ^ 1)));
    }
    QString ignored;
    SyncToDisk({target}, &ignored); // no timed run pays for this writeback
}

// A run's state, texts, interface and context, with the journal and the lock
// beside the data rather than in the user's or the machine's folders.
struct Run
{
    Run(const QString &source, const QString &target)
        : state(DetailOnly(source, target)), ui(OverwriteAnswer::All), context(state, texts, ui)
    {
        LoadTextTable(texts, QCoreApplication::applicationDirPath(), u"English"_s,
                      u"InstallForm"_s);
        context.journalFolder = context.lockFolder = target + u"-journal"_s;
        context.presetOverwrite = OverwriteAnswer::All;
    }

    void install(bool changesExpected)
    {
        InstallRun run(context);
        run.btInstallClick();
        if (run.outcome() != InstallRun::Outcome::Installed
            || run.hasStatusLines() != changesExpected)
            qFatal("The install run did not install everything");
    }

    void check()
    {
        InstalledDataCheck check(context);
        check.checkAll();
        if (check.verdict() != InstalledDataCheck::Verdict::Identical)
            qFatal("The check did not find the installation identical");
    }

    WizardState state;
    LanguageTextTable texts;
    SilentUi ui;
    InstallContext context;
};

qint64 timeReplaceAll(const QString &source, const QString &target)
{
    Run run(source, target);
    QElapsedTimer timer;
    timer.start();
    run.install(true);
    return timer.nsecsElapsed();
}

qint64 timeCheck(const QString &source, const QString &target)
{
    Run run(source, target);
    QElapsedTimer timer;
    timer.start();
    if (!InstallRun(run.context).collectLists())
        qFatal("The lists could not be built");
    run.check();
    return timer.nsecsElapsed();
}

// As SilentInstall's repair does it.
qint64 timeRepair(const QString &source, const QString &target)
{
    Run run(source, target);
    QElapsedTimer timer;
    timer.start();
    RepairSelection selection(run.context);
    run.install(true);
    selection.markReasons();
    selection.removeLeftovers();
    selection.restoreLists();
    run.check();
    return timer.nsecsElapsed();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    BenchDataSet dataSet(Seed);
    BenchDataSet::Mix mix;
    mix.count = 20000;
    mix.bigCount = 0;
    mix.smallMinKiB = 2;
    mix.smallMaxKiB = 20;
    say(u"Making the data set in %1 ..."_s.arg(dir.path()));
    QString error;
    if (!dataSet.makeMixed(dir.path(), mix, &error))
        qFatal("%s", qPrintable(error));
    const QString source = dir.filePath(u"packages"_s);
    const QString target = dir.filePath(u"installed"_s);
    Run(source, target).install(false);

    QList<qint64> replaceAll, checks, repairs;
    for (int run = 0; run < Runs; ++run) {
        makeEveryFileDifferent(target);
        replaceAll << timeReplaceAll(source, target);
        checks << timeCheck(source, target);
        makeEveryFileDifferent(target);
        repairs << timeRepair(source, target);
    }
    const double a = medianMs(replaceAll), b = medianMs(checks), c = medianMs(repairs);
    say(u"data set: %1 packages, %2 of data in %3 of packages"_s.arg(dataSet.packages().size())
                .arg(mib(dataSet.dataBytes()), mib(dataSet.packageBytes())));
    say(u"runs: %1 each; medians"_s.arg(Runs));
    say(u"(a) install replacing every file, every file different: %1 ms"_s.arg(a, 0, 'f', 1));
    say(u"(b) check of the install (--verify): %1 ms"_s.arg(b, 0, 'f', 1));
    say(u"(c) repair, every file different: %1 ms"_s.arg(c, 0, 'f', 1));
    say(u"ratio c/(a+b): %1"_s.arg(c / (a + b), 0, 'f', 2));
    return 0;
}
