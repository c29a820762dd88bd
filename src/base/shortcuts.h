#pragma once

#include <QKeySequence>
#include <QString>

class QWidget;

// Keyboard shortcuts of the working windows. Each presses a named control
// (a picture-button or a push button) exactly as a click would, and is shown
// in the control's tooltip and accessible description; the hint line keeps
// its own text.
namespace Shortcuts {

// Binds `keys`, active anywhere in `window`, to the control `controlName`.
// A control that is hidden or disabled is not pressed.
void bind(QWidget *window, const QString &controlName, const QKeySequence &keys);

} // namespace Shortcuts
