#pragma once

#include "package/WriteJournal.h"

#include <mutex>

// A journal that writers on several threads may share: each call goes to the
// journal given, one at a time.
class LockedJournal : public WriteJournal
{
public:
    explicit LockedJournal(WriteJournal *journal) : m_journal(journal) {}

    bool willCreate(const QString &path) override
    {
        const std::lock_guard lock(m_mutex);
        return m_journal->willCreate(path);
    }
    bool willInstall(const QString &path) override
    {
        const std::lock_guard lock(m_mutex);
        return m_journal->willInstall(path);
    }
    bool willKeepAside(const QString &path, const QString &backup) override
    {
        const std::lock_guard lock(m_mutex);
        return m_journal->willKeepAside(path, backup);
    }
    bool didNotCreate(const QString &path) override
    {
        const std::lock_guard lock(m_mutex);
        return m_journal->didNotCreate(path);
    }
    FileFailure failure() const override
    {
        const std::lock_guard lock(m_mutex);
        return m_journal->failure();
    }

private:
    WriteJournal *m_journal;
    mutable std::mutex m_mutex;
};
