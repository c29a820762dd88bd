// "Stampa tesserini" in the import picker opened from the ID card window.
#include "cardfixture.h"
#include "cardprintfixture.h"

#include "card/cardbatch.h"
#include "search/cardbatchdialog.h"
#include "search/tfrmimportastudenti.h"

#include <QLineEdit>
#include <QListView>
#include <QSet>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>

namespace {

void search(QWidget *picker, const QString &name)
{
    findControl<QLineEdit>(picker, QStringLiteral("txtStudente"))->setText(name);
    QTest::mouseClick(findControl<QPushButton>(picker, QStringLiteral("btnCerca")), Qt::LeftButton);
}

void press(QWidget *window, const QString &name)
{
    QTest::mouseClick(findControl<QAbstractButton>(window, name), Qt::LeftButton);
}

// What the picker lists, top to bottom.
QStringList listed(QWidget *picker)
{
    const QAbstractItemModel *model = findControl<QListView>(picker, QStringLiteral("lstRecords"))->model();
    QStringList lines;
    for (int row = 0; row < model->rowCount(); ++row)
        lines.append(model->index(row, 0).data().toString());
    return lines;
}

// Opens the picker on the card window, searches by name, presses "Stampa
// tesserini" and answers the mode dialog with `option` and Stampa; returns the
// lines the picker listed.
QStringList printListed(CardWindow &w, const QString &name, const QString &option,
                        const std::function<void()> &beforePrint = {})
{
    QStringList lines;
    whenModalShown<TfrmImportaStudenti>([&](TfrmImportaStudenti *picker) {
        search(picker, name);
        lines = listed(picker);
        if (beforePrint)
            beforePrint();
        whenModalShown<CardBatchDialog>([&](CardBatchDialog *ask) {
            press(ask, option);
            press(ask, QStringLiteral("btnStampa"));
        });
        press(picker, QStringLiteral("btnStampaTesserini"));
        press(picker, QStringLiteral("btnChiudi"));
    });
    w.click(QStringLiteral("cmdTrova"));
    return lines;
}

// Students named "Verdi Allievo 01" and on, stored in an order of their own
// so that the list (sorted by name) differs from the file.
void writeNamedStudents(const TestFolder &folder, int count)
{
    QList<StudentRecord> records;
    for (int i = 0; i < count; ++i) {
        const int n = (i * 7) % count + 1; // 7 and the counts used share no factor
        StudentRecord record = cardRecord(n);
        record[StudentRecord::Studente] = QStringLiteral("Verdi Allievo %1").arg(n, 2, 10, QLatin1Char('0'));
        records.append(record);
    }
    writeCards(folder, records);
}

// The students' names in the order they appear in a text.
QStringList namesIn(const QString &text)
{
    QStringList names;
    QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral("Verdi Allievo \\d\\d")).globalMatch(text);
    while (it.hasNext())
        names.append(it.next().captured());
    return names;
}

struct ImageUse
{
    int page;
    QSize size;
};

// Every image drawn in a PDF, in drawing order.
QList<ImageUse> imageUses(const QString &pdf)
{
    QList<ImageUse> uses;
    const QStringList lines =
        runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QStringList fields = lines.at(i).simplified().split(QLatin1Char(' '));
        if (fields.size() > 4)
            uses.append({fields.at(0).toInt(), QSize(fields.at(3).toInt(), fields.at(4).toInt())});
    }
    return uses;
}

} // namespace

class TestCardBatchWindow : public QObject
{
    Q_OBJECT
private slots:
    void listedStudentsPrint_data();
    void listedStudentsPrint();
    void emptyListPrintsNothing();
    void photosAtTheCardsSizeOrTheSilhouette();
    void unreadableRecordPrintsNothing();
    void printerThatCannotStartIsReported();
    void printsThroughTheSystemPrinter_data();
    void printsThroughTheSystemPrinter();
    void marginsThatPushCardsOffThePaper_data();
    void marginsThatPushCardsOffThePaper();
    void choiceFromTheKeyboard_data();
    void choiceFromTheKeyboard();
};

void TestCardBatchWindow::listedStudentsPrint_data()
{
    QTest::addColumn<QString>("option"); // pressed in the dialog
    QTest::addColumn<bool>("confirm");   // Stampa (or Annulla)
    QTest::addColumn<int>("pages");      // -1: nothing printed

    QTest::newRow("card printer") << "optStampanteTessere" << true << 12;
    QTest::newRow("A4 sheet") << "optFoglioA4" << true << 2;
    QTest::newRow("cancelled") << "optFoglioA4" << false << -1;
}

