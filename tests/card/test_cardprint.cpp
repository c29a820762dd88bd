#include "card/tfrmstampatessera.h"

#include "base/widgets.h"
#include "cardprintfixture.h"
#include "lockedfile.h"
#include "testutil.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <functional>

namespace {

const QString Settings = QStringLiteral("Tesserini.ini");

const QString Failure = QStringLiteral("Attenzione: la stampa non è andata a buon fine.\n\r\n\r"
                                       "Accertarsi che la stampante sia configurata correttamente.");

void click(QWidget *window, const QString &name)
{
    QTest::mouseClick(findControl<QAbstractButton>(window, name), Qt::LeftButton);
}

QString textOf(QWidget *window, const QString &name)
{
    return findControl<QLineEdit>(window, name)->text();
}

// Opens the print window modally over nothing, lets `operate` act on it as the
// operator would while it is shown, and returns when it has closed (or, when
// it stays open, once `operate` has closed it).
void openAndOperate(TfrmStampaTessera &dialog, const std::function<void(TfrmStampaTessera *)> &operate)
{
    whenModalShown<TfrmStampaTessera>([operate](TfrmStampaTessera *shown) {
        operate(shown);
        if (shown->isVisible())
            click(shown, QStringLiteral("btnAnnulla"));
    });
    dialog.exec();
}

void pressStampa(TfrmStampaTessera &dialog, const std::function<void(TfrmStampaTessera *)> &before = {})
{
    openAndOperate(dialog, [before](TfrmStampaTessera *shown) {
        if (before)
            before(shown);
        click(shown, QStringLiteral("btnStampa"));
    });
}

} // namespace

class TestCardPrint : public QObject
{
    Q_OBJECT
private slots:
    void windowLayout_data();
    void windowLayout();
    void freshInstallationPrintsAtTheTemplatePlace();
    void printedCardStandsWhereTheMarginsPutIt_data();
    void printedCardStandsWhereTheMarginsPutIt();
    void annullaLeavesTheFileByteForByte();
    void cancelledPrintDialogStillSavesAndCloses();
    void unwritableSettingsFailEveryPrint();
    void marginThatIsNotANumberFailsThePrint_data();
    void marginThatIsNotANumberFailsThePrint();
    void printerFailureIsReported();
    void stepButtonsOnHandEditedValues_data();
    void stepButtonsOnHandEditedValues();
    void cardOffThePaperIsNotPrinted_data();
    void cardOffThePaperIsNotPrinted();
    void waitingNoticeShowsOnMouseDown();
    void noPrinterGivesOnlyTheNoticeAndSaves();
    void printsThroughTheSystemPrinterAtTheStoredPlace();
};

