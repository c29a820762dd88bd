#pragma once

#include <QImage>
#include <QList>
#include <QRect>

// Finds frontal faces in a picture with OpenCV's cascade detector and the
// face models Debian ships (package opencv-data). The search runs on a copy
// reduced to at most kSearchSide pixels on its longer side, in grey, so its
// cost hardly depends on the picture's resolution; boxes are given back in
// the picture's own pixels. In a colour picture a box whose middle shows
// hardly any skin tone is dropped: the cascade takes shirts and crowds for
// faces now and then. The models load once per process, at the first search;
// searches from several threads take turns.
namespace FaceFinder {

// The longer side of the copy the search runs on.
constexpr int kSearchSide = 640;

// The faces found, largest first; empty when none, or when the models are
// missing.
QList<QRect> faces(const QImage &picture);

// The largest face found; null when none.
QRect largestFace(const QImage &picture);

// True when the face models could be loaded.
bool available();

// `picture` reduced (area averaging) so that it fits `bound`, keeping its
// proportions; a picture already inside is returned as it is. Much faster
// than a smooth QImage::scaled of a 12-megapixel photo.
QImage reduced(const QImage &picture, const QSize &bound);

} // namespace FaceFinder
