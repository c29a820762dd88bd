// "Stampa tesserini" in the import picker opened from the ID card window.
#include "cardfixture.h"
#include "cardprintfixture.h"

#include "search/cardbatchdialog.h"
#include "search/tfrmimportastudenti.h"

#include <QLineEdit>
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

} // namespace

class TestCardBatchWindow : public QObject
{
    Q_OBJECT
private slots:
    void listedStudentsPrint_data();
    void listedStudentsPrint();
    void emptyListPrintsNothing();
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

QTEST_MAIN(TestCardBatchWindow)
#include "test_cardbatchwindow.moc"
