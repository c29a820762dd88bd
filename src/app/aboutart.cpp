#include "aboutart.h"

#include "maker.h"

#include "base/forms.h"
#include "help/helpart.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

const QColor kDeepBlue(0x1F, 0x4E, 0x86);

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

// A small ID card, as the program prints them, inside `r`.
void drawCard(QPainter &p, const QRectF &r)
{
    const qreal radius = r.height() * 0.08;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRoundedRect(r.translated(4, 5), radius, radius);
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(0x9A, 0xB4, 0xCC), 1.5));
    p.drawRoundedRect(r, radius, radius);
    p.save();
    QPainterPath clip;
    clip.addRoundedRect(r, radius, radius);
    p.setClipPath(clip);
    const QRectF band(r.left(), r.top(), r.width(), r.height() * 0.22);
    p.fillRect(band, kDeepBlue);
    p.restore();
    p.setPen(Qt::white);
    p.setFont(Forms::verdana(qRound(band.height() * 0.45), true));
    p.drawText(band, Qt::AlignCenter, QStringLiteral("TESSERINO STUDENTE"));

    const QRectF photo(r.left() + r.width() * 0.07, band.bottom() + r.height() * 0.09, r.width() * 0.27,
                       r.height() * 0.58);
    p.setPen(QPen(QColor(0xCD, 0xDF, 0xEE), 1));
    p.setBrush(QColor(0xEA, 0xF2, 0xFA));
    p.drawRect(photo);
    p.save();
    p.setClipRect(photo);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x7F, 0xA8, 0xD0));
    const QPointF head(photo.center().x(), photo.top() + photo.height() * 0.38);
    p.drawEllipse(head, photo.width() * 0.2, photo.height() * 0.19);
    p.drawEllipse(QPointF(photo.center().x(), photo.bottom() + photo.height() * 0.12), photo.width() * 0.48,
                  photo.height() * 0.4);
    p.restore();

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xC5, 0xD3, 0xE0));
    const qreal lineLeft = photo.right() + r.width() * 0.07;
    for (int i = 0; i < 4; ++i) {
        const qreal width = (r.right() - lineLeft - r.width() * 0.07) * (i % 2 ? 0.7 : 1.0);
        p.drawRoundedRect(QRectF(lineLeft, photo.top() + photo.height() * (0.08 + i * 0.24), width,
                                 photo.height() * 0.09),
                          2, 2);
    }
}

} // namespace

namespace AboutArt {

QImage infoHeading(const QSize &size)
{
    return HelpArt::heading(size, QStringLiteral("i"), QColor(0x6F, 0xB1, 0xEC), kDeepBlue,
                            QStringLiteral("Informazioni sul programma"));
}

QImage envelope(const QSize &size)
{
    QImage image = transparentImage(size);
    QPainter p(&image);
    smooth(p);
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    QLinearGradient paper(r.topLeft(), r.bottomLeft());
    paper.setColorAt(0, Qt::white);
    paper.setColorAt(1, QColor(0xE6, 0xEC, 0xF2));
    p.setPen(QPen(QColor(0x5A, 0x6E, 0x85), 1));
    p.setBrush(paper);
    p.drawRoundedRect(r, 1.5, 1.5);
    // The flap, and the folds running to the lower corners.
    p.drawLine(r.topLeft(), QPointF(r.center().x(), r.top() + r.height() * 0.6));
    p.drawLine(QPointF(r.center().x(), r.top() + r.height() * 0.6), r.topRight());
    p.setPen(QPen(QColor(0x9A, 0xA8, 0xB8), 0.8));
    p.drawLine(r.bottomLeft(), QPointF(r.left() + r.width() * 0.38, r.top() + r.height() * 0.45));
    p.drawLine(r.bottomRight(), QPointF(r.right() - r.width() * 0.38, r.top() + r.height() * 0.45));
    return image;
}

QImage globe(const QSize &size)
{
    QImage image = transparentImage(size);
    QPainter p(&image);
    smooth(p);
    const qreal d = qMin(size.width(), size.height()) - 2;
    const QRectF r((size.width() - d) / 2, (size.height() - d) / 2, d, d);
    QRadialGradient sea(r.center() - QPointF(d * 0.18, d * 0.2), d * 0.7);
    sea.setColorAt(0, QColor(0x8F, 0xD0, 0xFF));
    sea.setColorAt(1, QColor(0x13, 0x5C, 0xB0));
    p.setPen(QPen(QColor(0x0E, 0x46, 0x88), 1));
    p.setBrush(sea);
    p.drawEllipse(r);
    p.save();
    QPainterPath clip;
    clip.addEllipse(r);
    p.setClipPath(clip);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1));
    for (qreal f : {0.5, 0.2})
        p.drawEllipse(QRectF(r.center().x() - d * f / 2, r.top(), d * f, d));
    p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom()));
    for (qreal f : {0.25, 0.5, 0.75})
        p.drawLine(QPointF(r.left(), r.top() + d * f), QPointF(r.right(), r.top() + d * f));
    p.restore();
    return image;
}

