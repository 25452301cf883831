#include "FaultWorld.h"

#include <QCryptographicHash>
#include <QtTest>

#include <set>

// The fault sweep: quillon --silent, the real program, runs over a small
// world while the injector (fault_injector.c, loaded with LD_PRELOAD) fails
// its file-system call number N in one of several ways, or kills or stops it
// before that call, for every N in turn. After each point four promises are
// checked:
//   1. no file that was there (the user's, the installed ones) is lost,
//      truncated or mixed: every name holds its old bytes or the delivered ones;
//   2. exit 0 or 1 only when the tree is what the run without faults gives
//      and nothing is left behind;
//   3. after --silent --recover: an interrupted run is undone byte for byte,
//      modes and times included, a finished one stays, and the journal
//      folder is empty;
//   4. a repair then leaves nothing behind, and --verify exits 0.
// By default the points are sampled; QUILLON_FAULT_SWEEP=all (the "faults"
// test and preset) runs every one, and QUILLON_FAULT_SWEEP=<scenario>:<mode>:
// <errno>:<N> runs one point and prints what happened.
//
// Linux only: the injector replaces C library functions by name, which
// neither Windows nor Wine allows; under Wine the Windows build's journal and
// recovery tests stand in.
class tst_FaultSweep : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void sweep_data();
    void sweep();
    void cleanupTestCase();

private:
    struct Point
    {
        QString mode, error;
        int call = 0;
        QString operation, path;
    };
    struct Scenario
    {
        QString start;             // the template the run starts from
        QStringList arguments;     // after --silent
        bool threads = false;      // unpacked on as many threads as there are processors
        FaultWorld::Tree before;   // the Vestra folder at the start
        FaultWorld::Tree expected; // after the run without faults
        FaultWorld::Tree undone;   // after an interrupted run is undone
        QList<Point> calls;        // the numbered calls of the run without faults
    };
    enum Promise { Loss, Dishonest, Leftover, NotRestored, NotRepaired, PromiseCount };

    Scenario prepare(const QString &start, const QStringList &arguments, const QString &undone,
                     bool threads = false);
    QList<Point> pointsOf(const Scenario &scenario, const QString &mode) const;
    QList<int> check(const Scenario &scenario, const Point &point, QString *account);
    bool repairs(QString *account);
    void makeOlderInstallation();
    static void addMismatches(const Scenario &s, const FaultWorld::Tree &now, bool running,
                              QList<int> &broken, QString *account);
    static bool unfinishedJournalIn(const QString &folder);
    static QByteArray contentHash(const FaultWorld::Tree &tree);

    FaultWorld m_world;
    QMap<QString, Scenario> m_scenarios;
    std::array<int, PromiseCount + 1> m_totals{}; // and the points
    QSet<QByteArray> m_repaired;                  // states whose repair and check passed
};

namespace {

const QString Quillon = QStringLiteral(QUILLON_PATH);
const QString Injector = QStringLiteral(QUILLON_FAULT_INJECTOR);

// What a run makes and must take away again: temporary files, backups, packed copies.
bool isLeftoverName(const QString &rel)
{
    return rel.endsWith(".quillon-part") || rel.endsWith(".quillon-old") || rel.endsWith('_');
}

// The tree without what a run left behind, but for names that were there at the start.
FaultWorld::Tree withoutLeftovers(FaultWorld::Tree tree, const FaultWorld::Tree &start)
{
    std::erase_if(tree, [&start](const auto &item) {
        return isLeftoverName(item.first) && !start.count(item.first);
    });
    return tree;
}

QString describe(const QString &scenario, const auto &point)
{
    return QStringLiteral("%1:%2:%3:%4 (%5 %6)")
            .arg(scenario, point.mode, point.error)
            .arg(point.call)
            .arg(point.operation, point.path);
}

} // namespace

