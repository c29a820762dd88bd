#pragma once

#include <QSize>
#include <QString>

class PictureBox;
class QDialog;
class QWidget;

// What the zoom and slideshow windows share: a working window opened
// maximised with a normal title bar, and the photo `imgFoto` on the centred
// panel `panContainer`, both fitted to the screen when shown. A photo is
// drawn centred at its own size, reduced (proportions kept) only when it does
// not fit; a click on the photo or on the panel closes the window.
namespace PhotoWindow {

struct Parts
{
    QWidget *panel = nullptr;
    PictureBox *photo = nullptr;
};

Parts setup(QDialog *window, const QString &caption, const QSize &panelSize, const QSize &photoSize);

// The area the photo gets on a screen of the given size.
QSize photoArea(const QSize &screen);

// Panel and photo sized to photoArea(screen).
void fitToScreen(const Parts &parts, const QSize &screen);

} // namespace PhotoWindow
