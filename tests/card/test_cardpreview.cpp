#include "card/tfrmanteprimatessera.h"
#include "printing/reportpreview.h"

#include "cardprintfixture.h"
#include "testutil.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <functional>

namespace {

const QString Settings = QStringLiteral("Tesserini.ini");

// What the preview window showed, read while it was open.
struct PreviewSeen
{
    bool seen = false;
    QString title;
    Qt::WindowStates state;
    double zoom = 0;
    int pages = 0;
    QStringList buttons;
};

// Presses Mostra anteprima; `inPreview` runs in the open preview window,
// which is then closed with its close button.
void showPreview(TfrmAnteprimaTessera &dialog, PreviewSeen &seen,
                 const std::function<void(ReportPreview *)> &inPreview = {})
{
    whenModalShown<TfrmAnteprimaTessera>([&seen, inPreview](TfrmAnteprimaTessera *shown) {
        whenModalShown<ReportPreview>([&seen, inPreview](ReportPreview *preview) {
            seen.seen = true;
            seen.title = preview->windowTitle();
            seen.state = preview->windowState();
            seen.zoom = preview->zoom();
            seen.pages = preview->pageCount();
            for (const char *name : {"pbPrint", "pbZoom", "pbFullScreen", "pbClose", "pbNavigator", "pbEdit",
                                     "pbSave", "pbExport", "pbLoad", "pbPageSetup"})
                if (preview->findChild<QWidget *>(QString::fromLatin1(name)))
                    seen.buttons.append(QString::fromLatin1(name));
            if (inPreview)
                inPreview(preview);
            if (auto *close = preview->findChild<QToolButton *>(QStringLiteral("pbClose")))
                QTest::mouseClick(close, Qt::LeftButton);
            if (preview->isVisible())
                preview->reject();
        });
        QTest::mouseClick(findControl<QPushButton>(shown, QStringLiteral("btnStampa")), Qt::LeftButton);
    });
    dialog.exec();
}

} // namespace

class TestCardPreview : public QObject
{
    Q_OBJECT
private slots:
    void windowLayout();
    void previewIgnoresThePrintSettings();
    void printFromThePreviewPrintsThePreviewCard();
    void annullaPreparesNothing();
    void waitingNoticeShowsOnMouseDown();
};

void TestCardPreview::windowLayout()
{
    TestFolder folder;
    TfrmAnteprimaTessera dialog(folder.context);
    QCOMPARE(dialog.windowTitle(), QStringLiteral(" Anteprima di stampa"));
    QCOMPARE(dialog.size(), QSize(364, 287));
    QVERIFY(findControl<Report>(&dialog, QStringLiteral("repTesserino")));
    const struct { const char *name; QRect geometry; const char *text; } controls[] = {
        {"shpSfondo", {18, 18, 326, 214}, ""},
        {"imgStampante", {25, 30, 311, 182}, ""},
        {"lblAttendere", {112, 210, 0, 0}, "Elaborazione in corso. Attendere..."},
        {"btnAnnulla", {18, 243, 145, 28}, "Annulla"},
        {"btnStampa", {200, 243, 145, 28}, "Mostra anteprima"},
    };
    for (const auto &c : controls) {
        auto *control = findControl<QWidget>(&dialog, QString::fromLatin1(c.name));
        QCOMPARE(control->pos(), c.geometry.topLeft());
        if (!c.geometry.size().isNull())
            QCOMPARE(control->size(), c.geometry.size());
        if (auto *label = qobject_cast<QLabel *>(control))
            QCOMPARE(label->text(), QString::fromUtf8(c.text));
        if (auto *button = qobject_cast<QPushButton *>(control)) {
            QCOMPARE(button->text(), QString::fromUtf8(c.text));
            QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
        }
    }
    QVERIFY(findControl<QLabel>(&dialog, QStringLiteral("lblAttendere"))->isHidden());
    QCOMPARE(findControl<QWidget>(&dialog, QStringLiteral("btnAnnulla"))->nextInFocusChain(),
             findControl<QWidget>(&dialog, QStringLiteral("btnStampa")));
    // FormCreate: the program-wide formats.
    QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
}

