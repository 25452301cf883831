#include "CheckQueue.h"

#include "package/EntryType.h"

#include <QFileInfo>

#include <utility>

CheckQueue::CheckQueue(const QStringList &packages, const QStringList &installed,
                       const QString &destination, int workers)
    : m_packages(packages),
      m_installed(installed),
      m_destination(destination),
      m_window(64 * qsizetype(workers)),
      m_results(installed.size())
{
    for (int i = 0; i < workers; ++i)
        m_threads.emplace_back([this] { work(); });
}

CheckQueue::~CheckQueue()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopped = true;
    }
    m_changed.notify_all();
    for (std::thread &thread : m_threads)
        thread.join();
}

void CheckQueue::work()
{
    InstalledFileComparer comparer;
    comparer.setInterrupt([this] {
        const std::lock_guard lock(m_mutex);
        return m_stopped;
    });
    std::unique_lock lock(m_mutex);
    for (;;) {
        const auto listed = [this] { return m_next < qsizetype(m_results.size()); };
        m_changed.wait(lock, [&] {
            return m_stopped || !listed() || m_next < m_taken + m_window;
        });
        if (m_stopped || !listed())
            return;
        const qsizetype index = m_next++;
        lock.unlock();
        Result result = compare(comparer, index);
        lock.lock();
        m_results[index] = std::move(result);
        m_changed.notify_all();
    }
}

CheckQueue::Result CheckQueue::compare(InstalledFileComparer &comparer, qsizetype index)
{
    const QString &installed = m_installed.at(index);
    if (!LinkOnTheWay(m_destination, QFileInfo(installed).path()).isEmpty())
        return {Comparison::LinkInTheWay, {}};
    const Comparison comparison = comparer.compare(m_packages.at(index), installed);
    return {comparison, comparer.failure()};
}

std::optional<CheckQueue::Result> CheckQueue::take(qsizetype index, int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    if (!m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                            [&] { return m_results[index].has_value(); }))
        return std::nullopt;
    m_taken = index + 1;
    std::optional<Result> result = std::exchange(m_results[index], std::nullopt);
    lock.unlock();
    m_changed.notify_all(); // the window moved on
    return result;
}
