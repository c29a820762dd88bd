// Printing a list of ID cards with 12-megapixel photos to a PDF, ten to an A4
// sheet, as the picker's "Stampa tesserini" does, against decoding the same
// photos alone, whole and at the size the card needs. Rounds interleave the
// three; medians and spread are printed. Peak memory of the print is measured
// in child processes (this program run again) at 100 and at the full count.
//   xvfb-run -a -s "-screen 0 1280x1024x24" ./cardbatch_bench [cards] [rounds]
//
// The photos are a few distinct 12-megapixel JPEGs, hard-linked under every
// record number in a folder beside this program, removed at the end. They
// stay in the file cache after the first read, so every figure is for warm
// files: what is measured is decoding and printing, not the disk.
#include "fakeplatform.h"
#include "benchstats.h"
#include "photolike.h"

#include "archive/studentfiles.h"
#include "archive/studentrecord.h"
#include "base/widgets.h"
#include "card/cardbatch.h"
#include "card/cardtemplate.h"
#include "printing/reportoutput.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Distinct = 6;


// The data folder: archive not needed (the batch gets its records), photos
// hard-linked under every number.
void makePhotos(const QString &folder, int cards)
{
    StudentFiles::ensurePhotoFolder(folder);
    QStringList originals;
    for (int k = 0; k < Distinct; ++k) {
        const QString path = folder + QStringLiteral("foto_%1.jpg").arg(k);
        QImageWriter writer(path, "jpg");
        writer.setQuality(90);
        if (!writer.write(Bench::photoLike(20261208 + k, k % 3 == 2 ? QSize(3000, 4000) : QSize(4000, 3000))))
            qFatal("cannot write %s", qPrintable(path));
        originals.append(path);
    }
    for (int n = 1; n <= cards; ++n) {
        const QString target = StudentFiles::photoPath(folder, QString::number(n));
        QFile::remove(target);
        if (::link(QFile::encodeName(originals.at(n % Distinct)).constData(), QFile::encodeName(target).constData()) != 0)
            qFatal("cannot link %s", qPrintable(target));
    }
}

QList<StudentRecord> records(int cards)
{
    QList<StudentRecord> list;
    for (int n = 1; n <= cards; ++n) {
        StudentRecord r;
        r[StudentRecord::Studente] = QStringLiteral("Allievo Numero %1").arg(n);
        r[StudentRecord::Corso] = QStringLiteral("Fotografia digitale");
        r[StudentRecord::Classe] = QStringLiteral("%1B").arg(n % 5 + 1);
        r[StudentRecord::Inizio] = QStringLiteral("15/09/2026");
        r[StudentRecord::Fine] = QStringLiteral("10/06/2027");
        list.append(r);
    }
    return list;
}

IdCardContent school()
{
    IdCardContent card;
    card.associazione = QStringLiteral("Istituto Tecnico Galileo Galilei");
    card.sottotitolo01 = QStringLiteral("Via dei Mille 24, 10123 Torino");
    card.sottotitolo02 = QStringLiteral("Tel. 011 5551234");
    card.annotazioni = QStringLiteral("Anno formativo 2026/2027");
    QImage logo(119, 118, QImage::Format_RGB32);
    logo.fill(QColor(0x20, 0x80, 0x30));
    card.logo = logo;
    return card;
}

// Prints `cards` cards as the picker does; returns milliseconds.
double printCards(const QString &folder, int cards, const QString &pdf)
{
    FakePlatform platform;
    platform.printToPdf = pdf;
    const CardBatch batch(
        school(), records(cards),
        [folder](int i) {
            const QImage photo =
                StudentFiles::loadStudentPhoto(folder, QString::number(i + 1), CardTemplate::photoPrintSize());
            return photo.isNull() ? blankPicture() : photo;
        },
        CardBatch::Mode::A4Sheet, ReportPage::Orientation::Portrait, 0, 0);
    QElapsedTimer clock;
    clock.start();
    if (ReportOutput::printCardBatch(batch, platform, nullptr) != ReportOutput::PrintResult::Printed)
        qFatal("the cards were not printed");
    return clock.nsecsElapsed() / 1e6;
}

