#pragma once

#include <QImage>
#include <QSize>

// The drawn pictures of the export window.
namespace ExportArt {

// A pile of books on white.
QImage books(const QSize &size);
// The window's title on a white ground: a small sheet and the words of the
// export.
QImage banner(const QSize &size);
// A hand pointing right, towards the buttons.
QImage pointingHand(const QSize &size);
// The button pictures: a green sheet with an arrow, a blue question mark, a
// door with an arrow.
QImage exportButton(const QSize &size);
// The same sheet and arrow with a green "XLSX" label: the workbook export.
QImage workbookButton(const QSize &size);
// A sheet with a green arrow coming into it: a class list brought in.
QImage studentImportButton(const QSize &size);
// An ID photo (a head and shoulders in a frame) with a green arrow pointing
// into it: photos brought in from a folder.
QImage photoImportButton(const QSize &size);
QImage guideButton(const QSize &size);
QImage exitButton(const QSize &size);

} // namespace ExportArt
