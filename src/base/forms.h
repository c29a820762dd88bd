#pragma once

#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>

class Platform;

class QDate;
class QLabel;
class QWidget;

// The conventions every window shares: geometry and backgrounds, the mode tag,
// the hint line, the focused-field highlights, the Enter key and the formats.
namespace Forms {

// Working window (opens maximised): caption, design size 1016 x 713, vertical
// gradient background, and a fixed-size `panContainer` kept centred. Returns
// the panel, on which every control is placed.
QWidget *setupWorkingWindow(QWidget *window, const QString &caption, const QSize &panelSize,
                            const QColor &top, const QColor &bottom = Qt::white);

// Dialog: caption, fixed client size, no title-bar buttons, closed only
// through its own buttons (not Escape), gradient background. With a
// panelSize, also a centred `panContainer`, returned.
QWidget *setupDialog(QWidget *dialog, const QString &caption, const QSize &clientSize,
                     const QSize &panelSize = QSize(), const QColor &top = QColor(0x46, 0x82, 0xB4),
                     const QColor &bottom = Qt::white);

// Gives widget a vertical gradient background that follows its size.
void setGradientBackground(QWidget *widget, const QColor &top, const QColor &bottom);

// Moves window to the centre of `over`, or of the screen when null.
void centre(QWidget *window, QWidget *over = nullptr);

// The hidden mode tag `lblMemory` of a dialog that hands results back.
QLabel *addModeTag(QWidget *dialog);
void setModeTag(QWidget *dialog, const QString &word);
// True when the trimmed tag equals word exactly.
bool modeTagIs(const QWidget *dialog, const QString &word);

// Hint line: while the mouse moves over control, panInfo shows text; over a
// widget bound with an empty text, panInfo is emptied.
void bindHint(QWidget *control, QLabel *panInfo, const QString &text);

// Over `area`, which has no hint of its own, a real mouse move empties
// panInfo; the window appearing under a resting mouse keeps the idle text.
void quietHint(QWidget *area, QLabel *panInfo);

// Style highlight for every QLineEdit under panel: alice blue with a sky-blue
// border, yellow while focused.
void installStyleHighlight(QWidget *panel);

// Enter (or keypad Enter) in `from` moves the focus to `to`.
void setEnterNext(QWidget *from, QWidget *to);
// Enter in each widget of the chain moves to the next; from the last to wrapTo.
void setEnterChain(const QList<QWidget *> &chain, QWidget *wrapTo);

// Window fonts. The windows are laid out in pixels at 96 to the inch, so
// their fonts are sized in pixels too, the same on any screen whatever dots
// per inch it reports. A control's font size is given in points, as the
// operator's system names sizes: n points are drawn n x 96 / 72 pixels high
// (12 pt = 16 px, 14 pt = 19 px). pointFont is that one conversion;
// pixelFont is for pictures drawn to a pixel design.
int pixelsForPoints(double points);
QFont pixelFont(const QString &family, int pixels, bool bold = false);
inline QFont pointFont(const QString &family, double points, bool bold = false)
{
    return pixelFont(family, pixelsForPoints(points), bold);
}
inline QFont verdana(int pixels, bool bold = false)
{
    return pixelFont(QStringLiteral("Verdana"), pixels, bold);
}
inline QFont verdanaPt(double points, bool bold = false)
{
    return pointFont(QStringLiteral("Verdana"), points, bold);
}

// Short date dd/mm/yyyy and the decimal comma for the whole process.
void applyDataFormats();
// Today's date as those formats write it.
QString formatDate(const QDate &date);

// The files hold Windows-1252 text: characters outside it would be stored as
// '?'. When `text` has any, asks the operator whether to store it so anyway
// (naming them); false when the operator goes back to correct it. True
// without a question when everything can be stored.
bool confirmStorable(Platform &platform, QWidget *parent, const QString &text);
QString unstorableQuestion(const QString &characters);

// A child found by name, or a clear failure (abort) naming what is missing;
// windows use it to reach controls of other windows by their interface names.
template<typename T>
T *child(const QWidget *window, const QString &name);
QWidget *requireChild(const QWidget *window, const QString &name, const char *type);

} // namespace Forms

#include <QWidget>

template<typename T>
T *Forms::child(const QWidget *window, const QString &name)
{
    T *found = window->findChild<T *>(name);
    if (!found)
        requireChild(window, name, T::staticMetaObject.className());
    return found;
}
