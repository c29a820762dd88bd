#include "report/listreport.h"
#include "report/report.h"
#include "printing/reportoutput.h"
#include "printing/reportpreview.h"

#include "testutil.h"

#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr double Eps = 0.01;

// All list lines placed on the pages, in page order, with the page index.
QList<QPair<int, QString>> placedListLines(const Report &report)
{
    QList<QPair<int, QString>> found;
    const auto &pages = report.preparedPages();
    for (int p = 0; p < pages.size(); ++p)
        for (const PlacedObject *piece : pages.at(p).findAll(QStringLiteral("txtRiepilogo")))
            for (const QString &line : piece->lines)
                found.append({p, line});
    return found;
}

QStringList numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(QStringLiteral("Studente %1").arg(i, 4, 10, QLatin1Char('0')));
    return lines;
}

QString pdfText(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPages(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {path});
    process.waitForFinished(30000);
    const QString info = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    const auto match = pages.match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// Count of pixels in `area` whose colour is near `colour`.
int pixelsNear(const QImage &image, const QRect &area, const QColor &colour, int tolerance = 40)
{
    int count = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) <= tolerance && std::abs(c.green() - colour.green()) <= tolerance
                && std::abs(c.blue() - colour.blue()) <= tolerance)
                ++count;
        }
    return count;
}

int darkPixels(const QImage &image, const QRect &area)
{
    int count = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(image.pixel(x, y)) < 160)
                ++count;
    return count;
}

} // namespace

class TestReportEngine : public QObject
{
    Q_OBJECT
private slots:
    void lengthsConvert();
    void findObjectIgnoresAsciiCaseOnly();
    void typedLookupsThrowOnMissingOrWrongKind();
    void setTextSplitsAtEveryLineBreak_data();
    void setTextSplitsAtEveryLineBreak();
    void setPictureKeepsACopy();
    void orientationSwapsPaperAndTurnsMargins();
    void listTemplateIsLaidOutAsDesigned();
    void longListContinuesOnFollowingPages_data();
    void longListContinuesOnFollowingPages();
    void emptyListPrintsTitleAndFooterOnOnePage();
    void preparingAgainDiscardsEarlierPages();
    void bandTallerThanAPageIsCut();
    void bandThatDoesNotFitMovesWhole();
    void dataBandsFollowOneAnotherInOrder();
    void chartBarsAreDrawnToScale();
    void dateExpressionOnlyWhereAllowed_data();
    void dateExpressionOnlyWhereAllowed();
    void pageObjectsRepeatOnEveryPage();
    void pictureFitsKeepingProportions_data();
    void pictureFitsKeepingProportions();
    void renderedPictureIsCentredOrAtTheCorner();
    void renderedRectangleAndClippedText();
    void everyListLineIsInkedOnThePaper();
    void printCancelledPrintsNothing();
    void printToPdfHonoursRangeAndCopies_data();
    void printToPdfHonoursRangeAndCopies();
    void previewNavigatesZoomsAndPrintsTheShownPage();
};

void TestReportEngine::lengthsConvert()
{
    QCOMPARE(qRound(Length::mm(25.4).toPx()), 96);
    QVERIFY(qAbs(Length::mm(1).toPx() - 3.7795276) < 1e-6);
    QVERIFY(qAbs(Length::pt(8).toPx() - 10.6667) < 1e-3);
    QVERIFY(qAbs(Length::px(16).toPt() - 12.0) < 1e-9);
    QVERIFY(qAbs(Length::px(1046.92981).toMm() - 277.0) < 1e-3);
}

void TestReportEngine::findObjectIgnoresAsciiCaseOnly()
{
    Report report(QStringLiteral("rep"), QStringLiteral("Prova"));
    report.firstPage().addText(QStringLiteral("txtlingue"), QRectF(0, 0, 10, 10));
    report.firstPage().addText(QStringLiteral("txtCittà"), QRectF(0, 0, 10, 10));
    Band *band = report.firstPage().addBand(QStringLiteral("MasterData"), Band::Type::MasterData, 20);
    band->addText(QStringLiteral("txtRiepilogo"), QRectF(0, 0, 10, 10));

    QVERIFY(report.findObject(QStringLiteral("txtLingue")));
    QCOMPARE(report.findObject(QStringLiteral("TXTLINGUE"))->name(), QStringLiteral("txtlingue"));
    QCOMPARE(report.findObject(QStringLiteral("masterdata")), band);
    QCOMPARE(report.findObject(QStringLiteral("TXTRIEPILOGO"))->name(), QStringLiteral("txtRiepilogo"));
    QVERIFY(report.findObject(QStringLiteral("txtCittà")));
    // Only ASCII letters fold: an accented capital is another name.
    QVERIFY(!report.findObject(QStringLiteral("txtCittÀ")));
    QVERIFY(!report.findObject(QStringLiteral("txtLingu")));
    QVERIFY(!report.findObject(QString()));
}

