#include "tfrmavvio.h"

#include "base/forms.h"
#include "base/platform.h"
#include "help/tfrmguida.h"
#include "app/tfrminfo.h"
#include "app/tfrmsplash.h"
#include "maker.h"
#include "base/widgets.h"
#include "export/tfrmexpstudenti.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace {

using Artwork = std::function<void(QPainter &, const QSize &)>;

// A picture drawn by the program on its first paint, so that creating the
// menu at start costs nothing until the operator sees it.
class DrawnPicture : public PictureBox
{
public:
    DrawnPicture(const QString &name, const QRect &geometry, QWidget *parent, Artwork artwork)
        : PictureBox(name, geometry, parent), m_artwork(std::move(artwork))
    {
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        if (image().isNull() && !size().isEmpty()) {
            QImage picture(size(), QImage::Format_ARGB32_Premultiplied);
            picture.fill(Qt::transparent);
            QPainter painter(&picture);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::TextAntialiasing);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            m_artwork(painter, size());
            painter.end();
            setImage(picture);
        }
        PictureBox::paintEvent(event);
    }

private:
    Artwork m_artwork;
};

const QColor kDeepBlue(0x1F, 0x5A, 0x96);
const QColor kMidBlue(0x4F, 0x8F, 0xCB);
const QColor kPaleBlue(0xCD, 0xDF, 0xEE);

