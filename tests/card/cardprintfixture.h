#pragma once

#include "base/windowinterfaces.h"
#include "card/idcard.h"

#include <QImage>
#include <QProcess>
#include <QStringList>

#include <algorithm>
#include <cstdlib>

// Stands in for the ID card window: hands out the card it was given.
class CardShown : public IdCardSource
{
public:
    IdCardContent card;
    mutable int asked = 0;

    CardShown()
    {
        card.associazione = QStringLiteral("Istituto Tecnico Galileo Galilei");
        card.sottotitolo01 = QStringLiteral("Via dei Mille 24, 10123 Torino");
        card.sottotitolo02 = QStringLiteral("Tel. 011 5551234 - segreteria@galilei.example");
        card.annotazioni = QStringLiteral("Anno formativo 2026/2027");
        card.tesserato = QStringLiteral("Bianchi [Jr.] Giulia");
        card.carica = QStringLiteral("Grafica e comunicazione");
        card.numTessera = QStringLiteral("Classe 4B");
        card.dataRil = QStringLiteral("15/09/2026");
        card.dataScade = QStringLiteral("10/06/2027");
        QImage logo(119, 118, QImage::Format_RGB32);
        logo.fill(QColor(0x20, 0x80, 0x30));
        card.logo = logo;
        QImage photo(136, 174, QImage::Format_RGB32);
        photo.fill(QColor(0xC0, 0x60, 0x40));
        card.photo = photo;
    }

    IdCardContent cardContent() const override
    {
        ++asked;
        return card;
    }
};

inline QString runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QString pdfText(const QString &path)
{
    return runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
}

// The first page of a PDF at 254 dpi: 10 pixels to the millimetre.
inline QImage pdfPage(const QString &path)
{
    const QString prefix = path + QStringLiteral(".page");
    runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-f"),
                                         QStringLiteral("1"), QStringLiteral("-singlefile"), QStringLiteral("-png"),
                                         path, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

// A rendered page of the expected size in pixels, give or take the rounding
// of the paper's size in points.
inline bool pageIs(const QImage &page, const QSize &expected)
{
    return std::abs(page.width() - expected.width()) <= 2 && std::abs(page.height() - expected.height()) <= 2;
}

inline QString describe(const QSize &size)
{
    return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
}

// The card's outline on a page rendered at 10 pixels to the millimetre: the
// first row and the first column holding a dark line at least 30 mm long (the
// outline is the only such line above and left of everything else). In
// millimetres from the paper's corner; -1 when there is none.
inline QPointF cardCornerMm(const QImage &page)
{
    auto dark = [&](int x, int y) { return qGray(page.pixel(x, y)) < 128; };
    const int minimum = 300;
    double top = -1, left = -1;
    for (int y = 0; y < page.height() && top < 0; ++y) {
        int run = 0, best = 0;
        for (int x = 0; x < page.width(); ++x) {
            run = dark(x, y) ? run + 1 : 0;
            best = std::max(best, run);
        }
        if (best >= minimum)
            top = y / 10.0;
    }
    for (int x = 0; x < page.width() && left < 0; ++x) {
        int run = 0, best = 0;
        for (int y = 0; y < page.height(); ++y) {
            run = dark(x, y) ? run + 1 : 0;
            best = std::max(best, run);
        }
        if (best >= minimum)
            left = x / 10.0;
    }
    return QPointF(left, top);
}
