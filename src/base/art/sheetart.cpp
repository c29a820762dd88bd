#include "base/art/sheetart.h"

#include "base/forms.h"
#include "base/widgets.h"

#include <QPainter>
#include <QPainterPath>

namespace StudentSheetArt {

namespace {

void drawPrinter(QPainter &p, const QRectF &r)
{
    const QColor body(0x42, 0x7A, 0xA8);
    p.setPen(QPen(QColor(0x2C, 0x55, 0x78), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + r.width() * 0.25, r.top(), r.width() * 0.5, r.height() * 0.35)); // paper in
    p.setBrush(body);
    p.drawRoundedRect(QRectF(r.left(), r.top() + r.height() * 0.3, r.width(), r.height() * 0.4), 4, 4);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + r.width() * 0.2, r.top() + r.height() * 0.6, r.width() * 0.6, r.height() * 0.4));
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
    for (int i = 0; i < 3; ++i) {
        const double y = r.top() + r.height() * (0.72 + 0.08 * i);
        p.drawLine(QPointF(r.left() + r.width() * 0.28, y), QPointF(r.left() + r.width() * 0.72, y));
    }
    p.setBrush(QColor(0x7C, 0xFC, 0x00));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(r.right() - r.width() * 0.12, r.top() + r.height() * 0.4), 2.5, 2.5);
}

void drawScreen(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(QColor(0x2C, 0x55, 0x78), 1.5));
    p.setBrush(QColor(0x42, 0x7A, 0xA8));
    const QRectF frame(r.left(), r.top(), r.width(), r.height() * 0.72);
    p.drawRoundedRect(frame, 4, 4);
    p.setBrush(Qt::white);
    const QRectF glass = frame.adjusted(5, 5, -5, -5);
    p.drawRect(glass);
    p.setPen(QPen(QColor(0x41, 0x69, 0xE1), 2));
    p.drawLine(QPointF(glass.left() + 4, glass.top() + 5), QPointF(glass.right() - 4, glass.top() + 5));
    p.setPen(QPen(QColor(0xA0, 0xA0, 0xA0), 1));
    for (int i = 1; i < 4; ++i)
        p.drawLine(QPointF(glass.left() + 4, glass.top() + 5 + i * 6), QPointF(glass.right() - 10, glass.top() + 5 + i * 6));
    p.setPen(QPen(QColor(0x2C, 0x55, 0x78), 1.5));
    p.setBrush(QColor(0x42, 0x7A, 0xA8));
    p.drawRect(QRectF(r.center().x() - 5, frame.bottom(), 10, r.height() * 0.16));
    p.drawRoundedRect(QRectF(r.left() + r.width() * 0.2, r.bottom() - r.height() * 0.12, r.width() * 0.6,
                             r.height() * 0.12), 2, 2);
}

void drawNote(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(QColor(0x2C, 0x55, 0x78), 1.5));
    p.setBrush(QColor(0x42, 0x7A, 0xA8));
    p.drawEllipse(r);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(int(r.height() * 0.7));
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, QStringLiteral("i"));
}

} // namespace

QImage explanation(const QSize &size, Icon icon, const QString &heading, const QStringList &paragraphs)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const double iconSize = icon == Icon::Note ? 26 : 46;
    const QRectF iconRect(8, 8, iconSize, iconSize * (icon == Icon::Note ? 1.0 : 0.9));
    switch (icon) {
    case Icon::Printer: drawPrinter(p, iconRect); break;
    case Icon::Screen: drawScreen(p, iconRect); break;
    case Icon::Note: drawNote(p, iconRect); break;
    }

    const double textLeft = iconRect.right() + 10;
    double y = 8;
    if (!heading.isEmpty()) {
        QFont title(QStringLiteral("Verdana"));
        title.setPixelSize(15);
        title.setBold(true);
        p.setFont(title);
        p.setPen(QColor(0x2C, 0x55, 0x78));
        const QRectF headingRect(textLeft, y, size.width() - textLeft - 8, 22);
        p.drawText(headingRect, Qt::AlignLeft | Qt::AlignVCenter, heading);
        y += 26;
        p.setPen(QPen(QColor(0x41, 0x69, 0xE1), 1.5));
        p.drawLine(QPointF(textLeft, y - 3), QPointF(size.width() - 8, y - 3));
        y += 4;
    }
    QFont body(QStringLiteral("Verdana"));
    body.setPixelSize(11);
    p.setFont(body);
    p.setPen(QColor(0x30, 0x30, 0x30));
    for (const QString &paragraph : paragraphs) {
        const QRectF area(textLeft, y, size.width() - textLeft - 8, size.height() - y - 4);
        QRectF used;
        p.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, paragraph, &used);
        y = used.bottom() + 8;
    }
    return image;
}

QImage fallbackPhoto()
{
    QImage image(297, 184, QImage::Format_RGB32);
    const QImage silhouette = blankPicture();
    // The silhouette's own background all round, so no seam shows where it ends.
    image.fill(silhouette.isNull() ? QColor(0xF0, 0xF8, 0xFF) : silhouette.pixelColor(0, 0));
    QPainter p(&image);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!silhouette.isNull()) {
        const QSize fit = silhouette.size().scaled(image.size(), Qt::KeepAspectRatio);
        p.drawImage(QRect(QPoint((image.width() - fit.width()) / 2, (image.height() - fit.height()) / 2), fit),
                    silhouette);
    }
    return image;
}

} // namespace StudentSheetArt
