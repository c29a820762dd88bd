// The statistics at scale, beside the floors the machine sets. For each
// archive size (1,000 to 1,000,000 varied cards and, by default, a tests
// file of 1 to 4 tests for every card, generated under the build folder and
// removed after) it runs, interleaved round after round:
//   two-thread read            the floor of the archive part: the archive read
//                              on two threads in the scan's block size
//   two-thread tests read      the floor of the tests part: every tests file
//                              opened by name and read, on two threads
//   count, every year          the statistics over a period holding every
//                              course: each card counted, each tests file read
//   count, one school year     the window's default period
// and the count's peak memory above what the process held before it, which
// must not grow with the archive. Prints each one's median with its spread.
// Usage: ./stats_bench [--runs N] [--sizes 1000,100000,1000000]
//                      [--tests-share PERCENT]
// `stats_bench --build <cards> <folder>` only writes the data folder (for
// looking at the window on a large archive).

#include "archive/datafolder.h"
#include "archive/studentfiles.h"
#include "archive/studentrecord.h"
#include "register/testrecord.h"
#include "stats/archivestats.h"
#include "archivefloor.h"
#include "benchstats.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <thread>
#include <vector>

namespace {

const char *const kCourses[] = {"Informatica di base", "Contabilità", "Lingua inglese", "Disegno tecnico",
                                "Grafica", "Saldatura", "Estetica", "Cucina", "Elettronica", "Marketing",
                                "Operatore socio sanitario", "Magazzino e logistica"};
const char *const kCitizenship[] = {"Italiana", "Italiana", "Italiana", "Italiana", "Italiana", "italiana",
                                    "Romena", "Albanese", "Marocchina", "Cinese", "Ucraina", "Filippina",
                                    "Indiana", "Moldava", "Peruviana", "Egiziana", "Tunisina", "Senegalese", ""};
const char *const kEducation[] = {"Licenza media", "Diploma", "Diploma", "Laurea", "Qualifica professionale",
                                  "Licenza elementare", "Nessuno", ""};
const char *const kResults[] = {"Idoneo", "idoneo", "IDONEO", "Non idoneo", "Promosso", "Assente", "Ottimo",
                                "Buono", "Sufficiente", "Insufficiente", "Rinviato", "Ritirato", ""};
const char *const kTests[] = {"Prova scritta", "Prova orale", "Prova pratica", "Esercitazione"};

template<size_t N>
QString pick(const char *const (&list)[N], QRandomGenerator &random)
{
    return QString::fromUtf8(list[random.bounded(int(N))]);
}

QString date(int day, int month, int year)
{
    return QStringLiteral("%1/%2/%3").arg(day, 2, 10, QLatin1Char('0')).arg(month, 2, 10, QLatin1Char('0')).arg(year);
}

void writeFile(const QByteArray &path, const QByteArray &bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size())
        qFatal("cannot write %s", path.constData());
    ::close(fd);
}

