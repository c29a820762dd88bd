#include "card/cardtemplate.h"

#include "archive/fieldcodec.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace CardTemplate {

namespace {

const QColor Navy(0x00, 0x00, 0x80);
const QColor Brown(0xA5, 0x2A, 0x2A);
const QColor Beige(0xF5, 0xF5, 0xDC);
// The student's photo on the card, in report pixels.
const QRectF kPhotoFrame(45.354, 97.512, 98.268, 108.85);

struct TextDesign
{
    const char *name;
    QRectF rect;
    double points;
    bool bold;
    QColor colour;
    bool centred;        // horizontally (and always vertically)
    bool topInPreview;   // top-aligned in the preview twin
    const char *designText;
};

TextObject *addText(ReportPage &page, const TextDesign &look, Variant variant)
{
    TextObject *text = page.addText(QString::fromLatin1(look.name), look.rect);
    text->fontFamily = QStringLiteral("Arial");
    text->fontPixels = Length::pt(look.points).toPx();
    text->bold = look.bold;
    text->colour = look.colour;
    text->hAlign = look.centred ? TextObject::HAlign::Center : TextObject::HAlign::Left;
    const bool top = variant == Variant::Preview && look.topInPreview;
    text->vAlign = top ? TextObject::VAlign::Top : TextObject::VAlign::Center;
    // One line, cut at the frame, and what the operator typed is printed as
    // typed: "[...]" in a name is no expression.
    text->wordWrap = false;
    text->allowExpressions = false;
    text->setText(QString::fromUtf8(look.designText));
    return text;
}

RectObject *addRect(ReportPage &page, const char *name, const QRectF &rect, const QColor &fill,
                    const QColor &outline)
{
    RectObject *shape = page.addRect(QString::fromLatin1(name), rect);
    shape->fill = fill;
    shape->outline = outline;
    return shape;
}

} // namespace

std::unique_ptr<Report> create(Variant variant, QObject *parent)
{
    const bool preview = variant == Variant::Preview;
    auto report = std::make_unique<Report>(QStringLiteral("repTesserino"), QStringLiteral("Tesserino"), parent);
    report->previewButtons = Report::pbPrint | Report::pbZoom | Report::pbFullScreen | Report::pbClose;
    report->allowEdit = false;
    report->showProgress = false;

    ReportPage &page = report->firstPage();
    page.name = QStringLiteral("Page1");
    page.setPaper(preview ? ReportPage::PaperCustom : ReportPage::PaperA4, 210.0, 297.0);
    page.setOrientation(ReportPage::Orientation::Portrait);
    page.setMargins(0, 0, 0, 0);

    addRect(page, preview ? "frxShapeView1" : "shpSfondo", QRectF(37.795, 37.795, 325.04, 204.095), Qt::white,
            Qt::black);
    PictureObject *photo = page.addPicture(QStringLiteral("imgFoto"), kPhotoFrame);
    photo->center = true;
    photo->setPicture(photoPlaceholder());
    PictureObject *logo = page.addPicture(QStringLiteral("imgLogo"), QRectF(272.882, 130.016, 83.15, 79.37));
    logo->center = true;
    logo->setPicture(logoPlaceholder());
    addRect(page, "shpHeader", QRectF(41.575, 41.575, 316.724, 45.354), Navy, Navy);
    addRect(page, "shpFooter", QRectF(41.575, 215.433, 316.724, 22.677), Navy, Navy);

    const double annotazioniTop = preview ? 219.969 : 219.213;
    const double dataRilTop = preview ? 160.63 : 161.008;
    const double dataScadeTop = preview ? 194.646 : 195.024;
    const TextDesign upperTexts[] = {
        {"txtAssociazione", QRectF(45.354, 45.354, 204.094, 14.362), 8, true, Qt::white, false, true,
         "Denominazione Ente o Associazione"},
        {"txtSottotitolo01", QRectF(45.354, 59.339, 204.094, 13.984), 7, false, Qt::white, false, true,
         "Indirizzo e città"},
        {"txtSottotitolo02", QRectF(45.354, 71.811, 204.094, 13.984), 7, false, Qt::white, false, true,
         "Telefono e altri recapiti"},
        {"txtAnnotazioni", QRectF(45.354, annotazioniTop, 309.921, 14.362), 8, true, Qt::white, true, false,
         "Annotazioni"},
        {"txtTesserato", QRectF(151.181, 94.488, 207.874, 15.118), 9, true, Qt::black, false, true,
         "Cognome e nome Socio"},
        {"txtCarica", QRectF(151.181, 109.606, 207.874, 14.362), 7.3, true, Qt::black, false, true,
         "Carica ricoperta"},
        {"txtNumTessera", QRectF(151.181, 127.748, 117.165, 13.228), 7.3, true, Brown, false, true, "Tessera n."},
        {"titDataRil", QRectF(151.181, 143.622, 86.929, 12.85), 7, false, Qt::black, false, true,
         preview ? "Data inizio:" : "Data rilascio:"},
    };
    for (const TextDesign &look : upperTexts)
        addText(page, look, variant);
    addRect(page, "shpDataRil", QRectF(151.181, 158.74, 94.488, 15.118), Beige, Qt::black);
    addText(page,
            {"titDataScade", QRectF(151.181, 177.638, 86.929, 12.85), 7, false, Qt::black, false, true,
             preview ? "Data fine:" : "Data scadenza:"},
            variant);
    addText(page,
            {"txtDataRil", QRectF(156.472, dataRilTop, 83.906, 11.339), 7.3, true, Qt::black, true, false,
             "GG/MM/AAAA"},
            variant);
    addRect(page, "shpDataScade", QRectF(151.181, 192.756, 94.488, 15.118), Beige, Qt::black);
    addText(page,
            {"txtDataScade", QRectF(156.472, dataScadeTop, 83.906, 11.339), 7.3, true, Qt::black, true, false,
             "GG/MM/AAAA"},
            variant);
    return report;
}

