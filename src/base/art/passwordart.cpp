#include "base/art/passwordart.h"

#include "base/forms.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

QImage drawPadlockPicture(const QSize &size, const QString &heading, const QStringList &lines)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Padlock: a steel shackle over a golden body with a keyhole.
    const qreal h = size.height();
    const QRectF body(10, h * 0.42, 86, h * 0.48);
    QPen shackle(QColor(0x8A, 0x95, 0xA3), 11, Qt::SolidLine, Qt::FlatCap);
    p.setPen(shackle);
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    const qreal left = body.left() + 17, right = body.right() - 17;
    arc.moveTo(left, body.top() + 2);
    arc.lineTo(left, body.top() - h * 0.14);
    arc.arcTo(QRectF(left, body.top() - h * 0.14 - (right - left) / 2, right - left, right - left),
              180, -180);
    arc.lineTo(right, body.top() + 2);
    p.drawPath(arc);
    p.setPen(QPen(QColor(0xCF, 0xD6, 0xDE), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(arc);

    QLinearGradient gold(body.topLeft(), body.bottomRight());
    gold.setColorAt(0, QColor(0xFF, 0xE0, 0x7A));
    gold.setColorAt(0.5, QColor(0xF2, 0xB8, 0x2E));
    gold.setColorAt(1, QColor(0xC0, 0x86, 0x10));
    p.setPen(QPen(QColor(0x9A, 0x6A, 0x08), 1.5));
    p.setBrush(gold);
    p.drawRoundedRect(body, 9, 9);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x4A, 0x33, 0x05));
    const QPointF hole(body.center().x(), body.center().y() - 6);
    p.drawEllipse(hole, 7, 7);
    QPainterPath slot;
    slot.moveTo(hole.x() - 4, hole.y() + 3);
    slot.lineTo(hole.x() + 4, hole.y() + 3);
    slot.lineTo(hole.x() + 2.5, hole.y() + 20);
    slot.lineTo(hole.x() - 2.5, hole.y() + 20);
    slot.closeSubpath();
    p.drawPath(slot);

    // Heading and lines on the right.
    const int textLeft = 112;
    const QRect textArea(textLeft, 4, size.width() - textLeft - 4, size.height() - 8);
    QFont headingFont(QStringLiteral("Verdana"));
    headingFont.setPixelSize(22);
    headingFont.setBold(true);
    QFont bodyFont(QStringLiteral("Verdana"));
    bodyFont.setPixelSize(11);

    const QFontMetrics hm(headingFont);
    const QFontMetrics bm(bodyFont);
    int textHeight = hm.height() + 6;
    QList<QRect> bounds;
    for (const QString &line : lines) {
        const QRect r = bm.boundingRect(QRect(0, 0, textArea.width(), 1000), Qt::TextWordWrap, line);
        bounds.append(r);
        textHeight += r.height() + 5;
    }
    int y = textArea.top() + qMax(0, (textArea.height() - textHeight) / 2);
    p.setFont(headingFont);
    p.setPen(QColor(0x1F, 0x3F, 0x66));
    p.drawText(QRect(textArea.left(), y, textArea.width(), hm.height()), Qt::AlignLeft, heading);
    y += hm.height() + 6;
    p.setFont(bodyFont);
    p.setPen(QColor(0x10, 0x20, 0x30));
    for (int i = 0; i < lines.size(); ++i) {
        p.drawText(QRect(textArea.left(), y, textArea.width(), bounds[i].height()),
                   Qt::TextWordWrap, lines[i]);
        y += bounds[i].height() + 5;
    }
    return image;
}
