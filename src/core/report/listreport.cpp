#include "report/listreport.h"

namespace ListReport {

std::unique_ptr<Report> create(QObject *parent)
{
    auto report = std::make_unique<Report>(QStringLiteral("frxReport"), QStringLiteral("Riepilogo dati"), parent);
    report->previewButtons = Report::AllButtons;
    ReportPage &page = report->firstPage();
    page.name = QStringLiteral("Page");
    page.setPaper(ReportPage::PaperA4, 210.0, 297.0);
    page.setOrientation(ReportPage::Orientation::Landscape);
    page.setMargins(10.0, 10.0, 10.0, 10.0);

    const QColor slateGrey(0x70, 0x80, 0x90);

    Band *title = page.addBand(QStringLiteral("ReportTitle"), Band::Type::ReportTitle, 30.23624);
    TextObject *titleText = title->addText(QStringLiteral("txtTitolo"), QRectF(7.55906, 3.77953, 1031.81169, 18.89765));
    titleText->fill = slateGrey;
    titleText->fontFamily = QStringLiteral("Verdana");
    titleText->bold = true;
    titleText->colour = Qt::white;
    titleText->fontPixels = 12.0;
    titleText->hAlign = TextObject::HAlign::Center;
    titleText->wordWrap = true;
    titleText->setText(QStringLiteral("Riepilogo"));

    Band *data = page.addBand(QStringLiteral("MasterData"), Band::Type::MasterData, 105.82684);
    data->rowCount = 1;
    data->allowSplit = true;
    TextObject *list = data->addText(QStringLiteral("txtRiepilogo"), QRectF(11.33859, 0, 1031.81169, 102.04731));
    list->fontFamily = QStringLiteral("Courier New");
    list->fontPixels = Length::pt(8).toPx();
    list->colour = Qt::black;
    list->wordWrap = false;
    list->allowExpressions = true;

    Band *footer = page.addBand(QStringLiteral("Footer"), Band::Type::Footer, 30.23624);
    TextObject *date = footer->addText(QStringLiteral("txtPagina"), QRectF(11.33859, 7.55906, 1028.03216, 18.89765));
    date->fill = slateGrey;
    date->fontFamily = QStringLiteral("Verdana");
    date->bold = true;
    date->colour = Qt::white;
    date->fontPixels = Length::pt(8).toPx();
    date->hAlign = TextObject::HAlign::Center;
    date->setText(QStringLiteral("Stampa eseguita in data [DATE]"));
    return report;
}

void fill(Report &report, const QString &title, const QStringList &lines)
{
    report.text(QStringLiteral("txtTitolo"))->setText(title);
    TextObject *list = report.text(QStringLiteral("txtRiepilogo"));
    list->clearLines();
    for (const QString &line : lines)
        list->addLine(line);
    const double height = double(lines.size()) * list->linePitch();
    list->setHeight(height);
    report.bandNamed(QStringLiteral("MasterData"))->setHeight(height + 10);
}

} // namespace ListReport