void build(const QString &folder, int cards, int testsShare)
{
    QRandomGenerator random(20261211);
    QDir().mkpath(StudentFiles::testsFolder(folder));
    QFile archive(StudentFiles::archivePath(folder));
    if (!archive.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot create the archive");
    QByteArray chunk;
    for (int i = 0; i < cards; ++i) {
        StudentRecord r;
        const int year = 1995 + random.bounded(32);
        r[StudentRecord::Studente] = QStringLiteral("Studente %1").arg(i + 1);
        r[StudentRecord::Sesso] = random.bounded(50) == 0 ? QString() : random.bounded(2) ? QStringLiteral("M") : QStringLiteral("F");
        r[StudentRecord::DataNasc] = random.bounded(80) == 0 ? QStringLiteral("ignota")
                                   : date(1 + random.bounded(28), 1 + random.bounded(12), year - 14 - random.bounded(50));
        r[StudentRecord::Cittadinanza] = pick(kCitizenship, random);
        r[StudentRecord::Studio] = pick(kEducation, random);
        r[StudentRecord::Corso] = pick(kCourses, random);
        r[StudentRecord::Classe] = QStringLiteral("%1%2").arg(1 + random.bounded(5)).arg(QChar(u'A' + random.bounded(4)));
        r[StudentRecord::Inizio] = date(1 + random.bounded(28), 9 + random.bounded(4), year);
        r[StudentRecord::Fine] = date(1 + random.bounded(28), 1 + random.bounded(7), year + 1);
        r[StudentRecord::Esito] = pick(kResults, random);
        r[StudentRecord::Note] = QStringLiteral("Nessuna nota particolare per la scheda %1").arg(i + 1);
        chunk += r.encode();
        if (chunk.size() >= 4 << 20 || i + 1 == cards) {
            if (archive.write(chunk) != chunk.size())
                qFatal("cannot write the archive");
            chunk.clear();
        }
        if (random.bounded(100) < testsShare) {
            QByteArray tests;
            for (int t = 0, n = 1 + random.bounded(4); t < n; ++t) {
                TProva test;
                test[TProva::Data] = date(1 + random.bounded(28), 1 + random.bounded(12), year + 1);
                test[TProva::Prova] = pick(kTests, random);
                test[TProva::Docente] = QStringLiteral("Docente %1").arg(random.bounded(40));
                test[TProva::Aula] = QStringLiteral("Aula %1").arg(random.bounded(12));
                test[TProva::Esito] = pick(kResults, random);
                tests += test.encode();
            }
            writeFile(QFile::encodeName(StudentFiles::testsPath(folder, QString::number(i + 1))), tests);
        }
    }
}

// Every tests file opened by name and read, the cards split between two
// threads as the count splits them. Milliseconds.
double twoThreadTestsRead(const QString &folder, qint64 cards)
{
    const auto readPart = [&folder](qint64 from, qint64 to) {
        const DataFolder::Folder tests(StudentFiles::testsFolder(folder));
        QByteArray content;
        for (qint64 n = from; n <= to; ++n)
            tests.read("Prove_Studente_" + QByteArray::number(n) + ".pro", 1 << 20, &content);
    };
    QElapsedTimer clock;
    clock.start();
    std::thread second(readPart, cards / 2 + 1, cards);
    readPart(1, cards / 2);
    second.join();
    return double(clock.nsecsElapsed()) / 1e6;
}

struct Count
{
    double ms;
    double peakMb;
    qint64 counted;
};

Count runCount(const QString &folder, const ArchiveStats::Period &period)
{
    ArchiveStats::Options options;
    options.period = period;
    options.threads = 2;
    const double before = Bench::residentMb();
    Bench::resetPeak();
    QElapsedTimer clock;
    clock.start();
    const std::optional<ArchiveStats::Result> result = ArchiveStats::count(folder, options);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    return {ms, Bench::peakMb() - before, result ? result->cardsCounted : -1};
}

void row(const char *name, const std::vector<double> &values, const char *unit = "ms", double floor = 0)
{
    const Bench::Spread s = Bench::spread(values);
    std::printf("  %-34s %9.1f %s  [%8.1f - %8.1f]", name, s.median, unit, s.low, s.high);
    if (floor > 0)
        std::printf("  %.2fx the floors", s.median / floor);
    std::printf("\n");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::vector<int> sizes = {1000, 100000, 1000000};
    int runs = 5;
    int testsShare = 100;
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--build")) {
        const QString folder = args[3] + QLatin1Char('/');
        QDir().mkpath(folder);
        build(folder, args[2].toInt(), testsShare);
        return 0;
    }
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--runs")) {
            runs = args[++i].toInt();
        } else if (args[i] == QLatin1String("--tests-share")) {
            testsShare = args[++i].toInt();
        } else if (args[i] == QLatin1String("--sizes")) {
            sizes.clear();
            for (const QString &n : args[++i].split(QLatin1Char(',')))
                sizes.push_back(n.toInt());
        }
    }

    const QString folder = app.applicationDirPath() + QStringLiteral("/stats_bench_data/");
    DataFolder::add(folder);
    const ArchiveStats::Period everyYear{QDate(1990, 1, 1), QDate(2040, 12, 31)};
    const ArchiveStats::Period oneYear{QDate(2025, 9, 1), QDate(2026, 8, 31)};
    for (const int cards : sizes) {
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        std::printf("\n%d cards, tests files for %d %% of them: building...\n", cards, testsShare);
        std::fflush(stdout);
        build(folder, cards, testsShare);
        const double archiveMb = double(QFile(StudentFiles::archivePath(folder)).size()) / 1e6;

        std::vector<double> read, tests, all, year, allPeak, yearPeak;
        qint64 allCounted = 0, yearCounted = 0;
        // A first round that is not counted: the file cache warms.
        for (int round = -1; round < runs; ++round) {
            const double r = Bench::twoThreadRead(StudentFiles::archivePath(folder));
            const double t = twoThreadTestsRead(folder, cards);
            const Count a = runCount(folder, everyYear);
            const Count y = runCount(folder, oneYear);
            if (round < 0)
                continue;
            read.push_back(r);
            tests.push_back(t);
            all.push_back(a.ms);
            year.push_back(y.ms);
            allPeak.push_back(a.peakMb);
            yearPeak.push_back(y.peakMb);
            allCounted = a.counted;
            yearCounted = y.counted;
        }
        std::printf("%d cards, %.1f MB archive, %d rounds; every year counts %lld cards, one school year %lld\n",
                    cards, archiveMb, runs, allCounted, yearCounted);
        std::printf("  %-34s %12s  [%8s - %8s]\n", "", "median", "min", "max");
        row("two-thread read (floor)", read);
        row("two-thread tests read (floor)", tests);
        const double floors = Bench::median(read) + Bench::median(tests);
        row("count, every year", all, "ms", floors);
        row("count, one school year", year, "ms", Bench::median(read));
        row("peak memory added, every year", allPeak, "MB");
        row("peak memory added, one year", yearPeak, "MB");
        std::fflush(stdout);
        QDir(folder).removeRecursively();
    }
    return 0;
}
