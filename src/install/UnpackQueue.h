#pragma once

#include <QStringList>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <optional>
#include <vector>

class PackageExtractor;
class WriteJournal;

// Unpacks a list of packed copies on worker threads, each file whole, into
// its temporary name beside the installed file (PackageExtractor::unpack),
// while the run's thread takes the results in list order and puts them in
// place. The list may also grow while the workers run (append(), then
// close()), so that they unpack each copy as soon as the copy step has made
// it. The workers stay at most 512 files each ahead of the one taken: far
// enough that they keep up with the copy step, and bounded whatever the
// list. A file waiting to be taken holds no memory to speak of and no open
// handle; its data waits under its temporary name.
//
// QtConcurrent is not in every Qt the program is built with, so the few
// threads are kept here, with the standard library's threads and locks,
// which thread checkers see through (Qt's are futexes they cannot follow).
class UnpackQueue
{
public:
    struct Entry
    {
        std::unique_ptr<PackageExtractor> extractor;
        bool linkInTheWay = false; // a folder on the way is a link: nothing was read
    };

    // destination: the kind's destination folder, below which no folder on
    // the way to a file may be a link.
    UnpackQueue(const QStringList &packed, const QString &destination, WriteJournal *journal,
                int workers);
    // A queue whose entries come by append() until close().
    UnpackQueue(const QString &destination, WriteJournal *journal, int workers);
    // Adds the next entry; starts the workers with the first.
    void append(const QString &packed);
    // No entries come after the last appended.
    void close();
    // Starts the workers; once only, later calls do nothing.
    void start();
    // Stops the workers at their next chunk and discards what was not taken.
    ~UnpackQueue();

    // Entry index (taken in order, from 0), once unpacked; nothing when it is
    // not ready within timeoutMs.
    std::optional<Entry> take(qsizetype index, int timeoutMs);

    // While paused, the workers stop at their next chunk of any entry after
    // `after` and start no new one; entry `after` itself goes on.
    void pauseAfter(qsizetype after);
    void resume();
    // Stops the workers at their next chunk and discards every result not
    // taken, temporary files included. The queue is done with then.
    void stop();

private:
    void work();
    Entry unpack(qsizetype index, const QString &packed);
    bool interrupted(qsizetype index);
    bool mayStart(qsizetype index) const;

    QStringList m_packed;
    const QString m_destination;
    WriteJournal *m_journal;
    const int m_workers;
    const qsizetype m_window;

    std::mutex m_mutex;
    std::condition_variable m_changed; // work may go on, or a result is ready
    std::vector<std::optional<Entry>> m_results; // each entry from unpacked until taken
    qsizetype m_next = 0;  // the next entry a worker starts
    qsizetype m_taken = 0; // entries taken so far
    qsizetype m_pausedAfter = -1;
    bool m_paused = false;
    bool m_stopped = false;
    bool m_closed = true; // no more entries come
    std::vector<std::thread> m_threads;
};
