#include "report/statsreport.h"

#include "report/units.h"

namespace StatsReport {

namespace {

const QColor kNavy(0x00, 0x00, 0x80);
const QColor kBeige(0xF5, 0xF5, 0xDC);
const QColor kSlate(0x70, 0x80, 0x90);

constexpr double kWidth = 680.0;     // printable width of A4 portrait with 15 mm margins
constexpr double kBarPitch = 17.0;   // chart height per bar
constexpr double kGroupWidth = 430.0;
constexpr double kCountWidth = 110.0;

TextObject *text(Band *band, const QString &name, const QRectF &rect, double points, bool bold = false)
{
    TextObject *t = band->addText(name, rect);
    t->fontPixels = Length::pt(points).toPx();
    t->bold = bold;
    t->wordWrap = false;
    t->allowExpressions = false;
    return t;
}

void addSection(ReportPage &page, const ArchiveStats::Section &section)
{
    const QString id = section.id;
    const QList<ArchiveStats::Row> bars = ArchiveStats::chartRows(section);
    const double chartHeight = bars.isEmpty() ? 0.0 : bars.size() * kBarPitch + 4;
    const double pitch = Length::pt(9).toPx() + TextObject::LineSpacing;

    QStringList groups, counts, shares;
    for (const ArchiveStats::Row &row : section.rows) {
        groups << row.label;
        counts << QString::number(row.count);
        shares << section.share(row.count);
    }
    if (section.rows.isEmpty()) {
        groups << QStringLiteral("Nessun dato nel periodo");
    } else {
        groups << QStringLiteral("Totale");
        counts << QString::number(section.total());
        shares << section.share(section.total());
    }
    const double linesHeight = groups.size() * pitch + 2 * TextObject::InnerMarginY;

    double y = 0;
    Band *band = page.addBand(QStringLiteral("bndSezione_") + id, Band::Type::MasterData, 0);
    band->rowCount = 1;
    band->allowSplit = false;
    TextObject *title = text(band, QStringLiteral("txtTitolo_") + id, QRectF(0, y, kWidth, 22), 11, true);
    title->setText(section.title);
    title->colour = kNavy;
    title->fill = kBeige;
    title->vAlign = TextObject::VAlign::Center;
    y += 28;
    auto chart = std::make_unique<ChartObject>(QStringLiteral("chtGrafico_") + id, QRectF(0, y, kWidth, chartHeight));
    for (const ArchiveStats::Row &row : bars)
        chart->bars.append({row.label, row.count});
    band->add(std::move(chart));
    y += chartHeight + 8;

    text(band, QStringLiteral("txtColonna1_") + id, QRectF(0, y, kGroupWidth, 16), 9, true)->setText(section.groupHeader);
    TextObject *countHead =
        text(band, QStringLiteral("txtColonna2_") + id, QRectF(kGroupWidth, y, kCountWidth, 16), 9, true);
    countHead->setText(section.countHeader);
    countHead->hAlign = TextObject::HAlign::Center;
    TextObject *shareHead = text(band, QStringLiteral("txtColonna3_") + id,
                                 QRectF(kGroupWidth + kCountWidth, y, kWidth - kGroupWidth - kCountWidth, 16), 9, true);
    shareHead->setText(QStringLiteral("Quota"));
    shareHead->hAlign = TextObject::HAlign::Center;
    y += 17;
    auto rule = std::make_unique<RectObject>(QStringLiteral("shpRiga_") + id, QRectF(0, y, kWidth, 1));
    rule->fill = kSlate;
    rule->outline = kSlate;
    band->add(std::move(rule));
    y += 2;

    text(band, QStringLiteral("txtVoci_") + id, QRectF(0, y, kGroupWidth, linesHeight), 9)->setText(groups.join('\n'));
    TextObject *countText =
        text(band, QStringLiteral("txtNumeri_") + id, QRectF(kGroupWidth, y, kCountWidth, linesHeight), 9);
    countText->setText(counts.join('\n'));
    countText->hAlign = TextObject::HAlign::Center;
    TextObject *shareText = text(band, QStringLiteral("txtQuote_") + id,
                                 QRectF(kGroupWidth + kCountWidth, y, kWidth - kGroupWidth - kCountWidth, linesHeight), 9);
    shareText->setText(shares.join('\n'));
    shareText->hAlign = TextObject::HAlign::Center;
    y += linesHeight + 18;
    band->setHeight(y);
}

} // namespace

QString headerText(const ArchiveStats::Result &result)
{
    QString text = QStringLiteral("Statistiche dell'archivio studenti - periodo ") + result.period.text();
    if (!result.course.trimmed().isEmpty())
        text += QStringLiteral(" - corso: ") + result.course.trimmed();
    return text;
}

QStringList summaryLines(const ArchiveStats::Result &result)
{
    return {QStringLiteral("Schede nell'archivio: %1").arg(result.cardsRead),
            QStringLiteral("Studenti con il corso nel periodo: %1").arg(result.cardsCounted),
            QStringLiteral("Schede con date del corso non leggibili (non indicato, in nessun periodo): %1")
                .arg(result.cardsUndated),
            QStringLiteral("Prove sostenute dagli studenti contati: %1").arg(result.testsCounted)};
}

std::unique_ptr<Report> create(const ArchiveStats::Result &result, QObject *parent)
{
    auto report = std::make_unique<Report>(QStringLiteral("repStatistiche"), QStringLiteral("Statistiche"), parent);
    report->previewButtons = Report::pbPrint | Report::pbZoom | Report::pbFullScreen | Report::pbNavigator
                           | Report::pbClose;
    report->allowEdit = false;
    ReportPage &page = report->firstPage();
    page.setPaper(ReportPage::PaperA4, 210, 297);
    page.setOrientation(ReportPage::Orientation::Portrait);
    page.setMargins(15, 24, 15, 15);

    // In the top margin of every page: the period and the date of printing.
    const double headerTop = -mmToPx(15);
    TextObject *header = page.addText(QStringLiteral("txtIntestazione"), QRectF(0, headerTop, 500, 16));
    header->fontPixels = Length::pt(8).toPx();
    header->bold = true;
    header->wordWrap = false;
    header->allowExpressions = false;
    header->setText(headerText(result));
    TextObject *date = page.addText(QStringLiteral("txtData"), QRectF(500, headerTop, kWidth - 500, 16));
    date->fontPixels = Length::pt(8).toPx();
    date->wordWrap = false;
    date->setText(QStringLiteral("Stampa eseguita in data [DATE]"));
    RectObject *line = page.addRect(QStringLiteral("shpIntestazione"), QRectF(0, headerTop + 18, kWidth, 1));
    line->fill = kNavy;
    line->outline = kNavy;

    Band *title = page.addBand(QStringLiteral("bndTitolo"), Band::Type::ReportTitle, 0);
    TextObject *heading = title->addText(QStringLiteral("txtTitolo"), QRectF(0, 0, kWidth, 28));
    heading->fontPixels = Length::pt(15).toPx();
    heading->bold = true;
    heading->colour = kNavy;
    heading->allowExpressions = false;
    heading->setText(QStringLiteral("Statistiche dell'archivio studenti"));
    const QStringList summary = summaryLines(result);
    TextObject *lines = title->addText(QStringLiteral("txtRiepilogo"),
                                       QRectF(0, 32, kWidth, summary.size() * (Length::pt(9).toPx() + 2) + 4));
    lines->fontPixels = Length::pt(9).toPx();
    lines->wordWrap = false;
    lines->allowExpressions = false;
    lines->setText(summary.join('\n'));
    title->setHeight(32 + lines->height() + 14);

    for (const ArchiveStats::Section &section : result.sections)
        addSection(page, section);
    return report;
}

} // namespace StatsReport