void drawBar(QPainter &p, const QSize &s, const QString &text, bool bold)
{
    const QRectF r(0.5, 0.5, s.width() - 1, s.height() - 1);
    QLinearGradient g(0, 0, 0, s.height());
    g.setColorAt(0, QColor(0x3A, 0x7B, 0xB8));
    g.setColorAt(1, kDeepBlue);
    p.setPen(QPen(QColor(0x17, 0x47, 0x78), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 4, 4);
    p.setPen(Qt::white);
    p.setFont(Forms::verdana(11, bold));
    p.drawText(r, Qt::AlignCenter, text);
}

void drawTitle(QPainter &p, const QSize &s)
{
    QFont f = Forms::pixelFont(QStringLiteral("DejaVu Serif"), 50, true);
    f.setLetterSpacing(QFont::PercentageSpacing, 104);
    p.setFont(f);
    const QRectF r(0, 0, s.width(), s.height());
    p.setPen(QColor(0, 0, 0, 50));
    p.drawText(r.translated(2, 2), Qt::AlignCenter, QStringLiteral("Lumetra"));
    QLinearGradient red(0, 4, 0, s.height() - 4);
    red.setColorAt(0, QColor(0xE5, 0x2B, 0x2B));
    red.setColorAt(1, QColor(0xA8, 0x0E, 0x0E));
    p.setPen(QPen(QBrush(red), 1));
    p.drawText(r, Qt::AlignCenter, QStringLiteral("Lumetra"));
}

// The round frame shared by the three big pictures; returns the disc.
QRectF drawDisc(QPainter &p, const QSize &s, const QColor &inner, const QColor &outer)
{
    const qreal d = qMin(s.width(), s.height()) - 8;
    const QRectF disc((s.width() - d) / 2, (s.height() - d) / 2, d, d);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 28));
    p.drawEllipse(disc.translated(3, 4));
    QRadialGradient g(disc.center() - QPointF(d / 6, d / 6), d * 0.75);
    g.setColorAt(0, inner);
    g.setColorAt(1, outer);
    p.setBrush(g);
    p.setPen(QPen(Qt::white, 6));
    p.drawEllipse(disc);
    p.setPen(QPen(kPaleBlue, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(disc.adjusted(-3, -3, 3, 3));
    return disc;
}

void drawPerson(QPainter &p, const QPointF &centre, qreal scale, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(centre + QPointF(0, -30 * scale), 26 * scale, 30 * scale);
    QPainterPath body;
    body.moveTo(centre + QPointF(-62 * scale, 78 * scale));
    body.cubicTo(centre + QPointF(-62 * scale, 20 * scale), centre + QPointF(-30 * scale, 8 * scale),
                 centre + QPointF(0, 8 * scale));
    body.cubicTo(centre + QPointF(30 * scale, 8 * scale), centre + QPointF(62 * scale, 20 * scale),
                 centre + QPointF(62 * scale, 78 * scale));
    body.closeSubpath();
    p.drawPath(body);
}

void drawStaff(QPainter &p, const QSize &s)
{
    const QRectF disc = drawDisc(p, s, QColor(0xE8, 0xF2, 0xFB), QColor(0x9C, 0xC3, 0xE6));
    p.save();
    QPainterPath clip;
    clip.addEllipse(disc.adjusted(3, 3, -3, -3));
    p.setClipPath(clip);
    const QPointF c = disc.center() + QPointF(0, 22);
    drawPerson(p, c, 1.35, kDeepBlue);
    // A graduation cap on the head.
    const QPointF top = c + QPointF(0, -80);
    QPolygonF board;
    board << top + QPointF(-50, 0) << top + QPointF(0, -18) << top + QPointF(50, 0) << top + QPointF(0, 18);
    p.setBrush(QColor(0x20, 0x20, 0x28));
    p.drawRect(QRectF(top.x() - 24, top.y(), 48, 20));
    p.drawPolygon(board);
    p.setPen(QPen(QColor(0xF2, 0xB8, 0x2E), 3));
    p.drawLine(top, top + QPointF(42, 6));
    p.drawLine(top + QPointF(42, 6), top + QPointF(42, 34));
    p.restore();
}

void drawExport(QPainter &p, const QSize &s)
{
    const QRectF disc = drawDisc(p, s, QColor(0xEC, 0xF8, 0xEE), QColor(0x9F, 0xD4, 0xA8));
    const QRectF sheet(disc.center().x() - 70, disc.center().y() - 78, 130, 156);
    p.setPen(QPen(QColor(0x2E, 0x7D, 0x32), 2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(sheet, 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2E, 0x7D, 0x32));
    p.drawRect(QRectF(sheet.left() + 1, sheet.top() + 18, sheet.width() - 2, 20));
    p.setPen(QPen(QColor(0xA5, 0xCF, 0xAA), 1));
    for (int row = 1; row < 7; ++row)
        p.drawLine(QPointF(sheet.left() + 8, sheet.top() + 38 + row * 17),
                   QPointF(sheet.right() - 8, sheet.top() + 38 + row * 17));
    for (int col = 1; col < 4; ++col)
        p.drawLine(QPointF(sheet.left() + col * sheet.width() / 4, sheet.top() + 38),
                   QPointF(sheet.left() + col * sheet.width() / 4, sheet.bottom() - 10));
    // The arrow that carries the data out.
    QPainterPath arrow;
    const QPointF a = sheet.center() + QPointF(48, 36);
    arrow.moveTo(a + QPointF(-28, -10));
    arrow.lineTo(a + QPointF(4, -10));
    arrow.lineTo(a + QPointF(4, -26));
    arrow.lineTo(a + QPointF(34, 0));
    arrow.lineTo(a + QPointF(4, 26));
    arrow.lineTo(a + QPointF(4, 10));
    arrow.lineTo(a + QPointF(-28, 10));
    arrow.closeSubpath();
    p.setPen(QPen(Qt::white, 3));
    p.setBrush(QColor(0x43, 0xA0, 0x47));
    p.drawPath(arrow);
    p.setPen(Qt::white);
    p.setFont(Forms::verdana(13, true));
    p.drawText(QRectF(sheet.left(), sheet.top() + 18, sheet.width(), 20), Qt::AlignCenter,
               QStringLiteral("XLS"));
}

void drawBadges(QPainter &p, const QSize &s)
{
    const QRectF disc = drawDisc(p, s, QColor(0xFF, 0xF6, 0xE5), QColor(0xF3, 0xC9, 0x8B));
    const QRectF card(disc.center().x() - 92, disc.center().y() - 58, 184, 116);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRoundedRect(card.translated(4, 5), 10, 10);
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(0x9A, 0xB4, 0xCC), 1.5));
    p.drawRoundedRect(card, 10, 10);
    p.save();
    QPainterPath clip;
    clip.addRoundedRect(card, 10, 10);
    p.setClipPath(clip);
    p.fillRect(QRectF(card.left(), card.top(), card.width(), 26), kDeepBlue);
    p.restore();
    p.setPen(Qt::white);
    p.setFont(Forms::verdana(11, true));
    p.drawText(QRectF(card.left(), card.top(), card.width(), 26), Qt::AlignCenter,
               QStringLiteral("TESSERINO STUDENTE"));
    const QRectF photo(card.left() + 12, card.top() + 36, 52, 66);
    p.setPen(QPen(kPaleBlue, 1));
    p.setBrush(QColor(0xEA, 0xF2, 0xFA));
    p.drawRect(photo);
    p.save();
    p.setClipRect(photo);
    drawPerson(p, photo.center() + QPointF(0, 8), 0.42, QColor(0x7F, 0xA8, 0xD0));
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xC5, 0xD3, 0xE0));
    for (int i = 0; i < 4; ++i)
        p.drawRoundedRect(QRectF(photo.right() + 12, photo.top() + 6 + i * 15, i % 2 ? 70 : 96, 7), 3, 3);
}

