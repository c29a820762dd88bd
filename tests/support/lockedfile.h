#pragma once

#include <QFile>
#include <QFileInfo>
#include <QString>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

// Makes a file (or a folder) impossible to change for as long as it lives, also for root
// (who ignores permission bits): immutable where the file system allows it,
// read-only otherwise. ok() is false when neither holds.
class LockedFile
{
public:
    explicit LockedFile(const QString &path) : m_path(path)
    {
#ifdef Q_OS_LINUX
        m_immutable = setImmutable(true);
#endif
        if (!m_immutable)
            QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther | exec());
        m_ok = !writable();
    }
    ~LockedFile()
    {
#ifdef Q_OS_LINUX
        if (m_immutable)
            setImmutable(false);
#endif
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther | exec());
    }
    LockedFile(const LockedFile &) = delete;
    LockedFile &operator=(const LockedFile &) = delete;
    bool ok() const { return m_ok; }
    bool writable() const
    {
        if (QFileInfo(m_path).isDir()) {
            QFile probe(m_path + QStringLiteral("/.probe"));
            const bool ok = probe.open(QIODevice::WriteOnly);
            probe.remove();
            return ok;
        }
        QFile probe(m_path);
        return probe.open(QIODevice::ReadWrite);
    }

private:
    QFile::Permissions exec() const
    {
        return QFileInfo(m_path).isDir() ? QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther : QFile::Permissions();
    }
#ifdef Q_OS_LINUX
    bool setImmutable(bool on)
    {
        const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return done;
    }
#endif
    QString m_path;
    bool m_immutable = false;
    bool m_ok = false;
};

