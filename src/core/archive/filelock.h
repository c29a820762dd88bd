#pragma once

// An exclusive lock between processes and workstations on one byte far beyond
// any data, so that it never blocks readers (Windows locks are mandatory).
// On Linux it is an open-file-description lock, which survives other
// descriptors of the same file being closed in this process.
class FileLock
{
public:
    static constexpr long long LockOffset = 1LL << 40;

    // fd must stay open while the lock is held. Waits at most timeoutMs.
    FileLock(int fd, int timeoutMs = 5000);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    bool isLocked() const { return m_locked; }

private:
    int m_fd;
    bool m_locked = false;
};