void drawButton(QPainter &p, const QSize &s, const QString &text)
{
    const QRectF r(0.5, 0.5, s.width() - 1, s.height() - 1);
    QLinearGradient g(0, 0, 0, s.height());
    g.setColorAt(0, kMidBlue);
    g.setColorAt(0.5, QColor(0x2F, 0x6F, 0xB0));
    g.setColorAt(1, kDeepBlue);
    p.setPen(QPen(QColor(0x15, 0x42, 0x70), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 7, 7);
    p.setPen(QPen(QColor(255, 255, 255, 70), 1));
    p.drawLine(QPointF(8, 2.5), QPointF(s.width() - 8, 2.5));
    p.setPen(Qt::white);
    QFont f = Forms::verdana(14, true);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    p.setFont(f);
    p.drawText(r, Qt::AlignCenter, text);
}

void drawNote(QPainter &p, const QSize &s, const QString &text)
{
    const qreal fold = 18;
    const QRectF r(1, 1, s.width() - 5, s.height() - 5);
    QPainterPath note;
    note.moveTo(r.topLeft());
    note.lineTo(r.topRight());
    note.lineTo(r.right(), r.bottom() - fold);
    note.lineTo(r.right() - fold, r.bottom());
    note.lineTo(r.bottomLeft());
    note.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 30));
    p.drawPath(note.translated(3, 3));
    QLinearGradient g(0, 0, 0, s.height());
    g.setColorAt(0, QColor(0xFF, 0xF9, 0xB0));
    g.setColorAt(1, QColor(0xFF, 0xEB, 0x6E));
    p.setBrush(g);
    p.setPen(QPen(QColor(0xE0, 0xC2, 0x3C), 1));
    p.drawPath(note);
    QPainterPath corner;
    corner.moveTo(r.right(), r.bottom() - fold);
    corner.lineTo(r.right() - fold, r.bottom() - fold);
    corner.lineTo(r.right() - fold, r.bottom());
    corner.closeSubpath();
    p.setBrush(QColor(0xE8, 0xCF, 0x55));
    p.drawPath(corner);
    p.setPen(QColor(0x4A, 0x3B, 0x00));
    p.setFont(Forms::verdana(12));
    p.drawText(r.adjusted(10, 8, -10, -12), Qt::AlignCenter | Qt::TextWordWrap, text);
}

