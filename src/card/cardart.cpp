#include "cardart.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

QImage canvas(const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void roundMark(QPainter &p, const QSize &size, const QColor &light, const QColor &dark)
{
    const QRectF r = QRectF(0, 0, size.width(), size.height()).adjusted(0.5, 0.5, -0.5, -0.5);
    QRadialGradient g(r.center() - QPointF(r.width() / 5, r.height() / 5), r.width() * 0.75);
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(g);
    p.drawEllipse(r);
}

} // namespace

namespace CardArt {

QImage logoPlaceholder()
{
    static const QImage picture = [] {
        QImage image(119, 118, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        const QRectF sphere(12, 11, 95, 95);
        // A soft shadow under the sphere, then the sphere lit from the top left.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 28));
        p.drawEllipse(QRectF(22, 98, 75, 12));
        QRadialGradient g(sphere.center() - QPointF(18, 20), sphere.width() * 0.75);
        g.setColorAt(0, QColor(0xBF, 0xDD, 0xFF));
        g.setColorAt(0.45, QColor(0x3C, 0x7F, 0xD6));
        g.setColorAt(1, QColor(0x0D, 0x2F, 0x74));
        p.setBrush(g);
        p.drawEllipse(sphere);
        QFont font(QStringLiteral("Verdana"));
        font.setBold(true);
        font.setPixelSize(24);
        p.setFont(font);
        p.setPen(QColor(0, 0, 0, 90));
        p.drawText(sphere.translated(1.5, 1.5), Qt::AlignCenter, QStringLiteral("LOGO"));
        p.setPen(Qt::white);
        p.drawText(sphere, Qt::AlignCenter, QStringLiteral("LOGO"));
        return image;
    }();
    return picture;
}

QImage whitePicture()
{
    QImage image(119, 118, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QImage instructionLine(const QString &text, const QColor &colour, const QSize &size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("Verdana"));
    font.setBold(true);
    // As large as the height allows, smaller when the line would not fit.
    int pixels = qMax(9, size.height() - 6);
    font.setPixelSize(pixels);
    while (pixels > 8 && QFontMetricsF(font).horizontalAdvance(text) > size.width() - 2)
        font.setPixelSize(--pixels);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QRect(QPoint(0, 0), size), Qt::AlignLeft | Qt::AlignVCenter, text);
    return image;
}

QImage infoMark(const QSize &size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    roundMark(p, size, QColor(0x8F, 0xC1, 0xF2), QColor(0x1F, 0x5A, 0xA8));
    QFont font(QStringLiteral("Georgia"));
    font.setBold(true);
    font.setItalic(true);
    font.setPixelSize(qRound(size.height() * 0.7));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, QStringLiteral("i"));
    return image;
}

QImage deleteMark(const QSize &size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    roundMark(p, size, QColor(0xFF, 0x8A, 0x80), QColor(0xB7, 0x1C, 0x1C));
    const qreal w = size.width();
    const qreal h = size.height();
    p.setPen(QPen(Qt::white, qMax<qreal>(2.0, w / 8), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(w * 0.32, h * 0.32), QPointF(w * 0.68, h * 0.68));
    p.drawLine(QPointF(w * 0.68, h * 0.32), QPointF(w * 0.32, h * 0.68));
    return image;
}

QImage portrait(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient ground(0, 0, 0, size.height());
    ground.setColorAt(0, QColor(0xE6, 0xF0, 0xFA));
    ground.setColorAt(1, QColor(0xC4, 0xDA, 0xF0));
    p.fillRect(image.rect(), ground);
    const qreal w = size.width();
    const qreal h = size.height();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3C, 0x6E, 0xB4));
    p.drawEllipse(QRectF(w * 0.32, h * 0.16, w * 0.36, h * 0.36));
    QPainterPath shoulders;
    shoulders.moveTo(w * 0.08, h);
    shoulders.cubicTo(w * 0.08, h * 0.7, w * 0.3, h * 0.56, w * 0.5, h * 0.56);
    shoulders.cubicTo(w * 0.7, h * 0.56, w * 0.92, h * 0.7, w * 0.92, h);
    shoulders.closeSubpath();
    p.drawPath(shoulders);
    return image;
}

} // namespace CardArt
