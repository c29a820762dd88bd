#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

// The title pictures of the two check windows, drawn rather than shipped.
namespace ChecksLogo {

enum Icon { Card, Emblem };

QImage draw(const QSize &size, const QString &title, const QColor &colour, Icon icon);

} // namespace ChecksLogo
