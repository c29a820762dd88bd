// Builds an archive of 100,000 varied cards (339 MB) in a temporary folder and
// times, once each: Cerca with one filter, Cerca with none (every card listed
// and shown in the view), `grep -c -F` over the archive and `sort` over a file
// of the same 100,000 list lines. Prints the peak memory of this process.

#include "base/platform.h"
#include "archive/studentfiles.h"
#include "archive/studentrecord.h"
#include "search/tfrmtrovastudenti.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPrinter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

namespace {

class BenchPlatform : public Platform
{
public:
    bool message(QWidget *, MessageKind, const QString &text) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return true;
    }
    QString openFileName(QWidget *, const QString &, const QString &) override { return {}; }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &,
                         const QString &) override { return {}; }
    std::unique_ptr<QPrinter> openDefaultPrinter() override { return nullptr; }
    bool printDialog(QWidget *, QPrinter *) override { return false; }
    void shellOpen(const QString &) override {}
    std::unique_ptr<CaptureDevice> openCaptureDevice(QObject *) override { return nullptr; }
    QSize screenSize() const override { return {1280, 1024}; }
    QDate today() const override { return QDate(2026, 12, 8); }
};

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

void buildArchive(const QString &path, int cards)
{
    QRandomGenerator random(20261208);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot create %s", qPrintable(path));
    QByteArray chunk;
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
        chunk += r.encode();
        if (chunk.size() >= 4 << 20 || i + 1 == cards) {
            if (file.write(chunk) != chunk.size())
                qFatal("cannot write %s", qPrintable(path));
            chunk.clear();
        }
    }
    file.close();
}

double runProcess(const QString &program, const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForFinished(-1))
        qFatal("%s did not run", qPrintable(program));
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    if (output)
        *output = process.readAllStandardOutput();
    return ms;
}

// Cerca in a fresh window, timed from the click until the list is laid out
// and painted.
double timeCerca(const AppContext &context, const QString &studente, qsizetype *listed)
{
    TfrmTrovaStudenti window(context);
    window.show();
    QApplication::processEvents();
    window.findChild<QLineEdit *>(QStringLiteral("txtStudente"))->setText(studente);
    auto *list = window.findChild<QListView *>(QStringLiteral("lstRecords"));
    QElapsedTimer clock;
    clock.start();
    window.btnCercaClick();
    QApplication::processEvents();
    list->viewport()->repaint();
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    *listed = window.results().size();
    std::printf("  %s\n", qPrintable(window.findChild<QLabel *>(QStringLiteral("lblTrovate"))->text()));
    return ms;
}

long peakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int cards = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir temporary;
    const QString folder = (argc > 2 ? QString::fromLocal8Bit(argv[2]) : temporary.path()) + QLatin1Char('/');

    BenchPlatform platform;
    AppContext context{folder, &platform};
    const QString archive = StudentFiles::archivePath(folder);
    std::printf("building %d cards in %s\n", cards, qPrintable(archive));
    buildArchive(archive, cards);
    const double archiveMb = double(QFile(archive).size()) / 1e6;
    std::printf("archive: %.1f MB\n", archiveMb);

    const QString word = QStringLiteral("Rossi");
    QByteArray grepOut;
    runProcess(QStringLiteral("grep"), {QStringLiteral("-c"), QStringLiteral("-F"), word, archive}); // warms the cache
    const double grepMs = runProcess(QStringLiteral("grep"), {QStringLiteral("-c"), QStringLiteral("-F"), word, archive}, &grepOut);

    qsizetype oneListed = 0;
    qsizetype allListed = 0;
    std::printf("Cerca with one filter (Cognome e nome: \"%s\"):\n", qPrintable(word.toLower()));
    const double oneMs = timeCerca(context, word.toLower(), &oneListed);
    std::printf("Cerca with no filter:\n");
    const double allMs = timeCerca(context, QString(), &allListed);

    // The same lines, unsorted, for sort to work on.
    QString linesPath = folder + QStringLiteral("lines.txt");
    {
        QFile lines(linesPath);
        if (!lines.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(linesPath));
        const SearchResults all = StudentSearch::run(archive, {});
        std::vector<std::pair<qint64, qsizetype>> order;
        for (qsizetype i = 0; i < all.size(); ++i)
            order.push_back({all.recordNumber(i), i});
        std::sort(order.begin(), order.end());
        for (const auto &entry : order) {
            const QByteArrayView line = all.lineBytes(entry.second);
            lines.write(line.data(), line.size());
            lines.write("\n", 1);
        }
    }
    runProcess(QStringLiteral("sort"), {linesPath, QStringLiteral("-o"), QStringLiteral("/dev/null")});
    const double sortMs = runProcess(QStringLiteral("sort"), {linesPath, QStringLiteral("-o"), QStringLiteral("/dev/null")});

    const double peakMb = double(peakKb()) * 1024.0 / 1e6;
    std::printf("\nresults (%d cards, %.1f MB archive)\n", cards, archiveMb);
    std::printf("  grep -c -F %s        %8.1f ms  (%s lines)\n", qPrintable(word), grepMs, grepOut.trimmed().constData());
    std::printf("  Cerca, one filter     %8.1f ms  (%lld listed)  %.2fx grep  (target <= 2x)\n", oneMs,
                qlonglong(oneListed), oneMs / grepMs);
    std::printf("  sort of %lld lines   %8.1f ms\n", qlonglong(allListed), sortMs);
    std::printf("  Cerca, no filter      %8.1f ms  (%lld listed)  %.2fx sort  (target <= 4x)\n", allMs,
                qlonglong(allListed), allMs / sortMs);
    std::printf("  peak memory           %8.1f MB  %.2fx archive  (target < 3x)\n", peakMb, peakMb / archiveMb);
    return 0;
}
