#pragma once

#include "archive/recordfile.h"
#include "archive/studentrecord.h"

#include <QByteArray>
#include <QString>

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
    void close();

    // One card read in its own action: open, read, close.
    static StudentRecord readOne(const QString &folder, qint64 number);

private:
    RecordFile m_file;
};
