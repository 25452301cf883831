#pragma once

#include "package/FileFailure.h"
#include "package/InstalledFileComparer.h"

#include <QStringList>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Compares a kind's installed files with their packages on worker threads,
// at most a window of files ahead of the one taken, while the run's thread
// takes the results in list order, so that the check's lines and counts are
// those of one thread. As the install does, nothing is read through a link
// or a special file below the destination on the way to a file.
//
// Threads and locks from the standard library, as in UnpackQueue.
class CheckQueue
{
public:
    struct Result
    {
        Comparison comparison = Comparison::Identical;
        FileFailure failure;
    };

    CheckQueue(const QStringList &packages, const QStringList &installed,
               const QString &destination, int workers);
    // Gives up the comparisons under way at their next chunk.
    ~CheckQueue();

    // File index (taken in order, from 0), once compared; nothing when it is
    // not ready within timeoutMs.
    std::optional<Result> take(qsizetype index, int timeoutMs);

private:
    void work();
    Result compare(InstalledFileComparer &comparer, qsizetype index);

    const QStringList m_packages, m_installed;
    const QString m_destination;
    const qsizetype m_window;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::optional<Result>> m_results;
    qsizetype m_next = 0;
    qsizetype m_taken = 0;
    bool m_stopped = false;
    std::vector<std::thread> m_threads;
};
