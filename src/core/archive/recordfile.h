#pragma once

#include "largememory.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

#include <stdexcept>

// Any failure to open, create, position, read, write or close a data file.
class FileAccessError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A file of fixed-size records (the archive, a tests file), used within one
// user action: open-or-create, positioned reads and writes, closed at the end
// (also by the destructor). Every failure throws FileAccessError.
class RecordFile
{
public:
    RecordFile(const QString &path, int recordSize);
    ~RecordFile();
    RecordFile(const RecordFile &) = delete;
    RecordFile &operator=(const RecordFile &) = delete;

    // Opens for reading and writing, creating an empty file when missing. A
    // file in the data folder that is not a regular file, or is reached
    // through a link leading out of the folder, is refused (DataFolder).
    void open();
    // Whole records in the file, taken from the file itself each time.
    qint64 count();
    // Reads the record at 0-based index; the position is then index + 1.
    QByteArray read(qint64 index);
    // Reads `n` consecutive records into one buffer (for sequential scans).
    QByteArray readBlock(qint64 index, qint64 n);
    // The same records read into one buffer kept from call to call, for a
    // scan over the whole file: no memory to find and clear for each block.
    // Valid until the next call or close().
    const char *viewBlock(qint64 index, qint64 n);
    // Rewrites the record at index (0 <= index <= count) under the write lock.
    void write(qint64 index, const QByteArray &record);
    // Appends after the last whole record (over a trailing fragment) under the
    // write lock; returns the new record's 1-based number.
    qint64 append(const QByteArray &record);
    // 0-based index of the record after the last one read or written.
    qint64 position() const { return m_position; }
    void close();

    int recordSize() const { return m_recordSize; }

private:
    void writeLocked(qint64 index, const QByteArray &record);

    QString m_path;
    QFile m_file;
    std::unique_ptr<char[], LargeMemory::Release> m_viewBuffer;
    qint64 m_viewCapacity = 0;
    int m_recordSize;
    qint64 m_position = 0;
};
