#include "archive/studentarchive.h"

#include "archive/studentfiles.h"

StudentArchive::StudentArchive(const QString &folder)
    : m_file(StudentFiles::archivePath(folder), StudentRecord::Size)
{
    m_file.open();
}

StudentArchive::StudentArchive(FilePath, const QString &archivePath)
    : m_file(archivePath, StudentRecord::Size)
{
    m_file.open();
}

qint64 StudentArchive::count()
{
    return m_file.count();
}

StudentRecord StudentArchive::read(qint64 number)
{
    if (number < 1)
        throw FileAccessError("record numbers start at 1");
    return StudentRecord::decode(m_file.read(number - 1));
}

QByteArray StudentArchive::readBlock(qint64 number, qint64 n)
{
    if (number < 1)
        throw FileAccessError("record numbers start at 1");
    return m_file.readBlock(number - 1, n);
}

const char *StudentArchive::viewBlock(qint64 number, qint64 n)
{
    if (number < 1)
        throw FileAccessError("record numbers start at 1");
    return m_file.viewBlock(number - 1, n);
}

void StudentArchive::rewrite(qint64 number, const StudentRecord &record)
{
    if (number < 1)
        throw FileAccessError("record numbers start at 1");
    m_file.write(number - 1, record.encode());
}

qint64 StudentArchive::append(const StudentRecord &record)
{
    return m_file.append(record.encode());
}

void StudentArchive::close()
{
    m_file.close();
}

StudentRecord StudentArchive::readOne(const QString &folder, qint64 number)
{
    StudentArchive archive(folder);
    StudentRecord record = archive.read(number);
    archive.close();
    return record;
}
