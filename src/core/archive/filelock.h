#pragma once

// A lock between processes and workstations on one byte far beyond any data,
// so that it never blocks plain reads (Windows locks are mandatory). Writers
// take it exclusive; readers of whole records take it shared, so that they
// never see a record while it is being written. Writers take it in turn
// (see GateOffset); readers only wait for a writer that holds it.
// On Linux it is an open-file-description lock, which survives other
// descriptors of the same file being closed in this process.
//
// Only a lock held by someone else is waited for. A file system that has no
// byte-range locks (some network shares) answers every attempt with an
// error; then writing goes ahead unlocked, as on a single workstation,
// instead of every save failing after the timeout.
class FileLock
{
public:
    static constexpr long long LockOffset = 1LL << 40;
    // Held briefly while waiting for the lock, so that waiters get it in turn.
    static constexpr long long GateOffset = LockOffset + 1;

    enum class Mode { Exclusive, Shared };

    // fd must stay open while the lock is held. Waits at most timeoutMs.
    FileLock(int fd, int timeoutMs = 5000, Mode mode = Mode::Exclusive);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    // True while this object holds the lock.
    bool isLocked() const { return m_locked; }
    // True when the file system refused byte-range locks altogether.
    bool isUnsupported() const { return m_unsupported; }
    // The caller may go ahead (write, or read under a shared lock): locked,
    // or locks are not available at all. False only when another holder
    // kept the lock for the whole timeout (or fd is not open).
    bool mayWrite() const { return m_locked || m_unsupported; }

    // One attempt to lock the byte at offset without waiting (shared or
    // exclusive, as the caller asked): 0 when taken,
    // otherwise an errno value (EAGAIN or EACCES: held by someone else).
    // Tests replace it to act out file systems the machine does not have;
    // nullptr restores the real call. Not thread-safe: set it before any
    // lock is taken.
    using LockCall = int (*)(int fd, long long offset);
    static void setLockCall(LockCall call);

private:
    int m_fd;
    bool m_locked = false;
    bool m_unsupported = false;
};
