#include "card/tfrmstampatessera.h"

#include "cardfixture.h"
#include "testutil.h"

#include <QPrinterInfo>
#include <QPushButton>
#include <QtTest>

// A machine without printers: the print system is pointed at a server that
// does not exist before anything asks it for printers.
class TestCardNoPrinter : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void noticeOnlyAndTheSettingsAreSaved();
};

void TestCardNoPrinter::initTestCase()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("printers are visible in spite of the unreachable print server");
}

void TestCardNoPrinter::noticeOnlyAndTheSettingsAreSaved()
{
    TestFolder folder;
    folder.platform.printToPdf = folder.path(QStringLiteral("tesserino.pdf"));
    CardShown card;
    TfrmStampaTessera dialog(folder.context, nullptr, &card);
    whenModalShown<TfrmStampaTessera>([](TfrmStampaTessera *shown) {
        QTest::mouseClick(findControl<QPushButton>(shown, QStringLiteral("btnTopMinus")), Qt::LeftButton);
        QTest::mouseClick(findControl<QPushButton>(shown, QStringLiteral("btnStampa")), Qt::LeftButton);
    });
    dialog.exec();
    QVERIFY(!dialog.isVisible());
    // The engine's notice, and no failure warning after it.
    QCOMPARE(folder.platform.messages.size(), 1);
    QCOMPARE(folder.platform.lastKind(), Platform::MessageKind::Notice);
    QCOMPARE(folder.platform.printDialogs, 0);
    QVERIFY(!QFile::exists(folder.platform.printToPdf));
    QCOMPARE(folder.readFile(QStringLiteral("Tesserini.ini")),
             QByteArray("[Margini Stampa]\r\nSuperiore=-1\r\nSinistro=0\r\n\r\n"
                        "[Stampa Tesserino]\r\nOrientamento=Verticale\r\n"));
}

int main(int argc, char **argv)
{
    qputenv("CUPS_SERVER", "127.0.0.1:9");
    QApplication app(argc, argv);
    TestCardNoPrinter test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_cardnoprinter.moc"
