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

// The working windows' toolbar keys, one set for every window: Ctrl+N Nuovo,
// Ctrl+D Duplica, Ctrl+S Salva, Ctrl+F Trova, Alt+Home/PgUp/PgDn/End browse,
// Ctrl+P Stampa, Ctrl+Shift+P Anteprima, F1 the guide (cmdGuida or imgGuida).
// Binds each to the control of that name the window has; the others are skipped.
void bindToolbar(QWidget *window);

} // namespace Shortcuts
