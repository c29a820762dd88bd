#include "reportpreview.h"

#include "app/platform.h"

ReportPreview::ReportPreview(Report &report, Platform &platform, QWidget *parent)
    : QDialog(parent), m_report(report), m_platform(platform)
{
    setWindowTitle(report.reportName);
}

int ReportPreview::currentPage() const { return 0; }
void ReportPreview::setCurrentPage(int) {}
int ReportPreview::pageCount() const { return int(m_report.preparedPages().size()); }
double ReportPreview::zoom() const { return 1.0; }
void ReportPreview::setZoom(double) {}
void ReportPreview::zoomToPageWidth() {}
void ReportPreview::zoomToWholePage() {}
void ReportPreview::toggleFullScreen() {}
void ReportPreview::printReport() {}
void ReportPreview::updateNavigator() {}