void TestReportEngine::typedLookupsThrowOnMissingOrWrongKind()
{
    Report report(QStringLiteral("rep"), QStringLiteral("Prova"));
    report.firstPage().addRect(QStringLiteral("shpTitolo"), QRectF(0, 0, 10, 10));
    QVERIFY_THROWS_EXCEPTION(ReportError, report.text(QStringLiteral("txtNessuno")));
    QVERIFY_THROWS_EXCEPTION(ReportError, report.text(QStringLiteral("shpTitolo")));
    QVERIFY_THROWS_EXCEPTION(ReportError, report.picture(QStringLiteral("shpTitolo")));
    QVERIFY(report.rectangle(QStringLiteral("SHPTITOLO")));
}

void TestReportEngine::setTextSplitsAtEveryLineBreak_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("one") << QStringLiteral("Mario Rossi") << QStringList{QStringLiteral("Mario Rossi")};
    QTest::newRow("CR LF") << QStringLiteral("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("LF CR twice") << QStringLiteral("a\n\r\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("LF") << QStringLiteral("a\nb\n") << QStringList{"a", "b", ""};
    QTest::newRow("CR") << QStringLiteral("a\rb") << QStringList{"a", "b"};
}

void TestReportEngine::setTextSplitsAtEveryLineBreak()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    TextObject object(QStringLiteral("txt"), QRectF());
    object.addLine(QStringLiteral("old"));
    object.setText(text);
    QCOMPARE(object.lines(), lines);
}

void TestReportEngine::setPictureKeepsACopy()
{
    PictureObject picture(QStringLiteral("img"), QRectF(0, 0, 10, 10));
    QImage source(4, 4, QImage::Format_RGB32);
    source.fill(Qt::red);
    picture.setPicture(source);
    source.fill(Qt::blue);
    QCOMPARE(picture.picture().pixelColor(0, 0), QColor(Qt::red));
    // The changed source given again is copied again.
    picture.setPicture(source);
    QCOMPARE(picture.picture().pixelColor(0, 0), QColor(Qt::blue));
    // The unchanged source given again keeps the copy held, and with it the
    // key under which output stores it once.
    const qint64 held = picture.picture().cacheKey();
    const QImage same = source;
    picture.setPicture(same);
    QCOMPARE(picture.picture().cacheKey(), held);
    picture.setPicture(QImage());
    QVERIFY(picture.picture().isNull());
    // After a null picture the same source is copied in again.
    picture.setPicture(source);
    QCOMPARE(picture.picture().pixelColor(0, 0), QColor(Qt::blue));
}

void TestReportEngine::orientationSwapsPaperAndTurnsMargins()
{
    ReportPage page;
    page.setPaper(ReportPage::PaperA4, 210, 297);
    page.setMargins(5, 10, 15, 20);
    page.setOrientation(ReportPage::Orientation::Portrait); // no change
    QCOMPARE(page.paperWidthMm(), 210.0);
    QCOMPARE(page.marginsMm(), QMarginsF(5, 10, 15, 20));

    page.setOrientation(ReportPage::Orientation::Landscape);
    QCOMPARE(page.paperWidthMm(), 297.0);
    QCOMPARE(page.paperHeightMm(), 210.0);
    // Turned a quarter: the top margin is now at the left, and so on round.
    QCOMPARE(page.marginsMm(), QMarginsF(10, 15, 20, 5));
    page.setOrientation(ReportPage::Orientation::Landscape);
    QCOMPARE(page.marginsMm(), QMarginsF(10, 15, 20, 5));

    page.setOrientation(ReportPage::Orientation::Portrait);
    QCOMPARE(page.paperWidthMm(), 210.0);
    QCOMPARE(page.marginsMm(), QMarginsF(5, 10, 15, 20));

    page.setTopMargin(25);
    QVERIFY(qAbs(page.printableRectPx().top() - mmToPx(25)) < 1e-9);
    QVERIFY(qAbs(page.printableRectPx().height() - mmToPx(297 - 25 - 20)) < 1e-9);
}