void TestCardPreview::previewIgnoresThePrintSettings()
{
    TestFolder folder;
    const QByteArray stored("[Margini Stampa]\r\nSuperiore=-7\r\nSinistro=15\r\n[Stampa Tesserino]\r\n"
                            "Orientamento=Orizzontale\r\n");
    folder.writeFile(Settings, stored);
    CardShown card;
    TfrmAnteprimaTessera dialog(folder.context, nullptr, &card);
    PreviewSeen seen;
    showPreview(dialog, seen);
    QVERIFY(seen.seen);
    QCOMPARE(seen.title, QStringLiteral("Tesserino"));
    QVERIFY(seen.state & (Qt::WindowMaximized | Qt::WindowFullScreen));
    QCOMPARE(seen.zoom, 1.0);
    QCOMPARE(seen.pages, 1);
    QCOMPARE(seen.buttons, (QStringList{"pbPrint", "pbZoom", "pbFullScreen", "pbClose"}));
    QVERIFY(!dialog.isVisible());
    QVERIFY(folder.platform.messages.isEmpty());
    QCOMPARE(folder.readFile(Settings), stored);

    const PreparedPage &page = dialog.report().preparedPages().first();
    QCOMPARE(page.orientation, ReportPage::Orientation::Portrait);
    QCOMPARE(page.paperMm, QSizeF(210, 297));
    QCOMPARE(page.paperSizeCode, ReportPage::PaperCustom);
    QCOMPARE(page.printableRect.topLeft(), QPointF(0, 0));
    const QRectF outline = page.find(QStringLiteral("frxShapeView1"))->rect;
    QVERIFY(std::abs(pxToMm(outline.left()) - 10) < 0.001 && std::abs(pxToMm(outline.top()) - 10) < 0.001);
    QCOMPARE(page.find(QStringLiteral("titDataRil"))->lines, QStringList{QStringLiteral("Data inizio:")});
    QCOMPARE(page.find(QStringLiteral("titDataScade"))->lines, QStringList{QStringLiteral("Data fine:")});
    QCOMPARE(page.find(QStringLiteral("txtTesserato"))->lines, QStringList{QStringLiteral("Bianchi [Jr.] Giulia")});
    QCOMPARE(page.find(QStringLiteral("txtAssociazione"))->lines,
             QStringList{QStringLiteral("Istituto Tecnico Galileo Galilei")});
    const auto &photo = static_cast<const PictureObject &>(*page.find(QStringLiteral("imgFoto"))->object);
    QCOMPARE(photo.picture(), card.card.photo);
    const auto &logo = static_cast<const PictureObject &>(*page.find(QStringLiteral("imgLogo"))->object);
    QCOMPARE(logo.picture(), card.card.logo);
}

void TestCardPreview::printFromThePreviewPrintsThePreviewCard()
{
    TestFolder folder;
    folder.platform.printToPdf = folder.path(QStringLiteral("anteprima.pdf"));
    const QByteArray stored("[Margini Stampa]\r\nSuperiore=20\r\nSinistro=30\r\n");
    folder.writeFile(Settings, stored);
    CardShown card;
    TfrmAnteprimaTessera dialog(folder.context, nullptr, &card);
    PreviewSeen seen;
    showPreview(dialog, seen, [](ReportPreview *preview) {
        QTest::mouseClick(preview->findChild<QToolButton *>(QStringLiteral("pbPrint")), Qt::LeftButton);
    });
    QVERIFY(seen.seen);
    QCOMPARE(folder.platform.printDialogs, 1);
    QVERIFY(folder.platform.messages.isEmpty());
    QCOMPARE(folder.readFile(Settings), stored);

    const QString text = pdfText(folder.platform.printToPdf);
    for (const char *expected : {"Data inizio:", "Data fine:", "Bianchi [Jr.] Giulia", "Classe 4B"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    QVERIFY(!text.contains(QStringLiteral("Data rilascio:")));
    const QImage page = pdfPage(folder.platform.printToPdf);
    QVERIFY2(pageIs(page, QSize(2100, 2970)), qPrintable(describe(page.size())));
    const QPointF corner = cardCornerMm(page);
    QVERIFY2(std::abs(corner.x() - 10) <= 0.5 && std::abs(corner.y() - 10) <= 0.5,
             qPrintable(QStringLiteral("card at %1, %2 mm").arg(corner.x()).arg(corner.y())));
}

void TestCardPreview::annullaPreparesNothing()
{
    TestFolder folder;
    CardShown card;
    TfrmAnteprimaTessera dialog(folder.context, nullptr, &card);
    whenModalShown<TfrmAnteprimaTessera>([](TfrmAnteprimaTessera *shown) {
        QTest::mouseClick(findControl<QPushButton>(shown, QStringLiteral("btnAnnulla")), Qt::LeftButton);
    });
    dialog.exec();
    QVERIFY(!dialog.isVisible());
    QVERIFY(dialog.report().preparedPages().isEmpty());
    QCOMPARE(card.asked, 0);
    QVERIFY(folder.platform.messages.isEmpty());
    QVERIFY(!QFile::exists(folder.path(Settings)));
}

void TestCardPreview::waitingNoticeShowsOnMouseDown()
{
    TestFolder folder;
    TfrmAnteprimaTessera dialog(folder.context);
    QVERIFY(showActive(dialog));
    auto *notice = findControl<QLabel>(&dialog, QStringLiteral("lblAttendere"));
    auto *button = findControl<QPushButton>(&dialog, QStringLiteral("btnStampa"));
    QTest::mousePress(button, Qt::LeftButton);
    QVERIFY(notice->isVisible());
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-20, -20));
    QVERIFY(notice->isHidden());
    QVERIFY(dialog.report().preparedPages().isEmpty());
    dialog.close();
}

QTEST_MAIN(TestCardPreview)
#include "test_cardpreview.moc"
