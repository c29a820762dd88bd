#include "mediaart.h"

#include "base/forms.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

QImage transparentImage(const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// An opaque picture with a soft grey-blue ground.
QImage groundImage(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient ground(0, 0, 0, size.height());
    ground.setColorAt(0, QColor(0xF4, 0xF7, 0xFA));
    ground.setColorAt(1, QColor(0xD5, 0xDF, 0xEA));
    p.fillRect(image.rect(), ground);
    return image;
}

void drawPaperClip(QPainter &p, const QRectF &box)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = box.width();
    const qreal h = box.height();
    QPainterPath clip;
    // One wire bent into three nested loops, as a paper clip is.
    clip.moveTo(box.left() + w * 0.62, box.top() + h * 0.30);
    clip.lineTo(box.left() + w * 0.62, box.top() + h * 0.78);
    clip.arcTo(QRectF(box.left() + w * 0.30, box.top() + h * 0.64, w * 0.32, h * 0.28), 0, -180);
    clip.lineTo(box.left() + w * 0.30, box.top() + h * 0.18);
    clip.arcTo(QRectF(box.left() + w * 0.30, box.top() + h * 0.04, w * 0.46, h * 0.28), 180, -180);
    clip.lineTo(box.left() + w * 0.76, box.top() + h * 0.84);
    clip.arcTo(QRectF(box.left() + w * 0.16, box.top() + h * 0.70, w * 0.60, h * 0.28), 0, -180);
    clip.lineTo(box.left() + w * 0.16, box.top() + h * 0.26);
    QPen wire(QColor(0x6A, 0x74, 0x80), qMax<qreal>(1.6, w * 0.07), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(wire);
    p.setBrush(Qt::NoBrush);
    p.drawPath(clip);
    p.restore();
}

} // namespace

