#include "base/art/searchart.h"

#include <QFont>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

QImage transparentImage(const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void drawMagnifier(QPainter &p, const QRectF &box)
{
    const qreal s = std::min(box.width(), box.height());
    const QPointF origin(box.center().x() - s / 2, box.center().y() - s / 2);
    const QRectF lens(origin.x() + s * 0.08, origin.y() + s * 0.08, s * 0.58, s * 0.58);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // Handle first, so the rim covers its end.
    QPen handle(QColor(0x5A, 0x3A, 0x1E), s * 0.14, Qt::SolidLine, Qt::RoundCap);
    p.setPen(handle);
    p.drawLine(QPointF(lens.center().x() + s * 0.24, lens.center().y() + s * 0.24),
               QPointF(origin.x() + s * 0.9, origin.y() + s * 0.9));
    QRadialGradient glass(lens.center() - QPointF(s * 0.08, s * 0.08), s * 0.34);
    glass.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
    glass.setColorAt(1, QColor(0xA8, 0xD0, 0xF0));
    p.setBrush(glass);
    p.setPen(QPen(QColor(0x70, 0x70, 0x78), s * 0.07));
    p.drawEllipse(lens);
    p.restore();
}

} // namespace

namespace SearchArt {

QImage magnifier(const QSize &size)
{
    QImage image = transparentImage(size);
    QPainter p(&image);
    drawMagnifier(p, QRectF(QPointF(0, 0), size).adjusted(4, 4, -4, -4));
    return image;
}

QImage instructions(const QSize &size, const QStringList &lines, bool withMagnifier)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    int left = 8;
    if (withMagnifier) {
        drawMagnifier(p, QRectF(6, 6, size.height() - 12, size.height() - 12));
        left = size.height() + 4;
    }
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(QColor(0x1F, 0x3A, 0x5F));
    const QFontMetrics metrics(font);
    const int lineHeight = metrics.height() + 2;
    int y = (size.height() - lineHeight * int(lines.size())) / 2;
    for (const QString &line : lines) {
        p.drawText(QRect(left, y, size.width() - left - 6, lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   line);
        y += lineHeight;
    }
    return image;
}

QImage banner(const QSize &size, const QString &title)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    QLinearGradient ground(0, 0, 0, size.height());
    ground.setColorAt(0, QColor(0x2B, 0x5C, 0x8A));
    ground.setColorAt(1, QColor(0x46, 0x82, 0xB4));
    p.fillRect(image.rect(), ground);
    p.setRenderHint(QPainter::Antialiasing);
    drawMagnifier(p, QRectF(10, 6, size.height() - 12, size.height() - 12));
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(size.height() / 2);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(image.rect(), Qt::AlignCenter, title);
    return image;
}

QImage student(const QSize &size)
{
    QImage image = transparentImage(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    const qreal cx = w / 2;
    // Body and legs.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2E, 0x4A, 0x6E));
    p.drawRoundedRect(QRectF(cx - w * 0.16, h * 0.55, w * 0.13, h * 0.4), 4, 4);
    p.drawRoundedRect(QRectF(cx + w * 0.03, h * 0.55, w * 0.13, h * 0.4), 4, 4);
    p.setBrush(QColor(0xD9, 0x6C, 0x3B));
    QPainterPath jacket;
    jacket.moveTo(cx - w * 0.3, h * 0.6);
    jacket.cubicTo(cx - w * 0.3, h * 0.3, cx - w * 0.2, h * 0.24, cx, h * 0.24);
    jacket.cubicTo(cx + w * 0.2, h * 0.24, cx + w * 0.3, h * 0.3, cx + w * 0.3, h * 0.6);
    jacket.closeSubpath();
    p.drawPath(jacket);
    // Head.
    p.setBrush(QColor(0xF2, 0xC9, 0xA0));
    p.drawEllipse(QPointF(cx, h * 0.17), w * 0.17, h * 0.06);
    // Cap.
    p.setBrush(QColor(0x22, 0x22, 0x22));
    QPolygonF board;
    board << QPointF(cx - w * 0.3, h * 0.11) << QPointF(cx, h * 0.085) << QPointF(cx + w * 0.3, h * 0.11)
          << QPointF(cx, h * 0.135);
    p.drawPolygon(board);
    // Books held in front.
    const QColor books[] = {QColor(0x3B, 0x7D, 0xD8), QColor(0x4C, 0xA6, 0x4C), QColor(0xC9, 0x3C, 0x3C)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(books[i]);
        p.drawRect(QRectF(cx - w * 0.24, h * (0.42 + i * 0.035), w * 0.48, h * 0.03));
    }
    return image;
}

} // namespace SearchArt
