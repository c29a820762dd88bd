#include "card/cardbatch.h"
#include "card/cardtemplate.h"
#include "printing/reportoutput.h"

#include "cardprintfixture.h"
#include "testutil.h"

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QThread>
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

// The students' numbers (1-based) in the order their names appear in the text.
QList<int> namesInOrder(const QString &text)
{
    QList<int> order;
    QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral("Rossi Allievo (\\d+)")).globalMatch(text);
    while (it.hasNext())
        order.append(it.next().captured(1).toInt());
    return order;
}

// Images stored in a PDF: pdfimages lists every use, each with the number
// of the object it draws.
int pdfImages(const QString &path)
{
    const QStringList lines = runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path})
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QSet<QString> objects;
    for (qsizetype i = 2; i < lines.size(); ++i) { // after two heading lines
        const QStringList fields = lines.at(i).simplified().split(QLatin1Char(' '));
        if (fields.size() > 11)
            objects.insert(fields.at(10));
    }
    return int(objects.size());
}

// Resident memory of the process in megabytes: now, or at its peak since
// the last resetPeakMemory().
double memoryMb(const char *which)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpressionMatch m = QRegularExpression(QString::fromLatin1(which) + QStringLiteral(":\\s+(\\d+) kB"))
                                          .match(QString::fromLatin1(status.readAll()));
    return m.hasMatch() ? m.captured(1).toDouble() / 1024.0 : -1;
}

bool resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

// Cancels the progress window once it shows, noting what it said.
struct ProgressCanceller
{
    QString label;
    QString title;
    QString button;
    bool shown = false;

    void arm()
    {
        whenModalShown<QProgressDialog>(
            [this](QProgressDialog *progress) {
                shown = true;
                label = progress->labelText();
                title = progress->windowTitle();
                auto *cancel = progress->findChild<QPushButton *>();
                button = cancel ? cancel->text() : QString();
                if (cancel)
                    QTest::mouseClick(cancel, Qt::LeftButton);
            },
            20000);
    }
};

} // namespace

class TestCardBatch : public QObject
{
    Q_OBJECT
private slots:
    void wholeListPrintsInListOrder_data();
    void wholeListPrintsInListOrder();
    void sheetIgnoresTheCardPrinterMargins();
    void sheetLayoutIsCentredTwoByFive();
    void cancelledDialogPrintsNothing();
    void pagesAndCopiesAsChosen_data();
    void pagesAndCopiesAsChosen();
    void annullaInTheProgressWindowPrintsNothing_data();
    void annullaInTheProgressWindowPrintsNothing();
    void noPrinterGivesTheEngineNotice();
    void thousandsOfCardsStayFlat();
    void cancelledJobNeverReachesThePrintQueue();
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
    // The logo and the silhouette, the same on every card, are stored once.
    QCOMPARE(pdfImages(folder.platform.printToPdf), 2);
}

void TestCardBatch::sheetIgnoresTheCardPrinterMargins()
{
    TestFolder folder;
    folder.platform.printToPdf = folder.path(QStringLiteral("foglio.pdf"));
    CardShown school;
    const CardBatch batch(school.card, students(12), {}, CardBatch::Mode::A4Sheet,
                          ReportPage::Orientation::Landscape, 20.0, -2.0);
    QCOMPARE(batch.placement(), CardBatch::Placement::OnPaper);
    QCOMPARE(ReportOutput::printCardBatch(batch, folder.platform, nullptr), ReportOutput::PrintResult::Printed);
    const QImage page = pdfPage(folder.platform.printToPdf);
    QVERIFY2(pageIs(page, QSize(2100, 2970)), qPrintable(describe(page.size())));
    // (210 - 2 * 86) / 2 and (297 - 5 * 54) / 2
    const QPointF corner = cardCornerMm(page);
    QVERIFY2(qAbs(corner.x() - 19.0) <= 0.5 && qAbs(corner.y() - 13.5) <= 0.5,
             qPrintable(QStringLiteral("card at %1, %2 mm").arg(corner.x()).arg(corner.y())));
}