void TestCardPrint::windowLayout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry"); // in panContainer, null size: only the position
    QTest::addColumn<QString>("text");
    QTest::newRow("instructions") << "imgMargini" << QRect(8, 8, 449, 161) << QString();
    QTest::newRow("orientation panel") << "panOrientamento" << QRect(8, 176, 449, 82) << QString();
    QTest::newRow("orientation title") << "lblTitOrientamento" << QRect(22, 187, 0, 0) << "Orientamento:";
    QTest::newRow("portrait") << "optVerticale" << QRect(70, 216, 107, 25) << "Verticale";
    QTest::newRow("landscape") << "optOrizzontale" << QRect(266, 216, 118, 25) << "Orizzontale";
    QTest::newRow("margins ground") << "bkgSfondoMargini" << QRect(8, 264, 449, 97) << QString();
    QTest::newRow("top title") << "lblTitTop" << QRect(18, 276, 0, 0) << "Margine superiore:";
    QTest::newRow("top panel") << "panTop" << QRect(18, 296, 186, 41) << QString();
    QTest::newRow("top minus") << "btnTopMinus" << QRect(26, 304, 30, 25) << "-";
    QTest::newRow("top value") << "txtTop" << QRect(62, 304, 57, 25) << "0";
    QTest::newRow("top plus") << "btnTopPlus" << QRect(125, 304, 30, 25) << "+";
    QTest::newRow("top unit") << "lblTop" << QRect(164, 308, 0, 0) << "mm";
    QTest::newRow("left title") << "lblTitLeft" << QRect(262, 276, 0, 0) << "Margine sinistro:";
    QTest::newRow("left panel") << "panLeft" << QRect(262, 296, 186, 41) << QString();
    QTest::newRow("left minus") << "btnLeftMinus" << QRect(270, 304, 30, 25) << "-";
    QTest::newRow("left value") << "txtLeft" << QRect(306, 304, 57, 25) << "0";
    QTest::newRow("left plus") << "btnLeftPlus" << QRect(369, 304, 30, 25) << "+";
    QTest::newRow("left unit") << "lblLeft" << QRect(408, 308, 0, 0) << "mm";
    QTest::newRow("waiting") << "lblAttendere" << QRect(18, 340, 0, 0) << "Elaborazione in corso. Attendere...";
    QTest::newRow("bar") << "bkgStampa" << QRect(8, 368, 449, 12) << QString();
    QTest::newRow("cancel") << "btnAnnulla" << QRect(8, 392, 130, 30) << "Annulla";
    QTest::newRow("print") << "btnStampa" << QRect(328, 392, 130, 30) << "Stampa";
    QTest::newRow("save top") << "btnApplicaTop" << QRect(154, 392, 30, 30) << QString();
    QTest::newRow("save left") << "btnApplicaLeft" << QRect(198, 392, 30, 30) << QString();
}

void TestCardPrint::windowLayout()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    TestFolder folder;
    TfrmStampaTessera dialog(folder.context);
    QCOMPARE(dialog.windowTitle(), QStringLiteral(" Stampa tesserino"));
    QCOMPARE(dialog.size(), QSize(498, 462));
    auto *container = findControl<QWidget>(&dialog, QStringLiteral("panContainer"));
    QCOMPARE(container->size(), QSize(466, 430));
    QVERIFY(findControl<Report>(&dialog, QStringLiteral("repTesserino")));

    auto *control = findControl<QWidget>(&dialog, name);
    QCOMPARE(control->mapTo(container, QPoint(0, 0)), geometry.topLeft());
    // A radio button grows to its caption at its font's size, never shrinks.
    if (qobject_cast<QRadioButton *>(control)) {
        QCOMPARE(control->height(), geometry.height());
        QCOMPARE(control->width(), std::max(geometry.width(), control->sizeHint().width()));
    } else if (!geometry.size().isNull()) {
        QCOMPARE(control->size(), geometry.size());
    }
    if (auto *label = qobject_cast<QLabel *>(control))
        QCOMPARE(label->text(), text);
    if (auto *button = qobject_cast<QAbstractButton *>(control)) {
        QCOMPARE(button->text(), text);
        QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
    }
    if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        QCOMPARE(edit->text(), text);
        QVERIFY(edit->isReadOnly());
        QCOMPARE(edit->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    }
    const bool hidden = name == QLatin1String("lblAttendere") || name.startsWith(QLatin1String("btnApplica"));
    QCOMPARE(control->isHidden(), hidden);
    if (name == QLatin1String("optVerticale"))
        QVERIFY(qobject_cast<QRadioButton *>(control)->isChecked());
    if (name == QLatin1String("btnAnnulla"))
        QCOMPARE(control->nextInFocusChain(), findControl<QWidget>(&dialog, QStringLiteral("btnStampa")));
}

