#include "register/testsfile.h"

#include "archive/recordfile.h"
#include "archive/studentfiles.h"

#include <QDir>

namespace TestsFile {

bool isRecordNumber(const QString &number)
{
    if (number.isEmpty() || number.size() > 18 || number.front() == QLatin1Char('0'))
        return false;
    for (QChar c : number)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

QString prepare(const QString &folder, const QString &number)
{
    // Without a stored card there is no file to name: never make one for
    // "Prove_Studente_.pro" or a number the archive does not use.
    if (!isRecordNumber(number))
        throw FileAccessError("no record number for the tests file");
    if (!QDir().mkpath(StudentFiles::testsFolder(folder)))
        throw FileAccessError("cannot create the tests folder");
    return StudentFiles::testsPath(folder, number);
}

void forEach(const QString &path, const std::function<void(qint64, const TProva &)> &visit)
{
    RecordFile file(path, TProva::Size);
    file.open();
    const qint64 count = file.count();
    constexpr qint64 Chunk = 256;
    for (qint64 first = 0; first < count; first += Chunk) {
        const qint64 n = qMin(Chunk, count - first);
        const QByteArray block = file.readBlock(first, n);
        for (qint64 i = 0; i < n; ++i)
            visit(first + i + 1, TProva::decode(block.mid(i * TProva::Size, TProva::Size)));
    }
    file.close();
}

TProva read(const QString &path, qint64 position)
{
    RecordFile file(path, TProva::Size);
    file.open();
    if (position < 1 || position > file.count())
        throw FileAccessError("no such test");
    const TProva test = TProva::decode(file.read(position - 1));
    file.close();
    return test;
}

void write(const QString &path, qint64 position, const TProva &test)
{
    RecordFile file(path, TProva::Size);
    file.open();
    if (position < 1 || position > file.count())
        throw FileAccessError("no such test");
    file.write(position - 1, test.encode());
    file.close();
}

qint64 append(const QString &path, const TProva &test)
{
    RecordFile file(path, TProva::Size);
    file.open();
    const qint64 position = file.append(test.encode());
    file.close();
    return position;
}

} // namespace TestsFile
