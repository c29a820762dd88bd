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
// The key belongs to the control: while it is hidden or disabled the key does
// nothing, so two panels of one window can give the same key to their own
// controls (only the panel shown answers).
void bind(QWidget *window, const QString &controlName, const QKeySequence &keys);

} // namespace Shortcuts
