// The search at scale, beside the floors the machine sets. For each archive
// size (1,000 to 1,000,000 varied cards, generated under the build folder and
// removed after) it runs, interleaved round after round:
//   two-thread read         the floor of a search with one filter: the
//                           archive read on as many threads as the search
//                           uses, in the scan's own block size, into reused
//                           huge-page buffers, the bytes left untouched
//   read + sort in memory   the floor of a search that lists every card: the
//                           same read, then the list lines (already in
//                           memory) sorted by byte order on one thread
//   cat, grep -c -F, sort   for information: single-threaded tools that also
//                           start a process and (sort) collate by locale
//   the scan alone          for information: the search's core in this
//                           process (no window), on the same two threads,
//                           to tell the scan's cost from the window's
//   Cerca, one filter       } the real window in a process of its own
//   Cerca, no filter        } (search_probe): click until the list is painted,
//                           } and the whole program's peak memory
// Every size runs the number of rounds asked.
// and prints each one's median with its spread (min-max). Other work on the
// machine shows as spread: read the medians.
// Usage, under an X server:
//   xvfb-run -a -s "-screen 0 1280x1024x24" ./search_bench [--runs N]
//       [--sizes 1000,10000,100000,1000000] [--probe name=path]...
// Every --probe is timed beside the others (the default: this build's).
// `search_bench --build <cards> <folder>` only writes the archive and the
// lines file into folder, for profiling.

#include "archive/studentfiles.h"
#include "archive/studentrecord.h"
#include "archive/largememory.h"
#include "search/studentsearch.h"
#include "archivefloor.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <thread>
#include <cstdio>
#include <map>
#include <vector>