void TestReportEngine::listTemplateIsLaidOutAsDesigned()
{
    auto report = ListReport::create();
    QCOMPARE(report->objectName(), QStringLiteral("frxReport"));
    QCOMPARE(report->reportName, QStringLiteral("Riepilogo dati"));
    const ReportPage &page = report->firstPage();
    QCOMPARE(page.orientation(), ReportPage::Orientation::Landscape);
    QCOMPARE(page.paperSizeCode(), ReportPage::PaperA4);
    QCOMPARE(QSizeF(page.paperWidthMm(), page.paperHeightMm()), QSizeF(297, 210));
    QCOMPARE(page.marginsMm(), QMarginsF(10, 10, 10, 10));
    QVERIFY(qAbs(page.printableRectPx().width() - 1046.92981) < 0.01);

    TextObject *list = report->text(QStringLiteral("txtRiepilogo"));
    QCOMPARE(list->fontFamily, QStringLiteral("Courier New"));
    QVERIFY(!list->wordWrap);
    QVERIFY(list->allowExpressions);
    // Courier New 8 pt with 2 pixels between lines.
    QVERIFY(qAbs(list->linePitch() - (32.0 / 3 + 2)) < 1e-9);

    ListReport::fill(*report, QStringLiteral("Riepilogo schede studenti in archivio"), numberedLines(3));
    QCOMPARE(report->text(QStringLiteral("txtTitolo"))->text(), QStringLiteral("Riepilogo schede studenti in archivio"));
    // Sized at the pitch the lines are set at, so the band ends with them.
    QVERIFY(qAbs(list->height() - 3 * list->linePitch()) < 1e-9);
    QVERIFY(qAbs(report->bandNamed(QStringLiteral("MasterData"))->height() - (3 * list->linePitch() + 10)) < 1e-9);
}

void TestReportEngine::longListContinuesOnFollowingPages_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("one page") << 20;
    QTest::newRow("exactly around a page") << 53;
    QTest::newRow("several pages") << 250;
}

void TestReportEngine::longListContinuesOnFollowingPages()
{
    QFETCH(int, count);
    auto report = ListReport::create();
    const QStringList lines = numberedLines(count);
    ListReport::fill(*report, QStringLiteral("Titolo"), lines);
    report->prepare(QDate(2026, 12, 8));
    const auto &pages = report->preparedPages();
    const double pageHeight = report->firstPage().printableRectPx().height();

    // Every line exactly once, in order.
    const auto placed = placedListLines(*report);
    QStringList all;
    for (const auto &entry : placed)
        all.append(entry.second);
    QCOMPARE(all, lines);

    const double bandsHeight = 30.23624 + count * report->text(QStringLiteral("txtRiepilogo"))->linePitch() + 10 + 30.23624;
    QVERIFY(pages.size() >= int(std::ceil(bandsHeight / pageHeight)));
    QVERIFY(pages.size() <= int(std::ceil(bandsHeight / pageHeight)) + 1);

    for (int p = 0; p < pages.size(); ++p) {
        const PreparedPage &page = pages.at(p);
        QCOMPARE(page.findAll(QStringLiteral("txtTitolo")).size(), p == 0 ? 1 : 0);
        QCOMPARE(page.findAll(QStringLiteral("txtPagina")).size(), p == pages.size() - 1 ? 1 : 0);
        for (const PlacedObject &object : page.objects) {
            QVERIFY2(object.rect.bottom() <= pageHeight + Eps, qPrintable(object.name));
            if (object.name != QLatin1String("txtRiepilogo"))
                continue;
            // Each line lies wholly inside its piece: none is cut between pages.
            const double pitch = static_cast<const TextObject &>(*object.object).linePitch();
            const double lastBottom = object.rect.top() + object.textOffset + (object.lines.size() - 1) * pitch
                                      + static_cast<const TextObject &>(*object.object).fontPixels;
            if (!object.lines.isEmpty() && object.split)
                QVERIFY(lastBottom <= object.rect.bottom() + Eps);
        }
    }
    // The title opens the first page; the footer follows the last data piece,
    // or opens the next page when it no longer fits under it.
    QCOMPARE(pages.first().find(QStringLiteral("ReportTitle"))->rect.top(), 0.0);
    const PreparedPage &last = pages.last();
    const PlacedObject *footer = last.find(QStringLiteral("Footer"));
    const auto dataPieces = last.findAll(QStringLiteral("MasterData"));
    if (dataPieces.isEmpty()) {
        QVERIFY(pages.size() >= 2);
        QCOMPARE(footer->rect.top(), 0.0);
        const auto before = pages.at(pages.size() - 2).findAll(QStringLiteral("MasterData"));
        QVERIFY(!before.isEmpty());
        QVERIFY(before.last()->rect.bottom() + footer->rect.height() > pageHeight);
    } else {
        QVERIFY(qAbs(footer->rect.top() - dataPieces.last()->rect.bottom()) < Eps);
    }
    // Later pages start at the top of the printable area.
    for (int p = 1; p < pages.size(); ++p)
        if (const PlacedObject *data = pages.at(p).find(QStringLiteral("MasterData")))
            QCOMPARE(data->rect.top(), 0.0);
}

