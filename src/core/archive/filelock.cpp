#include "filelock.h"

#include <QDeadlineTimer>
#include <QThread>

#include <cerrno>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#endif

namespace {

#ifdef Q_OS_WIN
OVERLAPPED at(long long offset)
{
    OVERLAPPED where = {};
    where.Offset = DWORD(offset & 0xFFFFFFFF);
    where.OffsetHigh = DWORD(offset >> 32);
    return where;
}
int tryLock(int fd, long long offset, bool shared)
{
    OVERLAPPED where = at(offset);
    const DWORD kind = shared ? 0 : LOCKFILE_EXCLUSIVE_LOCK;
    if (LockFileEx(HANDLE(_get_osfhandle(fd)), kind | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where))
        return 0;
    switch (GetLastError()) {
    case ERROR_LOCK_VIOLATION:
    case ERROR_IO_PENDING:
        return EAGAIN;
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
        return EOPNOTSUPP;
    default:
        return EINVAL;
    }
}
void unlock(int fd, long long offset)
{
    OVERLAPPED where = at(offset);
    UnlockFileEx(HANDLE(_get_osfhandle(fd)), 0, 1, 0, &where);
}
#else
struct flock lockRange(short type, long long offset)
{
    struct flock range = {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = off_t(offset);
    range.l_len = 1;
    return range;
}
#if defined(F_OFD_SETLK)
constexpr int kSetLock = F_OFD_SETLK;
#else
constexpr int kSetLock = F_SETLK; // platforms without OFD locks
#endif
int tryLock(int fd, long long offset, bool shared)
{
    struct flock range = lockRange(shared ? F_RDLCK : F_WRLCK, offset);
    return ::fcntl(fd, kSetLock, &range) == 0 ? 0 : errno;
}
void unlock(int fd, long long offset)
{
    struct flock range = lockRange(F_UNLCK, offset);
    ::fcntl(fd, kSetLock, &range);
}
#endif

// A test's stand-in for tryLock, or nullptr.
FileLock::LockCall lockCall = nullptr;

int attempt(int fd, long long offset, bool shared)
{
    return lockCall ? lockCall(fd, offset) : tryLock(fd, offset, shared);
}

// Someone holds the lock, or the call was interrupted: worth another try.
// Any other answer (ENOLCK, EOPNOTSUPP, EINVAL, ...) means the file system
// will never grant it.
bool isTransient(int error)
{
    return error == EAGAIN || error == EACCES || error == EWOULDBLOCK || error == EINTR;
}

enum class Outcome { Locked, Unsupported, TimedOut };

// Polled rather than blocking so that a stuck peer turns into an archive
// error after a few seconds instead of a hung window.
Outcome acquire(int fd, long long offset, bool shared, const QDeadlineTimer &deadline)
{
    int pause = 1;
    for (;;) {
        const int error = attempt(fd, offset, shared);
        if (error == 0)
            return Outcome::Locked;
        if (!isTransient(error))
            return Outcome::Unsupported;
        if (deadline.hasExpired())
            return Outcome::TimedOut;
        QThread::msleep(pause);
        pause = qMin(pause * 2, 10);
    }
}

} // namespace

void FileLock::setLockCall(LockCall call)
{
    lockCall = call;
}

FileLock::FileLock(int fd, int timeoutMs, Mode mode) : m_fd(fd)
{
    if (fd < 0)
        return;
    QDeadlineTimer deadline(timeoutMs);
    if (mode == Mode::Shared) {
        // Readers share the lock and do not line up: a waiting writer, at
        // the gate, waits only for the reads already under way (each a
        // moment), and on a network file system every step is a round trip.
        const Outcome lock = acquire(fd, LockOffset, true, deadline);
        m_locked = lock == Outcome::Locked;
        m_unsupported = lock == Outcome::Unsupported;
        return;
    }
    // Waiters line up at the gate byte, and whoever holds it takes the lock
    // next: a peer that saves again right after saving frees the lock only
    // for an instant, and would otherwise keep it from a polling waiter.
    Outcome gate = acquire(fd, GateOffset, false, deadline);
    if (gate == Outcome::Locked) {
        const Outcome lock = acquire(fd, LockOffset, mode == Mode::Shared, deadline);
        unlock(fd, GateOffset);
        m_locked = lock == Outcome::Locked;
        m_unsupported = lock == Outcome::Unsupported;
    } else {
        m_unsupported = gate == Outcome::Unsupported;
    }
}

FileLock::~FileLock()
{
    if (m_locked)
        unlock(m_fd, LockOffset);
}
