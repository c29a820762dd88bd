#include "filelock.h"

#include <QDeadlineTimer>
#include <QThread>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#endif

namespace {

#ifdef Q_OS_WIN
bool tryLock(int fd)
{
    OVERLAPPED where = {};
    where.Offset = DWORD(FileLock::LockOffset & 0xFFFFFFFF);
    where.OffsetHigh = DWORD(FileLock::LockOffset >> 32);
    return LockFileEx(HANDLE(_get_osfhandle(fd)), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY,
                      0, 1, 0, &where);
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
bool tryLock(int fd)
{
    struct flock range = lockRange(F_WRLCK);
    return ::fcntl(fd, kSetLock, &range) == 0;
}
void unlock(int fd)
{
    struct flock range = lockRange(F_UNLCK);
    ::fcntl(fd, kSetLock, &range);
}
#endif

} // namespace

FileLock::FileLock(int fd, int timeoutMs) : m_fd(fd)
{
    if (fd < 0)
        return;
    // Polled rather than blocking so that a stuck peer turns into an archive
    // error after a few seconds instead of a hung window.
    QDeadlineTimer deadline(timeoutMs);
    int pause = 1;
    while (!(m_locked = tryLock(fd)) && !deadline.hasExpired()) {
        QThread::msleep(pause);
        pause = qMin(pause * 2, 50);
    }
}

FileLock::~FileLock()
{
    if (m_locked)
        unlock(m_fd);
}
