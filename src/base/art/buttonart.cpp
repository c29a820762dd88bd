#include "base/art/buttonart.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kBlueTop(0x5C, 0x9C, 0xE6);
const QColor kBlueBottom(0x1F, 0x5A, 0xA8);

void fillGlossy(QPainter &p, const QRectF &r, const QColor &top, const QColor &bottom, qreal radius)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(QPen(bottom.darker(130), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, radius, radius);
    // A soft highlight on the upper half.
    QRectF shine = r.adjusted(2, 2, -2, -r.height() / 2);
    QLinearGradient s(shine.topLeft(), shine.bottomLeft());
    s.setColorAt(0, QColor(255, 255, 255, 110));
    s.setColorAt(1, QColor(255, 255, 255, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(s);
    p.drawRoundedRect(shine, radius - 1, radius - 1);
}

// Draws the glyph in white inside box (a square area).
void drawGlyph(QPainter &p, ButtonArt::Glyph glyph, const QRectF &box)
{
    using G = ButtonArt::Glyph;
    const qreal u = box.width() / 10.0; // glyphs are laid out on a 10 x 10 grid
    auto pt = [&](qreal x, qreal y) { return QPointF(box.left() + x * u, box.top() + y * u); };
    auto rc = [&](qreal x, qreal y, qreal w, qreal h) { return QRectF(pt(x, y), QSizeF(w * u, h * u)); };
    const QColor white(Qt::white);
    QPen pen(white, qMax<qreal>(1.2, u * 0.9), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);

    auto page = [&](qreal x, qreal y, qreal w, qreal h) {
        QPainterPath path;
        path.moveTo(pt(x, y));
        path.lineTo(pt(x + w - 2, y));
        path.lineTo(pt(x + w, y + 2));
        path.lineTo(pt(x + w, y + h));
        path.lineTo(pt(x, y + h));
        path.closeSubpath();
        p.drawPath(path);
    };
    auto triangle = [&](bool left, qreal x) {
        QPolygonF t;
        if (left)
            t << pt(x + 3, 2) << pt(x, 5) << pt(x + 3, 8);
        else
            t << pt(x, 2) << pt(x + 3, 5) << pt(x, 8);
        p.setBrush(white);
        p.drawPolygon(t);
        p.setBrush(Qt::NoBrush);
    };
    auto magnifier = [&]() {
        p.drawEllipse(rc(1, 1, 5.5, 5.5));
        p.drawLine(pt(5.8, 5.8), pt(9, 9));
    };

    switch (glyph) {
    case G::None:
        break;
    case G::New:
        page(1.5, 0.5, 6, 9);
        p.drawLine(pt(7, 6.5), pt(10, 6.5));
        p.drawLine(pt(8.5, 5), pt(8.5, 8));
        break;
    case G::Duplicate:
        page(0.5, 0.5, 5.5, 7);
        page(3.5, 2.5, 5.5, 7);
        break;
    case G::Save:
    case G::SavePhoto:
        p.drawRoundedRect(rc(1, 1, 8, 8), u, u);
        p.drawRect(rc(3, 1, 4, 2.5));
        p.drawRect(rc(2.5, 5.5, 5, 3.5));
        break;
    case G::Find:
    case G::Zoom:
        magnifier();
        if (glyph == G::Zoom) {
            p.drawLine(pt(2.5, 3.75), pt(5, 3.75));
            p.drawLine(pt(3.75, 2.5), pt(3.75, 5));
        }
        break;
    case G::Attach: {
        QPainterPath clip;
        clip.moveTo(pt(6.5, 3));
        clip.lineTo(pt(6.5, 7.5));
        clip.arcTo(rc(3, 6, 3.5, 3.5), 0, -180);
        clip.lineTo(pt(3, 2.5));
        clip.arcTo(rc(3, 0.5, 4.5, 4), 180, -180);
        clip.lineTo(pt(7.5, 7));
        p.drawPath(clip);
        break;
    }
    case G::First:
        p.drawLine(pt(2, 2), pt(2, 8));
        triangle(true, 3);
        triangle(true, 6);
        break;
    case G::Previous:
        triangle(true, 2.5);
        triangle(true, 5.5);
        break;
    case G::Next:
        triangle(false, 1.5);
        triangle(false, 4.5);
        break;
    case G::Last:
        triangle(false, 1);
        triangle(false, 4);
        p.drawLine(pt(8, 2), pt(8, 8));
        break;
    case G::Slideshow:
        p.drawRoundedRect(rc(0.5, 1.5, 9, 7), u * 0.8, u * 0.8);
        p.setBrush(white);
        p.drawPolygon(QPolygonF() << pt(4, 3.5) << pt(6.8, 5) << pt(4, 6.5));
        break;
    case G::Help: {
        p.drawEllipse(rc(0.5, 0.5, 9, 9));
        QFont font(QStringLiteral("Verdana"));
        font.setBold(true);
        font.setPixelSize(qRound(6.5 * u));
        p.setFont(font);
        p.drawText(rc(0.5, 0.5, 9, 9), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    case G::Exit:
        p.drawLine(pt(1.5, 1), pt(1.5, 9));
        p.drawLine(pt(1.5, 1), pt(6, 1));
        p.drawLine(pt(1.5, 9), pt(6, 9));
        p.drawLine(pt(4, 5), pt(9.5, 5));
        p.drawLine(pt(7.5, 3), pt(9.5, 5));
        p.drawLine(pt(7.5, 7), pt(9.5, 5));
        break;
    case G::Folder: {
        QPainterPath folder;
        folder.moveTo(pt(0.5, 8.5));
        folder.lineTo(pt(0.5, 2));
        folder.lineTo(pt(3.5, 2));
        folder.lineTo(pt(4.5, 3));
        folder.lineTo(pt(9.5, 3));
        folder.lineTo(pt(9.5, 8.5));
        folder.closeSubpath();
        p.drawPath(folder);
        break;
    }
    case G::Webcam:
        p.drawEllipse(rc(2, 0.5, 6, 6));
        p.drawEllipse(rc(4, 2.5, 2, 2));
        p.drawLine(pt(5, 6.5), pt(5, 8));
        p.drawLine(pt(2.5, 9), pt(7.5, 9));
        break;
    case G::DeletePhoto:
        p.drawLine(pt(2, 2), pt(8, 8));
        p.drawLine(pt(8, 2), pt(2, 8));
        break;
    case G::Check:
        p.drawLine(pt(1.5, 5.5), pt(4, 8));
        p.drawLine(pt(4, 8), pt(8.5, 2));
        break;
    case G::Email:
        p.drawRect(rc(0.5, 2, 9, 6));
        p.drawLine(pt(0.5, 2), pt(5, 5.5));
        p.drawLine(pt(9.5, 2), pt(5, 5.5));
        break;
    case G::Print:
        p.drawRect(rc(2.5, 0.5, 5, 3));
        p.drawRoundedRect(rc(0.5, 3.5, 9, 4), u * 0.5, u * 0.5);
        p.drawRect(rc(2.5, 6, 5, 3.5));
        break;
    case G::Preview:
        page(1, 0.5, 6, 9);
        p.drawEllipse(rc(4, 4, 4, 4));
        p.drawLine(pt(7.5, 7.5), pt(9.5, 9.5));
        break;
    case G::Tests:
        page(1.5, 0.5, 7, 9);
        p.drawLine(pt(3, 3.5), pt(7, 3.5));
        p.drawLine(pt(3, 5.5), pt(7, 5.5));
        p.drawLine(pt(3, 7.5), pt(5.5, 7.5));
        break;
    }
}

QImage canvas(const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

namespace ButtonArt {

QImage icon(Glyph glyph, const QSize &size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(image.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    fillGlossy(p, r, kBlueTop, kBlueBottom, qMin(r.width(), r.height()) / 6.0);
    const qreal side = qMin(r.width(), r.height()) * 0.62;
    drawGlyph(p, glyph, QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side));
    return image;
}

QImage wideButton(const QString &text, const QSize &size, const QColor &base, Glyph glyph)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF r = QRectF(image.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    fillGlossy(p, r, base.lighter(135), base.darker(115), 5);
    QRectF textArea = r;
    if (glyph != Glyph::None) {
        const qreal side = r.height() * 0.6;
        drawGlyph(p, glyph, QRectF(r.left() + (r.height() - side) / 2, r.center().y() - side / 2, side, side));
        textArea.setLeft(r.left() + r.height() * 0.9);
    }
    QFont font(QStringLiteral("Verdana"));
    font.setBold(true);
    // As large as the height allows, smaller when the word would not fit.
    int pixels = qMax(10, qRound(size.height() * 0.42));
    font.setPixelSize(pixels);
    while (pixels > 8 && QFontMetricsF(font).horizontalAdvance(text) > textArea.width() - 8)
        font.setPixelSize(--pixels);
    p.setFont(font);
    p.setPen(QColor(0, 0, 0, 70));
    p.drawText(textArea.translated(1, 1), Qt::AlignCenter, text);
    p.setPen(Qt::white);
    p.drawText(textArea, Qt::AlignCenter, text);
    return image;
}

QImage headingBar(const QString &text, const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, size.width(), 0);
    g.setColorAt(0, kBlueBottom);
    g.setColorAt(1, kBlueTop);
    p.fillRect(image.rect(), g);
    QFont font(QStringLiteral("Verdana"));
    font.setBold(true);
    font.setPixelSize(qRound(size.height() * 0.5));
    font.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(QPoint(12, 0), QSize(size.width() - 12, size.height())),
               Qt::AlignVCenter | Qt::AlignLeft, text);
    return image;
}

} // namespace ButtonArt
