#include "recordfile.h"

#include "datafolder.h"
#include "filelock.h"

#include <QHash>
#include <QMutex>

#include <cstdlib>
#include <cstring>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/vfs.h>
#endif

namespace {

const char *const kFailure = "file access failed";

#ifdef Q_OS_LINUX
// Uncached reads must start and end on block boundaries on some systems.
constexpr qint64 kBlock = 4096;

// File systems whose clients all see one page cache. Anything else (FUSE,
// NFS, SMB, 9p, Ceph...) may answer from a cache of its own.
bool isLocalType(quint32 type)
{
    switch (type) {
    case 0xEF53u:     // ext2, ext3, ext4
    case 0x58465342u: // xfs
    case 0x9123683Eu: // btrfs
    case 0x01021994u: // tmpfs
    case 0x858458F6u: // ramfs
    case 0xF2F52010u: // f2fs
    case 0x2FC12FC1u: // zfs
    case 0xCA451A4Eu: // bcachefs
    case 0x794C7630u: // overlayfs
    case 0x3153464Au: // jfs
    case 0x52654973u: // reiserfs
    case 0x4D44u:     // vfat
    case 0x2011BAB0u: // exfat
    case 0x7366746Eu: // ntfs3
        return true;
    default:
        return false;
    }
}

// Asked once per mounted file system: on a network one, each question goes
// to the server.
bool isLocalFileSystem(int fd)
{
    struct stat file;
    if (::fstat(fd, &file) != 0)
        return true;
    static QMutex guard;
    static QHash<quint64, bool> known;
    const QMutexLocker locker(&guard);
    const auto found = known.constFind(quint64(file.st_dev));
    if (found != known.constEnd())
        return *found;
    struct statfs about;
    if (::fstatfs(fd, &about) != 0)
        return true;
    const bool local = isLocalType(quint32(about.f_type));
    known.insert(quint64(file.st_dev), local);
    return local;
}

// Makes a network file system's client fetch the file's current size and
// drop what it cached of the contents: reserving space for the first byte
// changes nothing in the file (the size is kept), but as a write it goes to
// the server and comes back with the file's present attributes. It updates
// the file's modification time, so it is done only before writing.
bool refreshFromServer(int fd)
{
    return ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, 1) == 0;
}

qint64 fileSize(int fd)
{
    struct stat about;
    if (::fstat(fd, &about) != 0)
        throw FileAccessError(kFailure);
    return qint64(about.st_size);
}
#endif

// The journal entry: "LMJ1", state, record size (4 bytes), index (8 bytes),
// the record before and after the rewrite, and a check sum of everything
// but the state. Numbers little-endian.
constexpr char kMagic[4] = {'L', 'M', 'J', '1'};
// The entry of a batch: "LMB1", state, record size (4 bytes), the file's
// end before the batch (8 bytes), the number of records it rewrites (8
// bytes), the bytes of a trailing fragment the batch writes over (from the
// last whole record to that end), then for each record rewritten its index
// (8 bytes) and its contents before, and a check sum as above. Undoing a
// batch needs nothing else: the file is cut back to its old end and every
// record put back.
constexpr char kBatchMagic[4] = {'L', 'M', 'B', '1'};
constexpr int kBatchHeader = 28;
constexpr char kPending[4] = {'W', 'A', 'I', 'T'};
constexpr char kDone[4] = {'D', 'O', 'N', 'E'};
constexpr int kHeader = 20;

int entrySize(int recordSize)
{
    return kHeader + 2 * recordSize + 8;
}

quint64 checksum(const QByteArray &entry)
{
    // FNV-1a over the entry without its state and its check sum.
    quint64 hash = 14695981039346656037ull;
    const auto add = [&hash](const char *data, qint64 n) {
        for (qint64 i = 0; i < n; ++i) {
            hash ^= quint8(data[i]);
            hash *= 1099511628211ull;
        }
    };
    add(entry.constData(), 4);
    add(entry.constData() + 8, entry.size() - 16);
    return hash;
}

void putNumber(char *at, quint64 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        at[i] = char((value >> (8 * i)) & 0xFF);
}

quint64 number(const char *at, int bytes)
{
    quint64 value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | quint8(at[i]);
    return value;
}

