#include "help/helpart.h"

#include "base/forms.h"

#include <QFontMetricsF>
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

void smooth(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
}

} // namespace

namespace HelpArt {

QImage heading(const QSize &size, const QString &glyph, const QColor &light, const QColor &dark,
               const QString &text)
{
    QImage image = transparentImage(size);
    QPainter p(&image);
    smooth(p);
    const qreal d = size.height() - 6;
    const QRectF disc(3, 3, d, d);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 35));
    p.drawEllipse(disc.translated(1.5, 2));
    QLinearGradient fill(disc.topLeft(), disc.bottomLeft());
    fill.setColorAt(0, light);
    fill.setColorAt(1, dark);
    p.setBrush(fill);
    p.setPen(QPen(dark.darker(125), 1));
    p.drawEllipse(disc);
    // A soft gloss on the upper half.
    QLinearGradient gloss(disc.topLeft(), QPointF(disc.left(), disc.center().y()));
    gloss.setColorAt(0, QColor(255, 255, 255, 140));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawEllipse(disc.adjusted(d * 0.12, d * 0.05, -d * 0.12, -d * 0.45));
    p.setPen(Qt::white);
    p.setFont(Forms::pixelFont(QStringLiteral("DejaVu Serif"), qRound(d * 0.68), true));
    p.drawText(disc, Qt::AlignCenter, glyph);

    const qreal left = disc.right() + 16;
    const QRectF area(left, 0, size.width() - left, size.height());
    QFont font = Forms::verdana(qRound(size.height() * 0.42), true);
    // Shrink a heading too long for the picture rather than cut it.
    while (font.pixelSize() > 10 && QFontMetricsF(font).horizontalAdvance(text) > area.width())
        font.setPixelSize(font.pixelSize() - 1);
    p.setFont(font);
    p.setPen(QColor(0x1F, 0x4E, 0x86));
    p.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, text);
    return image;
}

QImage guideHeading(const QSize &size)
{
    return heading(size, QStringLiteral("?"), QColor(0x7C, 0xC4, 0x6E), QColor(0x2E, 0x7D, 0x32),
                   QStringLiteral("Guida all'utilizzo del software"));
}

QImage pdfIcon(const QSize &size)
{
    QImage image = transparentImage(size);
    QPainter p(&image);
    smooth(p);
    const qreal w = size.width(), h = size.height();
    const qreal fold = w * 0.28;
    const QRectF page(w * 0.14, 0.5, w * 0.72, h - 1);
    QPainterPath sheet;
    sheet.moveTo(page.topLeft());
    sheet.lineTo(page.right() - fold, page.top());
    sheet.lineTo(page.right(), page.top() + fold);
    sheet.lineTo(page.bottomRight());
    sheet.lineTo(page.bottomLeft());
    sheet.closeSubpath();
    p.setPen(QPen(QColor(0x8C, 0x8C, 0x8C), 1));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    QPainterPath corner;
    corner.moveTo(page.right() - fold, page.top());
    corner.lineTo(page.right() - fold, page.top() + fold);
    corner.lineTo(page.right(), page.top() + fold);
    p.setBrush(QColor(0xDD, 0xDD, 0xDD));
    p.drawPath(corner);
    // The red band with the letters runs across the page.
    const QRectF band(0, h * 0.5, w, h * 0.34);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xD3, 0x2F, 0x2F));
    p.drawRoundedRect(band, 2, 2);
    p.setPen(Qt::white);
    p.setFont(Forms::verdana(qMax(6, qRound(band.height() * 0.78)), true));
    p.drawText(band, Qt::AlignCenter, QStringLiteral("PDF"));
    return image;
}

} // namespace HelpArt