void TestCardBatchWindow::listedStudentsPrint()
{
    QFETCH(QString, option);
    QFETCH(bool, confirm);
    QFETCH(int, pages);
    CardWindow w;
    writeArchiveOf(w.folder, 12);
    w.folder.platform.printToPdf = w.folder.path(QStringLiteral("tesserini.pdf"));
    w.show();

    bool hasButton = false;
    whenModalShown<TfrmImportaStudenti>([&](TfrmImportaStudenti *picker) {
        search(picker, QStringLiteral("Verdi"));
        hasButton = findControl<QPushButton>(picker, QStringLiteral("btnStampaTesserini"))->isVisible();
        whenModalShown<CardBatchDialog>([&](CardBatchDialog *ask) {
            press(ask, option);
            press(ask, confirm ? QStringLiteral("btnStampa") : QStringLiteral("btnAnnulla"));
        });
        press(picker, QStringLiteral("btnStampaTesserini"));
        press(picker, QStringLiteral("btnChiudi"));
    });
    w.click(QStringLiteral("cmdTrova"));

    QVERIFY(hasButton);
    QCOMPARE(w.messageCount(), 0);
    QCOMPARE(w.folder.platform.printDialogs, confirm ? 1 : 0);
    QCOMPARE(pdfPages(w.folder.platform.printToPdf), pages);
    if (pages > 0) {
        const QString text = pdfText(w.folder.platform.printToPdf);
        QCOMPARE(text.count(QStringLiteral("Fotografia 12")), 1);
        QCOMPARE(text.count(w.school().first()), 12);
    }
}

void TestCardBatchWindow::emptyListPrintsNothing()
{
    CardWindow w;
    writeArchiveOf(w.folder, 3);
    w.folder.platform.printToPdf = w.folder.path(QStringLiteral("tesserini.pdf"));
    w.show();
    whenModalShown<TfrmImportaStudenti>([&](TfrmImportaStudenti *picker) {
        search(picker, QStringLiteral("Nessuno"));
        press(picker, QStringLiteral("btnStampaTesserini"));
        press(picker, QStringLiteral("btnChiudi"));
    });
    w.click(QStringLiteral("cmdTrova"));
    QCOMPARE(w.messageCount(), 1);
    QCOMPARE(w.folder.platform.messages.first().kind, Platform::MessageKind::Information);
    QCOMPARE(w.folder.platform.messages.first().text,
             QStringLiteral("Nessuno studente in elenco: non ci sono tesserini da stampare."));
    QCOMPARE(w.folder.platform.printDialogs, 0);
    QVERIFY(!QFile::exists(w.folder.platform.printToPdf));
}

void TestCardBatchWindow::photosAtTheCardsSizeOrTheSilhouette()
{
    CardWindow w;
    writeArchiveOf(w.folder, 6);
    w.folder.platform.printToPdf = w.folder.path(QStringLiteral("tesserini.pdf"));
    // 1: a large landscape photo; 2: none; 3: not a picture; 4: cut short;
    // 5: a large portrait photo; 6: a small photo, never enlarged.
    w.folder.writeFile(photoFile(1), encoded(stripes(2400, 1800), "JPG"));
    w.folder.writeFile(photoFile(3), QByteArray("questa non è una fotografia"));
    const QByteArray whole = encoded(stripes(1200, 900), "JPG");
    w.folder.writeFile(photoFile(4), whole.left(whole.size() / 2));
    w.folder.writeFile(photoFile(5), encoded(stripes(1800, 2400), "JPG"));
    w.folder.writeFile(photoFile(6), encoded(stripes(120, 160), "JPG"));
    w.show();
    const QSize logo = w.logo().size();
    const QStringList lines = printListed(w, QStringLiteral("Verdi"), QStringLiteral("optFoglioA4"));
    QCOMPARE(lines.size(), 6);
    QCOMPARE(w.messageCount(), 0);
    QCOMPARE(pdfPages(w.folder.platform.printToPdf), 1);

    // The photo frame (26 x 28.8 mm) at 300 dpi is 308 x 341 pixels: each
    // photo is decoded at the smallest half, quarter or eighth of its size
    // still covering it (2400 x 1800: an eighth is 300 x 225, too small, so a
    // quarter); a student without a usable photo gets the card window's
    // silhouette.
    const QSize silhouette = blankPicture().size();
    QList<QSize> photos;
    for (const ImageUse &use : imageUses(w.folder.platform.printToPdf))
        if (use.size != logo)
            photos.append(use.size);
    QCOMPARE(photos, (QList<QSize>{QSize(600, 450), silhouette, silhouette, silhouette, QSize(450, 600),
                                   QSize(120, 160)}));
    QCOMPARE(pdfText(w.folder.platform.printToPdf).count(QStringLiteral("Verdi Giulia")), 6);
}

