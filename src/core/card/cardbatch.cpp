#include "card/cardbatch.h"

#include "card/cardtemplate.h"
#include "report/pagepainter.h"

#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

#include <algorithm>

namespace {
constexpr double SheetWidthMm = 210.0;
constexpr double SheetHeightMm = 297.0;

double px(double mm)
{
    return mm * 96.0 / 25.4;
}

QRectF pxRect(const QRectF &mm)
{
    return QRectF(px(mm.left()), px(mm.top()), px(mm.width()), px(mm.height()));
}

// Short lines continuing every card edge outside the block of cards.
void paintCuttingMarks(QPainter &painter, const QRectF &blockMm, int rows, int columns)
{
    QPen pen(Qt::black);
    pen.setWidthF(px(0.1));
    painter.setPen(pen);
    const double gap = CardBatch::MarkGapMm;
    const double len = CardBatch::MarkLengthMm;
    for (int c = 0; c <= columns; ++c) {
        const double x = blockMm.left() + c * CardTemplate::CardWidthMm;
        painter.drawLine(QPointF(px(x), px(blockMm.top() - gap - len)), QPointF(px(x), px(blockMm.top() - gap)));
        painter.drawLine(QPointF(px(x), px(blockMm.bottom() + gap)),
                         QPointF(px(x), px(blockMm.bottom() + gap + len)));
    }
    for (int r = 0; r <= rows; ++r) {
        const double y = blockMm.top() + r * CardTemplate::CardHeightMm;
        painter.drawLine(QPointF(px(blockMm.left() - gap - len), px(y)), QPointF(px(blockMm.left() - gap), px(y)));
        painter.drawLine(QPointF(px(blockMm.right() + gap), px(y)),
                         QPointF(px(blockMm.right() + gap + len), px(y)));
    }
}
} // namespace

CardBatch::CardBatch(const IdCardContent &school, QList<StudentRecord> students, std::function<QImage(int)> photoOf,
                     Mode mode, ReportPage::Orientation orientation, double topMm, double leftMm)
    : m_school(school),
      m_students(std::move(students)),
      m_photoOf(std::move(photoOf)),
      m_mode(mode),
      m_report(CardTemplate::create(CardTemplate::Variant::Print))
{
    // On the sheet the template stays at its own corner and each card is
    // moved to its slot.
    if (mode == Mode::CardPrinter)
        CardTemplate::place(*m_report, orientation, topMm, leftMm);
    else
        CardTemplate::place(*m_report, ReportPage::Orientation::Portrait, 0, 0);
}

CardBatch::~CardBatch() = default;

int CardBatch::pageCount() const
{
    const int cards = cardCount();
    return m_mode == Mode::CardPrinter ? cards : (cards + CardsPerSheet - 1) / CardsPerSheet;
}

QPageLayout CardBatch::pageLayout() const
{
    if (m_mode == Mode::A4Sheet)
        return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter);
    const ReportPage &page = m_report->firstPage();
    const double w = page.paperWidthMm();
    const double h = page.paperHeightMm();
    const QPageSize size = page.paperSizeCode() == ReportPage::PaperA4
                               ? QPageSize(QPageSize::A4)
                               : QPageSize(QSizeF(std::min(w, h), std::max(w, h)), QPageSize::Millimeter,
                                           QString(), QPageSize::ExactMatch);
    return QPageLayout(size, w > h ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(),
                       QPageLayout::Millimeter);
}

QRectF CardBatch::sheetSlotMm(int index)
{
    const double blockLeft = (SheetWidthMm - Columns * CardTemplate::CardWidthMm) / 2.0;
    const double blockTop = (SheetHeightMm - Rows * CardTemplate::CardHeightMm) / 2.0;
    const int row = index / Columns;
    const int column = index % Columns;
    return QRectF(blockLeft + column * CardTemplate::CardWidthMm, blockTop + row * CardTemplate::CardHeightMm,
                  CardTemplate::CardWidthMm, CardTemplate::CardHeightMm);
}

