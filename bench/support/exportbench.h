#pragma once

// What the export benchmarks share: an archive of varied cards built the same
// way for each, and the timing of a step beside `cp` of the archive, wall
// clock and processor time, medians with their spread.

#include "archive/studentrecord.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace ExportBench {

const char *const kSurnames[] = {
    "Rossi", "Russo", "Ferrari", "Esposito", "Bianchi", "Romano", "Colombo", "Ricci", "Marino", "Greco",
    "Bruno", "Gallo", "Conti", "De Luca", "Mancini", "Costa", "Giordano", "Rizzo", "Lombardi", "Moretti",
    "Barbieri", "Fontana", "Santoro", "Mariani", "Rinaldi", "Caruso", "Ferrara", "Galli", "Martini", "Leone"};
const char *const kNames[] = {"Mario", "Anna", "Giuseppe", "Chiara", "Luca", "Giulia", "Marco", "Sara",
                              "Niccolò", "Noemi", "Tommaso", "Beatrice", "Gabriele", "Aurora", "Lorenzo"};
const char *const kCourses[] = {"Informatica di base", "Contabilità", "Lingua inglese", "Disegno tecnico",
                                "Grafica & stampa", "Saldatura", "Estetica", "Cucina", "Elettronica", "Marketing"};
const char *const kResults[] = {"Idoneo", "Non idoneo", "Promosso con lode", "Assente", ""};

template<size_t N>
inline QString pick(const char *const (&list)[N], QRandomGenerator &random)
{
    return QString::fromUtf8(list[random.bounded(int(N))]);
}

inline void buildArchive(const QString &path, int cards)
{
    QRandomGenerator random(20261208);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot create %s", qPrintable(path));
    QByteArray chunk;
    for (int i = 0; i < cards; ++i) {
        StudentRecord r;
        r[StudentRecord::Studente] = pick(kSurnames, random) + QLatin1Char(' ') + pick(kNames, random);
        r[StudentRecord::Sesso] = random.bounded(2) ? QStringLiteral("M") : QStringLiteral("F");
        r[StudentRecord::DataNasc] = QStringLiteral("%1/%2/%3").arg(1 + random.bounded(28), 2, 10, QLatin1Char('0'))
                                         .arg(1 + random.bounded(12), 2, 10, QLatin1Char('0')).arg(1950 + random.bounded(60));
        r[StudentRecord::Cittadinanza] = QStringLiteral("Italiana");
        r[StudentRecord::LuogoNasc] = pick(kSurnames, random) + QStringLiteral(" di Sopra");
        r[StudentRecord::Indirizzo] = QStringLiteral("Via %1 %2").arg(pick(kSurnames, random)).arg(random.bounded(200));
        r[StudentRecord::Citta] = QStringLiteral("Città %1").arg(random.bounded(500));
        r[StudentRecord::Cap] = QStringLiteral("%1").arg(10000 + random.bounded(89999));
        r[StudentRecord::Nazione] = QStringLiteral("Italia");
        r[StudentRecord::CodFisc] = QStringLiteral("RSSMRA%1A01H501U").arg(10 + random.bounded(89));
        r[StudentRecord::Email] = QStringLiteral("studente%1@scuola.it").arg(i + 1);
        r[StudentRecord::Cel] = QStringLiteral("333 %1").arg(1000000 + random.bounded(8999999));
        r[StudentRecord::Corso] = pick(kCourses, random);
        r[StudentRecord::Classe] = QStringLiteral("%1%2").arg(1 + random.bounded(5)).arg(QChar(u'A' + random.bounded(6)));
        r[StudentRecord::Inizio] = QStringLiteral("01/09/%1").arg(1995 + random.bounded(31));
        r[StudentRecord::Fine] = QStringLiteral("30/06/%1").arg(1996 + random.bounded(31));
        r[StudentRecord::DataEsame] = QStringLiteral("%1/06/%2").arg(10 + random.bounded(20)).arg(1996 + random.bounded(31));
        r[StudentRecord::Esito] = pick(kResults, random);
        r[StudentRecord::Note] = QStringLiteral("Nessuna nota particolare per la scheda %1 <€>").arg(i + 1);
        chunk += r.encode();
        if (chunk.size() >= 4 << 20 || i + 1 == cards) {
            if (file.write(chunk) != chunk.size())
                qFatal("cannot write %s", qPrintable(path));
            chunk.clear();
        }
    }
    file.close();
}

// Processor time (user + system) used so far, in ms, by this process or by
// its finished children.
inline double cpuMs(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return (double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
            + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3);
}

// Wall-clock and processor time of one step: on a machine shared with other
// work the wall clock also counts the waits for a processor.
struct Timing
{
    double wall;
    double cpu;
};

class Stopwatch
{
public:
    explicit Stopwatch(int who = RUSAGE_SELF) : m_who(who), m_cpu(cpuMs(who)) { m_clock.start(); }
    Timing stop() const { return {double(m_clock.nsecsElapsed()) / 1e6, cpuMs(m_who) - m_cpu}; }

private:
    int m_who;
    double m_cpu;
    QElapsedTimer m_clock;
};

inline Timing timeCp(const QString &from, const QString &to)
{
    QProcess process;
    Stopwatch watch(RUSAGE_CHILDREN);
    process.start(QStringLiteral("cp"), {from, to});
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        qFatal("cp did not run");
    return watch.stop();
}

// `cp` and then `sync -d` of the copy: the bytes written and flushed to the
// disk, as a write that must survive a crash does it. Both processes timed.
inline Timing timeDurableCp(const QString &from, const QString &to)
{
    Stopwatch watch(RUSAGE_CHILDREN);
    for (const QStringList &command : {QStringList{QStringLiteral("cp"), from, to},
                                       QStringList{QStringLiteral("sync"), QStringLiteral("-d"), to}}) {
        QProcess process;
        process.start(command.first(), command.mid(1));
        if (!process.waitForFinished(-1) || process.exitCode() != 0)
            qFatal("%s did not run", qPrintable(command.first()));
    }
    return watch.stop();
}

struct Spread
{
    double median;
    double low;
    double high;
};

inline Spread spread(const std::vector<Timing> &timings, double Timing::*part)
{
    std::vector<double> values;
    for (const Timing &t : timings)
        values.push_back(t.*part);
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

// With a target (empty for none), the ratio to the floor's median, named by
// floorName.
inline void printLine(const char *what, const std::vector<Timing> &timings, const std::vector<Timing> &cp,
                      const char *target, const char *floorName = "cp")
{
    for (double Timing::*part : {&Timing::wall, &Timing::cpu}) {
        const Spread s = spread(timings, part);
        const Spread c = spread(cp, part);
        std::printf("  %-26s %-4s %8.1f ms  [%.1f-%.1f]", part == &Timing::wall ? what : "",
                    part == &Timing::wall ? "wall" : "cpu", s.median, s.low, s.high);
        if (target)
            std::printf("  %.2fx %s", s.median / c.median, floorName);
        if (target && *target)
            std::printf("  (target %s)", target);
        std::printf("\n");
    }
}

} // namespace ExportBench
