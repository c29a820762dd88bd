// Runs one search over the archive given and prints the process's peak
// memory in kB (VmHWM) and the number of lines listed.
// Usage: search_peak <archive> [Cognome e nome filter]
#include "search/studentsearch.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString filter = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    StudentSearch::Options options;
    options.threads = 2;
    const std::optional<SearchResults> found =
        StudentSearch::run(QString::fromLocal8Bit(argv[1]), {{StudentRecord::Studente, filter}}, options);
    QFile status(QStringLiteral("/proc/self/status"));
    if (!found || !status.open(QIODevice::ReadOnly))
        return 1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            std::printf("%lld %lld\n", line.mid(6).trimmed().split(' ').first().toLongLong(),
                        qlonglong(found->size()));
    return 0;
}