void TestCardPrint::freshInstallationPrintsAtTheTemplatePlace()
{
    TestFolder folder;
    folder.platform.printToPdf = folder.path(QStringLiteral("tesserino.pdf"));
    CardShown card;
    TfrmStampaTessera dialog(folder.context, nullptr, &card);
    QString shownTop, shownLeft;
    bool shownPortrait = false;
    pressStampa(dialog, [&](TfrmStampaTessera *shown) {
        shownTop = textOf(shown, QStringLiteral("txtTop"));
        shownLeft = textOf(shown, QStringLiteral("txtLeft"));
        shownPortrait = findControl<QRadioButton>(shown, QStringLiteral("optVerticale"))->isChecked();
        QVERIFY(!QFile::exists(folder.path(Settings))); // showing writes nothing
        // The card as it is when the operator presses Stampa.
        card.card.tesserato = QStringLiteral("Bianchi [Jr.] Giulia Maria");
    });
    QCOMPARE(shownTop, QStringLiteral("0"));
    QCOMPARE(shownLeft, QStringLiteral("0"));
    QVERIFY(shownPortrait);
    QVERIFY(!dialog.isVisible());
    QVERIFY(folder.platform.messages.isEmpty());
    QCOMPARE(folder.platform.printDialogs, 1);
    QCOMPARE(folder.readFile(Settings), QByteArray("[Margini Stampa]\r\nSuperiore=0\r\nSinistro=0\r\n\r\n"
                                                   "[Stampa Tesserino]\r\nOrientamento=Verticale\r\n"));

    const QString pdf = folder.platform.printToPdf;
    const QString info = runTool(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("(A4)")), qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("Tesserino")), qPrintable(info));
    const QString text = pdfText(pdf);
    for (const char *expected :
         {"Istituto Tecnico Galileo Galilei", "Via dei Mille 24, 10123 Torino", "Anno formativo 2026/2027",
          "Bianchi [Jr.] Giulia Maria", "Grafica e comunicazione", "Classe 4B", "Data rilascio:", "Data scadenza:",
          "15/09/2026", "10/06/2027"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    QVERIFY(!text.contains(QStringLiteral("Data inizio:")));
    QVERIFY(!text.contains(QStringLiteral("Cognome e nome Socio")));

    const QImage page = pdfPage(pdf);
    QVERIFY2(pageIs(page, QSize(2100, 2970)), qPrintable(describe(page.size())));
    const QPointF corner = cardCornerMm(page);
    QVERIFY2(std::abs(corner.y() - 10) <= 0.5 && std::abs(corner.x() - 10) <= 0.5,
             qPrintable(QStringLiteral("card at %1, %2 mm").arg(corner.x()).arg(corner.y())));
}

void TestCardPrint::printedCardStandsWhereTheMarginsPutIt_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QByteArray>("written"); // lines expected in the file afterwards
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<QPointF>("cardMm");     // left, top from the paper's corner
    QTest::newRow("three down from 1")
        << QByteArray("[Margini Stampa]\r\nSuperiore=1\r\nSinistro=0\r\n")
        << QStringList{"btnTopMinus", "btnTopMinus", "btnTopMinus"}
        << QByteArray("Superiore=-2\r\nSinistro=0\r\n") << false << QPointF(10, 8);
    QTest::newRow("positive, portrait")
        << QByteArray("[Margini Stampa]\r\nSuperiore=7\r\nSinistro=11\r\n") << QStringList{"btnLeftPlus"}
        << QByteArray("Superiore=7\r\nSinistro=12\r\n") << false << QPointF(22, 17);
    QTest::newRow("negative, landscape stored")
        << QByteArray("[Margini Stampa]\r\nSuperiore=-4\r\nSinistro=-6\r\n[Stampa Tesserino]\r\n"
                      "Orientamento=Orizzontale\r\n")
        << QStringList() << QByteArray("Orientamento=Orizzontale\r\n") << true << QPointF(4, 6);
    QTest::newRow("positive, landscape chosen")
        << QByteArray("[Margini Stampa]\r\nSuperiore=3\r\nSinistro=5\r\n")
        << QStringList{"optOrizzontale", "btnTopPlus", "btnTopPlus"}
        << QByteArray("Superiore=5\r\nSinistro=5\r\n\r\n[Stampa Tesserino]\r\nOrientamento=Orizzontale\r\n")
        << true << QPointF(15, 15);
    QTest::newRow("negative, back to portrait")
        << QByteArray("[Margini Stampa]\r\nSuperiore=-3\r\nSinistro=-7\r\n[Stampa Tesserino]\r\n"
                      "Orientamento=Orizzontale\r\n")
        << QStringList{"optVerticale"} << QByteArray("Orientamento=Verticale\r\n") << false << QPointF(3, 7);
    QTest::newRow("decimal comma by hand")
        << QByteArray("[Margini Stampa]\r\nSuperiore=2,5\r\nSinistro=0\r\n") << QStringList()
        << QByteArray("Superiore=2,5\r\n") << false << QPointF(10, 12.5);
}

