// Appends cards to an archive as fast as it can, as a second workstation
// would: argv = archive path, writer tag, count.
#include "archive/recordfile.h"
#include "archive/studentrecord.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QString tag = QString::fromLocal8Bit(argv[2]);
    const int count = QByteArray(argv[3]).toInt();
    for (int i = 0; i < count; ++i) {
        StudentRecord record;
        record[StudentRecord::Studente] = tag + QLatin1Char(' ') + QString::number(i);
        try {
            // One action per card: open, append, close.
            RecordFile file(path, StudentRecord::Size);
            file.open();
            file.append(record.encode());
            file.close();
        } catch (const FileAccessError &) {
            return 1;
        }
    }
    return 0;
}
