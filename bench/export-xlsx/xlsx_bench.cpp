// Builds the export benchmark's archive of 100,000 varied cards (339 MB) in a
// temporary folder, opens the export window over it, and times, round after
// round, interleaved: `cp` of the archive, the workbook export (.xlsx) of the
// whole grid, `cp` again, the .xls export, the .ods export, and a second floor: `gzip -6` of
// the workbook's sheet markup alone (taken out of the first workbook with
// `unzip`), the compression every workbook of this content costs whoever
// writes it (the library packs at zlib's default level, which it does not
// let a program change). Prints medians and spread,
// the peak memory (VmHWM) of this process, which holds the window as the
// program does, before the first export and at the end, beside the archive's
// size, and the workbook's temporary files' folder.
//   xvfb-run -a -s "-screen 0 1280x1024x24" ./xlsx_bench [cards] [rounds] [folder]
// A folder already holding an archive of that many cards is reused.

#include "export/spreadsheetexport.h"
#include "export/tfrmexpstudenti.h"

#include "archive/studentfiles.h"
#include "archive/studentrecord.h"
#include "benchstats.h"
#include "exportbench.h"
#include "fakeplatform.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <vector>

using namespace ExportBench;

namespace {

// A command's wall-clock and processor time, its output thrown away.
Timing timeCommand(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    Stopwatch watch(RUSAGE_CHILDREN);
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        qFatal("%s did not run", qPrintable(program));
    return watch.stop();
}

} // namespace

int main(int argc, char **argv)
{
    // The spreadsheet libraries' module, as the program finds it beside itself.
    if (qEnvironmentVariableIsEmpty("LUMETRA_MODULE_DIR"))
        qputenv("LUMETRA_MODULE_DIR", LUMETRA_BUILD_MODULE_DIR);
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
    std::printf("archive: %.1f MB; the workbook's temporary files go to %s\n", archiveMb,
                qPrintable(QDir::tempPath()));
    timeCp(archive, copy); // warms the cache

    auto window = std::make_unique<TfrmExpStudenti>(context);
    window->show();
    QApplication::processEvents();
    auto *grid = window->findChild<QTableView *>(QStringLiteral("grdRecords"));
    if (grid->model()->rowCount() != cards)
        qFatal("the grid shows %d rows", grid->model()->rowCount());
    const double peakWithWindow = Bench::peakMb();

    const QString workbook = folder + SpreadsheetExport::workbookFileName();
    std::vector<Timing> cp;
    std::vector<Timing> xlsx;
    std::vector<Timing> xls;
    std::vector<Timing> ods;
    std::vector<Timing> deflate;
    const QString spreadsheet = folder + QStringLiteral("Archivio_Studenti.ods");
    const QString markup = folder + QStringLiteral("sheet1.xml");
    for (int round = 0; round < rounds; ++round) {
        QFile::remove(copy);
        cp.push_back(timeCp(archive, copy));

        platform.saveAnswers << workbook;
        platform.confirmAnswers << true;
        Stopwatch exporting;
        window->cmdEsportaXlsxClick();
        xlsx.push_back(exporting.stop());
        if (platform.opened.size() != 3 * round + 1)
            qFatal("the workbook export failed: %s", qPrintable(platform.lastText()));
        if (round == 0) {
            QProcess unzip;
            unzip.setStandardOutputFile(markup);
            unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), workbook, QStringLiteral("xl/worksheets/sheet1.xml")});
            if (!unzip.waitForFinished(-1) || unzip.exitCode() != 0)
                qFatal("unzip could not read the workbook");
        }
        deflate.push_back(timeCommand(QStringLiteral("gzip"), {QStringLiteral("-6"), QStringLiteral("-c"), markup}));

        QFile::remove(copy);
        cp.push_back(timeCp(archive, copy));

        platform.confirmAnswers << true << true;
        Stopwatch sheet;
        window->cmdEsportaClick();
        xls.push_back(sheet.stop());
        if (platform.opened.size() != 3 * round + 2)
            qFatal("the .xls export failed: %s", qPrintable(platform.lastText()));

        platform.saveAnswers << spreadsheet;
        platform.confirmAnswers << true;
        Stopwatch opendocument;
        window->cmdEsportaXlsxClick();
        ods.push_back(opendocument.stop());
        if (platform.opened.size() != 3 * round + 3)
            qFatal("the .ods export failed: %s", qPrintable(platform.lastText()));
    }
    QFile::remove(copy);
    const double markupMb = double(QFile(markup).size()) / 1e6;
    QFile::remove(markup);

    const double peak = Bench::peakMb();
    std::printf("\nresults (%d cards, %.1f MB archive, %.1f MB workbook, %.1f MB .xls, %.1f MB .ods, %d rounds; "
                "median [min-max])\n",
                cards, archiveMb, double(QFile(workbook).size()) / 1e6,
                double(QFile(window->exportPath()).size()) / 1e6, double(QFile(spreadsheet).size()) / 1e6, rounds);
    printLine("cp of the archive", cp, cp, nullptr);
    printLine("workbook (.xlsx)", xlsx, cp, "< 10x");
    printLine(".xls export", xls, cp, nullptr);
    printLine(".ods export", ods, cp, nullptr);
    std::printf("  (the sheet's markup: %.1f MB)\n", markupMb);
    printLine("gzip -6 of the markup", deflate, cp, nullptr);
    std::printf("  peak memory (VmHWM)   %8.1f MB  (%.1f MB with the window open, before the first export)  "
                "%.2fx archive  (target < 1x)\n",
                peak, peakWithWindow, peak / archiveMb);
    return 0;
}
