#include "card/cardtemplate.h"
#include "report/pagepainter.h"

#include <QtTest>

#include <cmath>

Q_DECLARE_METATYPE(CardTemplate::Variant)
Q_DECLARE_METATYPE(ReportPage::Orientation)
Q_DECLARE_METATYPE(ReportObject::Kind)

namespace {

using Variant = CardTemplate::Variant;
using Kind = ReportObject::Kind;

struct Designed
{
    const char *name;
    Kind kind;
    QRectF rect;
};

// The print card, object by object in drawing order.
const Designed PrintCard[] = {
    {"shpSfondo", Kind::Rectangle, {37.795, 37.795, 325.04, 204.095}},
    {"imgFoto", Kind::Picture, {45.354, 97.512, 98.268, 108.85}},
    {"imgLogo", Kind::Picture, {272.882, 130.016, 83.15, 79.37}},
    {"shpHeader", Kind::Rectangle, {41.575, 41.575, 316.724, 45.354}},
    {"shpFooter", Kind::Rectangle, {41.575, 215.433, 316.724, 22.677}},
    {"txtAssociazione", Kind::Text, {45.354, 45.354, 204.094, 14.362}},
    {"txtSottotitolo01", Kind::Text, {45.354, 59.339, 204.094, 13.984}},
    {"txtSottotitolo02", Kind::Text, {45.354, 71.811, 204.094, 13.984}},
    {"txtAnnotazioni", Kind::Text, {45.354, 219.213, 309.921, 14.362}},
    {"txtTesserato", Kind::Text, {151.181, 94.488, 207.874, 15.118}},
    {"txtCarica", Kind::Text, {151.181, 109.606, 207.874, 14.362}},
    {"txtNumTessera", Kind::Text, {151.181, 127.748, 117.165, 13.228}},
    {"titDataRil", Kind::Text, {151.181, 143.622, 86.929, 12.85}},
    {"shpDataRil", Kind::Rectangle, {151.181, 158.74, 94.488, 15.118}},
    {"titDataScade", Kind::Text, {151.181, 177.638, 86.929, 12.85}},
    {"txtDataRil", Kind::Text, {156.472, 161.008, 83.906, 11.339}},
    {"shpDataScade", Kind::Rectangle, {151.181, 192.756, 94.488, 15.118}},
    {"txtDataScade", Kind::Text, {156.472, 195.024, 83.906, 11.339}},
};

bool near(const QRectF &a, const QRectF &b)
{
    return std::abs(a.left() - b.left()) < 0.001 && std::abs(a.top() - b.top()) < 0.001
           && std::abs(a.width() - b.width()) < 0.001 && std::abs(a.height() - b.height()) < 0.001;
}

QString describe(const QRectF &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.left()).arg(r.top()).arg(r.width()).arg(r.height());
}

IdCardContent sampleCard()
{
    IdCardContent card;
    card.associazione = QStringLiteral("  Istituto Verdi \t");
    card.sottotitolo01 = QStringLiteral("Via Roma 1, Torino");
    card.sottotitolo02 = QStringLiteral("Tel. 011 123456");
    card.annotazioni = QStringLiteral("Anno scolastico 2026/2027");
    card.tesserato = QStringLiteral("\tRossi [junior] Mario ");
    card.carica = QStringLiteral("Informatica [DATE]");
    card.numTessera = QStringLiteral("3A");
    card.dataRil = QStringLiteral("01/09/2026");
    card.dataScade = QStringLiteral("30/06/2027");
    QImage logo(119, 118, QImage::Format_RGB32);
    logo.fill(Qt::green);
    card.logo = logo;
    QImage photo(300, 400, QImage::Format_RGB32);
    photo.fill(Qt::red);
    card.photo = photo;
    return card;
}

bool darkish(const QColor &c)
{
    return qGray(c.rgb()) < 160;
}

} // namespace

class TestCardTemplate : public QObject
{
    Q_OBJECT
private slots:
    void printCardObjectByObject();
    void previewIsTheTwin();
    void textFormats_data();
    void textFormats();
    void pageAndReport_data();
    void pageAndReport();
    void fillPutsEveryTextLiterally();
    void fillCopiesThePictures();
    void missingPicturesShowThePlaceholders();
    void longNameIsCutAtTheFrame();
    void placeTurnsThenMoves_data();
    void placeTurnsThenMoves();
    void offPaper_data();
    void offPaper();
};

