#include "atomicfile.h"

#include "datafolder.h"
#include "filelock.h"
#include "studentfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QSaveFile>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

const QLatin1String kTempSuffix(".lumetra-tmp");

QString randomTag()
{
    static const char symbols[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString tag;
    for (int i = 0; i < 6; ++i)
        tag.append(QLatin1Char(symbols[QRandomGenerator::global()->bounded(int(sizeof symbols - 1))]));
    return tag;
}

#ifdef Q_OS_UNIX
bool writeAll(int fd, const QByteArray &data)
{
    const char *at = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t done = ::write(fd, at, size_t(left));
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        at += done;
        left -= done;
    }
    return true;
}

bool replace(const QString &target, const QByteArray &data)
{
    const QByteArray targetName = QFile::encodeName(target);
    int fd = -1;
    QByteArray tempName;
    for (int attempt = 0; attempt < 50 && fd < 0; ++attempt) {
        tempName = QFile::encodeName(target + QLatin1Char('.') + randomTag() + kTempSuffix);
        // O_EXCL: a file or link planted under the temporary name is never used.
        fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    bool ok;
    {
        // Held while the file is being written: removeInterruptedWrites on
        // another workstation leaves a locked temporary file alone.
        FileLock inUse(fd, 0);
        ok = writeAll(fd, data);
        struct stat old;
        if (ok && ::stat(targetName.constData(), &old) == 0 && S_ISREG(old.st_mode))
            (void)::fchmod(fd, old.st_mode & 07777); // the replaced file's permissions
        // The data must be on disk before the rename makes it the file.
        ok = ok && ::fdatasync(fd) == 0;
        ok = ok && ::rename(tempName.constData(), targetName.constData()) == 0;
        if (!ok)
            ::unlink(tempName.constData());
    }
    ::close(fd);
    return ok;
}
#else
bool replace(const QString &target, const QByteArray &data)
{
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(data) != data.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
#endif

bool removeIfAbandoned(const QString &path)
{
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool removed = false;
    {
        FileLock writer(fd, 0);
        if (writer.isLocked())
            removed = ::unlink(name.constData()) == 0;
    }
    ::close(fd);
    return removed;
#else
    // A file still being written is open without delete sharing: not removed.
    return QFile::remove(path);
#endif
}

} // namespace

namespace {

// Renames from over to, replacing to in one step.
bool replaceFile(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(to).utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

bool copyInto(QFile &in, QFile &out)
{
    // In pieces: an attachment may be far larger than is sensible to hold.
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(buffer.data(), buffer.size());
        if (got < 0 || (got > 0 && out.write(buffer.constData(), got) != got))
            return false;
        if (got == 0)
            break;
    }
    if (!out.flush())
        return false;
#ifdef Q_OS_UNIX
    if (::fdatasync(out.handle()) != 0)
        return false;
#endif
    return true;
}

} // namespace

bool writeFileAtomically(const QString &path, const QByteArray &data)
{
    const QString target = DataFolder::resolve(path);
    if (target.isEmpty())
        return false;
    return replace(target, data);
}

int removeInterruptedWrites(const QString &folder)
{
    static const QRegularExpression leftover(QStringLiteral("^.+\\.[A-Za-z0-9]{6}\\.lumetra-tmp$"));
    const QString root = QFileInfo(folder).canonicalFilePath();
    if (root.isEmpty())
        return 0;
    int removed = 0;
    for (const QString &dir : {folder, StudentFiles::photoFolder(folder), StudentFiles::testsFolder(folder),
                               StudentFiles::attachmentsFolder(folder)}) {
        // A subfolder that is a link out of the data folder is not ours to clean.
        const QString canonical = QFileInfo(dir).canonicalFilePath();
        if (canonical.isEmpty() || (canonical != root && !canonical.startsWith(root + QLatin1Char('/'))))
            continue;
        // Runs at every start over folders of thousands of photos: the
        // entries are walked once, unsorted, and only names ending as a
        // temporary file's are looked at more closely.
        QDirIterator entries(canonical, {QStringLiteral("*.lumetra-tmp")},
                             QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
        while (entries.hasNext()) {
            const QString path = entries.next();
            if (leftover.match(entries.fileName()).hasMatch() && removeIfAbandoned(path))
                ++removed;
        }
    }
    return removed;
}

bool copyFileAtomically(const QString &source, const QString &destination)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    // The copy goes to a short name of its own beside the destination (not
    // the destination's name plus a suffix, which a name near the file
    // system's length limit cannot take), then is renamed over it.
    const QString folder = QFileInfo(destination).absolutePath() + QLatin1Char('/');
    QFile out;
    for (int attempt = 0; attempt < 16 && !out.isOpen(); ++attempt) {
        out.setFileName(folder + QStringLiteral(".copia-%1.tmp")
                                     .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        out.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    }
    if (!out.isOpen())
        return false;
    const bool copied = copyInto(in, out);
    out.close();
    if (!copied || out.error() != QFileDevice::NoError || !replaceFile(out.fileName(), destination)) {
        QFile::remove(out.fileName());
        return false;
    }
    return true;
}