void TestCardPrint::printedCardStandsWhereTheMarginsPutIt()
{
    QFETCH(QByteArray, stored);
    QFETCH(QStringList, clicks);
    QFETCH(QByteArray, written);
    QFETCH(bool, landscape);
    QFETCH(QPointF, cardMm);
    TestFolder folder;
    folder.writeFile(Settings, stored);
    folder.platform.printToPdf = folder.path(QStringLiteral("tesserino.pdf"));
    CardShown card;
    TfrmStampaTessera dialog(folder.context, nullptr, &card);
    pressStampa(dialog, [&](TfrmStampaTessera *shown) {
        for (const QString &name : clicks)
            click(shown, name);
    });
    QVERIFY(folder.platform.messages.isEmpty());
    QVERIFY2(folder.readFile(Settings).contains(written), folder.readFile(Settings).constData());

    const QImage page = pdfPage(folder.platform.printToPdf);
    QVERIFY2(pageIs(page, landscape ? QSize(2970, 2100) : QSize(2100, 2970)), qPrintable(describe(page.size())));
    const QPointF corner = cardCornerMm(page);
    QVERIFY2(std::abs(corner.x() - cardMm.x()) <= 0.5 && std::abs(corner.y() - cardMm.y()) <= 0.5,
             qPrintable(QStringLiteral("card at %1, %2 mm").arg(corner.x()).arg(corner.y())));
    QVERIFY(pdfText(folder.platform.printToPdf).contains(QStringLiteral("Bianchi [Jr.] Giulia")));

    // The next opening shows what was stored.
    TfrmStampaTessera again(folder.context, nullptr, &card);
    bool shownLandscape = false;
    openAndOperate(again, [&](TfrmStampaTessera *shown) {
        shownLandscape = findControl<QRadioButton>(shown, QStringLiteral("optOrizzontale"))->isChecked();
        QCOMPARE(findControl<QRadioButton>(shown, QStringLiteral("optVerticale"))->isChecked(), !shownLandscape);
    });
    QCOMPARE(shownLandscape, landscape);
}

void TestCardPrint::annullaLeavesTheFileByteForByte()
{
    TestFolder folder;
    const QByteArray stored("; tarato sulla stampante di segreteria\r\n[Margini Stampa]\r\nSuperiore = 5 \r\n"
                            "Sinistro=-1\r\n[Stampa Tesserino]\r\nOrientamento=Verticale\r\n");
    folder.writeFile(Settings, stored);
    TfrmStampaTessera dialog(folder.context);
    QString top, left;
    openAndOperate(dialog, [&](TfrmStampaTessera *shown) {
        top = textOf(shown, QStringLiteral("txtTop"));
        left = textOf(shown, QStringLiteral("txtLeft"));
        for (const char *name : {"btnTopPlus", "btnTopPlus", "btnLeftMinus", "optOrizzontale"})
            click(shown, QString::fromLatin1(name));
        QCOMPARE(textOf(shown, QStringLiteral("txtTop")), QStringLiteral("7"));
        QCOMPARE(textOf(shown, QStringLiteral("txtLeft")), QStringLiteral("-2"));
        click(shown, QStringLiteral("btnAnnulla"));
    });
    QCOMPARE(top, QStringLiteral("5"));
    QCOMPARE(left, QStringLiteral("-1"));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(folder.readFile(Settings), stored);
    QCOMPARE(folder.platform.printDialogs, 0);
    QVERIFY(folder.platform.messages.isEmpty());

    TfrmStampaTessera again(folder.context);
    openAndOperate(again, [&](TfrmStampaTessera *shown) {
        top = textOf(shown, QStringLiteral("txtTop"));
        QVERIFY(findControl<QRadioButton>(shown, QStringLiteral("optVerticale"))->isChecked());
    });
    QCOMPARE(top, QStringLiteral("5"));
}

