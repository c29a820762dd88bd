#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

// The artwork of the ID card window and the school data dialog, drawn by the
// program. The buttons themselves come from the shared button artwork.
namespace CardArt {

// The logo placeholder: a blue sphere carrying the word LOGO, 119 x 118.
QImage logoPlaceholder();

// A plain opaque white picture of the logo's size, to blank a picture.
QImage whitePicture();

// A line of instructions drawn as a picture of `size`: `text` in Verdana
// bold of `colour`, left-aligned and vertically centred.
QImage instructionLine(const QString &text, const QColor &colour, const QSize &size);

// A small round decoration: an "i" on a blue disc.
QImage infoMark(const QSize &size);

// A small round delete icon: a white cross on a red disc.
QImage deleteMark(const QSize &size);

// The blue portrait silhouette of the school data dialog.
QImage portrait(const QSize &size);

} // namespace CardArt
