#pragma once

#include "app/passwordcipher.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

// A store file as the program ships it, CRLF lines.
inline QByteArray storeWith(const QString &password)
{
    return "[Accesso]\r\nValore=" + EncodePassword(PasswordStore::normalise(password)).toLatin1() + "\r\n";
}

// Makes a file impossible to replace for as long as it lives, also for root
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
            QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        QFile probe(m_path);
        m_ok = !probe.open(QIODevice::ReadWrite);
    }
    ~LockedFile()
    {
#ifdef Q_OS_LINUX
        if (m_immutable)
            setImmutable(false);
#endif
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    LockedFile(const LockedFile &) = delete;
    LockedFile &operator=(const LockedFile &) = delete;
    bool ok() const { return m_ok; }

private:
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

#include <QTest>

// Types text as the operator would, letters beyond ASCII included.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar ch : text) {
        if (ch.unicode() < 128)
            QTest::keyClick(widget, char(ch.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}
