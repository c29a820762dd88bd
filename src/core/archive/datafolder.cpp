#include "archive/datafolder.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QStringList>

#include <algorithm>
#include <cerrno>

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
    return path.startsWith(folder, kCase) && path.size() > folder.size()
           && (folder.endsWith(QLatin1Char('/')) || path.at(folder.size()) == QLatin1Char('/'));
}

// The registered data folder `clean` lies under, or empty.
QString owningFolder(const QString &clean)
{
    QMutexLocker lock(&registryMutex);
    QString best;
    for (const QString &folder : registry())
        if (folder.size() > best.size() && isInside(clean, folder))
            best = folder;
    return best;
}

#ifdef Q_OS_UNIX
// Why a look-up failed: the file (or a folder on its way) is not there, or
// it is there and refused.
enum class Failure { None, Missing, Refused };

// The folder holding `path`, opened one component at a time below the data
// folder without following links, and the file's name in it; -1 on failure.
int openFolderOf(const QString &path, QByteArray *name, bool *inData, Failure *failure)
{
    const QString clean = cleanAbsolute(path);
    const QString folder = owningFolder(clean);
    *inData = !folder.isEmpty();
    *failure = Failure::Refused;
    if (folder.isEmpty()) {
        // Used as given: the operator's own files, links and all.
        const QFileInfo info(clean);
        *name = QFile::encodeName(info.fileName());
        const int fd = ::open(QFile::encodeName(info.absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0 && errno == ENOENT)
            *failure = Failure::Missing;
        return fd;
    }
    // The data folder itself may be a link (a share mounted elsewhere).
    int at = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (at < 0) {
        if (errno == ENOENT)
            *failure = Failure::Missing;
        return -1;
    }
    const QStringList parts = clean.mid(folder.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        const int next = ::openat(at, QFile::encodeName(parts[i]).constData(),
                                  O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int error = errno;
        ::close(at);
        if (next < 0) {
            if (error == ENOENT)
                *failure = Failure::Missing;
            return -1; // ELOOP or ENOTDIR: a link or a file where a folder should be
        }
        at = next;
    }
    if (parts.isEmpty()) {
        ::close(at);
        return -1;
    }
    *name = QFile::encodeName(parts.constLast());
    *failure = Failure::None;
    return at;
}

// Opens the regular file at `path` (O_RDONLY or O_RDWR | O_CREAT in
// `access`); -1 with *failure set otherwise.
int openRegular(const QString &path, int access, Failure *failure)
{
    QByteArray name;
    bool inData = false;
    const int folder = openFolderOf(path, &name, &inData, failure);
    if (folder < 0)
        return -1;
    // Non-blocking while opening: a pipe would otherwise wait for a writer.
    int flags = access | O_CLOEXEC | O_NONBLOCK;
    if (inData)
        flags |= O_NOFOLLOW;
    const int fd = ::openat(folder, name.constData(), flags, 0666);
    const int error = errno;
    ::close(folder);
    if (fd < 0) {
        *failure = error == ENOENT ? Failure::Missing : Failure::Refused;
        return -1;
    }
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)
        || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        *failure = Failure::Refused;
        return -1;
    }
    *failure = Failure::None;
    return fd;
}
#endif

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

bool open(QFile &file, const QString &path, QIODevice::OpenMode mode)
{
#ifdef Q_OS_UNIX
    Failure failure;
    const int fd = openRegular(path, (mode & QIODevice::WriteOnly) ? (O_RDWR | O_CREAT) : O_RDONLY, &failure);
    if (fd < 0)
        return false;
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
#else
    const QFileInfo info(path);
    if (info.isSymLink() || (info.exists() && !info.isFile()))
        return false;
    file.setFileName(path);
    return file.open(mode);
#endif
}

bool isFile(const QString &path)
{
#ifdef Q_OS_UNIX
    Failure failure;
    const int fd = openRegular(path, O_RDONLY, &failure);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
#else
    const QFileInfo info(path);
    return !info.isSymLink() && info.isFile();
#endif
}

Read readAll(const QString &path, qint64 limit, QByteArray *content)
{
    content->clear();
    QFile file;
#ifdef Q_OS_UNIX
    Failure failure;
    const int fd = openRegular(path, O_RDONLY, &failure);
    if (fd < 0)
        return failure == Failure::Missing ? Read::Missing : Read::Refused;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Read::Refused;
    }
#else
    if (!QFileInfo::exists(path))
        return Read::Missing;
    if (!open(file, path, QIODevice::ReadOnly))
        return Read::Refused;
#endif
    const qint64 size = file.size();
    if (size < 0 || size > limit)
        return Read::Refused;
    // Never more than the limit, whatever the size said.
    *content = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError || content->size() > limit) {
        content->clear();
        return Read::Refused;
    }
    return Read::Done;
}

Place::Place(const QString &path)
{
#ifdef Q_OS_UNIX
    bool inData = false;
    Failure failure;
    m_folder = openFolderOf(path, &m_name, &inData, &failure);
    m_outside = !inData;
    if (m_folder >= 0 && (m_name.isEmpty() || m_name == "." || m_name == "..")) {
        ::close(m_folder);
        m_folder = -1;
    }
#else
    Q_UNUSED(path);
#endif
}

Place::~Place()
{
#ifdef Q_OS_UNIX
    if (m_folder >= 0)
        ::close(m_folder);
#endif
}

Folder::Folder(const QString &path) : m_path(path)
{
    if (!m_path.endsWith(QLatin1Char('/')))
        m_path += QLatin1Char('/');
#ifdef Q_OS_UNIX
    // The folder holding a name inside it is the folder itself, opened by the
    // rules; then the folder must really be one.
    QByteArray name;
    bool inData = false;
    Failure failure;
    m_folder = openFolderOf(m_path + QStringLiteral("x"), &name, &inData, &failure);
#endif
}

Folder::~Folder()
{
#ifdef Q_OS_UNIX
    if (m_folder >= 0)
        ::close(m_folder);
#endif
}

bool Folder::isOpen() const
{
#ifdef Q_OS_UNIX
    return m_folder >= 0;
#else
    return QFileInfo(m_path).isDir() && !QFileInfo(m_path.chopped(1)).isSymLink();
#endif
}

Read Folder::read(const QByteArray &name, qint64 limit, QByteArray *content) const
{
#ifdef Q_OS_UNIX
    content->resize(0);
    if (m_folder < 0)
        return Read::Missing;
    if (name.isEmpty() || name.contains('/') || name == "." || name == "..")
        return Read::Refused;
    const int fd = ::openat(m_folder, name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0)
        return errno == ENOENT ? Read::Missing : Read::Refused;
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > limit) {
        ::close(fd);
        return Read::Refused;
    }
    // A regular file never blocks: the flag may stay. The size it had when
    // opened is read (what is appended meanwhile is not), so that no extra
    // read is spent finding its end: many small files are read this way.
    qint64 got = 0;
    content->resize(qsizetype(status.st_size));
    while (got < status.st_size) {
        const ssize_t n = ::read(fd, content->data() + got, size_t(status.st_size - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            content->resize(0);
            return Read::Refused;
        }
        if (n == 0)
            break; // it shrank meanwhile
        got += n;
    }
    ::close(fd);
    content->resize(qsizetype(got));
    return Read::Done;
#else
    return readAll(m_path + QFile::decodeName(name), limit, content);
#endif
}

} // namespace DataFolder
