// Replaces a file with `megabytes` MB over and over until it is killed, as a
// program interrupted in the middle of a save: argv = path, megabytes.
#include "archive/atomicfile.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QByteArray data(QByteArray(argv[2]).toLongLong() << 20, 'n');
    for (;;)
        if (!writeFileAtomically(path, data))
            return 1;
}