// A record stopped in the middle of its rewrite: every byte is the old or
// the new one. Anything else was written since by someone else.
bool isMixOf(const QByteArray &current, const QByteArray &before, const QByteArray &after)
{
    for (qsizetype i = 0; i < current.size(); ++i)
        if (current[i] != before[i] && current[i] != after[i])
            return false;
    return true;
}

} // namespace

// Reads the file past every cache of this machine: a second descriptor of
// the same file opened for direct I/O, reading whole aligned blocks.
class RecordFile::UncachedReader
{
public:
    explicit UncachedReader(int fd)
    {
#ifdef Q_OS_LINUX
        // Reopened through the descriptor, not the path: the same file that
        // was checked when it was opened.
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        m_fd = ::open(self.constData(), O_RDONLY | O_DIRECT | O_CLOEXEC);
#else
        Q_UNUSED(fd);
#endif
    }
    ~UncachedReader()
    {
#ifdef Q_OS_UNIX
        if (m_fd >= 0)
            ::close(m_fd);
#endif
        std::free(m_buffer);
    }
    UncachedReader(const UncachedReader &) = delete;
    UncachedReader &operator=(const UncachedReader &) = delete;

    bool isOpen() const { return m_fd >= 0; }

    // Reads up to `bytes` at `offset` into `into`: the number read, short at
    // the end of the file, -1 on failure.
    qint64 read(qint64 offset, char *into, qint64 bytes)
    {
#ifdef Q_OS_LINUX
        const qint64 start = offset & ~(kBlock - 1);
        const qint64 end = (offset + bytes + kBlock - 1) & ~(kBlock - 1);
        const qint64 got = readAligned(start, end - start);
        if (got < 0)
            return -1;
        const qint64 n = qBound<qint64>(0, got - (offset - start), bytes);
        std::memcpy(into, m_buffer + (offset - start), size_t(n));
        return n;
#else
        Q_UNUSED(offset);
        Q_UNUSED(into);
        Q_UNUSED(bytes);
        return -1;
#endif
    }

