#pragma once

#include <QImage>
#include <QSize>

// The drawn pictures of the about and credits windows.
namespace AboutArt {

// An information icon and "Informazioni sul programma".
QImage infoHeading(const QSize &size);
// A closed envelope.
QImage envelope(const QSize &size);
// A globe with meridians and parallels.
QImage globe(const QSize &size);
// The credits: the program's name, what it does, its version and its maker.
QImage credits(const QSize &size);

} // namespace AboutArt