void TestCardPrint::cancelledPrintDialogStillSavesAndCloses()
{
    TestFolder folder;
    folder.platform.printAccept = false;
    folder.platform.printToPdf = folder.path(QStringLiteral("tesserino.pdf"));
    CardShown card;
    TfrmStampaTessera dialog(folder.context, nullptr, &card);
    pressStampa(dialog, [](TfrmStampaTessera *shown) {
        click(shown, QStringLiteral("optOrizzontale"));
        click(shown, QStringLiteral("btnLeftPlus"));
    });
    QVERIFY(!dialog.isVisible());
    QCOMPARE(folder.platform.printDialogs, 1);
    QVERIFY(folder.platform.messages.isEmpty());
    QVERIFY(!QFile::exists(folder.platform.printToPdf));
    QCOMPARE(folder.readFile(Settings), QByteArray("[Margini Stampa]\r\nSuperiore=0\r\nSinistro=1\r\n\r\n"
                                                   "[Stampa Tesserino]\r\nOrientamento=Orizzontale\r\n"));
    QVERIFY(findControl<QLabel>(&dialog, QStringLiteral("lblAttendere"))->isHidden());
}

void TestCardPrint::unwritableSettingsFailEveryPrint()
{
    TestFolder folder;
    const QByteArray stored("[Margini Stampa]\r\nSuperiore=1\r\nSinistro=1\r\n");
    folder.writeFile(Settings, stored);
    folder.platform.printToPdf = folder.path(QStringLiteral("tesserino.pdf"));
    LockedFile lockFile(folder.path(Settings));
    LockedFile lockFolder(folder.dir.path());
    if (!lockFile.ok() || !lockFolder.ok())
        QSKIP("this file system lets the file be changed all the same");
    CardShown card;
    for (int attempt = 0; attempt < 2; ++attempt) {
        TfrmStampaTessera dialog(folder.context, nullptr, &card);
        pressStampa(dialog, [](TfrmStampaTessera *shown) { click(shown, QStringLiteral("btnTopPlus")); });
        QVERIFY(!dialog.isVisible());
        QCOMPARE(folder.platform.messages.size(), attempt + 1);
        QCOMPARE(folder.platform.lastKind(), Platform::MessageKind::Warning);
        QCOMPARE(folder.platform.lastText(), Failure);
    }
    QCOMPARE(folder.platform.printDialogs, 0);
    QCOMPARE(card.asked, 0);
    QVERIFY(!QFile::exists(folder.platform.printToPdf));
    QCOMPARE(folder.readFile(Settings), stored);
}

void TestCardPrint::marginThatIsNotANumberFailsThePrint_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("letters on top") << QByteArray("[Margini Stampa]\r\nSuperiore=abc\r\n")
                                    << QByteArray("Superiore=abc\r\nSinistro=0\r\n");
    QTest::newRow("decimal point on the left") << QByteArray("[Margini Stampa]\r\nSinistro=2.5\r\n")
                                               << QByteArray("Sinistro=2.5\r\nSuperiore=0\r\n");
}