    // The end of the file, looked for from `from`, this client's idea of it:
    // the block there, then blocks at doubling distances, then halving. A
    // file is cut back only when a batch of records is put back, so the
    // end lies before `from` only then; it is looked for from the start.
    qint64 end(qint64 from)
    {
#ifdef Q_OS_LINUX
        qint64 low = from & ~(kBlock - 1);
        qint64 got = readAligned(low, kBlock);
        if (got == 0 && low > 0) {
            const qint64 before = readAligned(low - kBlock, kBlock);
            if (before < 0)
                return -1;
            if (before == kBlock)
                return low;
            low = 0;
            got = readAligned(0, kBlock);
        }
        if (got < kBlock)
            return got < 0 ? -1 : low + got;
        qint64 high = 0;
        for (qint64 step = kBlock;; step *= 2) {
            got = readAligned(low + step, kBlock);
            if (got < 0)
                return -1;
            if (got < kBlock) {
                high = low + step;
                break;
            }
            low += step;
        }
        // The block at `low` is full, the one at `high` is not.
        while (high - low > kBlock) {
            const qint64 middle = low + (((high - low) / 2) & ~(kBlock - 1));
            const qint64 bytes = readAligned(middle, kBlock);
            if (bytes < 0)
                return -1;
            if (bytes == kBlock) {
                low = middle;
            } else {
                high = middle;
                got = bytes;
            }
        }
        return high + got;
#else
        Q_UNUSED(from);
        return -1;
#endif
    }

private:
#ifdef Q_OS_LINUX
    // Reads [start, start + length), both aligned, into the buffer: the bytes
    // read, short at the end of the file, -1 on failure.
    qint64 readAligned(qint64 start, qint64 length)
    {
        if (m_capacity < length) {
            std::free(m_buffer);
            m_buffer = nullptr;
            m_capacity = 0;
            void *memory = nullptr;
            if (::posix_memalign(&memory, size_t(kBlock), size_t(length)) != 0)
                return -1;
            m_buffer = static_cast<char *>(memory);
            m_capacity = length;
        }
        qint64 done = 0;
        while (done < length) {
            const ssize_t n = ::pread(m_fd, m_buffer + done, size_t(length - done), off_t(start + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return -1;
            done += n;
            // A short read ends at the end of the file; the next offset may
            // not be aligned any more.
            if (n == 0 || (done & (kBlock - 1)) != 0)
                break;
        }
        return done;
    }
#endif

    int m_fd = -1;
    char *m_buffer = nullptr;
    qint64 m_capacity = 0;
};

// What undoes a batch: the file's end before it, the bytes of a trailing
// fragment it wrote over, and each record it rewrote as it was.
struct RecordFile::BatchUndo
{
    qint64 oldEnd = 0;
    QByteArray fragment;
    std::vector<std::pair<qint64, QByteArray>> before;
};

// The journal beside a record file: the record being rewritten, before and
// after, while the rewrite is under way.
class RecordFile::Journal
{
public:
    Journal(const QString &path, int recordSize, bool shared, bool forWriting)
        : m_recordSize(recordSize), m_shared(shared)
    {
        m_open = DataFolder::open(m_file, path,
                                  forWriting ? QIODevice::ReadWrite | QIODevice::Unbuffered
                                             : QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

    bool isOpen() const { return m_open; }

    // The entry of a rewrite not marked done. `fresh`: the journal is to be
    // written, and on a network file system its contents are fetched from
    // the server first.
    bool pending(qint64 *index, QByteArray *before, QByteArray *after, bool fresh)
    {
        const int size = entrySize(m_recordSize);
        QByteArray entry(size, Qt::Uninitialized);
        const qint64 got = read(entry.data(), 0, size, fresh);
        if (got != size || std::memcmp(entry.constData(), kMagic, 4) != 0
            || std::memcmp(entry.constData() + 4, kPending, 4) != 0
            || number(entry.constData() + 8, 4) != quint64(m_recordSize)
            || number(entry.constData() + size - 8, 8) != checksum(entry))
            return false;
        *index = qint64(number(entry.constData() + 12, 8));
        *before = entry.mid(kHeader, m_recordSize);
        *after = entry.mid(kHeader + m_recordSize, m_recordSize);
        return true;
    }

    // A batch not marked done: what undoes it.
    using BatchEntry = RecordFile::BatchUndo;
    bool pendingBatch(BatchEntry *batch, bool fresh)
    {
        char header[kBatchHeader];
        if (read(header, 0, kBatchHeader, fresh) != kBatchHeader || std::memcmp(header, kBatchMagic, 4) != 0
            || std::memcmp(header + 4, kPending, 4) != 0 || number(header + 8, 4) != quint64(m_recordSize))
            return false;
        const qint64 oldEnd = qint64(number(header + 12, 8));
        const quint64 rewritten = number(header + 20, 8);
        const qint64 fragment = oldEnd % m_recordSize;
        // Nothing is allocated for an entry longer than the journal: the
        // entry may be garbage.
        if (oldEnd < 0 || rewritten > quint64(1) << 40)
            return false;
        const qint64 size = kBatchHeader + fragment + qint64(rewritten) * (8 + m_recordSize) + 8;
        char last[8];
        if (read(last, size - 8, 8, false) != 8)
            return false;
        QByteArray entry(size, Qt::Uninitialized);
        if (read(entry.data(), 0, size, false) != size || number(entry.constData() + size - 8, 8) != checksum(entry))
            return false;
        batch->oldEnd = oldEnd;
        batch->fragment = entry.mid(kBatchHeader, fragment);
        batch->before.clear();
        batch->before.reserve(size_t(rewritten));
        for (qint64 at = kBatchHeader + fragment; at < size - 8; at += 8 + m_recordSize)
            batch->before.emplace_back(qint64(number(entry.constData() + at, 8)), entry.mid(at + 8, m_recordSize));
        return true;
    }

    // Records how to undo the batch about to be made, on disk before it is
    // made.
    void beginBatch(const BatchEntry &batch)
    {
        QByteArray entry(kBatchHeader, '\0');
        std::memcpy(entry.data(), kBatchMagic, 4);
        std::memcpy(entry.data() + 4, kPending, 4);
        putNumber(entry.data() + 8, quint64(m_recordSize), 4);
        putNumber(entry.data() + 12, quint64(batch.oldEnd), 8);
        putNumber(entry.data() + 20, quint64(batch.before.size()), 8);
        entry += batch.fragment;
        entry.reserve(entry.size() + qsizetype(batch.before.size()) * (8 + m_recordSize) + 8);
        char index[8];
        for (const auto &[at, record] : batch.before) {
            putNumber(index, quint64(at), 8);
            entry.append(index, 8);
            entry += record;
        }
        entry.append(8, '\0');
        writeEntry(entry);
    }

    // The batch is stored: marked done on disk, since undoing it after
    // this point would take back what the operator was told is stored.
    void batchDone()
    {
        done();
#ifdef Q_OS_UNIX
        if (::fdatasync(m_file.handle()) != 0)
            throw FileAccessError(kFailure);
#endif
    }

    // Records the rewrite about to be made, on disk before it is made.
    void begin(qint64 index, const QByteArray &before, const QByteArray &after)
    {
        QByteArray entry(entrySize(m_recordSize), '\0');
        std::memcpy(entry.data(), kMagic, 4);
        std::memcpy(entry.data() + 4, kPending, 4);
        putNumber(entry.data() + 8, quint64(m_recordSize), 4);
        putNumber(entry.data() + 12, quint64(index), 8);
        std::memcpy(entry.data() + kHeader, before.constData(), size_t(m_recordSize));
        std::memcpy(entry.data() + kHeader + m_recordSize, after.constData(), size_t(m_recordSize));
        writeEntry(entry);
    }

    // The rewrite is complete. Not forced to disk: should the mark be lost
    // with the power, completing the rewrite again changes nothing.
    void done()
    {
        if (!m_file.seek(4) || m_file.write(kDone, 4) != 4)
            throw FileAccessError(kFailure);
    }

private:
    // Seals the entry with its check sum and forces it to disk at the start
    // of the journal.
    void writeEntry(QByteArray &entry)
    {
        putNumber(entry.data() + entry.size() - 8, checksum(entry), 8);
        if (!m_file.seek(0) || m_file.write(entry) != entry.size())
            throw FileAccessError(kFailure);
#ifdef Q_OS_UNIX
        if (::fdatasync(m_file.handle()) != 0)
            throw FileAccessError(kFailure);
#endif
    }

    // Up to `bytes` at `offset`, past this machine's caches on a network
    // file system: the number read, -1 on failure.
    qint64 read(char *into, qint64 offset, qint64 bytes, bool fresh)
    {
        qint64 got = -1;
#ifdef Q_OS_LINUX
        if (m_shared) {
            if (fresh)
                refreshFromServer(int(m_file.handle()));
            UncachedReader uncached(int(m_file.handle()));
            if (uncached.isOpen())
                got = uncached.read(offset, into, bytes);
        }
#else
        Q_UNUSED(fresh);
#endif
        if (got < 0) {
            if (!m_file.seek(offset))
                return -1;
            got = m_file.read(into, bytes);
        }
        return got;
    }

    QFile m_file;
    int m_recordSize;
    bool m_shared;
    bool m_open = false;
};

RecordFile::RecordFile(const QString &path, int recordSize)
    : m_path(path), m_recordSize(recordSize)
{
}

RecordFile::~RecordFile()
{
    m_uncached.reset();
    m_file.close();
}

QString RecordFile::journalPath(const QString &path)
{
    return path + QStringLiteral(".jnl");
}

void RecordFile::open()
{
    // Unbuffered: nothing is kept in this process between calls, and every
    // write reaches the file before the lock is released.
    if (!DataFolder::open(m_file, m_path, QIODevice::ReadWrite | QIODevice::Unbuffered))
        throw FileAccessError(kFailure);
    m_position = 0;
#ifdef Q_OS_LINUX
    m_shared = !isLocalFileSystem(m_file.handle());
    if (m_shared)
        m_uncached = std::make_unique<UncachedReader>(m_file.handle());
#endif
    m_journalChecked = false;
}

qint64 RecordFile::endOfFile(bool beforeWriting)
{
    if (!m_file.isOpen())
        throw FileAccessError(kFailure);
#ifdef Q_OS_LINUX
    const int fd = m_file.handle();
    if (!m_shared)
        return fileSize(fd);
    const bool refreshed = beforeWriting && refreshFromServer(fd);
    qint64 size = fileSize(fd);
    if (m_uncached->isOpen()) {
        // The client's idea of the size, then the server's answer from there.
        size = m_uncached->end(size);
        if (size < 0)
            throw FileAccessError(kFailure);
    } else if (beforeWriting && !refreshed) {
        // Nothing tells where the file really ends: a record written now
        // could land on another workstation's.
        throw FileAccessError(kFailure);
    }
    return size;
#else
    Q_UNUSED(beforeWriting);
    const qint64 size = m_file.size();
    if (size < 0)
        throw FileAccessError(kFailure);
    return size;
#endif
}

qint64 RecordFile::count()
{
    // A batch left unfinished is taken back first: it may shorten the file.
    completeUnfinishedRewrite();
    return endOfFile(false) / m_recordSize;
}

void RecordFile::readRange(char *into, qint64 index, qint64 n)
{
    const qint64 bytes = n * m_recordSize;
    if (m_uncached && m_uncached->isOpen()) {
        if (m_uncached->read(index * m_recordSize, into, bytes) != bytes)
            throw FileAccessError(kFailure);
        return;
    }
#ifdef Q_OS_UNIX
    // One positioned read a block: no seek, nothing through QFile's buffer.
    // What a read leaves behind is read again from where it stopped.
    const int fd = m_file.handle();
    qint64 done = 0;
    while (done < bytes) {
        const ssize_t got = ::pread(fd, into + done, size_t(bytes - done), off_t(index * m_recordSize + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            throw FileAccessError(kFailure);
        done += got;
    }
#else
    if (!m_file.seek(index * m_recordSize) || m_file.read(into, bytes) != bytes)
        throw FileAccessError(kFailure);
#endif
}

QByteArray RecordFile::read(qint64 index)
{
    return readBlock(index, 1);
}

QByteArray RecordFile::readBlock(qint64 index, qint64 n)
{
    if (index < 0 || n < 0 || !m_file.isOpen())
        throw FileAccessError(kFailure);
    QByteArray data(n * m_recordSize, Qt::Uninitialized);
    readShared(data.data(), index, n);
    return data;
}

const char *RecordFile::viewBlock(qint64 index, qint64 n)
{
    const qint64 bytes = n * m_recordSize;
    if (index < 0 || n < 0 || !m_file.isOpen())
        throw FileAccessError(kFailure);
    if (m_viewCapacity < bytes) {
        m_viewBuffer.reset();
        m_viewBuffer.reset(static_cast<char *>(LargeMemory::allocate(size_t(bytes))));
        m_viewCapacity = bytes;
    }
    readShared(m_viewBuffer.get(), index, n);
    return m_viewBuffer.get();
}

void RecordFile::readShared(char *into, qint64 index, qint64 n)
{
    completeUnfinishedRewrite();
    FileLock lock(m_file.handle(), 5000, FileLock::Mode::Shared);
    if (!lock.mayWrite())
        throw FileAccessError(kFailure);
    readRange(into, index, n);
    m_position = index + n;
}

void RecordFile::write(qint64 index, const QByteArray &record)
{
    if (record.size() != m_recordSize || !m_file.isOpen())
        throw FileAccessError(kFailure);
    FileLock lock(m_file.handle());
    if (!lock.mayWrite())
        throw FileAccessError(kFailure);
    completeUnfinishedBatch();
    const qint64 n = endOfFile(true) / m_recordSize;
    if (index < 0 || index > n)
        throw FileAccessError(kFailure);
    if (index == n)
        writeLocked(index, record);
    else
        rewriteLocked(index, record);
}

qint64 RecordFile::append(const QByteArray &record)
{
    if (record.size() != m_recordSize || !m_file.isOpen())
        throw FileAccessError(kFailure);
    FileLock lock(m_file.handle());
    if (!lock.mayWrite())
        throw FileAccessError(kFailure);
    completeUnfinishedBatch();
    const qint64 n = endOfFile(true) / m_recordSize;
    writeLocked(n, record);
    return n + 1;
}

qint64 RecordFile::writeBatch(const Batch &batch)
{
    if (!m_file.isOpen() || batch.appended.size() % m_recordSize != 0)
        throw FileAccessError(kFailure);
    FileLock lock(m_file.handle());
    if (!lock.mayWrite())
        throw FileAccessError(kFailure);
    Journal journal(journalPath(m_path), m_recordSize, m_shared, true);
    if (!journal.isOpen())
        throw FileAccessError(kFailure);
    completeJournal(journal);
    const qint64 oldEnd = endOfFile(true);
    const qint64 n = oldEnd / m_recordSize;
    for (const qint64 index : batch.rewrites)
        if (index < 0 || index >= n)
            throw FileAccessError(kFailure);
    QByteArray toAppend = batch.appended;
    if (batch.keep && batch.seen >= 0 && batch.seen < n) {
        std::vector<QByteArray> since;
        since.reserve(size_t(n - batch.seen));
        for (qint64 index = batch.seen; index < n; ++index) {
            QByteArray record(m_recordSize, Qt::Uninitialized);
            readRange(record.data(), index, 1);
            since.push_back(std::move(record));
        }
        const std::vector<bool> keep = batch.keep(since);
        if (qint64(keep.size()) != batch.appended.size() / m_recordSize)
            throw FileAccessError(kFailure);
        toAppend.clear();
        for (size_t i = 0; i < keep.size(); ++i)
            if (keep[i])
                toAppend += batch.appended.mid(qsizetype(i) * m_recordSize, m_recordSize);
    }
    const qint64 appended = toAppend.size() / m_recordSize;
    const qint64 total = qint64(batch.rewrites.size()) + appended;
    qint64 done = 0;
    bool stopped = false;
    const auto step = [&](qint64 records) {
        done += records;
        if (batch.progress && !batch.progress(done, total)) {
            stopped = true;
            throw FileAccessError("stopped");
        }
    };

    // Everything the batch will change is read and recorded in the journal
    // before the first byte changes: a power cut at any later point is
    // undone as a whole by the next workstation that opens the file.
    Journal::BatchEntry undo;
    undo.oldEnd = oldEnd;
    if (oldEnd > n * m_recordSize) {
        undo.fragment.resize(oldEnd - n * m_recordSize);
        if (!m_file.seek(n * m_recordSize)
            || m_file.read(undo.fragment.data(), undo.fragment.size()) != undo.fragment.size())
            throw FileAccessError(kFailure);
    }
    std::vector<std::pair<qint64, QByteArray>> changes;
    for (const qint64 index : batch.rewrites) {
        QByteArray before(m_recordSize, Qt::Uninitialized);
        readRange(before.data(), index, 1);
        const QByteArray after = batch.rewrite ? batch.rewrite(index, before) : QByteArray();
        if (!after.isEmpty() && after != before) {
            if (after.size() != m_recordSize)
                throw FileAccessError(kFailure);
            undo.before.emplace_back(index, before);
            changes.emplace_back(index, after);
        }
    }
    if (changes.empty() && appended == 0) {
        if (total > 0 && batch.progress && !batch.progress(total, total))
            return -1;
        m_position = n;
        return n;
    }

    journal.beginBatch(undo);
    try {
        for (const auto &[index, record] : changes) {
            if (!m_file.seek(index * m_recordSize) || m_file.write(record) != m_recordSize)
                throw FileAccessError(kFailure);
            step(1);
        }
        // Records left as they were count as done too.
        if (qint64(batch.rewrites.size()) > qint64(changes.size()))
            step(qint64(batch.rewrites.size()) - qint64(changes.size()));
        // In pieces, so that progress is told and a stop is heard; forced
        // to disk once, at the end.
        constexpr qint64 kPiece = 256;
        for (qint64 first = 0; first < appended; first += kPiece) {
            const qint64 k = qMin(kPiece, appended - first);
            const qint64 bytes = k * m_recordSize;
            if (!m_file.seek((n + first) * m_recordSize)
                || m_file.write(toAppend.constData() + first * m_recordSize, bytes) != bytes)
                throw FileAccessError(kFailure);
            step(k);
        }
#ifdef Q_OS_UNIX
        if (::fdatasync(m_file.handle()) != 0)
            throw FileAccessError(kFailure);
#endif
        journal.batchDone();
    } catch (...) {
        // Put back as it was, still under the lock. Should that fail too,
        // the entry stays pending and the next open puts it back.
        bool restored = true;
        try {
            undoBatch(undo);
            journal.batchDone();
        } catch (const FileAccessError &) {
            restored = false;
        }
        if (stopped && restored)
            return -1;
        throw;
    }
    m_position = n + appended;
    return n;
}

void RecordFile::undoBatch(const BatchUndo &undo)
{
    const qint64 whole = undo.oldEnd - undo.fragment.size();
    if (!m_file.resize(whole))
        throw FileAccessError(kFailure);
    if (!undo.fragment.isEmpty()
        && (!m_file.seek(whole) || m_file.write(undo.fragment) != undo.fragment.size()))
        throw FileAccessError(kFailure);
    for (auto it = undo.before.rbegin(); it != undo.before.rend(); ++it)
        if (!m_file.seek(it->first * m_recordSize) || m_file.write(it->second) != m_recordSize)
            throw FileAccessError(kFailure);
#ifdef Q_OS_UNIX
    if (::fdatasync(m_file.handle()) != 0)
        throw FileAccessError(kFailure);
#endif
}

void RecordFile::rewriteLocked(qint64 index, const QByteArray &record)
{
    Journal journal(journalPath(m_path), m_recordSize, m_shared, true);
    if (!journal.isOpen())
        throw FileAccessError(kFailure);
    // One journal for the whole file: a rewrite another writer left
    // unfinished is completed before its entry is replaced.
    completeJournal(journal);
    QByteArray before(m_recordSize, Qt::Uninitialized);
    readRange(before.data(), index, 1);
    if (before == record) {
        m_position = index + 1;
        return;
    }
    journal.begin(index, before, record);
    writeLocked(index, record);
    journal.done();
}

void RecordFile::completeJournal(Journal &journal)
{
    qint64 index = 0;
    QByteArray before, after;
    if (!journal.pending(&index, &before, &after, true)) {
        // A batch stopped part way, by a crash or a power cut: taken back
        // whole.
        Journal::BatchEntry undo;
        if (journal.pendingBatch(&undo, false)) {
            const qint64 position = m_position;
            undoBatch(undo);
            journal.batchDone();
            m_position = position;
        }
        return;
    }
    const qint64 position = m_position;
    if (index >= 0 && index < endOfFile(true) / m_recordSize) {
        QByteArray current(m_recordSize, Qt::Uninitialized);
        readRange(current.data(), index, 1);
        if (current != after && isMixOf(current, before, after))
            writeLocked(index, after);
    }
    m_position = position;
    journal.done();
}

void RecordFile::completeUnfinishedRewrite()
{
    // Once per open, before the first record is read: an append changes no
    // record and does not need it, a rewrite looks under its own lock.
    if (m_journalChecked)
        return;
    m_journalChecked = true;
    qint64 index = 0;
    QByteArray before, after;
    {
        Journal look(journalPath(m_path), m_recordSize, m_shared, false);
        Journal::BatchEntry undo;
        if (!look.isOpen()
            || (!look.pending(&index, &before, &after, false) && !look.pendingBatch(&undo, false)))
            return;
    }
    // Either a writer is at it right now, and the lock waits for it to
    // finish, or one was stopped and this open completes its rewrite.
    FileLock lock(m_file.handle());
    if (!lock.mayWrite())
        return;
    Journal journal(journalPath(m_path), m_recordSize, m_shared, true);
    if (journal.isOpen())
        completeJournal(journal);
}

void RecordFile::completeUnfinishedBatch()
{
    // Looked at read-only first: most files never had a batch, and an
    // append should not make a journal it does not need.
    {
        Journal look(journalPath(m_path), m_recordSize, m_shared, false);
        Journal::BatchEntry undo;
        if (!look.isOpen() || !look.pendingBatch(&undo, true))
            return;
    }
    Journal journal(journalPath(m_path), m_recordSize, m_shared, true);
    if (!journal.isOpen())
        throw FileAccessError(kFailure);
    completeJournal(journal);
}

void RecordFile::writeLocked(qint64 index, const QByteArray &record)
{
    if (record.size() != m_recordSize || !m_file.seek(index * m_recordSize)
        || m_file.write(record) != m_recordSize)
        throw FileAccessError(kFailure);
#ifdef Q_OS_UNIX
    if (::fdatasync(m_file.handle()) != 0)
        throw FileAccessError(kFailure);
#else
    if (!m_file.flush())
        throw FileAccessError(kFailure);
#endif
    m_position = index + 1;
}

void RecordFile::close()
{
    if (!m_file.isOpen())
        return;
    m_uncached.reset();
    m_viewBuffer.reset();
    m_viewCapacity = 0;
    m_file.close();
    if (m_file.error() != QFileDevice::NoError)
        throw FileAccessError(kFailure);
}
