#pragma once

#include <QImage>
#include <QSize>
#include <QStringList>

// The drawn pictures of the search windows.
namespace SearchArt {

// A magnifying glass on a transparent ground.
QImage magnifier(const QSize &size);
// White picture with a magnifying glass at the left (when asked) and the
// given lines of instructions.
QImage instructions(const QSize &size, const QStringList &lines, bool withMagnifier);
// Blue banner with a title in white capitals.
QImage banner(const QSize &size, const QString &title);
// A student holding books, for the side of the filter box.
QImage student(const QSize &size);

} // namespace SearchArt