void TestCardPrint::marginThatIsNotANumberFailsThePrint()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, written);
    TestFolder folder;
    folder.writeFile(Settings, stored);
    folder.platform.printToPdf = folder.path(QStringLiteral("tesserino.pdf"));
    CardShown card;
    TfrmStampaTessera dialog(folder.context, nullptr, &card);
    pressStampa(dialog);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(folder.platform.messages.size(), 1);
    QCOMPARE(folder.platform.lastKind(), Platform::MessageKind::Warning);
    QCOMPARE(folder.platform.lastText(), Failure);
    QCOMPARE(folder.platform.printDialogs, 0);
    QVERIFY(!QFile::exists(folder.platform.printToPdf));
    // The settings were saved before the margins were read.
    QVERIFY2(folder.readFile(Settings).contains(written), folder.readFile(Settings).constData());
}

void TestCardPrint::printerFailureIsReported()
{
    TestFolder folder;
    folder.platform.printToPdf = folder.path(QStringLiteral("missing/folder/tesserino.pdf"));
    CardShown card;
    TfrmStampaTessera dialog(folder.context, nullptr, &card);
    pressStampa(dialog);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(folder.platform.messages.size(), 1);
    QCOMPARE(folder.platform.lastText(), Failure);
    QVERIFY(QFile::exists(folder.path(Settings)));
}

void TestCardPrint::stepButtonsOnHandEditedValues_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("message"); // empty: none
    QTest::newRow("fraction keeps its decimals") << "2,5" << "btnTopMinus" << "1,5" << QString();
    QTest::newRow("fraction up") << "2,5" << "btnTopPlus" << "3,5" << QString();
    QTest::newRow("large") << "99999" << "btnTopMinus" << "99998" << QString();
    QTest::newRow("letters")
        << "abc" << "btnTopPlus" << "0"
        << "Attenzione: il margine superiore contiene \"abc\", che non è un numero di millimetri utilizzabile."
           "\n\r\n\rIl valore viene riportato a 0.";
    QTest::newRow("decimal point")
        << "2.5" << "btnTopMinus" << "0"
        << "Attenzione: il margine superiore contiene \"2.5\", che non è un numero di millimetri utilizzabile."
           "\n\r\n\rIl valore viene riportato a 0.";
    QTest::newRow("too long")
        << "123456789012345678901234" << "btnTopPlus" << "0"
        << "Attenzione: il margine superiore contiene \"123456789012345678901234\", che non è un numero di "
           "millimetri utilizzabile.\n\r\n\rIl valore viene riportato a 0.";
}

void TestCardPrint::stepButtonsOnHandEditedValues()
{
    QFETCH(QString, stored);
    QFETCH(QString, button);
    QFETCH(QString, shown);
    QFETCH(QString, message);
    for (const bool left : {false, true}) {
        TestFolder folder;
        const QByteArray line = (left ? "Sinistro=" : "Superiore=") + stored.toLatin1();
        folder.writeFile(Settings, "[Margini Stampa]\r\n" + line + "\r\n");
        TfrmStampaTessera dialog(folder.context);
        const QString which = left ? QStringLiteral("Left") : QStringLiteral("Top");
        QString before, after;
        openAndOperate(dialog, [&](TfrmStampaTessera *window) {
            before = textOf(window, QStringLiteral("txt") + which);
            click(window, QString(button).replace(QLatin1String("Top"), which));
            after = textOf(window, QStringLiteral("txt") + which);
        });
        QCOMPARE(before, stored);
        QCOMPARE(after, shown);
        if (message.isEmpty()) {
            QVERIFY(folder.platform.messages.isEmpty());
        } else {
            QCOMPARE(folder.platform.messages.size(), 1);
            QCOMPARE(folder.platform.lastKind(), Platform::MessageKind::Warning);
            QCOMPARE(folder.platform.lastText(),
                     left ? QString(message).replace(QLatin1String("superiore"), QLatin1String("sinistro")) : message);
        }
    }
}