void tst_FaultSweep::initTestCase()
{
    QVERIFY(QFile::exists(Injector));
    QVERIFY(m_world.pack(QUILLON_PACK_PATH));
    if (m_world.asNobody() && m_world.run(Quillon, {"--version"}).status == 125) {
        qWarning("Cannot run the program as another user here: as root it writes read-only "
                 "files all the same");
        m_world.runAsThisUser();
    }
    QVERIFY(m_world.keep("empty"));
    makeOlderInstallation();
    QVERIFY(m_world.keep("older"));
    QVERIFY(QFile::setPermissions(m_world.bin + "/STY_2027SS/Unit1/a.sty",
                                  QFileDevice::ReadOwner | QFileDevice::ReadGroup
                                          | QFileDevice::ReadOther));
    QVERIFY(m_world.keep("older-read-only"));
    // A run killed while it replaced STI's first file leaves a journal to undo.
    QVERIFY(m_world.restore("older"));
    QCOMPARE(m_world.run(Quillon, {"--silent", "--overwrite", "all"},
                         {{"QUILLON_TEST_FAULT", "aside:2"}})
                     .status,
             86);
    QVERIFY(m_world.keep("interrupted"));

    m_scenarios["update"] = prepare("older", {"--overwrite", "all"}, "older");
    m_scenarios["fresh"] = prepare("empty", {}, "empty");
    m_scenarios["repair"] = prepare("older-read-only", {"--repair"}, "older-read-only");
    m_scenarios["recovery"] = prepare("interrupted", {"--recover"}, "older");
    m_scenarios["threads"] = prepare("older", {"--overwrite", "all"}, "older", true);
    for (auto it = m_scenarios.cbegin(); it != m_scenarios.cend(); ++it)
        qInfo("%s: %lld numbered calls", qPrintable(it.key()), it->calls.size());
}

// An older installation: a file as delivered, two older versions, the
// user's own files (one read-only), a file where a packed copy will be put,
// and one kind not installed at all.
void tst_FaultSweep::makeOlderInstallation()
{
    const QString sty = m_world.bin + "/STY_2027SS/";
    const QString sti = m_world.bin + "/STI_2027SS/";
    const auto plain = FaultWorld::plainData();
    QVERIFY(TestFiles::write(sty + "Unit1/a.sty", plain.at("STY_2027SS/Unit1/a.sty")));
    QVERIFY(TestFiles::write(sty + "Unit1/b.sty", PackageBytes::styData(4000, 601)));
    QVERIFY(TestFiles::write(sty + "Unit1/mine.sty", "the user's own style"));
    QVERIFY(TestFiles::write(sty + "Unit2/c.sty_", "the user's file of a packed copy's name"));
    QVERIFY(TestFiles::write(sti + "Set2/e.sti", PackageBytes::stiData(800, 701)));
    QVERIFY(TestFiles::write(sti + "notes.txt", "the user's notes"));
    QVERIFY(TestFiles::write(sti + "read-only.txt", "the user's read-only notes"));
    QVERIFY(QFile::setPermissions(sti + "read-only.txt", QFileDevice::ReadOwner
                                                                 | QFileDevice::ReadGroup
                                                                 | QFileDevice::ReadOther));
}

