#pragma once

#include "package/InstalledFileComparer.h"
#include "selection/DataKind.h"

#include <QElapsedTimer>

#include <memory>

class CheckQueue;
class InstallContext;

// Checks the installed data files against their packages for the lists an
// install run has built: each file must exist and hold exactly the data its
// package unpacks to. Writes nothing.
class InstalledDataCheck
{
public:
    // The elapsed time of the summary counts from here.
    explicit InstalledDataCheck(InstallContext &context);
    ~InstalledDataCheck();

    // Compares file i of the kind's lists with its package and counts the
    // result. Shows nothing. Files of a kind are asked for in list order,
    // from 0: with worker threads they are compared ahead.
    Comparison checkFile(DataKind kind, qsizetype i);
    // A line naming file i of the kind and why it is not as delivered.
    void showLine(DataKind kind, qsizetype i, Comparison comparison);
    // The files that runs cut short left beside the kind's installed files
    // (see FindLeftovers), each counted and shown in a line.
    QStringList checkLeftovers(DataKind kind);
    // Checks every file of the kinds the run installs, showing a line for
    // each that is not identical and recording it in its kind's outcomes;
    // then the leftovers beside them, recorded as different.
    void checkAll();
    // Files checked, missing, different, not checked, and the time taken;
    // the leftovers found, if any.
    void showSummary();

    enum class Verdict {
        Identical,          // every file is there and identical
        MissingOrDifferent, // some file is missing, different or unreadable
        Incomplete,         // a package or source folder could not be read
    };
    Verdict verdict() const;
    int missing() const { return m_missing; }
    int different() const { return m_different; }
    int leftovers() const { return m_leftovers; }

private:
    void checkKind(DataKind kind, qsizetype total);
    bool takesPart(DataKind kind) const;
    bool linkOnTheWay(DataKind kind, const QString &installed);
    Comparison compareAhead(DataKind kind, qsizetype i, int workers);

    InstallContext &m_context;
    InstalledFileComparer m_comparer;
    FileFailure m_failure; // of the file last checked
    std::unique_ptr<CheckQueue> m_ahead;
    DataKind m_aheadKind = DataKind::STY;
    QElapsedTimer m_timer;
    // The folder last looked at for links, its kind's destination, and what was found.
    QString m_lastFolder, m_lastDestination;
    bool m_lastFolderLinked = false;
    qsizetype m_done = 0;
    int m_checked = 0;
    int m_missing = 0;
    int m_different = 0;
    int m_failed = 0;
    int m_leftovers = 0;
};
