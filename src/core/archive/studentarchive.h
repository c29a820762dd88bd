#pragma once

#include "archive/recordfile.h"
#include "archive/studentrecord.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// The student archive "Archivio_Studenti.pro" of a data folder, for one user
// action: opened (created empty when missing) by the constructor and closed
// by close() or the destructor. Students are named by their 1-based record
// number, which never changes. Every failure throws FileAccessError, to be
// caught once for the whole action (see runUserAction in the window base).
class StudentArchive
{
public:
    // `folder` is the data folder with its trailing '/'.
    explicit StudentArchive(const QString &folder);
    // An archive file under another name (tools and tests).
    enum class FilePath { Given };
    StudentArchive(FilePath, const QString &archivePath);

    // Whole records in the file, read from the file each time.
    qint64 count();
    // The card numbered `number` (1 <= number <= count()).
    StudentRecord read(qint64 number);
    // `n` consecutive raw records from `number` on, for scans that decode
    // only the fields they need.
    QByteArray readBlock(qint64 number, qint64 n);
    // The same records in a buffer kept from call to call, for a scan over
    // the whole archive; valid until the next call or close().
    const char *viewBlock(qint64 number, qint64 n);
    // Replaces card `number` (1 <= number <= count() + 1).
    void rewrite(qint64 number, const StudentRecord &record);
    // Appends the card after the last whole record; returns its number.
    qint64 append(const StudentRecord &record);
    // Cards stored as one change (RecordFile::writeBatch): the cards numbered
    // in `updates` replaced by what `update` makes of each as it is then
    // (nullopt leaves it), then `added` appended. progress(done, total) may
    // answer false to stop. Either all of it is stored or none: returns the
    // number of the first card added, or 0 when stopped; throws
    // FileAccessError with the archive as it was. With `keep`, the cards
    // other workstations added since the archive held `seen` cards are shown
    // to it under the lock, and it answers which of `added` to store (a flag
    // each); the first number returned is that of the first card kept.
    using KeepAdded = std::function<std::vector<bool>(const std::vector<StudentRecord> &since)>;
    qint64 storeBatch(const std::vector<qint64> &updates,
                      const std::function<std::optional<StudentRecord>(qint64 number, const StudentRecord &current)> &update,
                      const std::vector<StudentRecord> &added,
                      const std::function<bool(qint64 done, qint64 total)> &progress, qint64 seen = -1,
                      const KeepAdded &keep = {});
    void close();

    // One card read in its own action: open, read, close.
    static StudentRecord readOne(const QString &folder, qint64 number);

private:
    RecordFile m_file;
};
