#include "base/art/cardprintart.h"

#include "base/forms.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace CardPrintArt {

namespace {

const QColor Ink(0x2C, 0x55, 0x78);
const QColor Body(0x42, 0x7A, 0xA8);
const QColor Navy(0x00, 0x00, 0x80);

// A small ID card: navy header and footer, a photo square, a few lines.
void drawCard(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(r, 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(Navy);
    p.drawRect(QRectF(r.left() + 1.5, r.top() + 1.5, r.width() - 3, r.height() * 0.22));
    p.drawRect(QRectF(r.left() + 1.5, r.bottom() - r.height() * 0.13 - 1.5, r.width() - 3, r.height() * 0.13));
    p.setBrush(QColor(0xB9, 0xD3, 0xEE));
    p.drawRect(QRectF(r.left() + r.width() * 0.06, r.top() + r.height() * 0.32, r.width() * 0.28,
                      r.height() * 0.46));
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1.2));
    for (int i = 0; i < 3; ++i) {
        const double y = r.top() + r.height() * (0.38 + 0.14 * i);
        p.drawLine(QPointF(r.left() + r.width() * 0.42, y), QPointF(r.right() - r.width() * (0.12 + 0.1 * i), y));
    }
}

// A desk printer seen from the front, with a card in its output tray.
void drawPrinter(QPainter &p, const QRectF &r, bool withCard)
{
    p.setPen(QPen(Ink, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + r.width() * 0.22, r.top(), r.width() * 0.56, r.height() * 0.34)); // sheet in
    QLinearGradient shade(r.topLeft(), r.bottomLeft());
    shade.setColorAt(0, Body.lighter(130));
    shade.setColorAt(1, Body.darker(115));
    p.setBrush(shade);
    p.drawRoundedRect(QRectF(r.left(), r.top() + r.height() * 0.28, r.width(), r.height() * 0.42), 5, 5);
    p.setBrush(QColor(0x2C, 0x3E, 0x50));
    p.drawRect(QRectF(r.left() + r.width() * 0.15, r.top() + r.height() * 0.58, r.width() * 0.7, r.height() * 0.05));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x7C, 0xFC, 0x00));
    p.drawEllipse(QPointF(r.right() - r.width() * 0.1, r.top() + r.height() * 0.38), 2.5, 2.5);
    if (withCard)
        drawCard(p, QRectF(r.left() + r.width() * 0.2, r.top() + r.height() * 0.62, r.width() * 0.6,
                           r.width() * 0.6 * 54.0 / 86.0));
}

// An arrow from `from` to `to` with a filled head.
void drawArrow(QPainter &p, const QPointF &from, const QPointF &to, const QColor &colour)
{
    p.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF d = to - from;
    const double length = std::max(1.0, std::hypot(d.x(), d.y()));
    const QPointF u = d / length;
    const QPointF n(-u.y(), u.x());
    QPainterPath head;
    head.moveTo(to + u * 2);
    head.lineTo(to - u * 6 + n * 4);
    head.lineTo(to - u * 6 - n * 4);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(head);
}

