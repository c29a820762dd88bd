#pragma once

#include <QColor>
#include <QSize>
#include <QString>

class QPainter;

// The start menu's pictures, each drawn into a painter the size `s` of its
// control.
namespace MenuArt {

extern const QColor kDeepBlue;
extern const QColor kMidBlue;
extern const QColor kPaleBlue;

void drawBar(QPainter &p, const QSize &s, const QString &text, bool bold);
void drawTitle(QPainter &p, const QSize &s);
void drawStaff(QPainter &p, const QSize &s);
void drawExport(QPainter &p, const QSize &s);
void drawBadges(QPainter &p, const QSize &s);
void drawButton(QPainter &p, const QSize &s, const QString &text);
void drawNote(QPainter &p, const QSize &s, const QString &text);
void drawRoundIcon(QPainter &p, const QSize &s, const QColor &top, const QColor &bottom,
                   const QString &glyph, qreal glyphScale);
void drawExit(QPainter &p, const QSize &s);

} // namespace MenuArt
