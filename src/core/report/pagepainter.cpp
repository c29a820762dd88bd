#include "report/pagepainter.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {


// The templates name the usual office fonts; where they are not installed
// their metric-compatible free twins stand in.
void installSubstitutes()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const struct { const char *family; const char *substitute; } pairs[] = {
        {"Arial", "Liberation Sans"},
        {"Courier New", "Liberation Mono"},
        {"Times New Roman", "Liberation Serif"},
        {"Verdana", "DejaVu Sans"},
        {"Tahoma", "DejaVu Sans"},
    };
    const QStringList installed = QFontDatabase::families();
    for (const auto &pair : pairs) {
        const QString family = QString::fromLatin1(pair.family);
        if (!installed.contains(family, Qt::CaseInsensitive))
            QFont::insertSubstitution(family, QString::fromLatin1(pair.substitute));
    }
}

// Fonts are resolved at whole pixel sizes, so that 8 pt (10.667 report
// pixels) would be set at 11 pixels, 3 % too large. Text is therefore set in
// a font whose whole size counts points (hundredths of a point for a size
// that is not whole), and drawn under a scale (`unit`, report pixels per
// font unit) that brings it to its exact em: a PDF reads "8 Tf" at 8 pt.
struct ExactFont
{
    QFont font;
    double unit;
};

ExactFont reportFont(const TextObject &text)
{
    installSubstitutes();
    const double points = pxToPt(text.fontPixels);
    const double whole = std::round(points);
    const int size = whole >= 1 && std::abs(points - whole) < 1e-6 ? int(whole)
                                                                    : std::max(1, int(std::lround(points * 100.0)));
    QFont font(text.fontFamily);
    font.setPixelSize(size);
    font.setBold(text.bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferOutline);
    return {font, text.fontPixels / size};
}

// Breaks one line into the pieces that fit `width`, at blanks where possible.
QStringList wrapLine(const QString &line, const QFontMetricsF &metrics, double width)
{
    if (line.isEmpty() || metrics.horizontalAdvance(line) <= width)
        return {line};
    QStringList pieces;
    QString rest = line;
    while (!rest.isEmpty()) {
        if (metrics.horizontalAdvance(rest) <= width) {
            pieces.append(rest);
            break;
        }
        int fit = 0;
        while (fit < rest.size() && metrics.horizontalAdvance(rest.left(fit + 1)) <= width)
            ++fit;
        fit = std::max(fit, 1);
        int cut = int(rest.left(fit + 1).lastIndexOf(QLatin1Char(' ')));
        if (cut <= 0)
            cut = fit;
        pieces.append(rest.left(cut).trimmed());
        rest = rest.mid(cut);
        while (rest.startsWith(QLatin1Char(' ')))
            rest.remove(0, 1);
    }
    return pieces;
}

void paintText(QPainter &painter, const PlacedObject &placed)
{
    const auto &text = static_cast<const TextObject &>(*placed.object);
    const QRectF rect = placed.rect;
    if (text.fill.isValid() && text.fill.alpha() > 0)
        painter.fillRect(rect, text.fill);
    if (placed.lines.isEmpty() || rect.width() <= 0 || rect.height() <= 0)
        return;

    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    const ExactFont exact = reportFont(text);
    painter.setFont(exact.font);
    painter.setPen(text.colour);
    // Measured in font units; unit turns them into report pixels.
    const QFontMetricsF metrics(exact.font, painter.device());
    const double unit = exact.unit;
    const double innerWidth = rect.width() - 2 * TextObject::InnerMarginX;

    QStringList lines;
    if (text.wordWrap && !placed.split) {
        for (const QString &line : placed.lines)
            lines += wrapLine(line, metrics, innerWidth / unit);
    } else {
        lines = placed.lines;
    }

    const double em = text.fontPixels;
    const double pitch = text.linePitch();
    double top;
    if (placed.split)
        top = rect.top() + placed.textOffset;
    else if (text.vAlign == TextObject::VAlign::Center)
        top = rect.top() + (rect.height() - (lines.size() * pitch - TextObject::LineSpacing)) / 2;
    else
        top = rect.top() + TextObject::InnerMarginY;

    // The glyphs' full height is squeezed into the em box of each line, so
    // that lines set at the template's pitch never overlap.
    const double ascentShare = metrics.ascent() / std::max(1e-6, metrics.ascent() + metrics.descent());
    painter.scale(unit, unit);
    for (int i = 0; i < lines.size(); ++i) {
        const double lineTop = top + i * pitch;
        if (lineTop > rect.bottom())
            break;
        if (lineTop + em < rect.top())
            continue;
        double x = rect.left() + TextObject::InnerMarginX;
        if (text.hAlign == TextObject::HAlign::Center)
            x += (innerWidth - metrics.horizontalAdvance(lines.at(i)) * unit) / 2;
        painter.drawText(QPointF(x / unit, (lineTop + em * ascentShare) / unit), lines.at(i));
    }
    painter.restore();
}

