#pragma once

#include "report/report.h"

#include <QImage>
#include <QPointF>

class QPainter;

// The one page painter: the preview, the printer and PDF output all draw a
// prepared page through it, so what is previewed is what is printed.
namespace ReportOutput {

// Draws one prepared page. The painter's coordinates must be report pixels
// from the paper's top-left corner (see beginPage).
void paintPage(QPainter &painter, const PreparedPage &page);
// Sets painter so that one unit is one report pixel on a device of the given
// resolution, the paper's corner at `origin` (device units).
void beginPage(QPainter &painter, double deviceDpi, const QPointF &origin = QPointF());
// The page drawn into an image at `dpi` (96: one pixel per report pixel),
// white paper.
QImage renderPage(const PreparedPage &page, double dpi = 96.0);

} // namespace ReportOutput