namespace {

const char *const kSurnames[] = {
    "Rossi", "Russo", "Ferrari", "Esposito", "Bianchi", "Romano", "Colombo", "Ricci", "Marino", "Greco",
    "Bruno", "Gallo", "Conti", "De Luca", "Mancini", "Costa", "Giordano", "Rizzo", "Lombardi", "Moretti",
    "Barbieri", "Fontana", "Santoro", "Mariani", "Rinaldi", "Caruso", "Ferrara", "Galli", "Martini", "Leone",
    "Longo", "Gentile", "Martinelli", "Vitale", "Lombardo", "Serra", "Coppola", "De Santis", "D'Angelo",
    "Marchetti", "Parisi", "Villa", "Conte", "Ferraro", "Ferri", "Fabbri", "Bianco", "Marini", "Grasso",
    "Valentini", "Messina", "Sala", "De Angelis", "Gatti", "Pellegrini", "Palumbo", "Sanna", "Farina", "Rizzi",
    "Monti", "Cattaneo", "Moretti", "Silvestri", "Mazza", "Testa", "Negri", "Bellini", "Basile", "Riva"};
const char *const kNames[] = {
    "Mario", "Anna", "Giuseppe", "Chiara", "Luca", "Giulia", "Marco", "Sara", "Andrea", "Elena", "Paolo",
    "Francesca", "Matteo", "Laura", "Alessandro", "Martina", "Davide", "Valentina", "Simone", "Federica",
    "Niccolò", "Noemi", "Tommaso", "Beatrice", "Gabriele", "Aurora", "Lorenzo", "Alice", "Riccardo", "Sofia"};
const char *const kCourses[] = {"Informatica di base", "Contabilità", "Lingua inglese", "Disegno tecnico",
                                "Grafica", "Saldatura", "Estetica", "Cucina", "Elettronica", "Marketing"};
const char *const kResults[] = {"Idoneo", "Non idoneo", "Promosso con lode", "Assente", ""};

template<size_t N>
QString pick(const char *const (&list)[N], QRandomGenerator &random)
{
    return QString::fromUtf8(list[random.bounded(int(N))]);
}

QString letters(QRandomGenerator &random, int n)
{
    QString text;
    for (int i = 0; i < n; ++i)
        text += QChar(u'A' + random.bounded(26));
    return text;
}

// The archive of `cards` varied cards, and the same cards' list lines in
// file order, one a line, for sort to work on.
void buildArchive(const QString &path, const QString &linesPath, int cards)
{
    QRandomGenerator random(20261208);
    QFile file(path);
    QFile lines(linesPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || !lines.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot create %s", qPrintable(path));
    QByteArray chunk;
    QByteArray text;
    for (int i = 0; i < cards; ++i) {
        StudentRecord r;
        r[StudentRecord::Studente] = pick(kSurnames, random) + QLatin1Char(' ') + pick(kNames, random)
                                   + (random.bounded(4) == 0 ? QLatin1Char(' ') + pick(kNames, random) : QString());
        r[StudentRecord::Sesso] = random.bounded(2) ? QStringLiteral("M") : QStringLiteral("F");
        r[StudentRecord::DataNasc] = QStringLiteral("%1/%2/%3").arg(1 + random.bounded(28), 2, 10, QLatin1Char('0'))
                                         .arg(1 + random.bounded(12), 2, 10, QLatin1Char('0')).arg(1950 + random.bounded(60));
        r[StudentRecord::Cittadinanza] = QStringLiteral("Italiana");
        r[StudentRecord::LuogoNasc] = pick(kSurnames, random) + QStringLiteral(" di Sopra");
        r[StudentRecord::Indirizzo] = QStringLiteral("Via %1 %2").arg(pick(kSurnames, random)).arg(random.bounded(200));
        r[StudentRecord::Citta] = QStringLiteral("Città %1").arg(random.bounded(500));
        r[StudentRecord::CodFisc] = letters(random, 6) + QString::number(10 + random.bounded(89)) + letters(random, 1)
                                  + QString::number(10 + random.bounded(60)) + letters(random, 1)
                                  + QString::number(100 + random.bounded(899)) + letters(random, 1);
        r[StudentRecord::Corso] = pick(kCourses, random);
        r[StudentRecord::Classe] = QStringLiteral("%1%2").arg(1 + random.bounded(5)).arg(QChar(u'A' + random.bounded(6)));
        r[StudentRecord::Inizio] = QStringLiteral("01/09/%1").arg(1995 + random.bounded(31));
        r[StudentRecord::Fine] = QStringLiteral("30/06/%1").arg(1996 + random.bounded(31));
        r[StudentRecord::DataEsame] = QStringLiteral("%1/06/%2").arg(10 + random.bounded(20)).arg(1996 + random.bounded(31));
        r[StudentRecord::Esito] = pick(kResults, random);
        r[StudentRecord::Note] = QStringLiteral("Nessuna nota particolare per la scheda %1").arg(i + 1);
        const QByteArray bytes = r.encode();
        chunk += bytes;
        StudentListLine::appendBytes(bytes.constData(), text);
        text += '\n';
        if (chunk.size() >= 4 << 20 || i + 1 == cards) {
            if (file.write(chunk) != chunk.size() || lines.write(text) != text.size())
                qFatal("cannot write %s", qPrintable(path));
            chunk.clear();
            text.clear();
        }
    }
}

using Bench::twoThreadRead;

// The list lines, one a line, held in memory for the sorting floor.
struct Lines
{
    QByteArray text;
    std::vector<std::string_view> lines;
    explicit Lines(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read the lines");
        text = file.readAll();
        for (qsizetype at = 0; at < text.size();) {
            qsizetype end = text.indexOf('\n', at);
            if (end < 0)
                end = text.size();
            lines.emplace_back(text.constData() + at, size_t(end - at));
            at = end + 1;
        }
    }
};

// The read, then a copy of the lines sorted by their bytes. Milliseconds.
double readAndSort(const QString &archive, const Lines &lines)
{
    QElapsedTimer clock;
    clock.start();
    twoThreadRead(archive);
    std::vector<std::string_view> sorted = lines.lines;
    std::sort(sorted.begin(), sorted.end());
    return double(clock.nsecsElapsed()) / 1e6;
}

// The search's core alone, as the window runs it. Milliseconds.
double scanAlone(const QString &archive, const QString &word)
{
    StudentSearch::Options options;
    options.threads = 2;
    QList<SearchFilter> filters;
    if (!word.isEmpty())
        filters.append({StudentRecord::Studente, word});
    QElapsedTimer clock;
    clock.start();
    const std::optional<SearchResults> found = StudentSearch::run(archive, filters, options);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    if (!found)
        qFatal("the scan stopped");
    return ms;
}

struct Outcome
{
    double ms = 0;
    long hwmKb = -1;
    long long listed = -1;
};

// `discard`: output to /dev/null (grep must not see /dev/null: it would stop
// at the first match).
Outcome runProcess(const QString &program, const QStringList &arguments, bool probe = false, bool discard = true)
{
    QProcess process;
    if (!probe && discard)
        process.setStandardOutputFile(QProcess::nullDevice());
    process.setProcessChannelMode(probe ? QProcess::SeparateChannels : QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit)
        qFatal("%s did not run", qPrintable(program));
    Outcome outcome;
    outcome.ms = double(clock.nsecsElapsed()) / 1e6;
    if (!probe)
        return outcome;
    const QByteArray out = process.readAllStandardOutput();
    if (process.exitCode() != 0 || !out.startsWith("ms="))
        qFatal("%s failed: %s %s", qPrintable(program), out.constData(), process.readAllStandardError().constData());
    for (const QByteArray &item : out.trimmed().split(' ')) {
        const QList<QByteArray> pair = item.split('=');
        if (pair.size() != 2)
            continue;
        if (pair[0] == "ms")
            outcome.ms = pair[1].toDouble();
        else if (pair[0] == "hwm_kb")
            outcome.hwmKb = pair[1].toLong();
        else if (pair[0] == "listed")
            outcome.listed = pair[1].toLongLong();
    }
    return outcome;
}

struct Series
{
    std::vector<double> values;
    void add(double v) { values.push_back(v); }
    double median() const
    {
        std::vector<double> v = values;
        std::sort(v.begin(), v.end());
        const size_t n = v.size();
        return n == 0 ? 0 : (n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
    }
    double min() const { return values.empty() ? 0 : *std::min_element(values.begin(), values.end()); }
    double max() const { return values.empty() ? 0 : *std::max_element(values.begin(), values.end()); }
};

QString row(const char *name, const Series &s, const char *unit = "ms")
{
    return QString::asprintf("  %-34s %9.1f %s  [%8.1f - %8.1f]", name, s.median(), unit, s.min(), s.max());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::vector<int> sizes = {1000, 10000, 100000, 1000000};
    int runs = 7;
    std::vector<std::pair<QString, QString>> probes;
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--build")) {
        const QString folder = args[3] + QLatin1Char('/');
        QDir().mkpath(folder);
        buildArchive(StudentFiles::archivePath(folder), folder + QStringLiteral("lines.txt"), args[2].toInt());
        return 0;
    }
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--runs") && i + 1 < args.size()) {
            runs = args[++i].toInt();
        } else if (args[i] == QLatin1String("--sizes") && i + 1 < args.size()) {
            sizes.clear();
            for (const QString &n : args[++i].split(QLatin1Char(',')))
                sizes.push_back(n.toInt());
        } else if (args[i] == QLatin1String("--probe") && i + 1 < args.size()) {
            const QString item = args[++i];
            const qsizetype eq = item.indexOf(QLatin1Char('='));
            probes.push_back({item.left(eq), item.mid(eq + 1)});
        }
    }
    if (probes.empty())
        probes.push_back({QStringLiteral("this build"), app.applicationDirPath() + QStringLiteral("/search_probe")});