void TestCardTemplate::printCardObjectByObject()
{
    auto report = CardTemplate::create(Variant::Print);
    const auto &objects = report->firstPage().objects();
    QCOMPARE(objects.size(), std::size(PrintCard));
    for (size_t i = 0; i < objects.size(); ++i) {
        QCOMPARE(objects[i]->name(), QString::fromLatin1(PrintCard[i].name));
        QCOMPARE(objects[i]->kind(), PrintCard[i].kind);
        QVERIFY2(near(objects[i]->rect(), PrintCard[i].rect), qPrintable(PrintCard[i].name + describe(objects[i]->rect())));
    }
    QVERIFY(report->firstPage().bands().empty());
    // The card's outline, as the printed card is measured.
    const QRectF card = objects[0]->rect();
    QVERIFY(std::abs(pxToMm(card.left()) - CardTemplate::CardLeftMm) < 0.001);
    QVERIFY(std::abs(pxToMm(card.width()) - CardTemplate::CardWidthMm) < 0.001);
    QVERIFY(std::abs(pxToMm(card.height()) - CardTemplate::CardHeightMm) < 0.001);

    const auto &sfondo = static_cast<const RectObject &>(*objects[0]);
    QCOMPARE(sfondo.fill, QColor(Qt::white));
    QCOMPARE(sfondo.outline, QColor(Qt::black));
    for (const char *band : {"shpHeader", "shpFooter"}) {
        const RectObject *r = report->rectangle(QString::fromLatin1(band));
        QCOMPARE(r->fill, QColor(0x00, 0x00, 0x80));
        QCOMPARE(r->outline, QColor(0x00, 0x00, 0x80));
    }
    for (const char *box : {"shpDataRil", "shpDataScade"}) {
        const RectObject *r = report->rectangle(QString::fromLatin1(box));
        QCOMPARE(r->fill, QColor(0xF5, 0xF5, 0xDC));
        QCOMPARE(r->outline, QColor(Qt::black));
    }
    for (const char *name : {"imgFoto", "imgLogo"}) {
        const PictureObject *p = report->picture(QString::fromLatin1(name));
        QVERIFY(p->center);
        QVERIFY(!p->picture().isNull()); // the design picture
    }
}

void TestCardTemplate::previewIsTheTwin()
{
    auto print = CardTemplate::create(Variant::Print);
    auto preview = CardTemplate::create(Variant::Preview);
    const auto &a = print->firstPage().objects();
    const auto &b = preview->firstPage().objects();
    QCOMPARE(b.size(), a.size());
    QCOMPARE(b[0]->name(), QStringLiteral("frxShapeView1"));
    QVERIFY(!preview->findObject(QStringLiteral("shpSfondo")));
    const QHash<QString, double> movedTops = {{QStringLiteral("txtAnnotazioni"), 219.969},
                                              {QStringLiteral("txtDataRil"), 160.63},
                                              {QStringLiteral("txtDataScade"), 194.646}};
    for (size_t i = 1; i < a.size(); ++i) {
        QCOMPARE(b[i]->name(), a[i]->name());
        QCOMPARE(b[i]->kind(), a[i]->kind());
        QRectF expected = a[i]->rect();
        if (movedTops.contains(a[i]->name()))
            expected.moveTop(movedTops.value(a[i]->name()));
        QVERIFY2(near(b[i]->rect(), expected), qPrintable(b[i]->name() + describe(b[i]->rect())));
    }
    QVERIFY(near(b[0]->rect(), a[0]->rect()));
    QCOMPARE(static_cast<const RectObject &>(*b[0]).fill, QColor(Qt::white));
}

