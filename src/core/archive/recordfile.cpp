#include "recordfile.h"

#include "datafolder.h"
#include "filelock.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {
const char *const kFailure = "file access failed";
}

RecordFile::RecordFile(const QString &path, int recordSize)
    : m_path(path), m_recordSize(recordSize)
{
}

RecordFile::~RecordFile()
{
    m_file.close();
}

void RecordFile::open()
{
    // Unbuffered: every read sees other workstations' writes, and every write
    // reaches the file before the lock is released.
    if (!DataFolder::open(m_file, m_path, QIODevice::ReadWrite | QIODevice::Unbuffered))
        throw FileAccessError(kFailure);
    m_position = 0;
}

qint64 RecordFile::count()
{
    if (!m_file.isOpen())
        throw FileAccessError(kFailure);
    // The size comes from the file, never from a cache: others may append.
    const qint64 size = m_file.size();
    if (size < 0)
        throw FileAccessError(kFailure);
    return size / m_recordSize;
}

QByteArray RecordFile::read(qint64 index)
{
    return readBlock(index, 1);
}

QByteArray RecordFile::readBlock(qint64 index, qint64 n)
{
    if (index < 0 || n < 0 || !m_file.seek(index * m_recordSize))
        throw FileAccessError(kFailure);
    const qint64 bytes = n * m_recordSize;
    QByteArray data(bytes, Qt::Uninitialized);
    if (m_file.read(data.data(), bytes) != bytes)
        throw FileAccessError(kFailure);
    m_position = index + n;
    return data;
}

const char *RecordFile::viewBlock(qint64 index, qint64 n)
{
    const qint64 bytes = n * m_recordSize;
    if (index < 0 || n < 0 || !m_file.seek(index * m_recordSize))
        throw FileAccessError(kFailure);
    if (m_viewCapacity < bytes) {
        m_viewBuffer.reset();
        m_viewBuffer.reset(static_cast<char *>(LargeMemory::allocate(size_t(bytes))));
        m_viewCapacity = bytes;
    }
    if (m_file.read(m_viewBuffer.get(), bytes) != bytes)
        throw FileAccessError(kFailure);
    m_position = index + n;
    return m_viewBuffer.get();
}

void RecordFile::write(qint64 index, const QByteArray &record)
{
    FileLock lock(m_file.handle());
    if (!lock.mayWrite() || index < 0 || index > count())
        throw FileAccessError(kFailure);
    writeLocked(index, record);
}

qint64 RecordFile::append(const QByteArray &record)
{
    FileLock lock(m_file.handle());
    if (!lock.mayWrite())
        throw FileAccessError(kFailure);
    const qint64 n = count();
    writeLocked(n, record);
    return n + 1;
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
    m_viewBuffer.reset();
    m_viewCapacity = 0;
    m_file.close();
    if (m_file.error() != QFileDevice::NoError)
        throw FileAccessError(kFailure);
}