QImage credits(const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    smooth(p);
    const qreal w = size.width(), h = size.height();

    // A warm band behind the title, fading into the page.
    QLinearGradient band(0, 0, 0, h * 0.42);
    band.setColorAt(0, QColor(0xF6, 0xEC, 0xE4));
    band.setColorAt(1, Qt::white);
    p.fillRect(QRectF(0, 0, w, h * 0.42), band);

    QFont title = Forms::pixelFont(QStringLiteral("DejaVu Serif"), qRound(h * 0.2), true);
    title.setLetterSpacing(QFont::PercentageSpacing, 104);
    p.setFont(title);
    const QRectF titleArea(0, h * 0.04, w, h * 0.26);
    p.setPen(QColor(0, 0, 0, 50));
    p.drawText(titleArea.translated(2, 3), Qt::AlignCenter, QStringLiteral("Lumetra"));
    QLinearGradient red(0, titleArea.top(), 0, titleArea.bottom());
    red.setColorAt(0, QColor(0xE5, 0x2B, 0x2B));
    red.setColorAt(1, QColor(0xA8, 0x0E, 0x0E));
    p.setPen(QPen(QBrush(red), 1));
    p.drawText(titleArea, Qt::AlignCenter, QStringLiteral("Lumetra"));

    p.setPen(kDeepBlue);
    const QString subtitle =
        QStringLiteral("Archivio storico degli studenti e stampa dei tesserini di riconoscimento");
    QFont subtitleFont = Forms::verdana(qRound(h * 0.045), true);
    while (subtitleFont.pixelSize() > 8 && QFontMetricsF(subtitleFont).horizontalAdvance(subtitle) > w * 0.92)
        subtitleFont.setPixelSize(subtitleFont.pixelSize() - 1);
    p.setFont(subtitleFont);
    p.drawText(QRectF(0, h * 0.3, w, h * 0.07), Qt::AlignCenter, subtitle);
    p.setPen(QPen(QColor(0xCD, 0xDF, 0xEE), 2));
    p.drawLine(QPointF(w * 0.08, h * 0.41), QPointF(w * 0.92, h * 0.41));

    drawCard(p, QRectF(w * 0.07, h * 0.48, w * 0.36, h * 0.36));

    const QRectF textArea(w * 0.5, h * 0.47, w * 0.46, h * 0.4);
    QFont label = Forms::verdana(qRound(h * 0.036));
    QFont value = Forms::verdana(qRound(h * 0.046), true);
    const QList<QPair<QString, QString>> lines = {
        {QStringLiteral("Versione"), QStringLiteral(LUMETRA_VERSION)},
        {QStringLiteral("Progetto e sviluppo"), Maker::name()},
        {QStringLiteral("Sito web"), Maker::webAddress()},
        {QStringLiteral("Realizzato con"), QStringLiteral("C++ e Qt")},
    };
    qreal y = textArea.top();
    for (const auto &line : lines) {
        p.setFont(label);
        p.setPen(QColor(0x6B, 0x6B, 0x6B));
        p.drawText(QRectF(textArea.left(), y, textArea.width(), h * 0.045), Qt::AlignLeft | Qt::AlignVCenter,
                   line.first);
        p.setFont(value);
        p.setPen(kDeepBlue);
        p.drawText(QRectF(textArea.left(), y + h * 0.043, textArea.width(), h * 0.055),
                   Qt::AlignLeft | Qt::AlignVCenter, line.second);
        y += h * 0.105;
    }

    p.setPen(QColor(0x6B, 0x6B, 0x6B));
    p.setFont(Forms::verdana(qRound(h * 0.032)));
    p.drawText(QRectF(0, h * 0.9, w, h * 0.08), Qt::AlignCenter,
               QStringLiteral("© %1. Tutti i diritti riservati.").arg(Maker::name()));
    p.setPen(QColor(0xCD, 0xDF, 0xEE));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    return image;
}

} // namespace AboutArt