void drawRoundIcon(QPainter &p, const QSize &s, const QColor &top, const QColor &bottom,
                   const QString &glyph, qreal glyphScale)
{
    const qreal d = qMin(s.width(), s.height()) - 2;
    const QRectF r((s.width() - d) / 2, (s.height() - d) / 2, d, d);
    QLinearGradient g(0, r.top(), 0, r.bottom());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(QPen(bottom.darker(130), 1));
    p.setBrush(g);
    p.drawEllipse(r);
    p.setPen(Qt::white);
    QFont f = Forms::pixelFont(QStringLiteral("DejaVu Serif"), qRound(d * glyphScale), true);
    p.setFont(f);
    p.drawText(r, Qt::AlignCenter, glyph);
}

void drawExit(QPainter &p, const QSize &s)
{
    const qreal d = qMin(s.width(), s.height()) - 1;
    const QRectF r((s.width() - d) / 2, (s.height() - d) / 2, d, d);
    QLinearGradient g(0, r.top(), 0, r.bottom());
    g.setColorAt(0, QColor(0xEF, 0x53, 0x50));
    g.setColorAt(1, QColor(0xB7, 0x1C, 0x1C));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(r);
    // The power sign.
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QRectF ring = r.adjusted(d * 0.25, d * 0.27, -d * 0.25, -d * 0.23);
    p.drawArc(ring, 120 * 16, 300 * 16);
    p.drawLine(QPointF(r.center().x(), r.top() + d * 0.18), QPointF(r.center().x(), r.center().y()));
}

} // namespace

QString TfrmAvvio::webSite()
{
    return Maker::webSite();
}

