#include "card/cardbatch.h"
#include "card/cardtemplate.h"
#include "printing/reportoutput.h"

#include "cardprintfixture.h"
#include "testutil.h"

#include <QRegularExpression>
#include <QtTest>

namespace {

QString nameOf(int i)
{
    return QStringLiteral("Rossi Allievo %1").arg(i + 1, 2, 10, QLatin1Char('0'));
}

QList<StudentRecord> students(int count)
{
    QList<StudentRecord> list;
    for (int i = 0; i < count; ++i) {
        StudentRecord record;
        record[StudentRecord::Studente] = nameOf(i);
        record[StudentRecord::Corso] = QStringLiteral("Informatica");
        record[StudentRecord::Classe] = QStringLiteral("3A");
        record[StudentRecord::Inizio] = QStringLiteral("15/09/2026");
        record[StudentRecord::Fine] = QStringLiteral("10/06/2027");
        list.append(record);
    }
    return list;
}

int pdfPages(const QString &path)
{
    const QString info = runTool(QStringLiteral("pdfinfo"), {path});
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace

class TestCardBatch : public QObject
{
    Q_OBJECT
private slots:
    void wholeListPrintsInListOrder_data();
    void wholeListPrintsInListOrder();
    void firstCardOnTheSheetFollowsTheStoredMargins();
    void sheetLayoutIsCentredTwoByFive();
    void cancelledDialogPrintsNothing();
};

void TestCardBatch::wholeListPrintsInListOrder_data()
{
    QTest::addColumn<CardBatch::Mode>("mode");
    QTest::addColumn<int>("pages");
    QTest::newRow("card printer: one card a page") << CardBatch::Mode::CardPrinter << 23;
    QTest::newRow("A4 sheet: ten cards a page") << CardBatch::Mode::A4Sheet << 3;
}

void TestCardBatch::wholeListPrintsInListOrder()
{
    QFETCH(CardBatch::Mode, mode);
    QFETCH(int, pages);
    TestFolder folder;
    folder.platform.printToPdf = folder.path(QStringLiteral("tesserini.pdf"));
    CardShown school;
    int photosAsked = 0;
    const CardBatch batch(school.card, students(23), [&](int) { ++photosAsked; return QImage(); }, mode,
                          ReportPage::Orientation::Portrait, 0, 0);
    QCOMPARE(batch.pageCount(), pages);
    QCOMPARE(ReportOutput::printCardBatch(batch, folder.platform, nullptr), ReportOutput::PrintResult::Printed);
    QCOMPARE(folder.platform.printDialogs, 1);
    QCOMPARE(photosAsked, 23);
    QCOMPARE(pdfPages(folder.platform.printToPdf), pages);

    const QString text = pdfText(folder.platform.printToPdf);
    int previous = -1;
    for (int i = 0; i < 23; ++i) {
        const int at = text.indexOf(nameOf(i));
        QVERIFY2(at > previous, qPrintable(nameOf(i) + QStringLiteral(" missing or out of order")));
        QCOMPARE(text.count(nameOf(i)), 1);
        previous = at;
    }
    // The school part is on every card.
    QCOMPARE(text.count(school.card.associazione), 23);
}

void TestCardBatch::firstCardOnTheSheetFollowsTheStoredMargins()
{
    TestFolder folder;
    folder.platform.printToPdf = folder.path(QStringLiteral("foglio.pdf"));
    CardShown school;
    const double top = 3.0, left = -2.0;
    const CardBatch batch(school.card, students(12), {}, CardBatch::Mode::A4Sheet,
                          ReportPage::Orientation::Landscape, top, left);
    QCOMPARE(ReportOutput::printCardBatch(batch, folder.platform, nullptr), ReportOutput::PrintResult::Printed);
    const QImage page = pdfPage(folder.platform.printToPdf);
    QVERIFY2(pageIs(page, QSize(2100, 2970)), qPrintable(describe(page.size())));
    page.save(folder.path(QStringLiteral("foglio.png")));
    page.save(QStringLiteral("/tmp/cardbatch_sheet.png"));
    // (210 - 2 * 86) / 2 - 2 and (297 - 5 * 54) / 2 + 3
    const QPointF corner = cardCornerMm(page);
    QVERIFY2(qAbs(corner.x() - 17.0) <= 0.5 && qAbs(corner.y() - 16.5) <= 0.5,
             qPrintable(QStringLiteral("card at %1, %2 mm").arg(corner.x()).arg(corner.y())));
}

void TestCardBatch::sheetLayoutIsCentredTwoByFive()
{
    QCOMPARE(CardBatch::sheetSlotMm(0, 0, 0), QRectF(19, 13.5, 86, 54));
    QCOMPARE(CardBatch::sheetSlotMm(1, 0, 0), QRectF(105, 13.5, 86, 54));
    QCOMPARE(CardBatch::sheetSlotMm(9, 0, 0), QRectF(105, 229.5, 86, 54));
    QCOMPARE(CardBatch::sheetSlotMm(4, 2, 1), QRectF(20, 123.5, 86, 54));
}

void TestCardBatch::cancelledDialogPrintsNothing()
{
    TestFolder folder;
    folder.platform.printToPdf = folder.path(QStringLiteral("annullato.pdf"));
    folder.platform.printAccept = false;
    CardShown school;
    const CardBatch batch(school.card, students(3), {}, CardBatch::Mode::A4Sheet, ReportPage::Orientation::Portrait,
                          0, 0);
    QCOMPARE(ReportOutput::printCardBatch(batch, folder.platform, nullptr), ReportOutput::PrintResult::Cancelled);
    QVERIFY(!QFile::exists(folder.platform.printToPdf));
}

QTEST_MAIN(TestCardBatch)
#include "test_cardbatch.moc"
