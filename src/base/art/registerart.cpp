#include "base/art/registerart.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

QImage canvas(const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

namespace RegisterArt {

QImage magnifier(const QSize &size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal r = size.height() * 0.32;
    const QPointF c(size.width() * 0.42, size.height() * 0.4);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(r * 0.7, r * 0.7), c + QPointF(r * 1.8, r * 1.6));
    p.setPen(QPen(QColor(0x46, 0x82, 0xB4), 3));
    p.setBrush(QColor(0xDC, 0xE9, 0xF5));
    p.drawEllipse(c, r, r);
    return image;
}

QImage hand(const QSize &size, bool pointsRight)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (!pointsRight) {
        p.translate(size.width(), 0);
        p.scale(-1, 1);
    }
    const qreal w = size.width(), h = size.height();
    QPainterPath path;
    path.addRoundedRect(QRectF(w * 0.12, h * 0.3, w * 0.4, h * 0.5), 4, 4);
    path.addRoundedRect(QRectF(w * 0.45, h * 0.35, w * 0.45, h * 0.16), 3, 3);
    p.setPen(QPen(QColor(0x80, 0x50, 0x20), 1.5));
    p.setBrush(QColor(0xF5, 0xD0, 0xA9));
    p.drawPath(path.simplified());
    return image;
}

QImage heading(const QSize &size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("Verdana"), 1, QFont::Bold);
    font.setPixelSize(size.height() * 2 / 3);
    p.setFont(font);
    p.setPen(QColor(0xC0, 0x10, 0x10));
    p.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, QStringLiteral("PROVE SOSTENUTE"));
    return image;
}

QImage desk(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(0xB0, 0xC4, 0xDE));
    sky.setColorAt(1, QColor(0xF5, 0xF5, 0xF0));
    p.fillRect(image.rect(), sky);
    // A desk with sheets of paper.
    p.fillRect(QRectF(0, size.height() * 0.7, size.width(), size.height() * 0.3), QColor(0x8B, 0x5A, 0x2B));
    p.setPen(QColor(0xA0, 0xA0, 0xA0));
    for (int i = 0; i < 3; ++i) {
        p.setBrush(Qt::white);
        p.save();
        p.translate(size.width() * (0.3 + 0.15 * i), size.height() * 0.45);
        p.rotate(-8 + 8 * i);
        p.drawRect(QRectF(0, 0, size.width() * 0.12, size.height() * 0.35));
        for (int l = 1; l < 6; ++l)
            p.drawLine(QPointF(6, l * size.height() * 0.05), QPointF(size.width() * 0.12 - 6, l * size.height() * 0.05));
        p.restore();
    }
    return image;
}

QImage pen(const QSize &size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(size.width() / 2.0, size.height() / 2.0);
    p.rotate(45);
    const qreal l = size.height() * 0.9;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1E, 0x3A, 0x8A));
    p.drawRect(QRectF(-3, -l / 2, 6, l * 0.8));
    QPainterPath tip;
    tip.moveTo(-3, l * 0.3);
    tip.lineTo(3, l * 0.3);
    tip.lineTo(0, l / 2);
    tip.closeSubpath();
    p.setBrush(QColor(0x40, 0x40, 0x40));
    p.drawPath(tip);
    return image;
}

QImage arrow(const QSize &size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();
    QPainterPath path;
    path.moveTo(w * 0.85, h * 0.5);
    path.lineTo(w * 0.45, h * 0.15);
    path.lineTo(w * 0.45, h * 0.35);
    path.lineTo(w * 0.1, h * 0.35);
    path.lineTo(w * 0.1, h * 0.65);
    path.lineTo(w * 0.45, h * 0.65);
    path.lineTo(w * 0.45, h * 0.85);
    path.closeSubpath();
    p.setPen(QPen(QColor(0x00, 0x60, 0x00), 1));
    p.setBrush(QColor(0x32, 0xCD, 0x32));
    p.drawPath(path);
    return image;
}

} // namespace RegisterArt
