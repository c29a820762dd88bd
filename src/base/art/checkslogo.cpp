#include "base/art/checkslogo.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace ChecksLogo {

QImage draw(const QSize &size, const QString &title, const QColor &colour, Icon icon)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const int h = size.height();
    const QRectF iconRect(4, 6, h * 1.3, h - 12);
    if (icon == Card) {
        painter.setPen(QPen(colour.darker(130), 2));
        painter.setBrush(colour.lighter(170));
        painter.drawRoundedRect(iconRect, 6, 6);
        painter.setBrush(colour);
        painter.drawEllipse(QRectF(iconRect.left() + 8, iconRect.top() + 10, iconRect.height() * 0.45,
                                   iconRect.height() * 0.45));
        painter.setPen(QPen(colour.darker(130), 3));
        const qreal x = iconRect.left() + iconRect.width() * 0.5;
        for (int i = 0; i < 3; ++i) {
            const qreal y = iconRect.top() + 14 + i * 12;
            painter.drawLine(QPointF(x, y), QPointF(iconRect.right() - 8, y));
        }
    } else {
        // A five-pointed star in a cog-like ring, after the national emblem.
        const QPointF c = iconRect.center();
        const qreal r = iconRect.height() / 2;
        painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 2));
        painter.setBrush(QColor(0xE8, 0xE8, 0xE8));
        painter.drawEllipse(c, r, r);
        QPainterPath star;
        for (int i = 0; i < 10; ++i) {
            const qreal radius = i % 2 == 0 ? r * 0.8 : r * 0.32;
            const qreal angle = -M_PI / 2 + i * M_PI / 5;
            const QPointF p(c.x() + radius * std::cos(angle), c.y() + radius * std::sin(angle));
            if (i == 0)
                star.moveTo(p);
            else
                star.lineTo(p);
        }
        star.closeSubpath();
        painter.setBrush(Qt::white);
        painter.setPen(QPen(QColor(0xC0, 0x00, 0x00), 2));
        painter.drawPath(star);
    }

    QFont font(QStringLiteral("Arial"), 1, QFont::Bold);
    const QRectF textRect(iconRect.right() + 12, 0, size.width() - iconRect.right() - 16, h);
    // As large as the title allows, on any font the system substitutes.
    int pixels = h / 2 - 4;
    font.setPixelSize(pixels);
    while (pixels > 8 && QFontMetricsF(font).horizontalAdvance(title) > textRect.width())
        font.setPixelSize(--pixels);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, title);
    return image;
}

} // namespace ChecksLogo