// Decodes every card's photo alone; returns milliseconds.
double decodeAll(const QString &folder, int cards, const QSize &cover)
{
    QElapsedTimer clock;
    clock.start();
    qint64 pixels = 0;
    for (int n = 1; n <= cards; ++n)
        pixels += StudentFiles::loadStudentPhoto(folder, QString::number(n), cover).sizeInBytes();
    if (pixels == 0)
        qFatal("no photo decoded");
    return clock.nsecsElapsed() / 1e6;
}

// The peak memory of a child process that prints `cards` cards (0: starts
// and stops only).
double childPeakMb(const QString &folder, int cards)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--child"), folder, QString::number(cards)});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        qFatal("the child process failed: %s", child.readAllStandardError().constData());
    return QString::fromLatin1(child.readAllStandardOutput()).trimmed().toDouble();
}


} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("--child")) {
        const int cards = args.at(3).toInt();
        if (cards > 0)
            printCards(args.at(2), cards, args.at(2) + QStringLiteral("child.pdf"));
        std::printf("%.1f\n", Bench::peakMb());
        return 0;
    }
    const int cards = args.size() > 1 ? args.at(1).toInt() : 1000;
    const int rounds = args.size() > 2 ? args.at(2).toInt() : 3;
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/cardbatch_data/");
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    std::printf("writing %d distinct 12-megapixel photos, linked under %d record numbers, in %s\n", Distinct, cards,
                qPrintable(folder));
    std::fflush(stdout);
    makePhotos(folder, cards);
    qint64 photoBytes = 0;
    for (int k = 0; k < Distinct; ++k)
        photoBytes += QFileInfo(folder + QStringLiteral("foto_%1.jpg").arg(k)).size();

    std::vector<double> full, scaled, print;
    const QString pdf = folder + QStringLiteral("tesserini.pdf");
    // One unmeasured pass brings the files into the cache.
    decodeAll(folder, std::min(cards, Distinct), QSize());
    for (int round = 0; round < rounds; ++round) {
        full.push_back(decodeAll(folder, cards, QSize()));
        scaled.push_back(decodeAll(folder, cards, CardTemplate::photoPrintSize()));
        print.push_back(printCards(folder, cards, pdf));
        std::printf("round %d: full decode %.0f ms, decode at card size %.0f ms, print %.0f ms\n", round + 1,
                    full.back(), scaled.back(), print.back());
        std::fflush(stdout);
    }
    const double pdfMb = QFileInfo(pdf).size() / 1048576.0;
    const double idle = childPeakMb(folder, 0);
    const double at100 = childPeakMb(folder, std::min(100, cards));
    const double atAll = childPeakMb(folder, cards);

    const Bench::Spread f = Bench::spread(full), s = Bench::spread(scaled), p = Bench::spread(print);
    std::printf("\nresults (%d cards, photos %dx%d px, %.1f MB each on average, %d rounds; median [min-max])\n",
                cards, 4000, 3000, photoBytes / 1048576.0 / Distinct, rounds);
    std::printf("  decode whole photos     %8.0f ms  [%.0f-%.0f]  %.1f ms a photo\n", f.median, f.low, f.high,
                f.median / cards);
    std::printf("  decode at card size     %8.0f ms  [%.0f-%.0f]  %.1f ms a photo (%dx%d covered)\n", s.median, s.low,
                s.high, s.median / cards, CardTemplate::photoPrintSize().width(), CardTemplate::photoPrintSize().height());
    std::printf("  print to PDF, A4 sheets %8.0f ms  [%.0f-%.0f]  %.2fx decode at card size, %.2fx whole decode"
                "  (target < 1.5x)\n",
                p.median, p.low, p.high, p.median / s.median, p.median / f.median);
    std::printf("  PDF                     %8.1f MB, %d pages\n", pdfMb, (cards + 9) / 10);
    std::printf("  peak memory: start only %.1f MB, %d cards %.1f MB, %d cards %.1f MB  (target < 300 MB, flat)\n",
                idle, std::min(100, cards), at100, cards, atAll);
    QDir(folder).removeRecursively();
    return 0;
}
