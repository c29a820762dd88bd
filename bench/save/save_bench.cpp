// Times, round after round and interleaved, in each folder given: the floor
// (open a file, write 3389 bytes, flush them to disk with fdatasync, close),
// the save of a new card (open the archive, lock, find its end, append,
// flush, close), the save of a card rewritten in place (the same through the
// journal) and the reading of one card (open, shared lock, read, close).
// Prints medians and spread in milliseconds and each path beside the floor.
//   ./save_bench [rounds] folder...
// Each folder gets a fresh subfolder, removed at the end.

#include "archive/studentarchive.h"
#include "archive/studentrecord.h"
#include "benchstats.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

StudentRecord card(int i)
{
    StudentRecord record;
    record[StudentRecord::Studente] = QStringLiteral("Studente %1").arg(i);
    record[StudentRecord::Sesso] = QStringLiteral("F");
    record[StudentRecord::Corso] = QStringLiteral("Informatica di base");
    record[StudentRecord::Classe] = QStringLiteral("1A");
    record[StudentRecord::Inizio] = QStringLiteral("01/09/2026");
    record[StudentRecord::Fine] = QStringLiteral("30/06/2027");
    record[StudentRecord::Note] = QStringLiteral("Versione %1").arg(i);
    return record;
}

double timed(const std::function<void()> &step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return double(timer.nsecsElapsed()) / 1e6;
}

struct Paths
{
    std::vector<double> floor, append, rewrite, read;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: save_bench rounds folder...\n");
        return 2;
    }
    const int rounds = QByteArray(argv[1]).toInt();
    QStringList folders;
    for (int i = 2; i < argc; ++i) {
        const QString base = QString::fromLocal8Bit(argv[i]);
        const QString folder = base + QStringLiteral("/save_bench_%1/").arg(QCoreApplication::applicationPid());
        if (!QDir().mkpath(folder)) {
            std::fprintf(stderr, "cannot make %s\n", qPrintable(folder));
            return 1;
        }
        folders << folder;
    }
    const QByteArray bytes = card(0).encode();
    std::vector<Paths> results(size_t(folders.size()));
    int next = 1;
    for (int round = 0; round < rounds; ++round) {
        for (int f = 0; f < folders.size(); ++f) {
            const QString &folder = folders[f];
            Paths &paths = results[size_t(f)];
            const QByteArray plain = QFile::encodeName(folder + QStringLiteral("plain.bin"));
            paths.floor.push_back(timed([&] {
                const int fd = ::open(plain.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
                if (fd < 0 || ::pwrite(fd, bytes.constData(), size_t(bytes.size()), 0) != bytes.size()
                    || ::fdatasync(fd) != 0 || ::close(fd) != 0)
                    std::abort();
            }));
            paths.append.push_back(timed([&] {
                StudentArchive archive(folder);
                archive.append(card(next++));
                archive.close();
            }));
            paths.rewrite.push_back(timed([&] {
                StudentArchive archive(folder);
                const qint64 count = archive.count();
                archive.rewrite(1 + qint64(QRandomGenerator::global()->bounded(int(count))), card(next++));
                archive.close();
            }));
            paths.read.push_back(timed([&] {
                StudentArchive archive(folder);
                const qint64 count = archive.count();
                archive.read(1 + qint64(QRandomGenerator::global()->bounded(int(count))));
                archive.close();
            }));
        }
    }
    for (int f = 0; f < folders.size(); ++f) {
        const Paths &paths = results[size_t(f)];
        const Bench::Spread floor = Bench::spread(paths.floor);
        std::printf("%s (%d rounds)\n", qPrintable(QString::fromLocal8Bit(argv[f + 2])), rounds);
        const auto row = [&](const char *name, const std::vector<double> &values) {
            const Bench::Spread s = Bench::spread(values);
            std::printf("  %-34s %8.3f ms  [%7.3f .. %8.3f]  %5.2fx floor\n", name, s.median, s.low, s.high,
                        s.median / floor.median);
        };
        row("write + fdatasync 3389 bytes", paths.floor);
        row("save a new card", paths.append);
        row("save a card rewritten in place", paths.rewrite);
        row("read one card", paths.read);
        QDir(folders[f]).removeRecursively();
    }
    return 0;
}
