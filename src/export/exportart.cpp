#include "exportart.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

const QColor kSheetGreen(0x1D, 0x6F, 0x42);
const QColor kDarkBlue(0x1F, 0x3A, 0x5F);

QImage canvas(const QSize &size, const QColor &ground = Qt::transparent)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(ground);
    return image;
}

QFont boldFont(int pixels)
{
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}

// A sheet of squared paper with a folded corner, in `r`.
void drawSheet(QPainter &p, const QRectF &r)
{
    const qreal fold = r.width() * 0.28;
    QPainterPath outline;
    outline.moveTo(r.topLeft());
    outline.lineTo(r.right() - fold, r.top());
    outline.lineTo(r.right(), r.top() + fold);
    outline.lineTo(r.bottomRight());
    outline.lineTo(r.bottomLeft());
    outline.closeSubpath();
    p.setPen(QPen(QColor(0x6B, 0x7B, 0x6F), 1.2));
    p.setBrush(Qt::white);
    p.drawPath(outline);

    p.save();
    p.setClipPath(outline);
    p.setPen(QPen(QColor(0x7C, 0xB3, 0x90), 1));
    const qreal step = r.height() / 7;
    for (qreal y = r.top() + step * 1.5; y < r.bottom(); y += step)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
    for (int i = 1; i < 3; ++i) {
        const qreal x = r.left() + r.width() * i / 3;
        p.drawLine(QPointF(x, r.top() + step * 1.5), QPointF(x, r.bottom() - 2));
    }
    p.restore();

    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    corner.closeSubpath();
    p.setBrush(QColor(0xD8, 0xE4, 0xDC));
    p.drawPath(corner);
}

// The green square with a white X that spreadsheet files are known by.
void drawSheetBadge(QPainter &p, const QRectF &r)
{
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, kSheetGreen.lighter(135));
    fill.setColorAt(1, kSheetGreen);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(r, r.width() * 0.15, r.width() * 0.15);
    QFont font = boldFont(int(r.height() * 0.72));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, QStringLiteral("X"));
}

void drawBook(QPainter &p, const QRectF &r, const QColor &cover)
{
    p.setPen(QPen(cover.darker(150), 1));
    p.setBrush(cover);
    p.drawRoundedRect(r, 3, 3);
    // Pages along the right edge, a band on the spine.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFA, 0xF6, 0xE8));
    p.drawRect(QRectF(r.right() - r.height() * 0.35, r.top() + 2, r.height() * 0.3, r.height() - 4));
    p.setBrush(cover.lighter(140));
    p.drawRect(QRectF(r.left() + r.width() * 0.12, r.top() + 1, r.width() * 0.05, r.height() - 2));
    p.drawRect(QRectF(r.left() + r.width() * 0.55, r.top() + 1, r.width() * 0.05, r.height() - 2));
}

// A block arrow pointing right that fills `box`: the shaft from the left
// edge to `neck`, the head from there to the right edge; shaded from `light`
// at the top to `dark`, edged with `edge`.
void drawArrow(QPainter &p, const QRectF &box, qreal neck, const QColor &light, const QColor &dark,
               const QColor &edge)
{
    const qreal inset = box.height() * 0.27;
    QPainterPath arrow;
    arrow.moveTo(box.left(), box.top() + inset);
    arrow.lineTo(neck, box.top() + inset);
    arrow.lineTo(neck, box.top());
    arrow.lineTo(box.right(), box.center().y());
    arrow.lineTo(neck, box.bottom());
    arrow.lineTo(neck, box.bottom() - inset);
    arrow.lineTo(box.left(), box.bottom() - inset);
    arrow.closeSubpath();
    QLinearGradient fill(0, box.top(), 0, box.bottom());
    fill.setColorAt(0, light);
    fill.setColorAt(1, dark);
    p.setPen(QPen(edge, 1));
    p.setBrush(fill);
    p.drawPath(arrow);
}

// The orange arrow leaving a sheet drawn in a w x h picture.
void drawExportArrow(QPainter &p, qreal w, qreal h)
{
    drawArrow(p, QRectF(w * 0.5, h * 0.08, w * 0.49, h * 0.44), w * 0.72, QColor(0xFF, 0xB3, 0x47),
              QColor(0xE0, 0x6C, 0x00), QColor(0xA0, 0x4A, 0x00));
}

// The green arrow of the imports, coming in from the left.
void drawImportArrow(QPainter &p, const QRectF &box, qreal neck)
{
    drawArrow(p, box, neck, kSheetGreen.lighter(150), kSheetGreen, kSheetGreen.darker(140));
}

} // namespace