// A seated person reading an open book.
void drawReader(QPainter &p, const QRectF &r)
{
    const QColor skin(0xF1, 0xC2, 0x9A);
    const QColor shirt(0x41, 0x69, 0xE1);
    p.setPen(Qt::NoPen);
    // Body.
    QPainterPath torso;
    torso.moveTo(r.left() + r.width() * 0.18, r.bottom());
    torso.cubicTo(r.left() + r.width() * 0.15, r.top() + r.height() * 0.5, r.left() + r.width() * 0.3,
                  r.top() + r.height() * 0.42, r.center().x(), r.top() + r.height() * 0.42);
    torso.cubicTo(r.right() - r.width() * 0.3, r.top() + r.height() * 0.42, r.right() - r.width() * 0.15,
                  r.top() + r.height() * 0.5, r.right() - r.width() * 0.18, r.bottom());
    torso.closeSubpath();
    p.setBrush(shirt);
    p.drawPath(torso);
    // Head and hair.
    const QRectF head(r.center().x() - r.width() * 0.17, r.top() + r.height() * 0.06, r.width() * 0.34,
                      r.height() * 0.34);
    p.setBrush(skin);
    p.drawEllipse(head);
    p.setBrush(QColor(0x5A, 0x3A, 0x22));
    p.drawChord(head.adjusted(-1, -1, 1, 1), 20 * 16, 140 * 16);
    // The open book, held in front.
    const double bookTop = r.top() + r.height() * 0.58;
    const QPointF spine(r.center().x(), bookTop + r.height() * 0.06);
    QPainterPath book;
    book.moveTo(spine);
    book.lineTo(r.left() + r.width() * 0.08, bookTop);
    book.lineTo(r.left() + r.width() * 0.1, bookTop + r.height() * 0.26);
    book.lineTo(spine + QPointF(0, r.height() * 0.3));
    book.lineTo(r.right() - r.width() * 0.1, bookTop + r.height() * 0.26);
    book.lineTo(r.right() - r.width() * 0.08, bookTop);
    book.closeSubpath();
    p.setPen(QPen(Ink, 1.2));
    p.setBrush(Qt::white);
    p.drawPath(book);
    p.drawLine(spine, spine + QPointF(0, r.height() * 0.3));
    p.setPen(QPen(QColor(0xA0, 0xA0, 0xA0), 1));
    for (int i = 1; i <= 3; ++i) {
        const double y = bookTop + r.height() * 0.06 * i + 2;
        p.drawLine(QPointF(r.left() + r.width() * 0.16, y), QPointF(spine.x() - 4, y + 2));
        p.drawLine(QPointF(spine.x() + 4, y + 2), QPointF(r.right() - r.width() * 0.16, y));
    }
    // Hands on the book's edges.
    p.setPen(Qt::NoPen);
    p.setBrush(skin);
    p.drawEllipse(QPointF(r.left() + r.width() * 0.12, bookTop + r.height() * 0.16), r.width() * 0.06,
                  r.width() * 0.06);
    p.drawEllipse(QPointF(r.right() - r.width() * 0.12, bookTop + r.height() * 0.16), r.width() * 0.06,
                  r.width() * 0.06);
}

// Draws `text` word-wrapped from `top` inside `left`..`right`; returns the
// bottom of what was drawn.
double paragraph(QPainter &p, const QString &text, double left, double top, double right, double bottom)
{
    QRectF used;
    p.drawText(QRectF(left, top, right - left, bottom - top), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text,
               &used);
    return used.bottom();
}

} // namespace

QImage marginInstructions(const QSize &size, const QString &first, const QString &second)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QColor(0xCD, 0xDF, 0xEE));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1));

    // The printer, with arrows showing which way larger values move the card.
    const QRectF printer(14, 22, 84, 76);
    drawPrinter(p, printer, true);
    // From the card's corner: larger values move it down and to the right.
    const QColor arrow(0xDC, 0x14, 0x3C);
    const QPointF corner(printer.left() + 14, printer.bottom() + 18);
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(corner, QSizeF(38, 24)));
    drawArrow(p, corner, corner + QPointF(62, 0), arrow);
    drawArrow(p, corner, corner + QPointF(0, 38), arrow);
    p.setPen(Qt::NoPen);
    p.setBrush(arrow);
    p.drawEllipse(corner, 2.5, 2.5);

    const double left = printer.right() + 16;
    const double right = size.width() - 10;
    p.setFont(Forms::verdana(11));
    p.setPen(QColor(0x20, 0x20, 0x20));
    double y = paragraph(p, first, left, 9, right, size.height() - 6);
    p.setFont(Forms::verdana(11, true));
    p.setPen(QColor(0xCC, 0x00, 0x00));
    paragraph(p, second, left, y + 8, right, size.height() - 4);
    return image;
}

QImage previewInstructions(const QSize &size, const QString &heading, const QString &first,
                           const QString &second)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    drawReader(p, QRectF(6, 4, 62, 74));
    drawPrinter(p, QRectF(10, 96, 54, 50), true);

    const double left = 80;
    const double right = size.width() - 4;
    p.setFont(Forms::verdana(15, true));
    p.setPen(Ink);
    p.drawText(QRectF(left, 2, right - left, 22), Qt::AlignLeft | Qt::AlignVCenter, heading);
    p.setPen(QPen(QColor(0x41, 0x69, 0xE1), 1.5));
    p.drawLine(QPointF(left, 26), QPointF(right, 26));

    p.setFont(Forms::verdana(11));
    p.setPen(QColor(0x30, 0x30, 0x30));
    const double y = paragraph(p, first, left, 33, right, size.height());
    paragraph(p, second, left, y + 7, right, size.height());
    return image;
}

} // namespace CardPrintArt