void TestReportEngine::emptyListPrintsTitleAndFooterOnOnePage()
{
    auto report = ListReport::create();
    ListReport::fill(*report, QStringLiteral("Prove sostenute da Mario Rossi"), {});
    report->prepare(QDate(2026, 12, 8));
    QCOMPARE(report->preparedPages().size(), 1);
    const PreparedPage &page = report->preparedPages().first();
    QCOMPARE(page.find(QStringLiteral("txtTitolo"))->lines, QStringList{QStringLiteral("Prove sostenute da Mario Rossi")});
    QVERIFY(page.find(QStringLiteral("txtRiepilogo"))->lines.isEmpty());
    QCOMPARE(page.find(QStringLiteral("MasterData"))->rect, QRectF(0, 30.23624, page.printableRect.width(), 10));
    QCOMPARE(page.find(QStringLiteral("txtPagina"))->lines,
             QStringList{QStringLiteral("Stampa eseguita in data 08/12/2026")});
    QVERIFY(qAbs(page.find(QStringLiteral("txtPagina"))->rect.top() - (30.23624 + 10 + 7.55906)) < Eps);
}

void TestReportEngine::preparingAgainDiscardsEarlierPages()
{
    auto report = ListReport::create();
    ListReport::fill(*report, QStringLiteral("T"), numberedLines(200));
    report->prepare(QDate(2026, 12, 8));
    QVERIFY(report->preparedPages().size() > 1);
    ListReport::fill(*report, QStringLiteral("T"), numberedLines(2));
    report->prepare(QDate(2026, 12, 9));
    QCOMPARE(report->preparedPages().size(), 1);
    QCOMPARE(placedListLines(*report).size(), 2);
}

void TestReportEngine::bandTallerThanAPageIsCut()
{
    Report report(QStringLiteral("rep"), QStringLiteral("Prova"));
    ReportPage &page = report.firstPage();
    const double pageHeight = page.printableRectPx().height();
    Band *title = page.addBand(QStringLiteral("ReportTitle"), Band::Type::ReportTitle, 40);
    title->addText(QStringLiteral("txtTitolo"), QRectF(0, 0, 100, 20))->setText(QStringLiteral("Titolo"));
    Band *footer = page.addBand(QStringLiteral("Footer"), Band::Type::Footer, pageHeight * 2.5);
    TextObject *text = footer->addText(QStringLiteral("txtLungo"), QRectF(0, 0, 500, pageHeight * 2.5));
    text->wordWrap = false;
    QStringList lines;
    const int count = int(pageHeight * 2.5 / text->linePitch()) - 1;
    for (int i = 0; i < count; ++i)
        lines.append(QString::number(i));
    text->setText(lines.join(QLatin1Char('\n')));

    report.prepare(QDate(2026, 12, 8));
    const auto &pages = report.preparedPages();
    // It does not fit under the title, so it starts on a page of its own.
    QCOMPARE(pages.size(), 4);
    QVERIFY(!pages.at(0).find(QStringLiteral("Footer")));
    QStringList shown;
    for (int p = 1; p < 4; ++p) {
        const PlacedObject *piece = pages.at(p).find(QStringLiteral("txtLungo"));
        QVERIFY(piece);
        QCOMPARE(piece->rect.top(), 0.0);
        QVERIFY(piece->rect.bottom() <= pageHeight + Eps);
        shown += piece->lines;
    }
    QCOMPARE(shown, lines);
}

void TestReportEngine::bandThatDoesNotFitMovesWhole()
{
    auto report = ListReport::create();
    // Fill the first page so exactly that the footer has no room left.
    const double pageHeight = report->firstPage().printableRectPx().height();
    ListReport::fill(*report, QStringLiteral("T"), {});
    report->bandNamed(QStringLiteral("MasterData"))->setHeight(pageHeight - 30.23624 - 20);
    report->prepare(QDate(2026, 12, 8));
    const auto &pages = report->preparedPages();
    QCOMPARE(pages.size(), 2);
    QVERIFY(!pages.at(0).find(QStringLiteral("Footer")));
    const PlacedObject *footer = pages.at(1).find(QStringLiteral("Footer"));
    QVERIFY(footer);
    QCOMPARE(footer->rect.top(), 0.0);
    QVERIFY(qAbs(footer->rect.height() - 30.23624) < Eps);
}