void TestCardBatch::sheetLayoutIsCentredTwoByFive()
{
    QCOMPARE(CardBatch::sheetSlotMm(0), QRectF(19, 13.5, 86, 54));
    QCOMPARE(CardBatch::sheetSlotMm(1), QRectF(105, 13.5, 86, 54));
    QCOMPARE(CardBatch::sheetSlotMm(4), QRectF(19, 121.5, 86, 54));
    QCOMPARE(CardBatch::sheetSlotMm(9), QRectF(105, 229.5, 86, 54));
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

void TestCardBatch::pagesAndCopiesAsChosen_data()
{
    QTest::addColumn<CardBatch::Mode>("mode");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("from"); // 0: every page
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("collate");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QList<int>>("cards"); // students on paper, in order

    QTest::newRow("card printer, two copies collated")
        << CardBatch::Mode::CardPrinter << 3 << 0 << 0 << 2 << true << 6 << QList<int>{1, 2, 3, 1, 2, 3};
    QTest::newRow("card printer, two copies one after the other")
        << CardBatch::Mode::CardPrinter << 3 << 0 << 0 << 2 << false << 6 << QList<int>{1, 1, 2, 2, 3, 3};
    QTest::newRow("card printer, pages 2 to 3")
        << CardBatch::Mode::CardPrinter << 3 << 2 << 3 << 1 << true << 2 << QList<int>{2, 3};
    QList<int> second;
    for (int n = 11; n <= 20; ++n)
        second.append(n);
    QTest::newRow("A4 sheet, second sheet of three")
        << CardBatch::Mode::A4Sheet << 23 << 2 << 2 << 1 << true << 1 << second;
    QList<int> twice;
    for (int sheet : {0, 0, 1, 1})
        for (int n = sheet * 10 + 1; n <= std::min(12, sheet * 10 + 10); ++n)
            twice.append(n);
    QTest::newRow("A4 sheet, two copies one after the other")
        << CardBatch::Mode::A4Sheet << 12 << 0 << 0 << 2 << false << 4 << twice;
}

void TestCardBatch::pagesAndCopiesAsChosen()
{
    QFETCH(CardBatch::Mode, mode);
    QFETCH(int, count);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, copies);
    QFETCH(bool, collate);
    QFETCH(int, pages);
    QFETCH(QList<int>, cards);
    TestFolder folder;
    folder.platform.printToPdf = folder.path(QStringLiteral("tesserini.pdf"));
    folder.platform.onPrint = [&](QPrinter *printer) {
        if (from > 0) {
            printer->setPrintRange(QPrinter::PageRange);
            printer->setFromTo(from, to);
        }
        printer->setCopyCount(copies);
        printer->setCollateCopies(collate);
    };
    CardShown school;
    int photosAsked = 0;
    const CardBatch batch(school.card, students(count), [&](int) { ++photosAsked; return QImage(); }, mode,
                          ReportPage::Orientation::Portrait, 0, 0);
    QCOMPARE(ReportOutput::printCardBatch(batch, folder.platform, nullptr), ReportOutput::PrintResult::Printed);
    QCOMPARE(pdfPages(folder.platform.printToPdf), pages);
    QCOMPARE(namesInOrder(pdfText(folder.platform.printToPdf)), cards);
    // One photo for every card on paper, and no other.
    QCOMPARE(photosAsked, cards.size());
}

void TestCardBatch::annullaInTheProgressWindowPrintsNothing_data()
{
    QTest::addColumn<CardBatch::Mode>("mode");
    QTest::newRow("card printer") << CardBatch::Mode::CardPrinter;
    QTest::newRow("A4 sheet") << CardBatch::Mode::A4Sheet;
}

void TestCardBatch::annullaInTheProgressWindowPrintsNothing()
{
    QFETCH(CardBatch::Mode, mode);
    TestFolder folder;
    folder.platform.printToPdf = folder.path(QStringLiteral("tesserini.pdf"));
    CardShown school;
    int photosAsked = 0;
    // A photo that takes a while, as a large one from a network folder does.
    const CardBatch batch(school.card, students(80), [&](int) {
        ++photosAsked;
        QThread::msleep(30);
        return school.card.photo;
    }, mode, ReportPage::Orientation::Portrait, 0, 0);
    ProgressCanceller canceller;
    canceller.arm();
    QCOMPARE(ReportOutput::printCardBatch(batch, folder.platform, nullptr), ReportOutput::PrintResult::Cancelled);
    QVERIFY(canceller.shown);
    QVERIFY2(QRegularExpression(QStringLiteral("^Stampa dei tesserini: \\d+ di 80$")).match(canceller.label).hasMatch(),
             qPrintable(canceller.label));
    QCOMPARE(canceller.title, QStringLiteral(" Stampa tesserini"));
    QCOMPARE(canceller.button, QStringLiteral("Annulla"));
    QVERIFY2(photosAsked < 80, "the job went on after Annulla");
    // Nothing of the job is left: no file, no pages.
    QVERIFY(!QFile::exists(folder.platform.printToPdf));
    QVERIFY(folder.platform.messages.isEmpty());
}