void TestCardBatchWindow::unreadableRecordPrintsNothing()
{
    CardWindow w;
    writeArchiveOf(w.folder, 12);
    w.folder.platform.printToPdf = w.folder.path(QStringLiteral("tesserini.pdf"));
    w.show();
    // Another workstation leaves the archive shorter than the list: the last
    // listed records can no longer be read.
    const QStringList lines = printListed(w, QStringLiteral("Verdi"), QStringLiteral("optFoglioA4"), [&] {
        const QByteArray archive = w.folder.readFile(QStringLiteral("Archivio_Studenti.pro"));
        w.folder.writeFile(QStringLiteral("Archivio_Studenti.pro"), archive.left(archive.size() / 2));
    });
    QCOMPARE(lines.size(), 12);
    QCOMPARE(w.messageCount(), 1);
    QCOMPARE(w.folder.platform.lastKind(), Platform::MessageKind::Notice);
    QCOMPARE(w.folder.platform.lastText(), ArchiveMessages::accessError());
    QCOMPARE(w.folder.platform.printDialogs, 0);
    QVERIFY(!QFile::exists(w.folder.platform.printToPdf));
}

void TestCardBatchWindow::printerThatCannotStartIsReported()
{
    CardWindow w;
    writeArchiveOf(w.folder, 3);
    // A printer that cannot start the job, as one switched off.
    w.folder.platform.printToPdf = w.folder.path(QStringLiteral("missing/folder/tesserini.pdf"));
    w.show();
    printListed(w, QStringLiteral("Verdi"), QStringLiteral("optStampanteTessere"));
    QCOMPARE(w.messageCount(), 1);
    QCOMPARE(w.folder.platform.lastKind(), Platform::MessageKind::Warning);
    QCOMPARE(w.folder.platform.lastText(),
             QStringLiteral("Attenzione: la stampa non è andata a buon fine.\n\r\n\r"
                            "Accertarsi che la stampante sia configurata correttamente."));
}

void TestCardBatchWindow::printsThroughTheSystemPrinter_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("pages");
    QTest::newRow("card printer") << "optStampanteTessere" << 23;
    QTest::newRow("A4 sheet") << "optFoglioA4" << 3;
}

void TestCardBatchWindow::printsThroughTheSystemPrinter()
{
    QFETCH(QString, option);
    QFETCH(int, pages);
    const QString skip = noPrintServer();
    if (!skip.isEmpty())
        QSKIP(qPrintable(skip));
    const QStringList before = spooledPdfs();

    CardWindow w;
    writeNamedStudents(w.folder, 23);
    w.folder.writeFile(QStringLiteral("Tesserini.ini"), "[Margini Stampa]\r\nSuperiore=4\r\nSinistro=-3\r\n");
    w.folder.platform.systemPrinters = true;
    w.show();
    const QStringList lines = printListed(w, QStringLiteral("Verdi Allievo"), option);
    QCOMPARE(lines.size(), 23);
    QCOMPARE(w.messageCount(), 0);
    QCOMPARE(w.folder.platform.printDialogs, 1);

    const QString pdf = waitForSpooledPdf(before, QStringLiteral("Tesserini"));
    QVERIFY2(!pdf.isEmpty(), "no PDF from the print queue");
    QCOMPARE(pdfPages(pdf), pages);
    // Every student once, in the order of the list.
    const QStringList names = namesIn(pdfText(pdf));
    QCOMPARE(names, namesIn(lines.join(QLatin1Char('\n'))));
    QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 23);

    // The cards stand where the layout and the stored margins put them.
    const bool sheet = option == QLatin1String("optFoglioA4");
    for (int page : {1, pages}) {
        const QImage image = pdfPage(pdf, page);
        QVERIFY2(pageIs(image, QSize(2100, 2970)), qPrintable(describe(image.size())));
        const int cards = sheet ? (page < pages ? 10 : 23 - 20) : 1;
        for (int i = 0; i < cards; ++i) {
            const QRectF expected = sheet ? CardBatch::sheetSlotMm(i) : QRectF(7, 14, 86, 54);
            const QRectF found = cardEdgesMm(image, expected);
            QVERIFY2(within(found, expected, 0.5),
                     qPrintable(QStringLiteral("page %1, card %2: %3 instead of %4")
                                    .arg(page).arg(i + 1).arg(describe(found), describe(expected))));
        }
    }
}