void paintRect(QPainter &painter, const PlacedObject &placed)
{
    const auto &shape = static_cast<const RectObject &>(*placed.object);
    const QRectF rect = placed.rect;
    if (shape.fill.isValid() && shape.fill.alpha() > 0)
        painter.fillRect(rect, shape.fill);
    if (shape.outline.isValid() && shape.outline.alpha() > 0 && rect.width() >= 1 && rect.height() >= 1) {
        QPen pen(shape.outline, 1.0);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

void paintPicture(QPainter &painter, const PlacedObject &placed)
{
    const auto &picture = static_cast<const PictureObject &>(*placed.object);
    const QImage &image = picture.picture();
    if (image.isNull())
        return;
    const QRectF target = PictureObject::fitted(image.size(), placed.rect, picture.center);
    if (target.isEmpty())
        return;
    painter.save();
    painter.setClipRect(placed.rect, Qt::IntersectClip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(target, image);
    painter.restore();
}

void paintChart(QPainter &painter, const PlacedObject &placed)
{
    const auto &chart = static_cast<const ChartObject &>(*placed.object);
    const QRectF rect = placed.rect;
    if (chart.bars.isEmpty() || rect.width() <= 0 || rect.height() <= 0)
        return;
    TextObject style{QString(), QRectF()};
    style.fontFamily = chart.fontFamily;
    style.fontPixels = chart.fontPixels;
    const ExactFont exact = reportFont(style);
    const QFontMetricsF metrics(exact.font, painter.device());
    const double unit = exact.unit;

    qint64 largest = 0;
    double labelWidth = 0;
    double valueWidth = 0;
    for (const ChartObject::Bar &bar : chart.bars) {
        largest = std::max(largest, bar.value);
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(bar.label) * unit);
        valueWidth = std::max(valueWidth, metrics.horizontalAdvance(QString::number(bar.value)) * unit);
    }
    // Names take what they need up to two fifths of the width; longer ones
    // are cut at the bars.
    const double gap = 4.0;
    labelWidth = std::min(labelWidth + gap, rect.width() * 0.4);
    const double axis = rect.left() + labelWidth;
    const double room = std::max(0.0, rect.right() - axis - valueWidth - gap);
    const double row = rect.height() / chart.bars.size();
    const double thickness = std::min(row * 0.7, chart.fontPixels * 1.6);
    const double ascentShare = metrics.ascent() / std::max(1e-6, metrics.ascent() + metrics.descent());

    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    for (int i = 0; i < chart.bars.size(); ++i) {
        const ChartObject::Bar &bar = chart.bars.at(i);
        const double middle = rect.top() + row * (i + 0.5);
        const double length = largest > 0 ? room * double(bar.value) / double(largest) : 0.0;
        if (length > 0)
            painter.fillRect(QRectF(axis, middle - thickness / 2, length, thickness), chart.barColour);
        const double baseline = middle - chart.fontPixels / 2 + chart.fontPixels * ascentShare;
        painter.save();
        painter.setFont(exact.font);
        painter.setPen(Qt::black);
        painter.setClipRect(QRectF(rect.left(), rect.top(), labelWidth - gap, rect.height()), Qt::IntersectClip);
        painter.scale(unit, unit);
        painter.drawText(QPointF(rect.left() / unit, baseline / unit), bar.label);
        painter.restore();
        painter.save();
        painter.setFont(exact.font);
        painter.setPen(Qt::black);
        painter.scale(unit, unit);
        painter.drawText(QPointF((axis + length + gap / 2) / unit, baseline / unit), QString::number(bar.value));
        painter.restore();
    }
    QPen pen(QColor(0x70, 0x80, 0x90), 1.0);
    painter.setPen(pen);
    painter.drawLine(QPointF(axis, rect.top()), QPointF(axis, rect.bottom()));
    painter.restore();
}

} // namespace

namespace ReportOutput {

void beginPage(QPainter &painter, double deviceDpi, const QPointF &origin)
{
    painter.resetTransform();
    painter.translate(origin);
    const double scale = deviceDpi / Length::PixelsPerInch;
    painter.scale(scale, scale);
}

void paintPage(QPainter &painter, const PreparedPage &page)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.translate(page.printableRect.topLeft());
    for (const PlacedObject &placed : page.objects) {
        switch (placed.kind) {
        case ReportObject::Kind::Text:
            paintText(painter, placed);
            break;
        case ReportObject::Kind::Rectangle:
            paintRect(painter, placed);
            break;
        case ReportObject::Kind::Picture:
            paintPicture(painter, placed);
            break;
        case ReportObject::Kind::Chart:
            paintChart(painter, placed);
            break;
        case ReportObject::Kind::Band:
            break;
        }
    }
    painter.restore();
}

QImage renderPage(const PreparedPage &page, double dpi)
{
    const QSize size(int(std::ceil(page.paperPx.width() * dpi / Length::PixelsPerInch - 0.001)),
                     int(std::ceil(page.paperPx.height() * dpi / Length::PixelsPerInch - 0.001)));
    QImage image(size, QImage::Format_RGB32);
    const int dotsPerMetre = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    QPainter painter(&image);
    beginPage(painter, dpi);
    paintPage(painter, page);
    painter.end();
    return image;
}

} // namespace ReportOutput
