#pragma once

#include <QSize>
#include <QString>

class PictureBox;
class QDialog;
class QWidget;

// What the zoom and slideshow windows share: a working window opened
// maximised with a normal title bar, and the photo `imgFoto` on the centred
// panel `panContainer`, both fitted to the screen. A photo is drawn centred at
// its own size, reduced (proportions kept) only when it does not fit; a click
// on the photo or on the panel closes the window.
namespace PhotoWindow {

struct Parts
{
    QWidget *panel = nullptr;
    PictureBox *photo = nullptr;
};

// Builds the window's parts already fitted to a screen of size `screen`. The
// fitting is done here, before the window is shown: a window whose minimum
// size grows once it is on screen gets resized, and window managers drop the
// maximised state of a window resized after mapping.
Parts setup(QDialog *window, const QString &caption, const QSize &panelSize, const QSize &photoSize,
            const QSize &screen);

} // namespace PhotoWindow
