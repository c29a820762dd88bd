#include "atomicfile.h"

#include "datafolder.h"
#include "filelock.h"
#include "studentfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
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

// A temporary file's name: "<name>.<six letters or digits>.lumetra-tmp".
// Checked by hand: a pattern (and a name filter, which becomes one) costs
// compiling a regular expression at every start.
bool isTemporaryName(QStringView name)
{
    const QStringView suffix = u".lumetra-tmp";
    constexpr qsizetype code = 6;
    if (name.size() < 1 + 1 + code + suffix.size() || !name.endsWith(suffix))
        return false;
    const QStringView stem = name.chopped(suffix.size());
    if (stem.at(stem.size() - code - 1) != u'.')
        return false;
    for (const QChar c : stem.right(code))
        if (!((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')))
            return false;
    // As the name's first part, anything but line breaks.
    return !stem.left(stem.size() - code - 1).contains(u'\n');
}

} // namespace

int removeInterruptedWrites(const QString &folder)
{
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
        // entries are walked once, unsorted, by name alone (no entry's kind
        // asked, which on some file systems costs a call each); only a
        // temporary file's name is looked at more closely.
        QDirIterator entries(canonical, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        while (entries.hasNext()) {
            const QString path = entries.next();
            if (!isTemporaryName(entries.fileName()))
                continue;
            const QFileInfo entry = entries.fileInfo();
            if (!entry.isSymLink() && entry.isFile() && removeIfAbandoned(path))
                ++removed;
        }
    }
    return removed;
}

struct AtomicWriter::State
{
    explicit State(const QString &path) : place(path) {}

    DataFolder::Place place;
#ifdef Q_OS_UNIX
    QByteArray temporary;
    int fd = -1;
    std::unique_ptr<FileLock> inUse;
#else
    std::unique_ptr<QSaveFile> file;
#endif
    bool failed = false;
    bool committed = false;
    int error = 0;

    bool fail(int number)
    {
        if (error == 0)
            error = number != 0 ? number : EIO;
        failed = true;
        return false;
    }
};

AtomicWriter::AtomicWriter(const QString &path) : m(std::make_unique<State>(path))
{
#ifdef Q_OS_UNIX
    if (!m->place.isOpen()) {
        m->fail(errno != 0 ? errno : ENOENT);
        return;
    }
    const int folder = m->place.folder();
    const QByteArray &name = m->place.name();
    struct stat old;
    const bool exists = ::fstatat(folder, name.constData(), &old, AT_SYMLINK_NOFOLLOW) == 0;
    // Under a data folder only a regular file is replaced: a planted link or
    // pipe is the operator's to look at, not ours to overwrite.
    if (exists && m->place.isInData() && !S_ISREG(old.st_mode)) {
        m->fail(S_ISDIR(old.st_mode) ? EISDIR : EPERM);
        return;
    }
    // A name near the file system's limit of 255 bytes cannot take a suffix.
    const QByteArray stem = name.size() <= 200 ? name : QByteArray(".copia");
    for (int attempt = 0; attempt < 50 && m->fd < 0; ++attempt) {
        m->temporary = stem + '.' + QFile::encodeName(randomTag()) + QFile::encodeName(kTempSuffix);
        // O_EXCL: a file or link planted under the temporary name is never used.
        m->fd = ::openat(folder, m->temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                         0666);
        if (m->fd < 0 && errno != EEXIST) {
            m->fail(errno);
            return;
        }
    }
    if (m->fd < 0)
        m->fail(EEXIST);
    // Held while the file is being written: removeInterruptedWrites on
    // another workstation leaves a locked temporary file alone.
    if (m->fd >= 0) {
        m->inUse = std::make_unique<FileLock>(m->fd, 0);
        if (exists && S_ISREG(old.st_mode))
            (void)::fchmod(m->fd, old.st_mode & 07777); // the replaced file's permissions
    }
#else
    m->file = std::make_unique<QSaveFile>(path);
    if (!m->file->open(QIODevice::WriteOnly))
        m->file.reset();
#endif
}

AtomicWriter::~AtomicWriter()
{
#ifdef Q_OS_UNIX
    if (m->fd >= 0) {
        m->inUse.reset();
        ::close(m->fd);
        if (!m->committed)
            ::unlinkat(m->place.folder(), m->temporary.constData(), 0);
    }
#endif
}

bool AtomicWriter::isOpen() const
{
#ifdef Q_OS_UNIX
    return m->fd >= 0;
#else
    return m->file != nullptr;
#endif
}

bool AtomicWriter::write(const char *data, qint64 size)
{
    if (!isOpen() || m->failed)
        return false;
#ifdef Q_OS_UNIX
    while (size > 0) {
        const ssize_t done = ::write(m->fd, data, size_t(size));
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return m->fail(errno);
        }
        data += done;
        size -= done;
    }
    return true;
#else
    if (size > 0 && m->file->write(data, size) != size)
        m->failed = true;
    return !m->failed;
#endif
}

bool AtomicWriter::commit()
{
    if (!isOpen() || m->failed || m->committed)
        return false;
#ifdef Q_OS_UNIX
    // The data must be on disk before the rename makes it the file.
    if (::fdatasync(m->fd) != 0
        || ::renameat(m->place.folder(), m->temporary.constData(), m->place.folder(), m->place.name().constData())
               != 0)
        return m->fail(errno);
    m->committed = true;
    return true;
#else
    // QSaveFile::commit() may report success after a failed final flush on
    // a full disk, so the data is forced out and checked first.
    if (!m->file->flush() || !m->file->commit()) {
        m->failed = true;
        return false;
    }
    m->committed = true;
    return true;
#endif
}

int AtomicWriter::error() const
{
    return m->error;
}

bool writeFileAtomically(const QString &path, const QByteArray &data, int *error)
{
    AtomicWriter writer(path);
    const bool written = writer.write(data) && writer.commit();
    if (error)
        *error = written ? 0 : (writer.error() != 0 ? writer.error() : EIO);
    return written;
}

bool copyFileAtomically(const QString &source, const QString &destination)
{
    QFile in;
    if (!DataFolder::open(in, source, QIODevice::ReadOnly))
        return false;
    AtomicWriter out(destination);
    // In pieces: an attachment may be far larger than is sensible to hold.
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(buffer.data(), buffer.size());
        if (got < 0 || !out.write(buffer.constData(), got))
            return false;
        if (got == 0)
            break;
    }
    return out.commit();
}