void TestCardTemplate::textFormats_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("centred");
    QTest::addColumn<bool>("topInPreview");
    QTest::addColumn<QString>("printText");
    QTest::addColumn<QString>("previewText");
    const QColor white(Qt::white), black(Qt::black), brown(0xA5, 0x2A, 0x2A);
    QTest::newRow("school") << "txtAssociazione" << 8.0 << true << white << false << true
                            << "Denominazione Ente o Associazione" << "Denominazione Ente o Associazione";
    QTest::newRow("address") << "txtSottotitolo01" << 7.0 << false << white << false << true
                             << "Indirizzo e città" << "Indirizzo e città";
    QTest::newRow("contacts") << "txtSottotitolo02" << 7.0 << false << white << false << true
                              << "Telefono e altri recapiti" << "Telefono e altri recapiti";
    QTest::newRow("notes") << "txtAnnotazioni" << 8.0 << true << white << true << false << "Annotazioni"
                           << "Annotazioni";
    QTest::newRow("name") << "txtTesserato" << 9.0 << true << black << false << true << "Cognome e nome Socio"
                          << "Cognome e nome Socio";
    QTest::newRow("course") << "txtCarica" << 7.3 << true << black << false << true << "Carica ricoperta"
                            << "Carica ricoperta";
    QTest::newRow("class") << "txtNumTessera" << 7.3 << true << brown << false << true << "Tessera n."
                           << "Tessera n.";
    QTest::newRow("start caption") << "titDataRil" << 7.0 << false << black << false << true << "Data rilascio:"
                                   << "Data inizio:";
    QTest::newRow("end caption") << "titDataScade" << 7.0 << false << black << false << true << "Data scadenza:"
                                 << "Data fine:";
    QTest::newRow("start date") << "txtDataRil" << 7.3 << true << black << true << false << "GG/MM/AAAA"
                                << "GG/MM/AAAA";
    QTest::newRow("end date") << "txtDataScade" << 7.3 << true << black << true << false << "GG/MM/AAAA"
                              << "GG/MM/AAAA";
}

void TestCardTemplate::textFormats()
{
    QFETCH(QString, name);
    QFETCH(double, points);
    QFETCH(bool, bold);
    QFETCH(QColor, colour);
    QFETCH(bool, centred);
    QFETCH(bool, topInPreview);
    QFETCH(QString, printText);
    QFETCH(QString, previewText);
    for (const Variant variant : {Variant::Print, Variant::Preview}) {
        auto report = CardTemplate::create(variant);
        const TextObject *text = report->text(name);
        QCOMPARE(text->fontFamily, QStringLiteral("Arial"));
        QVERIFY2(std::abs(text->fontPixels - points / 0.75) < 0.001, qPrintable(QString::number(text->fontPixels)));
        QCOMPARE(text->bold, bold);
        QCOMPARE(text->colour, colour);
        QVERIFY(!text->fill.isValid());
        QCOMPARE(text->hAlign, centred ? TextObject::HAlign::Center : TextObject::HAlign::Left);
        const bool top = variant == Variant::Preview && topInPreview;
        QCOMPARE(text->vAlign, top ? TextObject::VAlign::Top : TextObject::VAlign::Center);
        QVERIFY(!text->wordWrap);
        QVERIFY(!text->allowExpressions);
        QCOMPARE(text->text(), variant == Variant::Print ? printText : previewText);
    }
}

void TestCardTemplate::pageAndReport_data()
{
    QTest::addColumn<Variant>("variant");
    QTest::addColumn<int>("paperCode");
    QTest::newRow("print") << Variant::Print << ReportPage::PaperA4;
    QTest::newRow("preview") << Variant::Preview << ReportPage::PaperCustom;
}

void TestCardTemplate::pageAndReport()
{
    QFETCH(Variant, variant);
    QFETCH(int, paperCode);
    auto report = CardTemplate::create(variant);
    QCOMPARE(report->objectName(), QStringLiteral("repTesserino"));
    QCOMPARE(report->reportName, QStringLiteral("Tesserino"));
    QVERIFY(!report->showProgress);
    QVERIFY(!report->allowEdit);
    QCOMPARE(report->previewButtons,
             Report::PreviewButtons(Report::pbPrint | Report::pbZoom | Report::pbFullScreen | Report::pbClose));
    const ReportPage &page = report->firstPage();
    QCOMPARE(page.name, QStringLiteral("Page1"));
    QCOMPARE(page.paperSizeCode(), paperCode);
    QCOMPARE(page.paperWidthMm(), 210.0);
    QCOMPARE(page.paperHeightMm(), 297.0);
    QCOMPARE(page.orientation(), ReportPage::Orientation::Portrait);
    QCOMPARE(page.marginsMm(), QMarginsF(0, 0, 0, 0));
    for (const QString &name : CardTemplate::textNames())
        QVERIFY2(report->findObject(name), qPrintable(name));
}