void TestCardPrint::cardOffThePaperIsNotPrinted_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("reset");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("topAfter");
    QTest::addColumn<QString>("leftAfter");
    const QString head = QStringLiteral("Attenzione: con i margini impostati il tesserino cadrebbe interamente fuori "
                                        "dal foglio e la stampa risulterebbe vuota.\n\r\n\r");
    QTest::newRow("top, kept") << QByteArray("[Margini Stampa]\r\nSuperiore=99999\r\nSinistro=4\r\n") << false
                               << head + "Riportare a 0 il margine superiore?" << "99999" << "4";
    QTest::newRow("top, reset") << QByteArray("[Margini Stampa]\r\nSuperiore=99999\r\nSinistro=4\r\n") << true
                                << head + "Riportare a 0 il margine superiore?" << "0" << "4";
    QTest::newRow("left, landscape")
        << QByteArray("[Margini Stampa]\r\nSuperiore=3\r\nSinistro=-96\r\n[Stampa Tesserino]\r\n"
                      "Orientamento=Orizzontale\r\n")
        << true << head + "Riportare a 0 il margine sinistro?" << "3" << "0";
    QTest::newRow("both") << QByteArray("[Margini Stampa]\r\nSuperiore=-64\r\nSinistro=200\r\n") << true
                          << head + "Riportare a 0 i margini superiore e sinistro?" << "0" << "0";
}

void TestCardPrint::cardOffThePaperIsNotPrinted()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, reset);
    QFETCH(QString, question);
    QFETCH(QString, topAfter);
    QFETCH(QString, leftAfter);
    TestFolder folder;
    folder.writeFile(Settings, stored);
    folder.platform.printToPdf = folder.path(QStringLiteral("tesserino.pdf"));
    folder.platform.confirmAnswers.enqueue(reset);
    CardShown card;
    TfrmStampaTessera dialog(folder.context, nullptr, &card);
    bool stillOpen = false;
    QString top, left;
    openAndOperate(dialog, [&](TfrmStampaTessera *shown) {
        click(shown, QStringLiteral("btnStampa"));
        stillOpen = shown->isVisible();
        top = textOf(shown, QStringLiteral("txtTop"));
        left = textOf(shown, QStringLiteral("txtLeft"));
        QVERIFY(findControl<QLabel>(shown, QStringLiteral("lblAttendere"))->isHidden());
    });
    QVERIFY(stillOpen);
    QCOMPARE(folder.platform.messages.size(), 1);
    QCOMPARE(folder.platform.lastKind(), Platform::MessageKind::Confirmation);
    QCOMPARE(folder.platform.lastText(), question);
    QCOMPARE(top, topAfter);
    QCOMPARE(left, leftAfter);
    QCOMPARE(folder.platform.printDialogs, 0);
    QCOMPARE(folder.readFile(Settings), stored);
}

void TestCardPrint::waitingNoticeShowsOnMouseDown()
{
    TestFolder folder;
    folder.platform.printAccept = false;
    TfrmStampaTessera dialog(folder.context);
    QVERIFY(showActive(dialog));
    auto *notice = findControl<QLabel>(&dialog, QStringLiteral("lblAttendere"));
    auto *stampa = findControl<QPushButton>(&dialog, QStringLiteral("btnStampa"));
    QVERIFY(notice->isHidden());
    QTest::mousePress(stampa, Qt::LeftButton);
    QVERIFY(notice->isVisible());
    QCOMPARE(notice->palette().color(QPalette::WindowText), QColor(0xDC, 0x14, 0x3C));
    QVERIFY(notice->font().italic());
    // Let go elsewhere: no click, nothing printed.
    QTest::mouseRelease(stampa, Qt::LeftButton, {}, QPoint(-20, -20));
    QVERIFY(notice->isHidden());
    QCOMPARE(folder.platform.printDialogs, 0);
    dialog.close();
}

