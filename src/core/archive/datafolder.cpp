#include "archive/datafolder.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QStringList>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity kCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kCase = Qt::CaseSensitive;
#endif

QMutex registryMutex;
QStringList &registry()
{
    static QStringList folders;
    return folders;
}

QString cleanAbsolute(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool isInside(const QString &path, const QString &folder)
{
    return path.compare(folder, kCase) == 0
           || (path.startsWith(folder, kCase) && path.size() > folder.size()
               && (folder.endsWith(QLatin1Char('/')) || path.at(folder.size()) == QLatin1Char('/')));
}

// The registered data folder `path` is written under, or empty.
QString owningFolder(const QString &path)
{
    const QString clean = cleanAbsolute(path);
    QMutexLocker lock(&registryMutex);
    QString best;
    for (const QString &folder : registry())
        if (folder.size() > best.size() && clean.size() > folder.size() && isInside(clean, folder))
            best = folder;
    return best;
}

struct Target
{
    QString path;        // empty: refused
    bool inData = false; // under a data folder: the path has no link left in it
};

Target locate(const QString &path)
{
    const QString folder = owningFolder(path);
    if (folder.isEmpty())
        return {path, false};
    const QString root = QFileInfo(folder).canonicalFilePath();
    if (root.isEmpty())
        return {};
    const QFileInfo entry(path);
    if (entry.exists() || entry.isSymLink()) {
        // A dangling link or a loop has no canonical path: refused, since
        // creating the file would follow the link wherever it points.
        const QString canonical = entry.canonicalFilePath();
        if (canonical.isEmpty() || !isInside(canonical, root) || canonical.compare(root, kCase) == 0
            || !QFileInfo(canonical).isFile())
            return {};
        return {canonical, true};
    }
    const QString parent = QFileInfo(entry.absolutePath()).canonicalFilePath();
    if (parent.isEmpty() || !isInside(parent, root))
        return {};
    return {parent + QLatin1Char('/') + entry.fileName(), true};
}

} // namespace

namespace DataFolder {

void add(const QString &folder)
{
    const QString clean = cleanAbsolute(folder);
    QMutexLocker lock(&registryMutex);
    registry().append(clean);
}

void remove(const QString &folder)
{
    const QString clean = cleanAbsolute(folder);
    QMutexLocker lock(&registryMutex);
    registry().removeOne(clean);
}

QString resolve(const QString &path)
{
    return locate(path).path;
}

bool open(QFile &file, const QString &path, QIODevice::OpenMode mode)
{
    const Target target = locate(path);
    if (target.path.isEmpty())
        return false;
#ifdef Q_OS_UNIX
    int flags = O_CLOEXEC | O_NONBLOCK;
    flags |= (mode & QIODevice::WriteOnly) ? (O_RDWR | O_CREAT) : O_RDONLY;
    // The resolved path ends in no link; one put there since is not followed.
    if (target.inData)
        flags |= O_NOFOLLOW;
    const int fd = ::open(QFile::encodeName(target.path).constData(), flags, 0666);
    if (fd < 0)
        return false;
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)
        || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0
        || !file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
#else
    const QFileInfo info(target.path);
    if (info.exists() && !info.isFile())
        return false;
    file.setFileName(target.path);
    return file.open(mode);
#endif
}

} // namespace DataFolder
