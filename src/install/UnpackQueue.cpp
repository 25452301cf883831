#include "UnpackQueue.h"

#include "package/EntryType.h"
#include "package/PackageExtractor.h"
#include "package/PackageKind.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

UnpackQueue::UnpackQueue(const QStringList &packed, const QString &destination,
                         WriteJournal *journal, int workers)
    : m_packed(packed),
      m_destination(destination),
      m_journal(journal),
      m_workers(workers),
      m_window(64 * qsizetype(workers)),
      m_results(packed.size()),
      m_ready(packed.size(), false)
{}

void UnpackQueue::start()
{
    if (!m_threads.empty() || m_stopped)
        return;
    for (int i = 0; i < m_workers; ++i) {
        m_threads.emplace_back(QThread::create([this] { work(); }));
        m_threads.back()->start();
    }
}

UnpackQueue::~UnpackQueue()
{
    stop();
}

void UnpackQueue::stop()
{
    {
        const QMutexLocker lock(&m_mutex);
        m_stopped = true;
        m_changed.wakeAll();
    }
    for (const std::unique_ptr<QThread> &thread : m_threads)
        thread->wait();
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
    QMutexLocker lock(&m_mutex);
    for (;;) {
        while (!m_stopped && m_next < qsizetype(m_results.size()) && !mayStart(m_next))
            m_changed.wait(&m_mutex);
        if (m_stopped || m_next >= qsizetype(m_results.size()))
            return;
        const qsizetype index = m_next++;
        lock.unlock();
        Entry entry = unpack(index);
        lock.relock();
        if (m_stopped)
            return; // the entry and its temporary file go with it
        m_results[index] = std::move(entry);
        m_ready[index] = true;
        m_changed.wakeAll();
    }
}

UnpackQueue::Entry UnpackQueue::unpack(qsizetype index)
{
    const QString &packed = m_packed.at(index);
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
    const QMutexLocker lock(&m_mutex);
    while (!m_stopped && m_paused && index > m_pausedAfter)
        m_changed.wait(&m_mutex);
    return m_stopped;
}

std::optional<UnpackQueue::Entry> UnpackQueue::take(qsizetype index, int timeoutMs)
{
    const QMutexLocker lock(&m_mutex);
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_ready[index]) {
        if (!m_changed.wait(&m_mutex, deadline))
            return std::nullopt;
    }
    m_ready[index] = false;
    m_taken = index + 1;
    m_changed.wakeAll(); // the window moved on
    return std::move(m_results[index]);
}

void UnpackQueue::pauseAfter(qsizetype after)
{
    const QMutexLocker lock(&m_mutex);
    m_paused = true;
    m_pausedAfter = after;
}

void UnpackQueue::resume()
{
    const QMutexLocker lock(&m_mutex);
    if (!m_paused)
        return;
    m_paused = false;
    m_changed.wakeAll();
}