void TestCardBatch::noPrinterGivesTheEngineNotice()
{
    TestFolder folder;
    folder.platform.noPrinters = true;
    folder.platform.printToPdf = folder.path(QStringLiteral("tesserini.pdf"));
    CardShown school;
    const CardBatch batch(school.card, students(4), {}, CardBatch::Mode::A4Sheet, ReportPage::Orientation::Portrait,
                          0, 0);
    QCOMPARE(ReportOutput::printCardBatch(batch, folder.platform, nullptr), ReportOutput::PrintResult::NoPrinter);
    QCOMPARE(folder.platform.messages.size(), 1);
    QCOMPARE(folder.platform.lastKind(), Platform::MessageKind::Notice);
    QCOMPARE(folder.platform.lastText(), QStringLiteral("Nessuna stampante installata."));
    QCOMPARE(folder.platform.printDialogs, 0);
    QVERIFY(!QFile::exists(folder.platform.printToPdf));
}

void TestCardBatch::thousandsOfCardsStayFlat()
{
    CardShown school;
    QCOMPARE(CardBatch(school.card, students(5000), {}, CardBatch::Mode::A4Sheet, ReportPage::Orientation::Portrait,
                       0, 0).pageCount(),
             500);
    QCOMPARE(CardBatch(school.card, students(5000), {}, CardBatch::Mode::CardPrinter,
                       ReportPage::Orientation::Portrait, 0, 0).pageCount(),
             5000);
    if (!resetPeakMemory())
        QSKIP("this system cannot reset the peak memory of a process");

    // Every student has a photo of their own, decoded at the size the card
    // needs, as the picker hands them over. What a job adds at its peak must
    // not grow with the number of cards.
    const QImage photo(CardTemplate::photoPrintSize(), QImage::Format_RGB32);
    double added[2] = {0, 0};
    const int counts[2] = {100, 1000};
    for (int run = 0; run < 2; ++run) {
        TestFolder folder;
        folder.platform.printToPdf = folder.path(QStringLiteral("tesserini.pdf"));
        const CardBatch batch(school.card, students(counts[run]), [&](int i) {
            QImage own = photo.copy();
            own.fill(QColor::fromHsv(i % 360, 120, 200));
            return own;
        }, CardBatch::Mode::A4Sheet, ReportPage::Orientation::Portrait, 0, 0);
        QVERIFY(resetPeakMemory());
        const double before = memoryMb("VmRSS");
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(ReportOutput::printCardBatch(batch, folder.platform, nullptr), ReportOutput::PrintResult::Printed);
        added[run] = memoryMb("VmHWM") - before;
        qInfo("%d cards: %lld ms, %.1f MB added at the peak, PDF %.1f MB", counts[run], clock.elapsed(), added[run],
              QFileInfo(folder.platform.printToPdf).size() / 1048576.0);
        QCOMPARE(pdfPages(folder.platform.printToPdf), counts[run] / 10);
    }
    QVERIFY2(added[1] < added[0] + 16,
             qPrintable(QStringLiteral("%1 MB for 100 cards, %2 MB for 1000").arg(added[0]).arg(added[1])));
}

void TestCardBatch::cancelledJobNeverReachesThePrintQueue()
{
    const QString skip = noPrintServer();
    if (!skip.isEmpty())
        QSKIP(qPrintable(skip));
    const QStringList before = spooledPdfs();
    TestFolder folder;
    folder.platform.systemPrinters = true;
    CardShown school;
    const CardBatch slow(school.card, students(60), [&](int) {
        QThread::msleep(30);
        return school.card.photo;
    }, CardBatch::Mode::CardPrinter, ReportPage::Orientation::Portrait, 0, 0);
    ProgressCanceller canceller;
    canceller.arm();
    QCOMPARE(ReportOutput::printCardBatch(slow, folder.platform, nullptr), ReportOutput::PrintResult::Cancelled);
    QVERIFY(canceller.shown);

    // A job after it comes out alone: the queue takes jobs in order, so the
    // cancelled one would have come out first.
    const CardBatch one(school.card, students(1), {}, CardBatch::Mode::CardPrinter,
                        ReportPage::Orientation::Portrait, 0, 0);
    QCOMPARE(ReportOutput::printCardBatch(one, folder.platform, nullptr), ReportOutput::PrintResult::Printed);
    const QString produced = waitForSpooledPdf(before, QStringLiteral("Tesserini"));
    QVERIFY2(!produced.isEmpty(), "no PDF from the print queue");
    QCOMPARE(pdfPages(produced), 1);
    QStringList added = spooledPdfs();
    for (const QString &name : before)
        added.removeAll(name);
    QCOMPARE(added, QStringList{QFileInfo(produced).fileName()});
    QVERIFY(folder.platform.messages.isEmpty());
}

QTEST_MAIN(TestCardBatch)
#include "test_cardbatch.moc"