void TestReportEngine::dataBandsFollowOneAnotherInOrder()
{
    Report report(QStringLiteral("rep"), QStringLiteral("Prova"));
    ReportPage &page = report.firstPage();
    const double pageHeight = page.printableRectPx().height();
    page.addBand(QStringLiteral("Titolo"), Band::Type::ReportTitle, 50);
    // Three sections of 0.4 page each: the third does not fit under the
    // second and moves whole to the next page; the footer follows it.
    for (const char *name : {"Uno", "Due", "Tre"})
        page.addBand(QLatin1String(name), Band::Type::MasterData, pageHeight * 0.4)->allowSplit = false;
    page.addBand(QStringLiteral("Piede"), Band::Type::Footer, 20);
    report.prepare(QDate(2026, 12, 8));
    const auto &pages = report.preparedPages();
    QCOMPARE(pages.size(), 2);
    QCOMPARE(pages.at(0).find(QStringLiteral("Uno"))->rect.top(), 50.0);
    QVERIFY(qAbs(pages.at(0).find(QStringLiteral("Due"))->rect.top() - (50 + pageHeight * 0.4)) < Eps);
    QCOMPARE(pages.at(1).find(QStringLiteral("Tre"))->rect.top(), 0.0);
    QVERIFY(qAbs(pages.at(1).find(QStringLiteral("Piede"))->rect.top() - pageHeight * 0.4) < Eps);
}

void TestReportEngine::chartBarsAreDrawnToScale()
{
    Report report(QStringLiteral("rep"), QStringLiteral("Prova"));
    auto chart = std::make_unique<ChartObject>(QStringLiteral("chtGrafico"), QRectF(0, 0, 600, 60));
    chart->bars = {{QStringLiteral("A"), 4}, {QStringLiteral("B"), 2}, {QStringLiteral("C"), 0}};
    chart->barColour = QColor(0, 0, 255);
    report.firstPage().add(std::move(chart));
    report.prepare(QDate(2026, 12, 8));
    const QImage image = ReportOutput::renderPage(report.preparedPages().first());
    const QPoint origin = report.preparedPages().first().printableRect.topLeft().toPoint();
    // The length of blue along the middle of each bar's row.
    const auto blueRun = [&](int row) {
        const int y = origin.y() + 10 + row * 20;
        int run = 0;
        for (int x = origin.x(); x < origin.x() + 600; ++x)
            if (image.pixelColor(x, y) == QColor(0, 0, 255))
                ++run;
        return run;
    };
    const int longest = blueRun(0);
    QVERIFY(longest > 300);
    QVERIFY(qAbs(blueRun(1) * 2 - longest) <= 2);
    QCOMPARE(blueRun(2), 0);
}