tst_FaultSweep::Scenario tst_FaultSweep::prepare(const QString &start, const QStringList &arguments,
                                                 const QString &undone, bool threads)
{
    Scenario scenario{start, QStringList{"--silent"} + arguments, threads, {}, {}, {}, {}};
    m_world.restore(undone);
    scenario.undone = FaultWorld::snapshot(m_world.bin);
    m_world.restore(start);
    scenario.before = FaultWorld::snapshot(m_world.bin);
    const QString log
            = QDir::temp().filePath("quillon-fault-log-%1").arg(QCoreApplication::applicationPid());
    QFile::remove(log);
    const FaultWorld::Run run = m_world.run(Quillon, scenario.arguments,
                                            {{"LD_PRELOAD", Injector},
                                             {"QUILLON_FAULT_ROOT", m_world.root},
                                             {"QUILLON_FAULT_LOG", log}},
                                            threads);
    if (run.status != 0 && run.status != 1)
        qFatal("The run without faults (%s) ended with %d:\n%s", qPrintable(start), run.status,
               qPrintable(run.out));
    scenario.expected = FaultWorld::snapshot(m_world.bin);
    QFile file(log);
    file.open(QIODevice::ReadOnly);
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() >= 3)
            scenario.calls.append(
                    {{},
                     {},
                     fields[0].toInt(),
                     QString::fromUtf8(fields[1]),
                     QString::fromUtf8(line.mid(fields[0].size() + fields[1].size() + 2))});
    }
    file.remove();
    return scenario;
}

// Every way of the mode to fail each call that can fail that way.
QList<tst_FaultSweep::Point> tst_FaultSweep::pointsOf(const Scenario &scenario,
                                                      const QString &mode) const
{
    static const QStringList NoSpace{"create", "write", "mkdir", "rename",
                                     "link",   "fsync", "close"};
    static const QStringList NoAccess{"open",  "create", "opendir", "unlink", "rmdir",
                                      "mkdir", "rename", "link",    "chmod",  "stat"};
    QList<Point> points;
    for (const Point &call : scenario.calls) {
        auto add = [&](const QString &error) {
            points.append({mode, error, call.call, call.operation, call.path});
        };
        if (mode == "fail") {
            add("EIO");
            if (NoSpace.contains(call.operation))
                add("ENOSPC");
            if (NoAccess.contains(call.operation))
                add("EACCES");
        } else if (mode == "from") {
            add("EIO");
        } else if (mode != "short" || call.operation == "write") {
            add("-");
        }
    }
    return points;
}

void tst_FaultSweep::sweep_data()
{
    // update: over an older installation; fresh: into empty folders; repair:
    // of the older installation; recovery: of a run killed half way; threads:
    // the update unpacked on two threads, whose calls are numbered in the
    // order they come, which differs from run to run.
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("mode");
    for (const QString scenario : {"update", "fresh", "repair", "recovery", "threads"}) {
        for (const QString mode : {"fail", "short", "from", "kill", "term"}) {
            // A recovery has no stop requests to answer: it ends as when killed.
            const bool skipped = (scenario == "recovery" && mode == "term")
                                 || (scenario == "threads" && mode != "fail" && mode != "kill");
            if (!skipped)
                QTest::addRow("%s %s", qPrintable(scenario), qPrintable(mode)) << scenario << mode;
        }
    }
}

void tst_FaultSweep::sweep()
{
    QFETCH(QString, scenario);
    QFETCH(QString, mode);
    const Scenario &s = m_scenarios[scenario];
    const QString how = qEnvironmentVariable("QUILLON_FAULT_SWEEP");
    const QStringList only = how.split(':');
    QList<Point> points = pointsOf(s, mode);
    if (only.size() == 4) {
        if (only[0] != scenario || only[1] != mode)
            QSKIP("another point was asked for");
        points = {{only[1], only[2], only[3].toInt(), "?", "?"}};
    } else if (how != "all") {
        // The sample: an even spread over the run, some 14 points a mode.
        const qsizetype step = std::max<qsizetype>(1, points.size() / 14);
        QList<Point> sample;
        for (qsizetype i = step / 2; i < points.size(); i += step)
            sample.append(points[i]);
        points = sample;
    }
    std::array<int, PromiseCount> counts{};
    QStringList accounts;
    for (const Point &point : std::as_const(points)) {
        QString account;
        const QList<int> broken = check(s, point, &account);
        for (int promise : broken)
            ++counts[promise];
        if (!broken.isEmpty() && accounts.size() < 12)
            accounts.append(describe(scenario, point));
        // The first few in full, so that a failure can be read from the log.
        if (only.size() == 4 || (!broken.isEmpty() && accounts.size() <= 3))
            qInfo().noquote() << describe(scenario, point) + ":\n" + account;
    }
    qInfo("%s %s: %lld points, %d losses, %d dishonest exits, %d leftovers, %d not restored, "
          "%d not repaired",
          qPrintable(scenario), qPrintable(mode), points.size(), counts[Loss], counts[Dishonest],
          counts[Leftover], counts[NotRestored], counts[NotRepaired]);
    for (int promise = 0; promise < PromiseCount; ++promise)
        m_totals[promise] += counts[promise];
    m_totals[PromiseCount] += int(points.size());
    QVERIFY2(accounts.isEmpty(), qPrintable("promises broken at " + accounts.join(", ")));
}