void TestCardPrint::noPrinterGivesOnlyTheNoticeAndSaves()
{
    TestFolder folder;
    folder.platform.noPrinters = true;
    folder.platform.printToPdf = folder.path(QStringLiteral("tesserino.pdf"));
    CardShown card;
    TfrmStampaTessera dialog(folder.context, nullptr, &card);
    pressStampa(dialog, [](TfrmStampaTessera *shown) { click(shown, QStringLiteral("btnTopMinus")); });
    QVERIFY(!dialog.isVisible());
    // The engine's notice, and no failure warning after it.
    QCOMPARE(folder.platform.messages.size(), 1);
    QCOMPARE(folder.platform.lastKind(), Platform::MessageKind::Notice);
    QCOMPARE(folder.platform.lastText(), QStringLiteral("Nessuna stampante installata."));
    QCOMPARE(folder.platform.printDialogs, 0);
    QVERIFY(!QFile::exists(folder.platform.printToPdf));
    QCOMPARE(folder.readFile(Settings), QByteArray("[Margini Stampa]\r\nSuperiore=-1\r\nSinistro=0\r\n\r\n"
                                                   "[Stampa Tesserino]\r\nOrientamento=Verticale\r\n"));
}

void TestCardPrint::printsThroughTheSystemPrinterAtTheStoredPlace()
{
    // test.sh sets up a private print server with a PDF queue, or says why not.
    if (!qEnvironmentVariableIsEmpty("LUMETRA_CUPS_SKIP"))
        QSKIP(qPrintable(qEnvironmentVariable("LUMETRA_CUPS_SKIP")));
    if (qEnvironmentVariableIsEmpty("LUMETRA_CUPS") || qEnvironmentVariableIsEmpty("LUMETRA_PDF_DIR"))
        QSKIP("no CUPS print queue set up (run through test.sh)");
    const QDir spool(qEnvironmentVariable("LUMETRA_PDF_DIR"));
    const QStringList before = spool.entryList({QStringLiteral("*.pdf")}, QDir::Files);

    TestFolder folder;
    folder.platform.systemPrinters = true;
    folder.writeFile(Settings, "[Margini Stampa]\r\nSuperiore=5\r\nSinistro=-3\r\n");
    CardShown card;
    TfrmStampaTessera dialog(folder.context, nullptr, &card);
    pressStampa(dialog);
    QVERIFY(folder.platform.messages.isEmpty());
    QCOMPARE(folder.platform.printDialogs, 1);

    // The queue's backend names its file after the job title.
    QString produced;
    QElapsedTimer clock;
    clock.start();
    while (produced.isEmpty() && clock.elapsed() < 60000) {
        for (const QString &name : spool.entryList({QStringLiteral("*.pdf")}, QDir::Files))
            if (!before.contains(name) && name.startsWith(QLatin1String("Tesserino")))
                produced = spool.filePath(name);
        if (produced.isEmpty())
            QTest::qWait(250);
    }
    QVERIFY2(!produced.isEmpty(), "no PDF from the print queue");
    QString text;
    for (int attempt = 0; attempt < 40 && !text.contains(QLatin1String("Bianchi")); ++attempt) {
        QTest::qWait(250); // the file may still be being written
        text = pdfText(produced);
    }
    QVERIFY2(text.contains(QStringLiteral("Bianchi [Jr.] Giulia")), qPrintable(text.left(300)));
    QVERIFY(text.contains(QStringLiteral("Data rilascio:")));
    // The queue must neither scale nor shift the page: the card stands where
    // the margins put it.
    const QImage page = pdfPage(produced);
    QVERIFY2(pageIs(page, QSize(2100, 2970)), qPrintable(describe(page.size())));
    const QPointF corner = cardCornerMm(page);
    QVERIFY2(std::abs(corner.x() - 7) <= 0.5 && std::abs(corner.y() - 15) <= 0.5,
             qPrintable(QStringLiteral("card at %1, %2 mm").arg(corner.x()).arg(corner.y())));
}

QTEST_MAIN(TestCardPrint)
#include "test_cardprint.moc"
