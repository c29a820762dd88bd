#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

// The drawn pictures of the guide window, and the heading style that the
// about window shares with it.
namespace HelpArt {

// A transparent picture: a round icon showing `glyph` on a gradient from
// `light` to `dark`, and `heading` in large dark blue letters beside it.
QImage heading(const QSize &size, const QString &glyph, const QColor &light, const QColor &dark,
               const QString &heading);
// The guide window's heading: a question mark and "Guida all'utilizzo del software".
QImage guideHeading(const QSize &size);
// A page with a folded corner and a red PDF band.
QImage pdfIcon(const QSize &size);

} // namespace HelpArt
