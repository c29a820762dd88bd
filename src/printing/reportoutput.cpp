#include "reportoutput.h"

#include "reportpreview.h"

#include "base/platform.h"
#include "card/cardbatch.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageRanges>
#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>
#include <QProgressDialog>

#include <algorithm>
#include <cmath>

namespace {
QPageLayout pageLayoutOf(const Report &report)
{
    const ReportPage &page = report.firstPage();
    const double w = page.paperWidthMm();
    const double h = page.paperHeightMm();
    QPageSize size = page.paperSizeCode() == ReportPage::PaperA4
                         ? QPageSize(QPageSize::A4)
                         : QPageSize(QSizeF(std::min(w, h), std::max(w, h)), QPageSize::Millimeter,
                                     QString(), QPageSize::ExactMatch);
    const auto orientation = w > h ? QPageLayout::Landscape : QPageLayout::Portrait;
    return QPageLayout(size, orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

// The pages a run puts on paper, in order (0-based, of `count`): those chosen
// in the print dialog, then the copies that the printer cannot make itself
// drawn here, collated as asked.
QList<int> pageSequence(const QPrinter &printer, int count, int currentPage)
{
    QList<int> chosen;
    switch (printer.printRange()) {
    case QPrinter::CurrentPage:
        chosen.append(std::clamp(currentPage, 0, std::max(0, count - 1)));
        break;
    case QPrinter::PageRange: {
        const QPageRanges ranges = printer.pageRanges();
        for (int i = 0; i < count; ++i) {
            const bool inRange = ranges.isEmpty() ? (i + 1 >= printer.fromPage() && i + 1 <= printer.toPage())
                                                  : ranges.contains(i + 1);
            if (inRange)
                chosen.append(i);
        }
        break;
    }
    default:
        for (int i = 0; i < count; ++i)
            chosen.append(i);
    }
    if (count == 0)
        return {};

    QList<int> sequence;
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    if (printer.collateCopies()) {
        for (int c = 0; c < copies; ++c)
            sequence += chosen;
    } else {
        for (int page : chosen)
            for (int c = 0; c < copies; ++c)
                sequence.append(page);
    }
    return sequence;
}

// CUPS job options as name, value pairs, the print engine property through
// which the print dialog hands them over.
constexpr auto CupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// Drops the job being painted on printer, its painter still active, so that
// nothing of it is printed. Engines that can drop a started job do
// (QPrinter::abort). The PDF and CUPS engines cannot: they always finish what
// was painted once the painter ends. A job of theirs going to a print queue
// is then handed over with a copy count the print service refuses, so that
// it is never queued; a file they write is left to the caller, whose name is
// returned, to remove after the painter has ended.
QString dropJob(QPrinter &printer)
{
    if (printer.abort())
        return {};
    if (!printer.outputFileName().isEmpty())
        return printer.outputFileName();
    QPrintEngine *engine = printer.printEngine();
    QStringList options = engine->property(CupsOptions).toStringList();
    for (qsizetype i = 0; i + 1 < options.size();) {
        if (options.at(i).compare(QLatin1String("copies"), Qt::CaseInsensitive) == 0)
            options.remove(i, 2);
        else
            i += 2;
    }
    options << QStringLiteral("copies") << QStringLiteral("0");
    // The engine adds a copy count of its own above one.
    engine->setProperty(QPrintEngine::PPK_CopyCount, 1);
    engine->setProperty(CupsOptions, options);
    return {};
}

// A job shorter than this shows no progress window.
constexpr int ProgressDelayMs = 1000;

QString cardProgressText(int done, int total)
{
    return QStringLiteral("Stampa dei tesserini: %1 di %2").arg(done).arg(total);
}

} // namespace

namespace ReportOutput {

QString noPrinterText()
{
    return QStringLiteral("Nessuna stampante installata.");
}

void prepareReport(Report &report, const Platform &platform)
{
    report.prepare(platform.today());
}

void setUpPrinter(const Report &report, QPrinter &printer)
{
    printer.setDocName(report.reportName);
    printer.setFullPage(true);
    printer.setPageLayout(pageLayoutOf(report));
    printer.setCopyCount(1);
    printer.setPrintRange(QPrinter::AllPages);
    const int pages = int(report.preparedPages().size());
    if (pages > 0)
        printer.setFromTo(1, pages);
}

PrintResult print(Report &report, Platform &platform, QWidget *parent, int currentPage)
{
    const std::unique_ptr<QPrinter> printer = platform.openDefaultPrinter();
    if (!printer) {
        platform.notice(parent, noPrinterText());
        return PrintResult::NoPrinter;
    }
    setUpPrinter(report, *printer);
    if (!platform.printDialog(parent, printer.get()))
        return PrintResult::Cancelled;
    return printPages(report, *printer, currentPage) ? PrintResult::Printed : PrintResult::Failed;
}

void showReport(Report &report, Platform &platform, QWidget *parent)
{
    prepareReport(report, platform);
    ReportPreview preview(report, platform, parent);
    preview.exec();
}

bool printPages(const Report &report, QPrinter &printer, int currentPage)
{
    const QList<PreparedPage> &pages = report.preparedPages();
    const QList<int> sequence = pageSequence(printer, int(pages.size()), currentPage);
    if (sequence.isEmpty())
        return true;

    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const double dpi = printer.logicalDpiX();
    bool first = true;
    for (int index : sequence) {
        if (!first && !printer.newPage()) {
            painter.end();
            return false;
        }
        first = false;
        painter.save();
        beginPage(painter, dpi);
        paintPage(painter, pages.at(index));
        painter.restore();
    }
    return painter.end();
}

PrintResult printCardBatch(const CardBatch &batch, Platform &platform, QWidget *parent)
{
    const int pages = batch.pageCount();
    if (pages == 0)
        return PrintResult::Printed;
    const std::unique_ptr<QPrinter> printer = platform.openDefaultPrinter();
    if (!printer) {
        platform.notice(parent, noPrinterText());
        return PrintResult::NoPrinter;
    }
    printer->setDocName(QStringLiteral("Tesserini"));
    printer->setFullPage(true);
    printer->setPageLayout(batch.pageLayout());
    printer->setCopyCount(1);
    printer->setPrintRange(QPrinter::AllPages);
    printer->setFromTo(1, pages);
    if (!platform.printDialog(parent, printer.get()))
        return PrintResult::Cancelled;
    const QList<int> sequence = pageSequence(*printer, pages, 0);
    int total = 0;
    for (int page : sequence)
        total += batch.cardsOnPage(page);
    if (total == 0)
        return PrintResult::Printed;

    // Shown only when the job takes a while; its Annulla drops the whole job.
    QProgressDialog progress(cardProgressText(0, total), QStringLiteral("Annulla"), 0, total, parent);
    progress.setObjectName(QStringLiteral("frmAvanzamento"));
    progress.setWindowTitle(QStringLiteral(" Stampa tesserini"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(ProgressDelayMs);
    progress.setMinimumWidth(360);
    progress.setValue(0);
    QString leftOver;
    const auto removeLeftOver = [&] {
        progress.reset();
        if (!leftOver.isEmpty())
            QFile::remove(leftOver);
    };
    CardBatch::Painted painted = CardBatch::Painted::Failed;
    try {
        painted = batch.paint(
            *printer, platform.today(), sequence,
            [&](int done) {
                progress.setLabelText(cardProgressText(done, total));
                progress.setValue(done);
                return !progress.wasCanceled();
            },
            [&] { leftOver = dropJob(*printer); });
    } catch (...) {
        removeLeftOver();
        throw;
    }
    removeLeftOver();
    switch (painted) {
    case CardBatch::Painted::All:
        return PrintResult::Printed;
    case CardBatch::Painted::Stopped:
        return PrintResult::Cancelled;
    case CardBatch::Painted::Failed:
        break;
    }
    return PrintResult::Failed;
}

} // namespace ReportOutput
