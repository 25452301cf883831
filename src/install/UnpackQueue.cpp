#include "UnpackQueue.h"

#include "package/EntryType.h"
#include "package/PackageExtractor.h"
#include "package/PackageKind.h"

#include <QFileInfo>

#include <utility>

UnpackQueue::UnpackQueue(const QStringList &packed, const QString &destination,
                         WriteJournal *journal, int workers)
    : m_packed(packed),
      m_destination(destination),
      m_journal(journal),
      m_workers(workers),
      m_window(512 * qsizetype(workers)),
      m_results(packed.size())
{}

UnpackQueue::UnpackQueue(const QString &destination, WriteJournal *journal, int workers)
    : UnpackQueue(QStringList(), destination, journal, workers)
{
    m_closed = false;
}

void UnpackQueue::append(const QString &packed)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_stopped || m_closed)
            return;
        m_packed.append(packed);
        m_results.emplace_back();
    }
    start();
    m_changed.notify_all();
}

void UnpackQueue::close()
{
    {
        const std::lock_guard lock(m_mutex);
        m_closed = true;
    }
    m_changed.notify_all();
}

void UnpackQueue::start()
{
    if (!m_threads.empty() || m_stopped)
        return;
    for (int i = 0; i < m_workers; ++i)
        m_threads.emplace_back([this] { work(); });
}

UnpackQueue::~UnpackQueue()
{
    stop();
}

void UnpackQueue::stop()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopped = true;
    }
    m_changed.notify_all();
    for (std::thread &thread : m_threads)
        thread.join();
    m_threads.clear();
    // Each unfinished temporary file goes with its extractor.
    m_results.clear();
}

bool UnpackQueue::mayStart(qsizetype index) const
{
    return index < m_taken + m_window && !(m_paused && index > m_pausedAfter);
}

void UnpackQueue::work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        const auto listed = [this] { return m_next < qsizetype(m_results.size()); };
        m_changed.wait(lock, [&] {
            return m_stopped || (listed() ? mayStart(m_next) : m_closed);
        });
        if (m_stopped || !listed())
            return;
        const qsizetype index = m_next++;
        const QString packed = m_packed.at(index); // the list may grow once unlocked
        lock.unlock();
        Entry entry = unpack(index, packed);
        lock.lock();
        if (m_stopped)
            return; // the entry and its temporary file go with it
        m_results[index] = std::move(entry);
        m_changed.notify_all();
    }
}

UnpackQueue::Entry UnpackQueue::unpack(qsizetype index, const QString &packed)
{
    Entry entry;
    // A folder on the way that became a link since the copy: nothing is read
    // or written through it, the packed copy included.
    if (!LinkOnTheWay(m_destination, QFileInfo(packed).path()).isEmpty()) {
        entry.linkInTheWay = true;
        return entry;
    }
    entry.extractor = std::make_unique<PackageExtractor>();
    entry.extractor->setJournal(m_journal);
    entry.extractor->setInterrupt([this, index] { return interrupted(index); });
    entry.extractor->unpack(packed, InstalledName(packed));
    return entry;
}

// Between two chunks of entry index: waits while that entry is paused, and
// says whether it is to be given up.
bool UnpackQueue::interrupted(qsizetype index)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_stopped || !(m_paused && index > m_pausedAfter); });
    return m_stopped;
}

std::optional<UnpackQueue::Entry> UnpackQueue::take(qsizetype index, int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    if (!m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                            [&] { return m_results[index].has_value(); }))
        return std::nullopt;
    m_taken = index + 1;
    std::optional<Entry> entry = std::exchange(m_results[index], std::nullopt);
    lock.unlock();
    m_changed.notify_all(); // the window moved on
    return entry;
}

void UnpackQueue::pauseAfter(qsizetype after)
{
    const std::lock_guard lock(m_mutex);
    m_paused = true;
    m_pausedAfter = after;
}

void UnpackQueue::resume()
{
    {
        const std::lock_guard lock(m_mutex);
        if (!m_paused)
            return;
        m_paused = false;
    }
    m_changed.notify_all();
}