void tst_FaultSweep::cleanupTestCase()
{
    qInfo("all: %d points, %d losses, %d dishonest exits, %d leftovers, %d not restored, "
          "%d not repaired",
          m_totals[PromiseCount], m_totals[Loss], m_totals[Dishonest], m_totals[Leftover],
          m_totals[NotRestored], m_totals[NotRepaired]);
}

// Runs one point and the steps after it; returns the promises broken, and
// says what happened in account.
QList<int> tst_FaultSweep::check(const Scenario &s, const Point &point, QString *account)
{
    QList<int> broken;
    m_world.restore(s.start);
    QMap<QString, QString> faults{{"LD_PRELOAD", Injector},
                                  {"QUILLON_FAULT_ROOT", m_world.root},
                                  {"QUILLON_FAULT_AT", QString::number(point.call)},
                                  {"QUILLON_FAULT_MODE", point.mode},
                                  {"QUILLON_FAULT_ERRNO", point.error}};
    const FaultWorld::Run run = m_world.run(Quillon, s.arguments, faults, s.threads);
    const FaultWorld::Tree after = FaultWorld::snapshot(m_world.bin);
    *account += QStringLiteral("run: %1\n%2").arg(run.status).arg(run.out);
    const bool unfinished = unfinishedJournalIn(m_world.journals);
    if (qEnvironmentVariable("QUILLON_FAULT_SWEEP").count(':') == 3) {
        for (const auto &[rel, entry] : after)
            *account += "  after the run: " + rel + (entry.type == 'd' ? "/" : "") + '\n';
    }

    // 1. Nothing lost, truncated or mixed. A packed copy's name holds the
    // package while the run lasts; only after the recovery must it be back.
    addMismatches(s, after, true, broken, account);
    // 2. Success only when the tree is what it should be and nothing is left.
    const bool success = run.status == 0 || run.status == 1;
    if (success && (contentHash(after) != contentHash(s.expected) || unfinished)) {
        broken.append(Dishonest);
        *account += "exit " + QString::number(run.status) + " but the tree is not as delivered"
                    + (unfinished ? " and a journal would undo it\n" : "\n");
    }
    // 3. The recovery undoes what was interrupted and keeps what was finished.
    const FaultWorld::Run recovery = m_world.run(Quillon, {"--silent", "--recover"});
    const FaultWorld::Tree recovered = FaultWorld::snapshot(m_world.bin);
    *account += QStringLiteral("recover: %1\n%2").arg(recovery.status).arg(recovery.out);
    if (!QDir(m_world.journals).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        broken.append(Leftover);
        *account += "the journal folder is not empty after the recovery\n";
    }
    // An unfinished run comes back exactly as it was; a finished one keeps
    // what it did, less what it left behind.
    const bool exact = unfinished || !success;
    const FaultWorld::Tree wanted = withoutLeftovers(unfinished ? s.undone
                                                     : success  ? s.expected
                                                                : after,
                                                     s.undone);
    const FaultWorld::Tree kept = withoutLeftovers(recovered, s.undone);
    if (exact ? kept != wanted : contentHash(kept) != contentHash(wanted)) {
        broken.append(NotRestored);
        *account += unfinished ? "the interrupted run was not undone exactly\n"
                               : "the recovery changed a finished run\n";
    }
    for (const auto &[rel, entry] : recovered) {
        if (isLeftoverName(rel) && !s.undone.count(rel)) {
            broken.append(Leftover);
            *account += "left behind: " + rel + '\n';
            break;
        }
    }
    addMismatches(s, recovered, false, broken, account);
    // 4. A repair then makes it whole.
    if (!repairs(account))
        broken.append(NotRepaired);
    std::sort(broken.begin(), broken.end());
    broken.erase(std::unique(broken.begin(), broken.end()), broken.end());
    return broken;
}