namespace MediaArt {

QImage attachInstructions(const QSize &size, const QStringList &lines)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    const int clip = size.height();
    drawPaperClip(p, QRectF(2, 2, clip * 0.7, clip - 4));
    const QFont font = Forms::verdana(11);
    p.setFont(font);
    p.setPen(QColor(0x20, 0x20, 0x20));
    const int lineHeight = size.height() / qMax(1, int(lines.size()));
    for (int i = 0; i < lines.size(); ++i)
        p.drawText(QRect(clip, i * lineHeight, size.width() - clip, lineHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
    return image;
}

QImage eraser(const QSize &size)
{
    QImage image = transparentImage(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    p.translate(w / 2, h / 2);
    p.rotate(-35);
    const QRectF body(-w * 0.42, -h * 0.2, w * 0.84, h * 0.4);
    QPainterPath shape;
    shape.addRoundedRect(body, 2, 2);
    p.setPen(QPen(QColor(0x70, 0x30, 0x40), 1));
    p.setBrush(QColor(0xF4, 0x8F, 0xA8));
    p.drawPath(shape);
    // The blue sleeve over the back half.
    p.setBrush(QColor(0x3A, 0x6E, 0xC2));
    p.drawRect(QRectF(body.left() + body.width() * 0.45, body.top(), body.width() * 0.55, body.height()));
    return image;
}

QImage webcam(const QSize &size)
{
    QImage image = groundImage(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = qMin(size.width(), size.height()) * 0.62;
    const QPointF centre(size.width() / 2.0, size.height() / 2.0 - s * 0.12);
    // Stand and foot.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x50, 0x5A, 0x66));
    p.drawRect(QRectF(centre.x() - s * 0.06, centre.y() + s * 0.30, s * 0.12, s * 0.30));
    p.drawRoundedRect(QRectF(centre.x() - s * 0.34, centre.y() + s * 0.56, s * 0.68, s * 0.10), 6, 6);
    // Round body with its lens.
    QRadialGradient body(centre - QPointF(s * 0.12, s * 0.14), s * 0.5);
    body.setColorAt(0, QColor(0xFA, 0xFA, 0xFC));
    body.setColorAt(1, QColor(0xA8, 0xB4, 0xC4));
    p.setBrush(body);
    p.setPen(QPen(QColor(0x60, 0x6A, 0x78), 2));
    p.drawEllipse(centre, s * 0.36, s * 0.36);
    p.setBrush(QColor(0x20, 0x28, 0x34));
    p.setPen(Qt::NoPen);
    p.drawEllipse(centre, s * 0.17, s * 0.17);
    p.setBrush(QColor(0x46, 0x82, 0xB4));
    p.drawEllipse(centre, s * 0.09, s * 0.09);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(centre - QPointF(s * 0.05, s * 0.05), s * 0.03, s * 0.03);
    // The small light of the camera.
    p.setBrush(QColor(0xD0, 0x30, 0x30));
    p.drawEllipse(centre + QPointF(s * 0.24, -s * 0.22), s * 0.03, s * 0.03);
    return image;
}

QImage photoCamera(const QSize &size)
{
    QImage image = groundImage(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = qMin(size.width(), size.height()) * 0.66;
    const QRectF body(size.width() / 2.0 - s * 0.7, size.height() / 2.0 - s * 0.34, s * 1.4, s * 0.82);
    p.setPen(QPen(QColor(0x30, 0x34, 0x3C), 2));
    p.setBrush(QColor(0x4A, 0x50, 0x5A));
    // Viewfinder hump and shutter button.
    p.drawRoundedRect(QRectF(body.center().x() - s * 0.26, body.top() - s * 0.16, s * 0.52, s * 0.22), 5, 5);
    p.drawRoundedRect(QRectF(body.left() + s * 0.12, body.top() - s * 0.09, s * 0.2, s * 0.12), 3, 3);
    p.drawRoundedRect(body, 12, 12);
    // Lens.
    const QPointF lens(body.center().x(), body.center().y() + s * 0.02);
    p.setBrush(QColor(0xC8, 0xCE, 0xD6));
    p.drawEllipse(lens, s * 0.32, s * 0.32);
    p.setBrush(QColor(0x1C, 0x22, 0x2C));
    p.drawEllipse(lens, s * 0.24, s * 0.24);
    QRadialGradient glass(lens - QPointF(s * 0.06, s * 0.06), s * 0.2);
    glass.setColorAt(0, QColor(0x8C, 0xB8, 0xE0));
    glass.setColorAt(1, QColor(0x1C, 0x30, 0x48));
    p.setBrush(glass);
    p.setPen(Qt::NoPen);
    p.drawEllipse(lens, s * 0.16, s * 0.16);
    // Flash window.
    p.setBrush(QColor(0xF2, 0xF4, 0xE8));
    p.drawRect(QRectF(body.right() - s * 0.32, body.top() + s * 0.1, s * 0.2, s * 0.1));
    return image;
}

QImage slideshowWaiting(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient ground(0, 0, 0, size.height());
    ground.setColorAt(0, QColor(0x2F, 0x4F, 0x6F));
    ground.setColorAt(1, QColor(0x46, 0x82, 0xB4));
    p.fillRect(image.rect(), ground);
    p.setPen(QPen(QColor(255, 255, 255, 160), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(image.rect()).adjusted(10, 10, -10, -10), 14, 14);
    const int title = qMax(14, size.height() / 7);
    const QRect area = image.rect();
    p.setPen(Qt::white);
    p.setFont(Forms::verdana(title, true));
    p.drawText(QRect(0, area.height() / 2 - title * 3 / 2, area.width(), title * 3 / 2),
               Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("Avvio Slide Show"));
    p.setFont(Forms::verdana(title * 2 / 3));
    p.setPen(QColor(0xE0, 0xEC, 0xF8));
    p.drawText(QRect(0, area.height() / 2 + title / 3, area.width(), title * 3 / 2),
               Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Attendere..."));
    return image;
}

} // namespace MediaArt
