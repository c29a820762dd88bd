#include "reportoutput.h"

#include "reportpreview.h"

#include "app/platform.h"

#include <QPainter>
#include <QPrinter>

namespace ReportOutput {

QString noPrinterText()
{
    return QStringLiteral("Nessuna stampante installata.");
}

void prepareReport(Report &report, const Platform &platform)
{
    report.prepare(platform.today());
}

PrintResult print(Report &, Platform &, QWidget *, int)
{
    return PrintResult::Cancelled;
}

void showReport(Report &report, Platform &platform, QWidget *parent)
{
    prepareReport(report, platform);
    ReportPreview preview(report, platform, parent);
    preview.exec();
}

bool printPages(const Report &, QPrinter &, int)
{
    return false;
}

void paintPage(QPainter &, const PreparedPage &) {}

void beginPage(QPainter &, double, const QPointF &) {}

QImage renderPage(const PreparedPage &page, double dpi)
{
    QImage image(page.paperPx.toSize() * (dpi / 96.0), QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

} // namespace ReportOutput