    const QString folder = app.applicationDirPath() + QStringLiteral("/search_bench_data/");
    const QString word = QStringLiteral("Rossi");
    for (const int cards : sizes) {
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        const QString archive = StudentFiles::archivePath(folder);
        const QString linesPath = folder + QStringLiteral("lines.txt");
        std::printf("\n%d cards: building...\n", cards);
        std::fflush(stdout);
        buildArchive(archive, linesPath, cards);
        const double archiveMb = double(QFile(archive).size()) / 1e6;

        Series cat, grep, sort, read, readSort, scanOne, scanAll;
        std::map<QString, Series> one, all, oneHwm, allHwm;
        long long oneListed = 0, allListed = 0;
        const int rounds = runs;
        const Lines lines(linesPath);
        // A first pass that is not counted: the file cache and the programs warm.
        for (int round = -1; round < rounds; ++round) {
            const bool counted = round >= 0;
            const Outcome c = runProcess(QStringLiteral("cat"), {archive});
            const Outcome g =
                runProcess(QStringLiteral("grep"), {QStringLiteral("-c"), QStringLiteral("-F"), word, archive}, false, false);
            const Outcome s = runProcess(QStringLiteral("sort"), {linesPath, QStringLiteral("-o"), QStringLiteral("/dev/null")});
            const double r = twoThreadRead(archive);
            const double rs = readAndSort(archive, lines);
            const double so = scanAlone(archive, word.toLower());
            const double sa = scanAlone(archive, QString());
            if (counted) {
                scanOne.add(so);
                scanAll.add(sa);
                cat.add(c.ms);
                grep.add(g.ms);
                sort.add(s.ms);
                read.add(r);
                readSort.add(rs);
            }
            for (const auto &probe : probes) {
                const Outcome o = runProcess(probe.second, {folder, word.toLower()}, true);
                const Outcome a = runProcess(probe.second, {folder}, true);
                if (counted) {
                    one[probe.first].add(o.ms);
                    oneHwm[probe.first].add(double(o.hwmKb) / 1024.0);
                    all[probe.first].add(a.ms);
                    allHwm[probe.first].add(double(a.hwmKb) / 1024.0);
                }
                oneListed = o.listed;
                allListed = a.listed;
            }
        }

        std::printf("%d cards, %.1f MB archive, %d rounds; Cerca with \"%s\" lists %lld, with none %lld\n", cards,
                    archiveMb, rounds, qPrintable(word.toLower()), oneListed, allListed);
        std::printf("  %-34s %12s  [%8s - %8s]\n", "", "median", "min", "max");
        std::printf("%s\n", qPrintable(row("two-thread read (floor)", read)));
        std::printf("%s\n", qPrintable(row("cat of the archive", cat)));
        std::printf("%s\n", qPrintable(row("grep -c -F", grep)));
        std::printf("%s  %.2fx the two-thread read\n", qPrintable(row("the scan alone, one filter", scanOne)),
                    scanOne.median() / read.median());
        for (const auto &probe : probes) {
            const QByteArray name = ("Cerca, one filter: " + probe.first).toUtf8();
            std::printf("%s  %.2fx the two-thread read\n", qPrintable(row(name.constData(), one[probe.first])),
                        one[probe.first].median() / read.median());
        }
        std::printf("%s\n", qPrintable(row("read + sort in memory (floor)", readSort)));
        std::printf("%s\n", qPrintable(row("sort of the lines", sort)));
        std::printf("%s  %.2fx read + sort in memory\n", qPrintable(row("the scan alone, no filter", scanAll)),
                    scanAll.median() / readSort.median());
        for (const auto &probe : probes) {
            const QByteArray name = ("Cerca, no filter: " + probe.first).toUtf8();
            std::printf("%s  %.2fx read + sort in memory\n", qPrintable(row(name.constData(), all[probe.first])),
                        all[probe.first].median() / readSort.median());
        }
        for (const auto &probe : probes) {
            const QByteArray a = ("peak memory, one filter: " + probe.first).toUtf8();
            const QByteArray b = ("peak memory, no filter: " + probe.first).toUtf8();
            std::printf("%s\n", qPrintable(row(a.constData(), oneHwm[probe.first], "MB")));
            std::printf("%s\n", qPrintable(row(b.constData(), allHwm[probe.first], "MB")));
        }
        std::fflush(stdout);
        QDir(folder).removeRecursively();
    }
    return 0;
}
