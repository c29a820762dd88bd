#pragma once

#include <QImage>
#include <QSize>
#include <QStringList>

// The drawn pictures of the photo and attachment windows. Pictures that may
// end up as a photo (the webcam placeholders) are opaque, so that a JPEG of
// them looks as they do on screen.
namespace MediaArt {

// White picture with a paper clip at the left and the given instruction lines.
QImage attachInstructions(const QSize &size, const QStringList &lines);
// A small pink eraser, on a transparent ground.
QImage eraser(const QSize &size);
// A webcam on its stand: the live frame before any picture arrives.
QImage webcam(const QSize &size);
// A photo camera: the captured frame before any capture.
QImage photoCamera(const QSize &size);
// The slideshow's waiting picture: "Avvio Slide Show" and "Attendere...".
QImage slideshowWaiting(const QSize &size);

} // namespace MediaArt
