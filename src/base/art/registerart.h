#pragma once

#include <QImage>
#include <QSize>

// The decoration of the tests window, drawn rather than shipped.
namespace RegisterArt {

QImage magnifier(const QSize &size);
QImage hand(const QSize &size, bool pointsRight);
QImage heading(const QSize &size);
QImage desk(const QSize &size);
QImage pen(const QSize &size);
QImage arrow(const QSize &size);

} // namespace RegisterArt
