#include "reportoutput.h"

#include "reportpreview.h"

#include "base/platform.h"
#include "card/cardbatch.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageRanges>
#include <QPainter>
#include <QPrinter>

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
    const int count = int(pages.size());
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
    if (count == 0 || chosen.isEmpty())
        return true;

    // Copies the driver cannot make are drawn here, collated as asked.
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
    int first = 0, last = pages - 1;
    if (printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
        first = printer->fromPage() - 1;
        last = std::max(first, printer->toPage() - 1);
    }
    return batch.paint(*printer, platform.today(), first, last) ? PrintResult::Printed : PrintResult::Failed;
}

} // namespace ReportOutput
