// Times the import of a class list, round after round: `cp` of the sheet
// (the floor of reading it), the preview (the sheet read, the archive's
// codici fiscali read, every row mapped and checked) and the store of all
// rows as new cards in one locked change, into a fresh copy of an archive
// that already holds cards. Prints medians and spread for each format.
//   ./import_bench [rows=10000] [rounds=5] [cards=10000]

#include "archive/datafolder.h"
#include "archive/studentarchive.h"
#include "benchstats.h"
#include "checks/codicefiscale.h"
#include "exportbench.h"
#include "import/importstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QString code(int n)
{
    const QString first15 = QStringLiteral("BNCLRA") + QStringLiteral("%1").arg(n, 9, 10, QLatin1Char('0'));
    return first15 + CodiceFiscale::expectedCheckCharacter(first15);
}

// A class list as a school receives it: semicolons, Windows line ends.
void writeSheet(const QString &path, int rows)
{
    QRandomGenerator random(20261211);
    QByteArray text = "Cognome;Nome;Sesso;Codice fiscale;Data di nascita;Luogo di nascita;Indirizzo;Città;CAP;"
                      "E-mail;Cellulare;Corso;Classe;Data inizio;Data fine;Note\r\n";
    for (int i = 0; i < rows; ++i) {
        const QStringList cells{
            ExportBench::pick(ExportBench::kSurnames, random), ExportBench::pick(ExportBench::kNames, random),
            random.bounded(2) ? QStringLiteral("M") : QStringLiteral("F"), code(i),
            QStringLiteral("%1/%2/%3").arg(1 + random.bounded(28), 2, 10, QLatin1Char('0'))
                .arg(1 + random.bounded(12), 2, 10, QLatin1Char('0')).arg(1990 + random.bounded(20)),
            QStringLiteral("Perugia"), QStringLiteral("Via dei Priori %1").arg(random.bounded(200)),
            QStringLiteral("Città di Castello"), QStringLiteral("06%1").arg(100 + random.bounded(899)),
            QStringLiteral("studente%1@scuola.it").arg(i), QStringLiteral("+39 333 %1").arg(1000000 + random.bounded(8999999)),
            ExportBench::pick(ExportBench::kCourses, random), QStringLiteral("1A"), QStringLiteral("01/09/2025"),
            QStringLiteral("30/06/2026"), QStringLiteral("Iscritto il %1").arg(1 + random.bounded(28))};
        text += cells.join(QLatin1Char(';')).toUtf8() + "\r\n";
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(path));
}

double cpMs(const QString &from, const QString &to)
{
    QElapsedTimer clock;
    clock.start();
    QProcess cp;
    cp.start(QStringLiteral("cp"), {from, to});
    cp.waitForFinished(-1);
    return clock.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    // The spreadsheet libraries' module, as the program finds it beside itself.
    if (qEnvironmentVariableIsEmpty("LUMETRA_MODULE_DIR"))
        qputenv("LUMETRA_MODULE_DIR", LUMETRA_BUILD_MODULE_DIR);
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    const int cards = argc > 3 ? std::atoi(argv[3]) : 10000;

    QTemporaryDir work;
    const QString base = work.path() + QStringLiteral("/base/");
    QDir().mkpath(base);
    DataFolder::add(base);
    ExportBench::buildArchive(base + QStringLiteral("Archivio_Studenti.pro"), cards);
    const QString csv = work.path() + QStringLiteral("/classe.csv");
    writeSheet(csv, rows);
    QStringList sheets{csv};
    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (!office.isEmpty()) {
        for (const char *to : {"xlsx:Calc MS Excel 2007 XML", "ods"}) {
            QProcess convert;
            convert.start(office, {QStringLiteral("-env:UserInstallation=file://") + work.path() + QStringLiteral("/profile"),
                                   QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                                   QString::fromLatin1(to), QStringLiteral("--infilter=CSV:59,34,76,1"),
                                   QStringLiteral("--outdir"), work.path(), csv});
            convert.waitForFinished(-1);
            const QString out = work.path() + QStringLiteral("/classe.") + QString::fromLatin1(to).section(QLatin1Char(':'), 0, 0);
            if (QFile::exists(out))
                sheets << out;
        }
    }
    std::printf("%d rows into an archive of %d cards, %d rounds (median, low-high, ms)\n", rows, cards, rounds);
    for (const QString &sheet : sheets) {
        std::vector<double> cp, preview, store;
        int stored = 0;
        for (int r = 0; r < rounds; ++r) {
            const QString folder = work.path() + QStringLiteral("/round%1/").arg(r);
            QDir(folder).removeRecursively();
            QDir().mkpath(folder);
            DataFolder::add(folder);
            QFile::copy(base + QStringLiteral("Archivio_Studenti.pro"), folder + QStringLiteral("Archivio_Studenti.pro"));
            cp.push_back(cpMs(sheet, folder + QStringLiteral("copia")));
            QElapsedTimer clock;
            clock.start();
            ImportPlan plan(SheetReader::read(sheet), ImportPlan::readArchiveCodes(folder));
            preview.push_back(clock.nsecsElapsed() / 1e6);
            clock.restart();
            const ImportSummary summary = ImportStore::store(folder, plan);
            store.push_back(clock.nsecsElapsed() / 1e6);
            stored = int(summary.stored.size());
            DataFolder::remove(folder);
            QDir(folder).removeRecursively();
        }
        const auto line = [](const char *what, const std::vector<double> &v) {
            const Bench::Spread s = Bench::spread(v);
            std::printf("  %-8s %8.1f  (%.1f-%.1f)\n", what, s.median, s.low, s.high);
        };
        std::printf("%s (%lld KB), %d cards stored:\n", qPrintable(QFileInfo(sheet).fileName()),
                    QFileInfo(sheet).size() / 1024, stored);
        line("cp", cp);
        line("preview", preview);
        line("import", store);
    }
    return 0;
}
