#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

namespace StudentSheetArt {
// The explanatory pictures: a white card with an icon, a heading and text.
enum class Icon { Printer, Screen, Note };
QImage explanation(const QSize &size, Icon icon, const QString &heading, const QStringList &paragraphs);
// The fallback photo: the silhouette on a light frame.
QImage fallbackPhoto();
} // namespace StudentSheetArt
