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

qint64 StudentArchive::storeBatch(
    const std::vector<qint64> &updates,
    const std::function<std::optional<StudentRecord>(qint64 number, const StudentRecord &current)> &update,
    const std::vector<StudentRecord> &added, const std::function<bool(qint64 done, qint64 total)> &progress,
    qint64 seen, const KeepAdded &keep)
{
    RecordFile::Batch batch;
    batch.rewrites.reserve(updates.size());
    for (const qint64 number : updates)
        batch.rewrites.push_back(number - 1);
    batch.rewrite = [&update](qint64 index, const QByteArray &current) {
        const std::optional<StudentRecord> changed = update(index + 1, StudentRecord::decode(current));
        return changed ? changed->encode() : QByteArray();
    };
    batch.appended.reserve(qsizetype(added.size()) * StudentRecord::Size);
    for (const StudentRecord &card : added)
        batch.appended += card.encode();
    batch.progress = progress;
    if (keep) {
        batch.seen = seen;
        batch.keep = [&keep](const std::vector<QByteArray> &since) {
            std::vector<StudentRecord> cards;
            cards.reserve(since.size());
            for (const QByteArray &record : since)
                cards.push_back(StudentRecord::decode(record));
            return keep(cards);
        };
    }
    const qint64 first = m_file.writeBatch(batch);
    return first < 0 ? 0 : first + 1;
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