CardBatch::Placement CardBatch::placement() const
{
    if (m_mode == Mode::A4Sheet) {
        const QRectF sheet(0, 0, SheetWidthMm, SheetHeightMm);
        const QRectF block = sheetSlotMm(0).united(sheetSlotMm(CardsPerSheet - 1));
        return sheet.contains(block) ? Placement::OnPaper : Placement::PartlyOff;
    }
    const ReportPage &page = m_report->firstPage();
    if (CardTemplate::offPaper(page).any())
        return Placement::Off;
    const QRectF paper(0, 0, page.paperWidthMm(), page.paperHeightMm());
    return paper.contains(CardTemplate::cardOnPaperMm(page)) ? Placement::OnPaper : Placement::PartlyOff;
}

void CardBatch::prepareCard(int index, const QDate &today) const
{
    IdCardContent content = m_school;
    content.setStudent(m_students.at(index), m_photoOf ? m_photoOf(index) : QImage());
    CardTemplate::fill(*m_report, content);
    m_report->prepare(today);
}

int CardBatch::cardsOnPage(int page) const
{
    if (page < 0 || page >= pageCount())
        return 0;
    if (m_mode == Mode::CardPrinter)
        return 1;
    return std::min(CardsPerSheet, cardCount() - page * CardsPerSheet);
}

CardBatch::Painted CardBatch::paint(QPagedPaintDevice &device, const QDate &today, const QList<int> &pages,
                                    const std::function<bool(int)> &cardPainted,
                                    const std::function<void()> &stopping) const
{
    if (pages.isEmpty())
        return Painted::All;
    QPainter painter;
    if (!painter.begin(&device))
        return Painted::Failed;
    const auto stop = [&](Painted how) {
        if (stopping)
            stopping();
        painter.end();
        m_report->clearPrepared();
        return how;
    };
    const double dpi = device.logicalDpiX();
    const QRectF cardOnTemplate = pxRect(CardTemplate::cardOnPaperMm(m_report->firstPage()));
    int painted = 0;
    // Told after each card; false: stop here.
    const auto oneMore = [&] { return !cardPainted || cardPainted(++painted); };
    try {
        for (qsizetype n = 0; n < pages.size(); ++n) {
            const int page = pages.at(n);
            if (page < 0 || page >= pageCount())
                continue;
            if (n > 0 && !device.newPage())
                return stop(Painted::Failed);
            painter.save();
            ReportOutput::beginPage(painter, dpi);
            bool goOn = true;
            if (m_mode == Mode::CardPrinter) {
                prepareCard(page, today);
                ReportOutput::paintPage(painter, m_report->preparedPages().constFirst());
                goOn = oneMore();
            } else {
                const int begin = page * CardsPerSheet;
                const int end = begin + cardsOnPage(page);
                for (int i = begin; i < end && goOn; ++i) {
                    prepareCard(i, today);
                    const QRectF slot = pxRect(sheetSlotMm(i - begin));
                    painter.save();
                    // A hair wider than the card, so its outline is not cut in half.
                    painter.setClipRect(slot.adjusted(-2, -2, 2, 2));
                    painter.translate(slot.topLeft() - cardOnTemplate.topLeft());
                    ReportOutput::paintPage(painter, m_report->preparedPages().constFirst());
                    painter.restore();
                    m_report->clearPrepared();
                    goOn = oneMore();
                }
                if (goOn) {
                    const int rows = (end - begin + Columns - 1) / Columns;
                    const QRectF top = sheetSlotMm(0);
                    const QRectF block(top.topLeft(), QSizeF(Columns * CardTemplate::CardWidthMm,
                                                             rows * CardTemplate::CardHeightMm));
                    paintCuttingMarks(painter, block, rows, Columns);
                }
            }
            painter.restore();
            m_report->clearPrepared();
            if (!goOn)
                return stop(Painted::Stopped);
        }
    } catch (...) {
        stop(Painted::Failed);
        throw;
    }
    return painter.end() ? Painted::All : Painted::Failed;
}