// The stored margins calibrate the card printer: on the card printer a card
// they push partly off the paper prints only if the operator says so, one
// wholly off never does (blank pages); the A4 sheet is always centred.
void TestCardBatchWindow::marginsThatPushCardsOffThePaper_data()
{
    QTest::addColumn<QByteArray>("margins");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QList<bool>>("answers"); // to the question, when asked
    QTest::addColumn<int>("kind");            // of the message shown, -1 none
    QTest::addColumn<int>("pages");           // printed, -1 none

    const QString printer = QStringLiteral("optStampanteTessere"), sheet = QStringLiteral("optFoglioA4");
    const int question = int(Platform::MessageKind::Confirmation), warning = int(Platform::MessageKind::Warning);
    QTest::newRow("card printer, on the paper") << QByteArray("Superiore=4\r\nSinistro=-3\r\n") << printer
                                                << QList<bool>() << -1 << 3;
    QTest::newRow("card printer, partly above: no") << QByteArray("Superiore=-20\r\nSinistro=0\r\n") << printer
                                                    << QList<bool>{false} << question << -1;
    QTest::newRow("card printer, partly right: yes") << QByteArray("Superiore=0\r\nSinistro=150\r\n") << printer
                                                     << QList<bool>{true} << question << 3;
    QTest::newRow("card printer, wholly below") << QByteArray("Superiore=400\r\nSinistro=0\r\n") << printer
                                                << QList<bool>() << warning << -1;
    QTest::newRow("card printer, wholly left") << QByteArray("Superiore=0\r\nSinistro=-120\r\n") << printer
                                               << QList<bool>() << warning << -1;
    QTest::newRow("sheet, top margin that cut the bottom row") << QByteArray("Superiore=20\r\nSinistro=0\r\n")
                                                               << sheet << QList<bool>() << -1 << 1;
    QTest::newRow("sheet, margins wholly off a card printer")
        << QByteArray("Superiore=-400\r\nSinistro=300\r\n") << sheet << QList<bool>() << -1 << 1;
}

void TestCardBatchWindow::marginsThatPushCardsOffThePaper()
{
    QFETCH(QByteArray, margins);
    QFETCH(QString, option);
    QFETCH(QList<bool>, answers);
    QFETCH(int, kind);
    QFETCH(int, pages);
    CardWindow w;
    writeNamedStudents(w.folder, 3);
    const QByteArray stored = "[Margini Stampa]\r\n" + margins;
    w.folder.writeFile(QStringLiteral("Tesserini.ini"), stored);
    w.folder.platform.printToPdf = w.folder.path(QStringLiteral("tesserini.pdf"));
    for (bool answer : answers)
        w.folder.platform.confirmAnswers.enqueue(answer);
    w.show();
    printListed(w, QStringLiteral("Verdi Allievo"), option);

    QCOMPARE(w.messageCount(), kind < 0 ? 0 : 1);
    if (kind >= 0)
        QCOMPARE(int(w.folder.platform.messages.first().kind), kind);
    QCOMPARE(pdfPages(w.folder.platform.printToPdf), pages);
    QCOMPARE(w.folder.platform.printDialogs, pages < 0 ? 0 : 1);
    QCOMPARE(w.folder.readFile(QStringLiteral("Tesserini.ini")), stored); // the calibration stays

    // On the sheet every card stands whole in its centred slot.
    if (option == QLatin1String("optFoglioA4")) {
        const QImage image = pdfPage(w.folder.platform.printToPdf);
        QVERIFY2(pageIs(image, QSize(2100, 2970)), qPrintable(describe(image.size())));
        for (int i = 0; i < 3; ++i) {
            const QRectF expected = CardBatch::sheetSlotMm(i);
            const QRectF found = cardEdgesMm(image, expected);
            QVERIFY2(within(found, expected, 0.5),
                     qPrintable(QStringLiteral("card %1: %2 instead of %3").arg(i + 1).arg(describe(found),
                                                                                         describe(expected))));
        }
    }
}

// Enter prints the way chosen; the arrows change it; Enter on a focused
// Annulla prints nothing.
void TestCardBatchWindow::choiceFromTheKeyboard_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<bool>("printed");
    QTest::addColumn<bool>("sheet");
    QTest::newRow("Enter at once") << QList<int>{Qt::Key_Return} << true << false;
    QTest::newRow("down to the sheet, Enter") << QList<int>{Qt::Key_Down, Qt::Key_Return} << true << true;
    QTest::newRow("keypad Enter") << QList<int>{Qt::Key_Enter} << true << false;
    QTest::newRow("Tab to Annulla, Enter") << QList<int>{Qt::Key_Tab, Qt::Key_Return} << false << false;
}

void TestCardBatchWindow::choiceFromTheKeyboard()
{
    QFETCH(QList<int>, keys);
    QFETCH(bool, printed);
    QFETCH(bool, sheet);
    CardBatchDialog ask(4);
    int result = -1;
    QTimer::singleShot(0, &ask, [&] {
        if (!QTest::qWaitForWindowActive(&ask))
            return ask.done(-2);
        for (int key : keys)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        if (ask.isVisible())
            ask.done(-3);
    });
    result = ask.exec();
    QCOMPARE(result, printed ? int(QDialog::Accepted) : int(QDialog::Rejected));
    if (printed)
        QCOMPARE(ask.mode(), sheet ? CardBatch::Mode::A4Sheet : CardBatch::Mode::CardPrinter);
}

QTEST_MAIN(TestCardBatchWindow)
#include "test_cardbatchwindow.moc"
