#include "report/listreport.h"
#include "printing/reportoutput.h"
#include "report/studentsheet.h"
#include "printing/tfrmstampastudenti.h"

#include "base/qtplatform.h"
#include "base/widgets.h"
#include "testutil.h"

#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QtTest>

// A machine without printers: the fake offers none, and the system's print
// service is pointed at a server that does not exist before anything asks it
// for printers.
class TestNoPrinter : public QObject
{
    Q_OBJECT
private slots:
    void systemWithoutPrintersOffersNone();
    void listPrintSaysSoAndPrintsNothing();
    void sheetPrintGivesOnlyTheNotice();
};

void TestNoPrinter::systemWithoutPrintersOffersNone()
{
    QtPlatform platform;
    QVERIFY(!platform.openDefaultPrinter());
}

void TestNoPrinter::listPrintSaysSoAndPrintsNothing()
{
    TestFolder folder;
    folder.platform.noPrinters = true;
    folder.platform.printToPdf = folder.path(QStringLiteral("out.pdf"));
    auto report = ListReport::create();
    ListReport::fill(*report, QStringLiteral("T"), {QStringLiteral("riga")});
    ReportOutput::prepareReport(*report, folder.platform);
    QCOMPARE(ReportOutput::print(*report, folder.platform, nullptr), ReportOutput::PrintResult::NoPrinter);
    QCOMPARE(folder.platform.printDialogs, 0);
    QCOMPARE(folder.platform.messages.size(), 1);
    QCOMPARE(folder.platform.lastKind(), Platform::MessageKind::Notice);
    QCOMPARE(folder.platform.lastText(), QStringLiteral("Nessuna stampante installata."));
    QVERIFY(!QFile::exists(folder.platform.printToPdf));
}

void TestNoPrinter::sheetPrintGivesOnlyTheNotice()
{
    TestFolder folder;
    folder.platform.noPrinters = true;
    QWidget student;
    for (const QString &name : StudentSheet::fieldNames())
        (new QLineEdit(&student))->setObjectName(name);
    new PictureBox(QStringLiteral("imgFoto"), QRect(0, 0, 10, 10), &student);
    TfrmStampaStudenti dialog(folder.context, &student);
    whenModalShown<TfrmStampaStudenti>([](TfrmStampaStudenti *shown) {
        QTest::mouseClick(shown->findChild<QPushButton *>(QStringLiteral("btnStampa")), Qt::LeftButton);
    });
    dialog.exec();
    QVERIFY(!dialog.isVisible());
    // The engine's notice, and no failure warning after it.
    QCOMPARE(folder.platform.messages.size(), 1);
    QCOMPARE(folder.platform.lastKind(), Platform::MessageKind::Notice);
}

int main(int argc, char **argv)
{
    qputenv("CUPS_SERVER", "127.0.0.1:9");
    QApplication app(argc, argv);
    TestNoPrinter test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_noprinter.moc"