void TestCardTemplate::fillPutsEveryTextLiterally()
{
    auto report = CardTemplate::create(Variant::Print);
    IdCardContent card = sampleCard();
    card.numTessera = QStringLiteral("3A\r\nserale"); // never a second line on the card
    CardTemplate::fill(*report, card);
    report->prepare(QDate(2026, 12, 8));
    QCOMPARE(report->preparedPages().size(), 1);
    const PreparedPage &page = report->preparedPages().first();
    const QList<QPair<const char *, const char *>> expected = {
        {"txtAssociazione", "Istituto Verdi"},
        {"txtSottotitolo01", "Via Roma 1, Torino"},
        {"txtSottotitolo02", "Tel. 011 123456"},
        {"txtAnnotazioni", "Anno scolastico 2026/2027"},
        {"txtTesserato", "Rossi [junior] Mario"},
        {"txtCarica", "Informatica [DATE]"},
        {"txtNumTessera", "3A serale"},
        {"txtDataRil", "01/09/2026"},
        {"txtDataScade", "30/06/2027"},
        {"titDataRil", "Data rilascio:"},
        {"titDataScade", "Data scadenza:"},
    };
    for (const auto &pair : expected)
        QCOMPARE(page.find(QString::fromLatin1(pair.first))->lines, QStringList{QString::fromUtf8(pair.second)});
}

void TestCardTemplate::fillCopiesThePictures()
{
    auto report = CardTemplate::create(Variant::Preview);
    IdCardContent card = sampleCard();
    CardTemplate::fill(*report, card);
    card.photo.fill(Qt::blue); // later changes do not reach the template
    report->prepare(QDate(2026, 12, 8));
    const PreparedPage &page = report->preparedPages().first();
    const QImage image = ReportOutput::renderPage(page, 192);
    auto centre = [&](const char *name) {
        const QRectF r = page.find(QString::fromLatin1(name))->rect.translated(page.printableRect.topLeft());
        return QPointF(r.center() * 2).toPoint();
    };
    QCOMPARE(image.pixelColor(centre("imgFoto")), QColor(Qt::red));
    QCOMPARE(image.pixelColor(centre("imgLogo")), QColor(Qt::green));
    // A tall photo fills the frame's height and is centred across it: white
    // on both sides of it.
    const QRectF frame = page.find(QStringLiteral("imgFoto"))->rect.translated(page.printableRect.topLeft());
    const double drawn = frame.height() * 300 / 400;
    const int y = int(frame.center().y() * 2);
    QCOMPARE(image.pixelColor(int((frame.left() + 2) * 2), y), QColor(Qt::white));
    QCOMPARE(image.pixelColor(int((frame.center().x() - drawn / 2 + 2) * 2), y), QColor(Qt::red));
    QCOMPARE(image.pixelColor(int((frame.right() - 2) * 2), y), QColor(Qt::white));
}

void TestCardTemplate::missingPicturesShowThePlaceholders()
{
    auto report = CardTemplate::create(Variant::Print);
    IdCardContent card = sampleCard();
    CardTemplate::fill(*report, card);
    card.photo = QImage();
    card.logo = QImage();
    CardTemplate::fill(*report, card);
    QCOMPARE(report->picture(QStringLiteral("imgFoto"))->picture(), CardTemplate::photoPlaceholder());
    QCOMPARE(report->picture(QStringLiteral("imgLogo"))->picture(), CardTemplate::logoPlaceholder());
}

void TestCardTemplate::longNameIsCutAtTheFrame()
{
    auto report = CardTemplate::create(Variant::Print);
    IdCardContent card = sampleCard();
    card.tesserato = QString(60, QLatin1Char('W'));
    card.carica.clear();
    CardTemplate::fill(*report, card);
    report->prepare(QDate(2026, 12, 8));
    const PreparedPage &page = report->preparedPages().first();
    const double scale = 4; // 384 dpi
    const QImage image = ReportOutput::renderPage(page, 96 * scale);
    const QRectF name = page.find(QStringLiteral("txtTesserato"))->rect;
    const QRectF outline = page.find(QStringLiteral("shpSfondo"))->rect;
    // Ink right up to the frame's right edge, none between it and the card's
    // outline, none on a second line below.
    auto inkIn = [&](const QRectF &area) {
        int count = 0;
        for (int y = int(std::ceil(area.top() * scale)); y < int(area.bottom() * scale); ++y)
            for (int x = int(std::ceil(area.left() * scale)); x < int(area.right() * scale); ++x)
                if (darkish(image.pixelColor(x, y)))
                    ++count;
        return count;
    };
    QVERIFY(inkIn(QRectF(name.right() - 6, name.top(), 6, name.height())) > 0);
    QCOMPARE(inkIn(QRectF(name.right() + 0.3, name.top(), outline.right() - 1.3 - name.right(), name.height())), 0);
    QCOMPARE(inkIn(QRectF(name.left(), name.bottom() + 0.3, name.width(), 14)), 0);
}

