#pragma once

#include "base/forms.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class PictureBox;
class ShapeRect;

// The control kit: every window builds its controls through these, so that
// names, fonts, cursors and the hint line behave alike everywhere. Each
// control is named (its interface name) and placed on `parent`.
namespace Kit {

// A push button with the hand cursor, Verdana 11 px unless told.
QPushButton *button(const QString &name, const QString &text, const QRect &geometry, QWidget *parent,
                    const QFont &font = Forms::verdana(11));
// Enter (or keypad Enter) on the focused button presses it, as Space does,
// in windows that have no default button.
void pressOnEnter(QPushButton *button);

// A label sized to its text at `at`.
QLabel *label(const QString &name, const QString &text, const QPoint &at, QWidget *parent,
              const QFont &font = Forms::verdana(11), const QColor &colour = Qt::black);

// A single-line edit; maxLength 0 leaves Qt's own limit.
QLineEdit *edit(const QString &name, const QRect &geometry, QWidget *parent, const QFont &font,
                int maxLength = 0);

// A picture control showing `image` fitted, proportions kept.
PictureBox *picture(const QString &name, const QRect &geometry, QWidget *parent,
                    const QImage &image = QImage());

// A picture used as a button: the artwork stretched to the control, the hand
// cursor, `hint` on the hint line `panInfo` (when given) while the mouse is
// over it, and the hint as its accessible name. Connect clicked().
PictureBox *pictureButton(const QString &name, const QRect &geometry, QWidget *parent,
                          const QImage &art, QLabel *panInfo, const QString &hint);

// A rectangle with a vertical gradient (top == bottom: solid) and a border,
// transparent for the mouse.
ShapeRect *box(const QString &name, const QRect &geometry, QWidget *parent, const QColor &top,
               const QColor &bottom, const QColor &border = Qt::transparent);

} // namespace Kit
