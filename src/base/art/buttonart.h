#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

// The artwork of the working windows' buttons, drawn by the program: blue
// rounded squares with a white glyph, and wide buttons carrying a word.
namespace ButtonArt {

enum class Glyph {
    None, New, Duplicate, Save, Find, Attach, First, Previous, Next, Last, Slideshow,
    Help, Exit, Folder, Webcam, SavePhoto, DeletePhoto, Zoom, Check, Email, Print, Preview, Tests
};

// A square icon button of the given size.
QImage icon(Glyph glyph, const QSize &size);

// A wide button: rounded, glossy fill of `base`, an optional glyph on the
// left, then the text in white bold.
QImage wideButton(const QString &text, const QSize &size, const QColor &base,
                  Glyph glyph = Glyph::None);

// The heading bar reading `text` in white capitals on a blue gradient.
QImage headingBar(const QString &text, const QSize &size);

} // namespace ButtonArt