// Repairs the Vestra folder as it is and checks it; states already repaired
// once are not repaired again.
bool tst_FaultSweep::repairs(QString *account)
{
    const QByteArray state = contentHash(FaultWorld::snapshot(m_world.bin));
    if (m_repaired.contains(state))
        return true;
    const FaultWorld::Run repair = m_world.run(Quillon, {"--silent", "--repair"});
    const FaultWorld::Run verify = m_world.run(Quillon, {"--verify"});
    bool whole = (repair.status == 0 || repair.status == 1) && verify.status == 0;
    for (const auto &[rel, entry] : FaultWorld::snapshot(m_world.bin))
        whole = whole && !isLeftoverName(rel);
    if (!whole) {
        *account += QStringLiteral("repair: %1\n%2verify: %3\n%4")
                            .arg(repair.status)
                            .arg(repair.out)
                            .arg(verify.status)
                            .arg(verify.out);
        return false;
    }
    m_repaired.insert(state);
    return true;
}

void tst_FaultSweep::addMismatches(const Scenario &s, const FaultWorld::Tree &now, bool running,
                                   QList<int> &broken, QString *account)
{
    auto bytesAt
            = [](const FaultWorld::Tree &tree, const QString &rel) -> std::optional<QByteArray> {
        const auto it = tree.find(rel);
        if (it == tree.end() || it->second.type != 'f')
            return std::nullopt;
        return it->second.bytes;
    };
    std::set<QString> names;
    for (const auto &[rel, entry] : s.undone)
        names.insert(rel);
    for (const auto &[rel, entry] : s.expected)
        names.insert(rel);
    for (const QString &rel : names) {
        if (running && isLeftoverName(rel))
            continue;
        const auto is = bytesAt(now, rel);
        if (is == bytesAt(s.before, rel) || is == bytesAt(s.undone, rel)
            || is == bytesAt(s.expected, rel))
            continue;
        broken.append(Loss);
        *account += (is ? "mixed or truncated: " : "lost: ") + rel + '\n';
        return;
    }
}

// A journal whose last record is not "done" names a run that the next start undoes.
bool tst_FaultSweep::unfinishedJournalIn(const QString &folder)
{
    for (const QString &name : QDir(folder).entryList({"*.journal"}, QDir::Files)) {
        QFile file(QDir(folder).filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            return true;
        // A journal that names no step has nothing to undo.
        const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
        const bool steps = std::any_of(lines.cbegin() + 1, lines.cend(),
                                       [](const QByteArray &l) { return !l.startsWith("root "); });
        if (steps && lines.last() != "done")
            return true;
    }
    return false;
}

// The names and bytes of a tree, without modes and times.
QByteArray tst_FaultSweep::contentHash(const FaultWorld::Tree &tree)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const auto &[rel, entry] : tree) {
        hash.addData(rel.toUtf8());
        hash.addData(QByteArray(1, entry.type));
        hash.addData(QCryptographicHash::hash(entry.bytes, QCryptographicHash::Sha256));
    }
    return hash.result();
}

QTEST_GUILESS_MAIN(tst_FaultSweep)
#include "tst_faultsweep.moc"