QStringList textNames()
{
    return {QStringLiteral("txtAssociazione"), QStringLiteral("txtSottotitolo01"),
            QStringLiteral("txtSottotitolo02"), QStringLiteral("txtAnnotazioni"),
            QStringLiteral("txtTesserato"),    QStringLiteral("txtCarica"),
            QStringLiteral("txtNumTessera"),   QStringLiteral("txtDataRil"),
            QStringLiteral("txtDataScade")};
}

void fill(Report &report, const IdCardContent &content)
{
    PictureObject *logo = report.picture(QStringLiteral("imgLogo"));
    logo->setPicture(content.logo.isNull() ? logoPlaceholder() : content.logo);
    PictureObject *photo = report.picture(QStringLiteral("imgFoto"));
    photo->setPicture(content.photo.isNull() ? photoPlaceholder() : content.photo);

    const QString texts[] = {content.associazione, content.sottotitolo01, content.sottotitolo02,
                             content.annotazioni,  content.tesserato,     content.carica,
                             content.numTessera,   content.dataRil,       content.dataScade};
    const QStringList names = textNames();
    for (int i = 0; i < names.size(); ++i) {
        // A line break typed into a field would start a second line that the
        // one-line frame cuts off; the card shows it as a blank instead.
        QString text = FieldCodec::trimControls(texts[i]);
        text.replace(QLatin1String("\r\n"), QLatin1String(" "));
        text.replace(QLatin1Char('\r'), QLatin1Char(' '));
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        report.text(names.at(i))->setText(text);
    }
}

void place(Report &report, ReportPage::Orientation orientation, double topMm, double leftMm)
{
    ReportPage &page = report.firstPage();
    page.setOrientation(orientation);
    // After the turn: the margins turn with the page, and the card's offset
    // must not depend on the orientation it had before.
    page.setMargins(leftMm, topMm, 0, 0);
}

QRectF cardOnPaperMm(const ReportPage &page)
{
    const QMarginsF &margins = page.marginsMm();
    return QRectF(margins.left() + CardLeftMm, margins.top() + CardTopMm, CardWidthMm, CardHeightMm);
}

OffPaper offPaper(const ReportPage &page)
{
    const QRectF card = cardOnPaperMm(page);
    OffPaper off;
    off.top = card.bottom() <= 0 || card.top() >= page.paperHeightMm();
    off.left = card.right() <= 0 || card.left() >= page.paperWidthMm();
    return off;
}

QSize photoPrintSize()
{
    constexpr double kDotsPerPixel = 300.0 / Length::PixelsPerInch;
    return QSize(int(std::ceil(kPhotoFrame.width() * kDotsPerPixel)),
                 int(std::ceil(kPhotoFrame.height() * kDotsPerPixel)));
}

QImage photoPlaceholder()
{
    static const QImage picture = [] {
        QImage image(136, 174, QImage::Format_RGB32);
        image.fill(QColor(0xEA, 0xF2, 0xFA));
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xB9, 0xD3, 0xEE));
        painter.drawEllipse(QRectF(43.5, 31, 49, 60));
        QPainterPath shoulders;
        shoulders.moveTo(10.5, 174);
        shoulders.cubicTo(10.5, 124, 40, 103, 68, 103);
        shoulders.cubicTo(96, 103, 125.5, 124, 125.5, 174);
        shoulders.closeSubpath();
        painter.drawPath(shoulders);
        return image;
    }();
    return picture;
}

QImage logoPlaceholder()
{
    static const QImage picture = [] {
        QImage image(119, 118, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const QRectF ball(8, 7.5, 103, 103);
        QRadialGradient shade(ball.center() - QPointF(22, 24), ball.width() * 0.75);
        shade.setColorAt(0, QColor(0xB8, 0xD8, 0xFF));
        shade.setColorAt(0.45, QColor(0x3A, 0x78, 0xD8));
        shade.setColorAt(1, QColor(0x0B, 0x2E, 0x7A));
        painter.setPen(Qt::NoPen);
        painter.setBrush(shade);
        painter.drawEllipse(ball);
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(27);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(QColor(0, 0, 0, 90));
        painter.drawText(ball.translated(1.5, 1.5), Qt::AlignCenter, QStringLiteral("LOGO"));
        painter.setPen(Qt::white);
        painter.drawText(ball, Qt::AlignCenter, QStringLiteral("LOGO"));
        return image;
    }();
    return picture;
}

} // namespace CardTemplate