TfrmAvvio::TfrmAvvio(const AppContext &context, QWidget *parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmAvvio"));
    QWidget *panel = Forms::setupWorkingWindow(this, QStringLiteral(" Lumetra"), QSize(995, 692),
                                               QColor(0x5D, 0x85, 0xA6));

    auto *shpSfondo = new ShapeRect(QStringLiteral("shpSfondo"), QRect(4, 4, 986, 684), panel);
    shpSfondo->setFill(Qt::white);
    shpSfondo->setBorder(kPaleBlue);

    auto picture = [panel](const char *name, const QRect &geometry, Artwork artwork) {
        return new DrawnPicture(QLatin1String(name), geometry, panel, std::move(artwork));
    };
    auto clickable = [&](const char *name, const QRect &geometry, Artwork artwork,
                         void (TfrmAvvio::*handler)()) {
        DrawnPicture *box = picture(name, geometry, std::move(artwork));
        box->setClickable(true);
        connect(box, &PictureBox::clicked, this, handler);
        return box;
    };

    clickable("imgInfo", QRect(14, 14, 30, 30), [](QPainter &p, const QSize &s) {
        drawRoundIcon(p, s, QColor(0x64, 0xA8, 0xE8), kDeepBlue, QStringLiteral("i"), 0.7);
    }, &TfrmAvvio::imgInfoClick);
    picture("imgTitolo", QRect(96, 20, 807, 58), drawTitle);
    clickable("imgGuida", QRect(952, 16, 29, 28), [](QPainter &p, const QSize &s) {
        drawRoundIcon(p, s, QColor(0x66, 0xBB, 0x6A), QColor(0x2E, 0x7D, 0x32), QStringLiteral("?"), 0.65);
    }, &TfrmAvvio::imgGuidaClick);
    picture("imgSottotitolo", QRect(17, 82, 961, 22), [](QPainter &p, const QSize &s) {
        drawBar(p, s,
                QStringLiteral("Software rivolto a scuole pubbliche o private per archiviare i dati dei "
                               "frequentatori dei corsi e stampare i loro tesserini di riconoscimento"),
                false);
    });

    clickable("imgStaff", QRect(27, 144, 288, 268), drawStaff, &TfrmAvvio::imgStaffClick);
    clickable("imgExport", QRect(351, 144, 288, 268), drawExport, &TfrmAvvio::imgExportClick);
    clickable("imgBadges", QRect(675, 144, 288, 268), drawBadges, &TfrmAvvio::imgBadgesClick);

    for (const auto &bar : {std::make_pair("linSepara01", 417), std::make_pair("linSepara02", 468)}) {
        auto *line = new ShapeRect(QLatin1String(bar.first), QRect(12, bar.second, 970, 12), panel);
        line->setGradient(QColor(0x46, 0x82, 0xB4), Qt::white);
        line->setBorder(Qt::white);
    }

    clickable("btnStaff", QRect(18, 432, 308, 30), [](QPainter &p, const QSize &s) {
        drawButton(p, s, QStringLiteral("ARCHIVIO STUDENTI"));
    }, &TfrmAvvio::imgStaffClick);
    clickable("btnExport", QRect(342, 432, 308, 30), [](QPainter &p, const QSize &s) {
        drawButton(p, s, QStringLiteral("ESPORTA IN EXCEL"));
    }, &TfrmAvvio::imgExportClick);
    clickable("btnBadges", QRect(666, 432, 308, 30), [](QPainter &p, const QSize &s) {
        drawButton(p, s, QStringLiteral("STAMPA TESSERINI"));
    }, &TfrmAvvio::imgBadgesClick);

    clickable("appStaff", QRect(66, 485, 215, 127), [](QPainter &p, const QSize &s) {
        drawNote(p, s, QStringLiteral("Crea schede anagrafiche con foto degli studenti di ogni singolo "
                                      "corso e annota le loro assenze, prove sostenute ecc."));
    }, &TfrmAvvio::imgStaffClick);
    clickable("appExport", QRect(390, 485, 215, 127), [](QPainter &p, const QSize &s) {
        drawNote(p, s, QStringLiteral("Esporta l'archivio degli studenti in Excel per trasmettere i dati "
                                      "a chi li deve analizzare o stampare su carta"));
    }, &TfrmAvvio::imgExportClick);
    clickable("appBadges", QRect(714, 485, 215, 127), [](QPainter &p, const QSize &s) {
        drawNote(p, s, QStringLiteral("Stampa tesserini con foto e dati di ogni studente indicando il "
                                      "corso e la classe e inserendo il logo e i recapiti della scuola"));
    }, &TfrmAvvio::imgBadgesClick);

    clickable("imgSito", QRect(17, 632, 961, 22), [](QPainter &p, const QSize &s) {
        drawBar(p, s, QStringLiteral("Lumetra è realizzato da Lumetra Software  -  www.lumetra.it"), true);
    }, &TfrmAvvio::imgSitoClick);
    clickable("imgCopyright", QRect(16, 660, 23, 22), [](QPainter &p, const QSize &s) {
        drawRoundIcon(p, s, QColor(0xB0, 0xBE, 0xC5), QColor(0x60, 0x7D, 0x8B), QStringLiteral("©"), 0.75);
    }, &TfrmAvvio::imgCopyrightClick);
    clickable("imgEsci", QRect(960, 662, 17, 18), drawExit, &TfrmAvvio::imgEsciClick);
}

void TfrmAvvio::imgStaffClick()
{
    emit studentsRequested();
    hide();
}

void TfrmAvvio::imgBadgesClick()
{
    emit cardRequested();
    hide();
}

void TfrmAvvio::imgExportClick()
{
    TfrmExpStudenti dlg(m_context, this);
    dlg.setWindowState(dlg.windowState() | Qt::WindowMaximized);
    dlg.exec();
}

void TfrmAvvio::imgInfoClick()
{
    TfrmInfo dlg(m_context, this);
    dlg.exec();
}

void TfrmAvvio::imgCopyrightClick()
{
    TfrmSplash dlg(m_context, this);
    dlg.exec();
}

void TfrmAvvio::imgGuidaClick()
{
    TfrmGuida::showHelp(m_context, this, HelpTexts::Topic::General);
}

void TfrmAvvio::imgSitoClick()
{
    m_context.platform->shellOpen(webSite());
}

void TfrmAvvio::imgEsciClick()
{
    QApplication::quit();
}

void TfrmAvvio::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    QApplication::quit();
}
