#pragma once

#include "base/windowinterfaces.h"
#include "card/idcard.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>

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

// Pages of a PDF; -1 when it cannot be read (missing, cut short).
inline int pdfPages(const QString &path)
{
    const QString info = runTool(QStringLiteral("pdfinfo"), {path});
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// Page `page` (1-based) of a PDF at 254 dpi: 10 pixels to the millimetre.
inline QImage pdfPage(const QString &path, int page = 1)
{
    const QString prefix = path + QStringLiteral(".page%1").arg(page);
    const QString number = QString::number(page);
    runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-f"), number,
                                         QStringLiteral("-l"), number, QStringLiteral("-singlefile"),
                                         QStringLiteral("-png"), path, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

// Why the end-to-end print tests cannot run here (test.sh sets up a private
// print server with a PDF queue, or says why not); empty when they can.
inline QString noPrintServer()
{
    if (!qEnvironmentVariableIsEmpty("LUMETRA_CUPS_SKIP"))
        return qEnvironmentVariable("LUMETRA_CUPS_SKIP");
    if (qEnvironmentVariableIsEmpty("LUMETRA_CUPS") || qEnvironmentVariableIsEmpty("LUMETRA_PDF_DIR"))
        return QStringLiteral("no CUPS print queue set up (run through test.sh)");
    return {};
}

// The PDFs the private print queue has written so far.
inline QStringList spooledPdfs()
{
    return QDir(qEnvironmentVariable("LUMETRA_PDF_DIR")).entryList({QStringLiteral("*.pdf")}, QDir::Files);
}

// The first PDF the queue writes that is not in `before` and whose name (the
// job's title) starts with `title`, once it is whole; empty after `timeoutMs`.
inline QString waitForSpooledPdf(const QStringList &before, const QString &title, int timeoutMs = 60000)
{
    const QDir spool(qEnvironmentVariable("LUMETRA_PDF_DIR"));
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        for (const QString &name : spooledPdfs()) {
            // The backend writes aside and renames, so a listed PDF is whole.
            if (!before.contains(name) && name.startsWith(title))
                return spool.filePath(name);
        }
        QTest::qWait(200);
    }
    return {};
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

// The dark line along one edge of a card on a page rendered at 10 pixels to
// the millimetre: among the rows (Qt::Horizontal) or columns (Qt::Vertical)
// within 2 mm of `expectedMm` that are at least 95 % dark from `fromMm` to
// `toMm`, the centre of the run of such lines nearest to `expectedMm`, in
// millimetres; -1 when there is none.
inline double edgeNearMm(const QImage &page, Qt::Orientation along, double expectedMm, double fromMm, double toMm)
{
    const bool rows = along == Qt::Horizontal;
    const int limit = rows ? page.height() : page.width();
    const int from = std::max(0, int(fromMm * 10)), to = std::min(rows ? page.width() : page.height(), int(toMm * 10));
    auto qualifies = [&](int line) {
        if (line < 0 || line >= limit || to <= from)
            return false;
        int dark = 0;
        for (int i = from; i < to; ++i)
            dark += qGray(rows ? page.pixel(i, line) : page.pixel(line, i)) < 128 ? 1 : 0;
        return dark >= 0.95 * (to - from);
    };
    double best = -1;
    const int first = int((expectedMm - 2) * 10), last = int((expectedMm + 2) * 10);
    for (int line = first; line <= last;) {
        if (!qualifies(line)) {
            ++line;
            continue;
        }
        const int start = line;
        while (line <= last + 10 && qualifies(line))
            ++line;
        const double centre = (start + line - 1) / 2.0 / 10.0 + 0.05;
        if (best < 0 || std::abs(centre - expectedMm) < std::abs(best - expectedMm))
            best = centre;
    }
    return best;
}

// Where the four edges of the card expected at `card` (millimetres from the
// paper's corner) were found, as a rectangle; a side not found is -1.
inline QRectF cardEdgesMm(const QImage &page, const QRectF &card)
{
    const double top = edgeNearMm(page, Qt::Horizontal, card.top(), card.left() + 1, card.right() - 1);
    const double bottom = edgeNearMm(page, Qt::Horizontal, card.bottom(), card.left() + 1, card.right() - 1);
    const double left = edgeNearMm(page, Qt::Vertical, card.left(), card.top() + 1, card.bottom() - 1);
    const double right = edgeNearMm(page, Qt::Vertical, card.right(), card.top() + 1, card.bottom() - 1);
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

inline bool within(const QRectF &found, const QRectF &expected, double toleranceMm)
{
    return std::abs(found.left() - expected.left()) <= toleranceMm
           && std::abs(found.top() - expected.top()) <= toleranceMm
           && std::abs(found.right() - expected.right()) <= toleranceMm
           && std::abs(found.bottom() - expected.bottom()) <= toleranceMm;
}

inline QString describe(const QRectF &mm)
{
    return QStringLiteral("left %1, top %2, right %3, bottom %4 mm")
        .arg(mm.left()).arg(mm.top()).arg(mm.right()).arg(mm.bottom());
}