void TestReportEngine::dateExpressionOnlyWhereAllowed_data()
{
    QTest::addColumn<bool>("allowed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("footer") << true << "Stampa eseguita in data [DATE]" << "Stampa eseguita in data 08/12/2026";
    QTest::newRow("twice") << true << "[DATE]-[DATE]" << "08/12/2026-08/12/2026";
    QTest::newRow("off") << false << "Stampa eseguita in data [DATE]" << "Stampa eseguita in data [DATE]";
    QTest::newRow("unknown kept") << true << "Rossi [classe 3A] [DATE" << "Rossi [classe 3A] [DATE";
    QTest::newRow("off, brackets") << false << "[Rossi]" << "[Rossi]";
}

void TestReportEngine::dateExpressionOnlyWhereAllowed()
{
    QFETCH(bool, allowed);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    TestFolder folder; // the platform's date is 8 December 2026
    Report report(QStringLiteral("rep"), QStringLiteral("Prova"));
    TextObject *object = report.firstPage().addText(QStringLiteral("txt"), QRectF(0, 0, 400, 20));
    object->allowExpressions = allowed;
    object->setText(text);
    ReportOutput::prepareReport(report, folder.platform);
    QCOMPARE(report.preparedPages().first().find(QStringLiteral("txt"))->lines, QStringList{shown});
    // The template keeps its expression for the next preparation.
    QCOMPARE(object->text(), text);
}

void TestReportEngine::pageObjectsRepeatOnEveryPage()
{
    auto report = ListReport::create();
    report->firstPage().addRect(QStringLiteral("shpCornice"), QRectF(0, 0, 50, 50));
    ListReport::fill(*report, QStringLiteral("T"), numberedLines(150));
    report->prepare(QDate(2026, 12, 8));
    QVERIFY(report->preparedPages().size() >= 3);
    for (const PreparedPage &page : report->preparedPages())
        QCOMPARE(page.find(QStringLiteral("shpCornice"))->rect, QRectF(0, 0, 50, 50));
}

void TestReportEngine::pictureFitsKeepingProportions_data()
{
    QTest::addColumn<QSizeF>("picture");
    QTest::addColumn<bool>("centred");
    QTest::addColumn<QRectF>("expected");
    const QRectF frame(10, 20, 200, 100);
    QTest::newRow("wider, centred") << QSizeF(400, 100) << true << QRectF(10, 45, 200, 50);
    QTest::newRow("wider, corner") << QSizeF(400, 100) << false << QRectF(10, 20, 200, 50);
    QTest::newRow("taller, centred") << QSizeF(50, 200) << true << QRectF(97.5, 20, 25, 100);
    QTest::newRow("small grows") << QSizeF(20, 20) << false << QRectF(10, 20, 100, 100);
    QTest::newRow("same proportions") << QSizeF(20, 10) << true << frame;
    QTest::newRow("empty") << QSizeF() << true << QRectF();
}

void TestReportEngine::pictureFitsKeepingProportions()
{
    QFETCH(QSizeF, picture);
    QFETCH(bool, centred);
    QFETCH(QRectF, expected);
    const QRectF fitted = PictureObject::fitted(picture, QRectF(10, 20, 200, 100), centred);
    QCOMPARE(fitted, expected);
}

void TestReportEngine::renderedPictureIsCentredOrAtTheCorner()
{
    Report report(QStringLiteral("rep"), QStringLiteral("Prova"));
    ReportPage &page = report.firstPage();
    page.setMargins(0, 0, 0, 0);
    QImage wide(400, 100, QImage::Format_RGB32);
    wide.fill(Qt::red);
    PictureObject *centred = page.addPicture(QStringLiteral("imgA"), QRectF(100, 100, 200, 200));
    centred->center = true;
    centred->setPicture(wide);
    PictureObject *corner = page.addPicture(QStringLiteral("imgB"), QRectF(400, 100, 200, 200));
    corner->setPicture(wide);
    page.addPicture(QStringLiteral("imgC"), QRectF(100, 400, 200, 200)); // empty
    report.prepare(QDate(2026, 12, 8));
    const QImage image = ReportOutput::renderPage(report.preparedPages().first());

    // Centred: a 200 x 50 band across the middle, white above and below.
    QCOMPARE(pixelsNear(image, QRect(102, 177, 196, 46), Qt::red), 196 * 46);
    QCOMPARE(pixelsNear(image, QRect(100, 100, 200, 73), Qt::white), 200 * 73);
    QCOMPARE(pixelsNear(image, QRect(100, 227, 200, 73), Qt::white), 200 * 73);
    // At the corner: the top 50 rows.
    QCOMPARE(pixelsNear(image, QRect(402, 102, 196, 46), Qt::red), 196 * 46);
    QCOMPARE(pixelsNear(image, QRect(400, 153, 200, 147), Qt::white), 200 * 147);
    // Empty: nothing at all.
    QCOMPARE(pixelsNear(image, QRect(100, 400, 200, 200), Qt::white), 200 * 200);
}

void TestReportEngine::renderedRectangleAndClippedText()
{
    Report report(QStringLiteral("rep"), QStringLiteral("Prova"));
    ReportPage &page = report.firstPage();
    page.setMargins(0, 0, 0, 0);
    RectObject *box = page.addRect(QStringLiteral("shpBox"), QRectF(50, 50, 100, 40));
    box->fill = QColor(0x41, 0x69, 0xE1);
    box->outline = Qt::black;
    TextObject *text = page.addText(QStringLiteral("txtLungo"), QRectF(50, 150, 120, 20));
    text->wordWrap = false;
    text->fontPixels = 14;
    text->setText(QString(60, QLatin1Char('M')));
    TextObject *wrapped = page.addText(QStringLiteral("txtA capo"), QRectF(300, 150, 120, 60));
    wrapped->fontPixels = 14;
    wrapped->setText(QStringLiteral("MMMM MMMM MMMM MMMM MMMM"));
    report.prepare(QDate(2026, 12, 8));
    const QImage image = ReportOutput::renderPage(report.preparedPages().first());

    // Fill inside, a 1-pixel black outline on each side, paper outside.
    QCOMPARE(pixelsNear(image, QRect(52, 52, 96, 36), QColor(0x41, 0x69, 0xE1), 10), 96 * 36);
    QCOMPARE(pixelsNear(image, QRect(60, 50, 80, 1), Qt::black, 10), 80);
    QCOMPARE(pixelsNear(image, QRect(50, 60, 1, 20), Qt::black, 10), 20);
    QCOMPARE(pixelsNear(image, QRect(149, 60, 1, 20), Qt::black, 10), 20);
    QCOMPARE(pixelsNear(image, QRect(60, 89, 80, 1), Qt::black, 10), 80);
    QCOMPARE(pixelsNear(image, QRect(60, 48, 80, 2), Qt::white, 10), 160);

    // A single line too long is cut at the right edge and never continued below.
    QVERIFY(darkPixels(image, QRect(52, 151, 116, 18)) > 100);
    QCOMPARE(darkPixels(image, QRect(171, 145, 100, 30)), 0);
    QCOMPARE(darkPixels(image, QRect(50, 171, 130, 40)), 0);
    // With word wrap on, the words go on below instead.
    QVERIFY(darkPixels(image, QRect(300, 168, 120, 40)) > 50);
    QCOMPARE(darkPixels(image, QRect(421, 145, 60, 70)), 0);
}

void TestReportEngine::everyListLineIsInkedOnThePaper()
{
    auto report = ListReport::create();
    // 'X' at both ends of each line so a cut line would lose ink.
    QStringList lines;
    for (int i = 0; i < 120; ++i)
        lines.append(QStringLiteral("X%1X").arg(QString(40, QLatin1Char(' '))));
    ListReport::fill(*report, QStringLiteral("T"), lines);
    report->prepare(QDate(2026, 12, 8));
    int inked = 0;
    for (const PreparedPage &page : report->preparedPages()) {
        const QImage image = ReportOutput::renderPage(page);
        const double left = page.printableRect.left();
        for (const PlacedObject *piece : page.findAll(QStringLiteral("txtRiepilogo"))) {
            const auto &text = static_cast<const TextObject &>(*piece->object);
            for (int i = 0; i < piece->lines.size(); ++i) {
                const double top = page.printableRect.top() + piece->rect.top() + piece->textOffset
                                   + (piece->split ? 0 : TextObject::InnerMarginY) + i * text.linePitch();
                const QRect glyph(int(left + piece->rect.left() + 2), int(top), 8, int(text.fontPixels));
                QVERIFY2(glyph.bottom() < page.printableRect.bottom(), "line below the printable area");
                if (darkPixels(image, glyph) > 5)
                    ++inked;
            }
        }
    }
    QCOMPARE(inked, 120);
}

void TestReportEngine::printCancelledPrintsNothing()
{
    TestFolder folder;
    folder.platform.printAccept = false;
    folder.platform.printToPdf = folder.path(QStringLiteral("out.pdf"));
    auto report = ListReport::create();
    ListReport::fill(*report, QStringLiteral("T"), numberedLines(3));
    ReportOutput::prepareReport(*report, folder.platform);
    QCOMPARE(ReportOutput::print(*report, folder.platform, nullptr), ReportOutput::PrintResult::Cancelled);
    QCOMPARE(folder.platform.printDialogs, 1);
    QVERIFY(folder.platform.messages.isEmpty());
    QVERIFY(!QFile::exists(folder.platform.printToPdf));
}

void TestReportEngine::printToPdfHonoursRangeAndCopies_data()
{
    QTest::addColumn<int>("range"); // 0 all, 1 pages 2-3, 2 current page
    QTest::addColumn<int>("copies");
    QTest::addColumn<int>("expectedPages");
    QTest::addColumn<QString>("firstText");
    QTest::newRow("all") << 0 << 1 << 4 << "Studente 0001";
    QTest::newRow("range") << 1 << 1 << 2 << "Studente 0055";
    QTest::newRow("range, two copies") << 1 << 2 << 4 << "Studente 0055";
    QTest::newRow("current page") << 2 << 1 << 1 << "Studente 0";
}

void TestReportEngine::printToPdfHonoursRangeAndCopies()
{
    QFETCH(int, range);
    QFETCH(int, copies);
    QFETCH(int, expectedPages);
    QFETCH(QString, firstText);
    auto report = ListReport::create();
    ListReport::fill(*report, QStringLiteral("Riepilogo schede studenti in archivio"), numberedLines(200));
    report->prepare(QDate(2026, 12, 8));
    QCOMPARE(report->preparedPages().size(), 4);

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("list.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    ReportOutput::setUpPrinter(*report, printer);
    if (range == 1) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
    } else if (range == 2) {
        printer.setPrintRange(QPrinter::CurrentPage);
    }
    printer.setCopyCount(copies);
    printer.setCollateCopies(true);
    QCOMPARE(printer.docName(), QStringLiteral("Riepilogo dati"));
    QVERIFY(ReportOutput::printPages(*report, printer, 2));
    QCOMPARE(pdfPages(pdf), expectedPages);
    const QString text = pdfText(pdf);
    QVERIFY2(text.contains(firstText), qPrintable(text.left(400)));
    if (range == 0) {
        QVERIFY(text.contains(QStringLiteral("Riepilogo schede studenti in archivio")));
        QVERIFY(text.contains(QStringLiteral("Studente 0200")));
        QVERIFY(text.contains(QStringLiteral("Stampa eseguita in data 08/12/2026")));
        for (const QString &line : numberedLines(200))
            QVERIFY2(text.count(line) == 1, qPrintable(line));
    }
}

void TestReportEngine::previewNavigatesZoomsAndPrintsTheShownPage()
{
    TestFolder folder;
    folder.platform.printToPdf = folder.path(QStringLiteral("preview.pdf"));
    folder.platform.onPrint = [](QPrinter *printer) { printer->setPrintRange(QPrinter::CurrentPage); };
    auto report = ListReport::create();
    ListReport::fill(*report, QStringLiteral("Riepilogo schede studenti in archivio"), numberedLines(200));

    // Everything is read while the preview is open and checked after it
    // closed, so a failing check cannot leave the modal window hanging.
    bool seen = false;
    QString title;
    int pages = 0;
    double zoom = 0;
    QList<int> visited;
    QSize wholePage, pageWidth, viewport;
    whenModalShown<ReportPreview>([&](ReportPreview *preview) {
        seen = true;
        title = preview->windowTitle();
        pages = preview->pageCount();
        zoom = preview->zoom();
        auto click = [preview](const char *name) {
            if (auto *button = preview->findChild<QToolButton *>(QString::fromLatin1(name)))
                QTest::mouseClick(button, Qt::LeftButton);
        };
        visited.append(preview->currentPage());
        for (const char *name : {"pbNext", "pbLast", "pbNext", "pbFirst", "pbPrior"}) {
            click(name);
            visited.append(preview->currentPage());
        }
        if (auto *box = preview->findChild<QSpinBox *>(QStringLiteral("pbPageNumber")))
            box->setValue(3);
        visited.append(preview->currentPage());

        auto *area = preview->findChild<QScrollArea *>(QStringLiteral("previewArea"));
        click("pbZoomWholePage");
        wholePage = area->widget()->size();
        click("pbZoomPageWidth");
        pageWidth = area->widget()->size();
        viewport = area->viewport()->size();

        click("pbPrint");
        click("pbClose");
        if (preview->isVisible())
            preview->reject();
    });
    ReportOutput::showReport(*report, folder.platform, nullptr);
    QVERIFY(seen);
    QCOMPARE(title, QStringLiteral("Riepilogo dati"));
    QCOMPARE(pages, 4);
    QCOMPARE(zoom, 1.0);
    QCOMPARE(visited, (QList<int>{0, 1, 3, 3, 0, 0, 2}));
    // Whole page: the page fits both ways and fills one of them.
    QVERIFY(wholePage.width() <= viewport.width() && wholePage.height() <= viewport.height());
    QVERIFY(wholePage.width() > viewport.width() * 0.9 || wholePage.height() > viewport.height() * 0.9);
    QVERIFY(pageWidth.width() <= viewport.width() && pageWidth.width() > viewport.width() * 0.9);
    QCOMPARE(folder.platform.printDialogs, 1);
    QVERIFY(folder.platform.messages.isEmpty());
    // The current page, the third, and only that.
    QCOMPARE(pdfPages(folder.platform.printToPdf), 1);
    const QString text = pdfText(folder.platform.printToPdf);
    const auto placed = placedListLines(*report);
    for (const auto &entry : placed)
        QVERIFY2(text.contains(entry.second) == (entry.first == 2), qPrintable(entry.second));
}

QTEST_MAIN(TestReportEngine)
#include "test_reportengine.moc"
