#pragma once

#include "largememory.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

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
//
// Several workstations may use the file at once through a shared folder:
// - Writes are made under the file's exclusive lock (FileLock), reads of
//   records under its shared lock, so no reader sees a record half written.
// - A record rewritten in place goes first to a journal beside the file
//   (journalPath), so that a writer stopped in the middle of the write leaves
//   the record old or new: the next open by any workstation completes it.
//   The file itself keeps its plain layout, and programs that do not know
//   the journal read and write it as before.
// - On a network file system the size and the contents a workstation sees
//   can be its own cached copy, up to a second old even right after taking
//   the lock. There the file's end and every record are read from the server
//   itself (uncached reads, and a write with no effect that makes the client
//   fetch the file's current attributes), so that a new record's number is
//   its true place in the file; where that cannot be done, a write fails
//   instead of landing on another workstation's record.
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
    // A rewrite left unfinished by a stopped writer is completed, and a
    // batch taken back, before the first record is counted, read or
    // written.
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
    // Rewrites the record at index (0 <= index <= count) under the write
    // lock, through the journal when the record exists.
    void write(qint64 index, const QByteArray &record);
    // Appends after the last whole record (over a trailing fragment) under the
    // write lock; returns the new record's 1-based number.
    qint64 append(const QByteArray &record);
    // Many records stored as one change, under one hold of the write lock:
    // first each index of `rewrites` is rewritten with
    // what `rewrite` makes of the record as it is then (an empty array leaves
    // it), then `appended` (whole records back to back) is written after the
    // last whole record. `progress` is told the records done out of all, and
    // may answer false to stop. When anything fails or is stopped, every
    // record rewritten is put back and the file cut back to its old end
    // before the lock is released, so other workstations see all of it or
    // none of it. Returns the 0-based index of the first appended record, or
    // -1 when stopped; throws FileAccessError after putting things back.
    // How to undo the batch is in the journal before anything changes: a
    // crash or power cut in the middle is taken back whole by the next
    // open that reads, writes or appends.
    struct Batch
    {
        std::vector<qint64> rewrites;
        std::function<QByteArray(qint64 index, const QByteArray &current)> rewrite;
        QByteArray appended;
        std::function<bool(qint64 done, qint64 total)> progress;
        // When set: called under the lock, before anything changes, with the
        // records others appended since the file held `seen` records; answers
        // which records of `appended` to keep (one flag each, in order).
        qint64 seen = -1;
        std::function<std::vector<bool>(const std::vector<QByteArray> &since)> keep;
    };
    qint64 writeBatch(const Batch &batch);
    // 0-based index of the record after the last one read or written.
    qint64 position() const { return m_position; }
    void close();

    int recordSize() const { return m_recordSize; }
    // True when the file lies on a file system whose clients may cache what
    // others wrote (anything but a known local disk); the file must be open.
    bool isOnSharedFileSystem() const { return m_shared; }

    // The journal of the file at `path`: the same name with ".jnl" added.
    static QString journalPath(const QString &path);

private:
    class UncachedReader;
    class Journal;
    struct BatchUndo;

    qint64 endOfFile(bool beforeWriting);
    // Reads records as they are: the caller holds a lock, or takes none.
    void readRange(char *into, qint64 index, qint64 n);
    // Reads records under the shared lock, after completing a rewrite left
    // unfinished; the position follows.
    void readShared(char *into, qint64 index, qint64 n);
    void writeLocked(qint64 index, const QByteArray &record);
    void rewriteLocked(qint64 index, const QByteArray &record);
    void completeJournal(Journal &journal);
    void completeUnfinishedBatch();
    void undoBatch(const BatchUndo &undo);
    void completeUnfinishedRewrite();

    QString m_path;
    QFile m_file;
    std::unique_ptr<UncachedReader> m_uncached;
    std::unique_ptr<char[], LargeMemory::Release> m_viewBuffer;
    qint64 m_viewCapacity = 0;
    int m_recordSize;
    qint64 m_position = 0;
    bool m_shared = false;
    bool m_journalChecked = false;
};