namespace ExportArt {

QImage books(const QSize &size)
{
    QImage image = canvas(size, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    const qreal bookHeight = h * 0.22;
    drawBook(p, QRectF(w * 0.14, h - 6 - bookHeight, w * 0.72, bookHeight), QColor(0x2E, 0x6D, 0xA4));
    drawBook(p, QRectF(w * 0.2, h - 7 - bookHeight * 2, w * 0.62, bookHeight), QColor(0xB0, 0x3A, 0x2E));
    drawBook(p, QRectF(w * 0.1, h - 8 - bookHeight * 3, w * 0.68, bookHeight), kSheetGreen);
    // An apple on top, as on a teacher's desk.
    const QRectF apple(w * 0.62, h - 10 - bookHeight * 3 - h * 0.2, h * 0.2, h * 0.2);
    QRadialGradient red(apple.center() - QPointF(apple.width() * 0.2, apple.height() * 0.2), apple.width() * 0.7);
    red.setColorAt(0, QColor(0xF2, 0x5C, 0x4C));
    red.setColorAt(1, QColor(0xA8, 0x1E, 0x14));
    p.setPen(Qt::NoPen);
    p.setBrush(red);
    p.drawEllipse(apple);
    p.setPen(QPen(QColor(0x5A, 0x3A, 0x1E), 1.5));
    p.drawLine(apple.center() - QPointF(0, apple.height() * 0.45), apple.center() - QPointF(-2, apple.height() * 0.7));
    return image;
}

QImage banner(const QSize &size)
{
    QImage image = canvas(size, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal h = size.height();
    drawSheet(p, QRectF(4, 4, h * 0.72, h - 8));
    drawSheetBadge(p, QRectF(h * 0.3, h * 0.42, h * 0.5, h * 0.5));

    const int left = int(h * 0.95);
    p.setFont(boldFont(20));
    p.setPen(kSheetGreen);
    p.drawText(QRect(left, 2, size.width() - left, int(h * 0.58)), Qt::AlignLeft | Qt::AlignBottom,
               QStringLiteral("ESPORTAZIONE IN EXCEL"));
    QFont small(QStringLiteral("Verdana"));
    small.setPixelSize(12);
    p.setFont(small);
    p.setPen(kDarkBlue);
    p.drawText(QRect(left, int(h * 0.6), size.width() - left, int(h * 0.4)), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("L'archivio degli studenti in un foglio di calcolo"));
    return image;
}

QImage pointingHand(const QSize &size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    // Sleeve, palm with folded fingers, and the long index finger.
    QPainterPath hand;
    hand.addRoundedRect(QRectF(w * 0.22, h * 0.3, w * 0.4, h * 0.5), w * 0.12, w * 0.12);
    hand.addRoundedRect(QRectF(w * 0.4, h * 0.3, w * 0.56, h * 0.16), h * 0.08, h * 0.08);
    for (int i = 0; i < 3; ++i)
        hand.addRoundedRect(QRectF(w * 0.48, h * (0.47 + i * 0.11), w * 0.2, h * 0.1), h * 0.05, h * 0.05);
    hand = hand.simplified();
    p.setPen(QPen(QColor(0x8A, 0x5A, 0x2B), 1.2));
    QLinearGradient skin(0, 0, 0, h);
    skin.setColorAt(0, QColor(0xFF, 0xE0, 0xB8));
    skin.setColorAt(1, QColor(0xF0, 0xB8, 0x7A));
    p.setBrush(skin);
    p.drawPath(hand);
    p.setPen(Qt::NoPen);
    p.setBrush(kDarkBlue);
    p.drawRoundedRect(QRectF(w * 0.02, h * 0.28, w * 0.22, h * 0.54), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(w * 0.2, h * 0.28, w * 0.05, h * 0.54));
    return image;
}


QImage exportButton(const QSize &size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    drawSheet(p, QRectF(w * 0.12, 2, w * 0.66, h - 4));
    drawSheetBadge(p, QRectF(1, h * 0.46, w * 0.46, w * 0.46));
    drawExportArrow(p, w, h);
    return image;
}

QImage workbookButton(const QSize &size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    drawSheet(p, QRectF(w * 0.12, 2, w * 0.66, h - 4));
    const QRectF label(1, h * 0.64, w * 0.8, h * 0.3);
    QLinearGradient fill(label.topLeft(), label.bottomLeft());
    fill.setColorAt(0, kSheetGreen.lighter(135));
    fill.setColorAt(1, kSheetGreen);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(label, label.height() * 0.2, label.height() * 0.2);
    p.setFont(boldFont(int(label.height() * 0.72)));
    p.setPen(Qt::white);
    p.drawText(label, Qt::AlignCenter, QStringLiteral("XLSX"));
    drawExportArrow(p, w, h);
    return image;
}

QImage studentImportButton(const QSize &size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    drawSheet(p, QRectF(w * 0.32, 2, w * 0.66, h - 4));
    drawImportArrow(p, QRectF(w * 0.02, h * 0.44, w * 0.58, h * 0.44), w * 0.30);
    return image;
}

QImage photoImportButton(const QSize &size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    // The photo: a white-edged card with a sky ground and a silhouette.
    const QRectF photo(w * 0.30, h * 0.10, w * 0.66, h * 0.84);
    p.setPen(QPen(QColor(0x5A, 0x6A, 0x7A), 1.2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(photo, 2, 2);
    const QRectF ground = photo.adjusted(3, 3, -3, -3);
    QLinearGradient sky(ground.topLeft(), ground.bottomLeft());
    sky.setColorAt(0, QColor(0xCF, 0xE6, 0xF8));
    sky.setColorAt(1, QColor(0x8F, 0xBC, 0xE6));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRect(ground);
    p.save();
    p.setClipRect(ground);
    p.setBrush(kDarkBlue);
    const qreal headR = ground.width() * 0.2;
    const QPointF head(ground.center().x(), ground.top() + ground.height() * 0.38);
    p.drawEllipse(head, headR, headR * 1.15);
    p.drawEllipse(QPointF(head.x(), ground.bottom() + ground.height() * 0.12), ground.width() * 0.46,
                  ground.height() * 0.36);
    p.restore();
    drawImportArrow(p, QRectF(w * 0.02, h * 0.50, w * 0.48, h * 0.42), w * 0.26);
    return image;
}

QImage guideButton(const QSize &size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal d = std::min(size.width(), size.height()) - 4;
    const QRectF circle((size.width() - d) / 2, (size.height() - d) / 2, d, d);
    QRadialGradient blue(circle.center() - QPointF(d * 0.2, d * 0.25), d * 0.75);
    blue.setColorAt(0, QColor(0x7F, 0xB8, 0xEE));
    blue.setColorAt(1, QColor(0x1A, 0x4F, 0x8C));
    p.setPen(QPen(QColor(0x12, 0x3A, 0x66), 1.5));
    p.setBrush(blue);
    p.drawEllipse(circle);
    p.setFont(boldFont(int(d * 0.62)));
    p.setPen(Qt::white);
    p.drawText(circle, Qt::AlignCenter, QStringLiteral("?"));
    return image;
}

QImage exitButton(const QSize &size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    // Door frame, the door swung open, and an arrow walking out.
    p.setPen(QPen(QColor(0x5A, 0x3A, 0x1E), 2));
    p.setBrush(QColor(0x30, 0x30, 0x30));
    p.drawRect(QRectF(w * 0.3, h * 0.06, w * 0.62, h * 0.88));
    QPainterPath door;
    door.moveTo(w * 0.3, h * 0.06);
    door.lineTo(w * 0.62, h * 0.16);
    door.lineTo(w * 0.62, h * 0.98);
    door.lineTo(w * 0.3, h * 0.94);
    door.closeSubpath();
    QLinearGradient wood(0, 0, w, 0);
    wood.setColorAt(0, QColor(0xC8, 0x8A, 0x4E));
    wood.setColorAt(1, QColor(0x8E, 0x55, 0x22));
    p.setBrush(wood);
    p.drawPath(door);
    p.setBrush(QColor(0xF2, 0xD0, 0x5A));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(w * 0.55, h * 0.55), w * 0.04, w * 0.04);

    QPainterPath arrow;
    arrow.moveTo(w * 0.45, h * 0.46);
    arrow.lineTo(w * 0.2, h * 0.46);
    arrow.lineTo(w * 0.2, h * 0.38);
    arrow.lineTo(w * 0.01, h * 0.52);
    arrow.lineTo(w * 0.2, h * 0.66);
    arrow.lineTo(w * 0.2, h * 0.58);
    arrow.lineTo(w * 0.45, h * 0.58);
    arrow.closeSubpath();
    p.setPen(QPen(QColor(0x8A, 0x10, 0x10), 1));
    p.setBrush(QColor(0xD8, 0x2A, 0x2A));
    p.drawPath(arrow);
    return image;
}

} // namespace ExportArt
