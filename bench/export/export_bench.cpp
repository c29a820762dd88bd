// Builds an archive of 100,000 varied cards (339 MB) in a temporary folder and
// times, round after round, interleaved: `cp` of the archive, opening the
// export window until its grid is painted, `cp` again, the export of the
// whole grid to the sheet, and `cp` + `sync -d` of the sheet written (what
// writing those bytes durably costs: the export flushes its file before it
// takes the old one's place, `cp` flushes nothing). Prints medians and
// spread, and the peak memory of this process beside the archive's size.
//   xvfb-run -a -s "-screen 0 1280x1024x24" ./export_bench [cards] [rounds] [folder]
// A folder already holding an archive of that many cards is reused.

#include "export/archivetablemodel.h"
#include "export/tfrmexpstudenti.h"

#include "archive/studentfiles.h"
#include "archive/studentrecord.h"
#include "exportbench.h"
#include "fakeplatform.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace ExportBench;

double peakMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) * 1024.0 / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int cards = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    QTemporaryDir temporary;
    const QString folder = (argc > 3 ? QString::fromLocal8Bit(argv[3]) : temporary.path()) + QLatin1Char('/');

    FakePlatform platform;
    AppContext context{folder, &platform};
    const QString archive = StudentFiles::archivePath(folder);
    const QString copy = folder + QStringLiteral("copia.pro");
    if (QFile(archive).size() == qint64(cards) * StudentRecord::Size) {
        std::printf("reusing the %d cards in %s\n", cards, qPrintable(archive));
    } else {
        std::printf("building %d cards in %s\n", cards, qPrintable(archive));
        buildArchive(archive, cards);
    }
    const double archiveMb = double(QFile(archive).size()) / 1e6;
    std::printf("archive: %.1f MB\n", archiveMb);
    const double peakBefore = peakMb();
    timeCp(archive, copy); // warms the cache

    std::vector<Timing> cp;
    std::vector<Timing> open;
    std::vector<Timing> load;
    std::vector<Timing> exported;
    std::vector<Timing> durable;
    qint64 sheetBytes = 0;
    for (int round = 0; round < rounds; ++round) {
        QFile::remove(copy);
        cp.push_back(timeCp(archive, copy));

        Stopwatch opening;
        auto window = std::make_unique<TfrmExpStudenti>(context);
        window->show();
        QApplication::processEvents();
        auto *grid = window->findChild<QTableView *>(QStringLiteral("grdRecords"));
        grid->viewport()->repaint();
        open.push_back(opening.stop());
        if (grid->model()->rowCount() != cards)
            qFatal("the grid shows %d rows", grid->model()->rowCount());

        QFile::remove(copy);
        cp.push_back(timeCp(archive, copy));

        {
            Stopwatch reading;
            ArchiveTableModel model;
            model.load(folder);
            load.push_back(reading.stop());
        }

        Stopwatch exporting;
        window->cmdEsportaClick();
        exported.push_back(exporting.stop());
        sheetBytes = QFile(window->exportPath()).size();
        if (platform.opened.size() != round + 1)
            qFatal("the export failed: %s",
                   qPrintable(platform.messages.isEmpty() ? QString() : platform.messages.last().text));
        // The sheet's own bytes copied and flushed, as the export flushes them.
        QFile::remove(copy);
        durable.push_back(timeDurableCp(window->exportPath(), copy));
        window.reset();
        QApplication::processEvents();
    }
    QFile::remove(copy);

    const double peak = peakMb();
    std::printf("\nresults (%d cards, %.1f MB archive, %.1f MB sheet, %d rounds; median [min-max])\n", cards,
                archiveMb, double(sheetBytes) / 1e6, rounds);
    printLine("cp of the archive", cp, cp, nullptr);
    printLine("opening the window", open, cp, "<= 2x");
    printLine("  reading alone", load, cp, nullptr);
    printLine("export of the grid", exported, cp, "<= 2x");
    printLine("cp + sync -d of the sheet", durable, cp, nullptr);
    printLine("export beside that", exported, durable, "", "cp + sync -d of the sheet");
    std::printf("  peak memory           %8.1f MB  (%.1f MB before the first window)  %.2fx archive  (target < 1x)\n",
                peak, peakBefore, peak / archiveMb);
    return 0;
}