void TestCardTemplate::placeTurnsThenMoves_data()
{
    QTest::addColumn<ReportPage::Orientation>("before");
    QTest::addColumn<ReportPage::Orientation>("orientation");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("left");
    QTest::addColumn<QSizeF>("paper");
    using O = ReportPage::Orientation;
    QTest::newRow("portrait, positive") << O::Portrait << O::Portrait << 3.0 << 7.0 << QSizeF(210, 297);
    QTest::newRow("portrait, negative") << O::Portrait << O::Portrait << -2.0 << -5.0 << QSizeF(210, 297);
    QTest::newRow("landscape") << O::Portrait << O::Landscape << 4.0 << -1.0 << QSizeF(297, 210);
    QTest::newRow("back from landscape") << O::Landscape << O::Portrait << 6.0 << 1.0 << QSizeF(210, 297);
    QTest::newRow("landscape again") << O::Landscape << O::Landscape << 0.0 << 2.5 << QSizeF(297, 210);
}

void TestCardTemplate::placeTurnsThenMoves()
{
    QFETCH(ReportPage::Orientation, before);
    QFETCH(ReportPage::Orientation, orientation);
    QFETCH(double, top);
    QFETCH(double, left);
    QFETCH(QSizeF, paper);
    auto report = CardTemplate::create(Variant::Print);
    // An earlier card of a list, placed otherwise.
    CardTemplate::place(*report, before, 11, 13);
    CardTemplate::place(*report, orientation, top, left);
    const ReportPage &page = report->firstPage();
    QCOMPARE(page.orientation(), orientation);
    QCOMPARE(QSizeF(page.paperWidthMm(), page.paperHeightMm()), paper);
    QCOMPARE(page.marginsMm(), QMarginsF(left, top, 0, 0));
    QCOMPARE(page.paperSizeCode(), ReportPage::PaperA4);
    const QRectF card = CardTemplate::cardOnPaperMm(page);
    QCOMPARE(card, QRectF(left + 10, top + 10, 86, 54));
    // The objects keep their places from the margin corner.
    report->prepare(QDate(2026, 12, 8));
    const PreparedPage &prepared = report->preparedPages().first();
    const QRectF outline = prepared.find(QStringLiteral("shpSfondo"))->rect.translated(prepared.printableRect.topLeft());
    QVERIFY(std::abs(pxToMm(outline.top()) - card.top()) < 0.001);
    QVERIFY(std::abs(pxToMm(outline.left()) - card.left()) < 0.001);
}

void TestCardTemplate::offPaper_data()
{
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("left");
    QTest::addColumn<bool>("topOff");
    QTest::addColumn<bool>("leftOff");
    QTest::newRow("on the paper") << false << 0.0 << 0.0 << false << false;
    QTest::newRow("partly above") << false << -60.0 << 0.0 << false << false;
    QTest::newRow("wholly above") << false << -64.0 << 0.0 << true << false;
    QTest::newRow("wholly to the left") << false << 0.0 << -96.0 << false << true;
    QTest::newRow("partly to the left") << false << 0.0 << -95.0 << false << false;
    QTest::newRow("below the sheet") << false << 287.0 << 0.0 << true << false;
    QTest::newRow("just on the sheet") << false << 286.0 << 0.0 << false << false;
    QTest::newRow("right of the sheet") << false << 0.0 << 200.0 << false << true;
    QTest::newRow("hand-edited") << false << 99999.0 << 99999.0 << true << true;
    QTest::newRow("fits landscape only") << true << 0.0 << 250.0 << false << false;
    QTest::newRow("below landscape") << true << 200.0 << 0.0 << true << false;
}

void TestCardTemplate::offPaper()
{
    QFETCH(bool, landscape);
    QFETCH(double, top);
    QFETCH(double, left);
    QFETCH(bool, topOff);
    QFETCH(bool, leftOff);
    auto report = CardTemplate::create(Variant::Print);
    CardTemplate::place(*report, landscape ? ReportPage::Orientation::Landscape : ReportPage::Orientation::Portrait,
                        top, left);
    const CardTemplate::OffPaper off = CardTemplate::offPaper(report->firstPage());
    QCOMPARE(off.top, topOff);
    QCOMPARE(off.left, leftOff);
    QCOMPARE(off.any(), topOff || leftOff);
}

QTEST_MAIN(TestCardTemplate)
#include "test_cardtemplate.moc"
