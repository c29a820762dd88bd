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
int tryLock(int fd)
{
    OVERLAPPED where = {};
    where.Offset = DWORD(FileLock::LockOffset & 0xFFFFFFFF);
    where.OffsetHigh = DWORD(FileLock::LockOffset >> 32);
    if (LockFileEx(HANDLE(_get_osfhandle(fd)), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY,
                   0, 1, 0, &where))
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
void unlock(int fd)
{
    OVERLAPPED where = {};
    where.Offset = DWORD(FileLock::LockOffset & 0xFFFFFFFF);
    where.OffsetHigh = DWORD(FileLock::LockOffset >> 32);
    UnlockFileEx(HANDLE(_get_osfhandle(fd)), 0, 1, 0, &where);
}
#else
struct flock lockRange(short type)
{
    struct flock range = {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = off_t(FileLock::LockOffset);
    range.l_len = 1;
    return range;
}
#if defined(F_OFD_SETLK)
constexpr int kSetLock = F_OFD_SETLK;
#else
constexpr int kSetLock = F_SETLK; // platforms without OFD locks
#endif
int tryLock(int fd)
{
    struct flock range = lockRange(F_WRLCK);
    return ::fcntl(fd, kSetLock, &range) == 0 ? 0 : errno;
}
void unlock(int fd)
{
    struct flock range = lockRange(F_UNLCK);
    ::fcntl(fd, kSetLock, &range);
}
#endif

FileLock::LockCall lockCall = &tryLock;

// Someone holds the lock, or the call was interrupted: worth another try.
// Any other answer (ENOLCK, EOPNOTSUPP, EINVAL, ...) means the file system
// will never grant it.
bool isTransient(int error)
{
    return error == EAGAIN || error == EACCES || error == EWOULDBLOCK || error == EINTR;
}

} // namespace

void FileLock::setLockCall(LockCall call)
{
    lockCall = call ? call : &tryLock;
}

FileLock::FileLock(int fd, int timeoutMs) : m_fd(fd)
{
    if (fd < 0)
        return;
    // Polled rather than blocking so that a stuck peer turns into an archive
    // error after a few seconds instead of a hung window.
    QDeadlineTimer deadline(timeoutMs);
    int pause = 1;
    for (;;) {
        const int error = lockCall(fd);
        if (error == 0) {
            m_locked = true;
            return;
        }
        if (!isTransient(error)) {
            m_unsupported = true;
            return;
        }
        if (deadline.hasExpired())
            return;
        QThread::msleep(pause);
        pause = qMin(pause * 2, 50);
    }
}

FileLock::~FileLock()
{
    if (m_locked)
        unlock(m_fd);
}
