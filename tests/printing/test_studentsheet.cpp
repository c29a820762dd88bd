#include "printing/reportoutput.h"
#include "printing/reportpreview.h"
#include "report/studentsheet.h"
#include "printing/tfrmanteprimastudenti.h"
#include "printing/tfrmstampastudenti.h"

#include "base/widgets.h"
#include "testutil.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

namespace {

// Stands in for the student window: its edits and its photo, by name.
struct StudentWindow
{
    QWidget window;
    PictureBox *foto = nullptr;

    explicit StudentWindow(bool withPhoto = true, const QString &leaveOut = QString())
    {
        window.setObjectName(QStringLiteral("frmStudenti"));
        for (const QString &name : StudentSheet::fieldNames()) {
            if (name == leaveOut)
                continue;
            auto *edit = new QLineEdit(&window);
            edit->setObjectName(name);
        }
        if (withPhoto)
            foto = new PictureBox(QStringLiteral("imgFoto"), QRect(0, 0, 160, 200), &window);
    }
    void set(const QString &name, const QString &text)
    {
        window.findChild<QLineEdit *>(name)->setText(text);
    }
};

QImage solid(const QSize &size, const QColor &colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString pdfText(const QString &path)
{
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
}

// Opens the dialog modally and presses its action button, as the operator would.
template<typename Dialog>
void pressAction(Dialog &dialog)
{
    whenModalShown<Dialog>([](Dialog *shown) {
        QTest::mouseClick(findControl<QPushButton>(shown, QStringLiteral("btnStampa")), Qt::LeftButton);
    });
    dialog.exec();
}

void fillTypicalStudent(StudentWindow &student)
{
    student.set(QStringLiteral("txtStudente"), QStringLiteral("  Mario Rossi \t"));
    student.set(QStringLiteral("txtSesso"), QStringLiteral("M"));
    student.set(QStringLiteral("txtLingue"), QStringLiteral("Inglese, francese"));
    student.set(QStringLiteral("txtCodFisc"), QStringLiteral("RSSMRA90C12H501X"));
    student.set(QStringLiteral("txtCorso"), QStringLiteral("Informatica di base"));
    student.set(QStringLiteral("txtNote"), QStringLiteral("[DATE] resta tra parentesi"));
}

} // namespace

class TestStudentSheet : public QObject
{
    Q_OBJECT
private slots:
    void templateObjectsStandWhereDesigned_data();
    void templateObjectsStandWhereDesigned();
    void templateHasEveryBoxInDrawingOrder();
    void dialogsShareOneLayout_data();
    void dialogsShareOneLayout();
    void previewShowsTheSheetFromTheStudentWindow();
    void photoIsCopiedWhenTheDialogOpens();
    void missingPhotoFallsBackToTheStoredPicture();
    void cancelledPrintClosesWithoutMessage();
    void failureWarnsAndCloses_data();
    void failureWarnsAndCloses();
    void printFailureIsNotReportedAsSuccess();
    void printedSheetIsOneA4PageWithTheTexts();
    void printsThroughTheSystemPrinter();
};

void TestStudentSheet::templateObjectsStandWhereDesigned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRectF>("rect");
    QTest::newRow("photo frame") << "imgLogo" << QRectF(3.78, 41.57, 710.55, 529.13);
    QTest::newRow("title bar") << "shpTitolo" << QRectF(3.78, 3.78, 710.55, 30.24);
    QTest::newRow("name") << "txtStudente" << QRectF(7.56, 8.31, 702.99, 22.68);
    QTest::newRow("header") << "Shape47" << QRectF(359.06, 578.27, 60.47, 18.14);
    QTest::newRow("caption") << "Memo26" << QRectF(362.84, 582.05, 52.91, 13.61);
    QTest::newRow("value box") << "Shape48" << QRectF(359.06, 597.17, 60.47, 22.68);
    QTest::newRow("value") << "txtSesso" << QRectF(362.84, 602.46, 52.91, 15.12);
    QTest::newRow("lingue") << "txtlingue" << QRectF(362.84, 708.28, 347.72, 15.12);
    QTest::newRow("esercente caption") << "Memo8" << QRectF(7.56, 740.79, 339.40, 13.61);
    QTest::newRow("esercente value") << "txtEsercente" << QRectF(7.56, 759.69, 339.78, 15.12);
    QTest::newRow("note caption") << "titRaccomandazioni" << QRectF(7.56, 1003.85, 702.24, 13.61);
    QTest::newRow("note value") << "txtNote" << QRectF(7.56, 1024.26, 702.99, 15.12);
    QTest::newRow("last box") << "Shape16" << QRectF(3.78, 1020.48, 710.55, 22.68);
}

void TestStudentSheet::templateObjectsStandWhereDesigned()
{
    QFETCH(QString, name);
    QFETCH(QRectF, rect);
    auto report = StudentSheet::create();
    ReportObject *object = report->findObject(name);
    QVERIFY(object);
    QCOMPARE(object->name(), name);
    const QRectF r = object->rect();
    QVERIFY2(qAbs(r.left() - rect.left()) < 0.006 && qAbs(r.top() - rect.top()) < 0.006
                 && qAbs(r.width() - rect.width()) < 0.006 && qAbs(r.height() - rect.height()) < 0.006,
             qPrintable(QStringLiteral("%1,%2 %3x%4").arg(r.left()).arg(r.top()).arg(r.width()).arg(r.height())));
}

void TestStudentSheet::templateHasEveryBoxInDrawingOrder()
{
    auto report = StudentSheet::create();
    QCOMPARE(report->objectName(), QStringLiteral("repDocumento"));
    QCOMPARE(report->reportName, QStringLiteral("Scheda studente"));
    QCOMPARE(report->previewButtons, Report::PreviewButtons(Report::pbPrint | Report::pbZoom
                                                            | Report::pbFullScreen | Report::pbClose));
    QVERIFY(!report->allowEdit);
    const ReportPage &page = report->firstPage();
    QCOMPARE(page.paperSizeCode(), ReportPage::PaperA4);
    QCOMPARE(page.orientation(), ReportPage::Orientation::Portrait);
    QCOMPARE(page.marginsMm(), QMarginsF(10, 10, 10, 10));

    const auto &objects = page.objects();
    QCOMPARE(objects.size(), size_t(3 + 25 * 4));
    QCOMPARE(objects.at(0)->name(), QStringLiteral("imgLogo"));
    QVERIFY(static_cast<const PictureObject &>(*objects.at(0)).center);
    double bottom = 0;
    for (size_t i = 3; i < objects.size(); i += 4) {
        QCOMPARE(objects.at(i)->kind(), ReportObject::Kind::Rectangle);
        QCOMPARE(objects.at(i + 1)->kind(), ReportObject::Kind::Text);
        QCOMPARE(objects.at(i + 2)->kind(), ReportObject::Kind::Rectangle);
        QCOMPARE(objects.at(i + 3)->kind(), ReportObject::Kind::Text);
        const auto &caption = static_cast<const TextObject &>(*objects.at(i + 1));
        const auto &value = static_cast<const TextObject &>(*objects.at(i + 3));
        QVERIFY(caption.bold && !value.bold);
        QCOMPARE(caption.colour, QColor(Qt::white));
        QCOMPARE(static_cast<const RectObject &>(*objects.at(i)).fill, QColor(0x41, 0x69, 0xE1));
        QVERIFY(!static_cast<const RectObject &>(*objects.at(i + 2)).fill.isValid());
        for (const auto *text : {&caption, &value}) {
            QCOMPARE(text->fontFamily, QStringLiteral("Arial"));
            QVERIFY(qAbs(text->fontPixels - 10.6667) < 0.001);
            QVERIFY(!text->allowExpressions && !text->wordWrap);
            QCOMPARE(text->vAlign, TextObject::VAlign::Center);
        }
        QCOMPARE(value.hAlign, value.name() == QLatin1String("txtSesso") ? TextObject::HAlign::Center
                                                                        : TextObject::HAlign::Left);
        QVERIFY(value.lines().isEmpty());
        bottom = std::max(bottom, objects.at(i + 2)->rect().bottom());
    }
    QVERIFY(qAbs(bottom - 1043.15) < 0.01);
    QVERIFY(bottom < page.printableRectPx().height());
    // Every field the dialogs fill has its object.
    for (const QString &name : StudentSheet::fieldNames())
        QVERIFY2(report->findObject(name), qPrintable(name));
}

void TestStudentSheet::dialogsShareOneLayout_data()
{
    QTest::addColumn<bool>("preview");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("action");
    QTest::newRow("print") << false << " Stampa scheda" << "Stampa";
    QTest::newRow("preview") << true << " Anteprima di stampa" << "Mostra anteprima";
}

void TestStudentSheet::dialogsShareOneLayout()
{
    QFETCH(bool, preview);
    QFETCH(QString, caption);
    QFETCH(QString, action);
    TestFolder folder;
    std::unique_ptr<StudentSheetDialog> dialog;
    if (preview)
        dialog = std::make_unique<TfrmAnteprimaStudenti>(folder.context);
    else
        dialog = std::make_unique<TfrmStampaStudenti>(folder.context);
    QCOMPARE(dialog->windowTitle(), caption);
    QCOMPARE(dialog->size(), QSize(364, 287));
    auto *button = findControl<QPushButton>(dialog.get(), QStringLiteral("btnStampa"));
    QCOMPARE(button->text(), action);
    QCOMPARE(button->geometry(), QRect(200, 243, 145, 28));
    auto *cancel = findControl<QPushButton>(dialog.get(), QStringLiteral("btnAnnulla"));
    QCOMPARE(cancel->text(), QStringLiteral("Annulla"));
    QCOMPARE(cancel->geometry(), QRect(18, 243, 145, 28));
    for (const char *name : {"imgLogo", "imgTemp"}) {
        auto *picture = findControl<PictureBox>(dialog.get(), QString::fromLatin1(name));
        QCOMPARE(picture->size(), QSize(297, 184));
        QVERIFY(picture->isHidden());
    }
    QVERIFY(!findControl<PictureBox>(dialog.get(), QStringLiteral("imgTemp"))->image().isNull());
    QVERIFY(findControl<Report>(dialog.get(), QStringLiteral("repDocumento")));
}

void TestStudentSheet::previewShowsTheSheetFromTheStudentWindow()
{
    TestFolder folder;
    StudentWindow student;
    fillTypicalStudent(student);
    student.foto->setImage(solid(QSize(300, 100), Qt::red));

    TfrmAnteprimaStudenti dialog(folder.context, &student.window);
    // Read while the preview is open, checked once it has closed.
    bool previewSeen = false;
    QString title;
    Qt::WindowStates state;
    double zoom = 0;
    int pages = 0;
    QStringList present, absent;
    whenModalShown<TfrmAnteprimaStudenti>([&](TfrmAnteprimaStudenti *shown) {
        // Typed after the dialog opened and never saved: still on the sheet.
        student.set(QStringLiteral("txtClasse"), QStringLiteral("3A"));
        whenModalShown<ReportPreview>([&](ReportPreview *preview) {
            previewSeen = true;
            title = preview->windowTitle();
            state = preview->windowState();
            zoom = preview->zoom();
            pages = preview->pageCount();
            for (const char *name : {"pbPrint", "pbZoom", "pbFullScreen", "pbClose", "pbNavigator", "pbEdit",
                                     "pbSave", "pbExport", "pbLoad"})
                (preview->findChild<QWidget *>(QString::fromLatin1(name)) ? present : absent)
                    .append(QString::fromLatin1(name));
            if (auto *close = preview->findChild<QToolButton *>(QStringLiteral("pbClose")))
                QTest::mouseClick(close, Qt::LeftButton);
            if (preview->isVisible())
                preview->reject();
        });
        QTest::mouseClick(shown->findChild<QPushButton *>(QStringLiteral("btnStampa")), Qt::LeftButton);
    });
    dialog.exec();
    QVERIFY(previewSeen);
    QCOMPARE(title, QStringLiteral("Scheda studente"));
    QVERIFY(state & (Qt::WindowMaximized | Qt::WindowFullScreen));
    QCOMPARE(zoom, 1.0);
    QCOMPARE(pages, 1);
    QCOMPARE(present, (QStringList{"pbPrint", "pbZoom", "pbFullScreen", "pbClose"}));
    QVERIFY(!dialog.isVisible());
    QVERIFY(folder.platform.messages.isEmpty());

    const PreparedPage &page = dialog.report().preparedPages().first();
    QCOMPARE(page.find(QStringLiteral("txtStudente"))->lines, QStringList{QStringLiteral("Mario Rossi")});
    QCOMPARE(page.find(QStringLiteral("txtlingue"))->lines, QStringList{QStringLiteral("Inglese, francese")});
    QCOMPARE(page.find(QStringLiteral("txtClasse"))->lines, QStringList{QStringLiteral("3A")});
    QCOMPARE(page.find(QStringLiteral("txtNote"))->lines, QStringList{QStringLiteral("[DATE] resta tra parentesi")});
    QVERIFY(page.find(QStringLiteral("txtEsito"))->lines.isEmpty());
}

void TestStudentSheet::photoIsCopiedWhenTheDialogOpens()
{
    TestFolder folder;
    folder.platform.printAccept = false;
    StudentWindow student;
    student.foto->setImage(solid(QSize(200, 400), Qt::red));
    TfrmStampaStudenti dialog(folder.context, &student.window);
    whenModalShown<TfrmStampaStudenti>([&](TfrmStampaStudenti *shown) {
        student.foto->setImage(solid(QSize(200, 400), Qt::blue));
        QTest::mouseClick(findControl<QPushButton>(shown, QStringLiteral("btnStampa")), Qt::LeftButton);
    });
    dialog.exec();

    const PreparedPage &page = dialog.report().preparedPages().first();
    const auto &picture = static_cast<const PictureObject &>(*page.find(QStringLiteral("imgLogo"))->object);
    QCOMPARE(picture.picture().pixelColor(0, 0), QColor(Qt::red));
    // A tall photo is fitted to the frame's height and centred across it.
    const QImage image = ReportOutput::renderPage(page);
    const QPointF corner = page.printableRect.topLeft();
    const QRectF frame(corner + QPointF(3.78, 41.57), QSizeF(710.55, 529.13));
    const double drawnWidth = 529.13 / 2;
    const QPointF centre = frame.center();
    QCOMPARE(image.pixelColor(centre.toPoint()), QColor(Qt::red));
    QCOMPARE(image.pixelColor(QPoint(int(centre.x() - drawnWidth / 2 + 3), int(frame.top() + 3))), QColor(Qt::red));
    QCOMPARE(image.pixelColor(QPoint(int(centre.x() - drawnWidth / 2 - 3), int(centre.y()))), QColor(Qt::white));
    QCOMPARE(image.pixelColor(QPoint(int(frame.left() + 3), int(centre.y()))), QColor(Qt::white));
}

void TestStudentSheet::missingPhotoFallsBackToTheStoredPicture()
{
    TestFolder folder;
    folder.platform.printAccept = false;
    StudentWindow student(false);
    TfrmStampaStudenti dialog(folder.context, &student.window);
    pressAction(dialog);
    const QImage stored = findControl<PictureBox>(&dialog, QStringLiteral("imgTemp"))->image();
    QCOMPARE(findControl<PictureBox>(&dialog, QStringLiteral("imgLogo"))->image(), stored);
    QCOMPARE(dialog.report().picture(QStringLiteral("imgLogo"))->picture(), stored);
}

void TestStudentSheet::cancelledPrintClosesWithoutMessage()
{
    TestFolder folder;
    folder.platform.printAccept = false;
    folder.platform.printToPdf = folder.path(QStringLiteral("scheda.pdf"));
    StudentWindow student;
    TfrmStampaStudenti dialog(folder.context, &student.window);
    pressAction(dialog);
    QVERIFY(!dialog.isVisible());
    QVERIFY(folder.platform.messages.isEmpty());
    QVERIFY(!QFile::exists(folder.platform.printToPdf));
}

void TestStudentSheet::failureWarnsAndCloses_data()
{
    QTest::addColumn<bool>("preview");
    QTest::addColumn<QString>("text");
    QTest::newRow("print") << false
                           << QStringLiteral("Attenzione: la stampa della scheda non è andata a buon fine.\n\r\n\r"
                                             "Si consiglia di ridurre le dimensioni della foto.");
    QTest::newRow("preview") << true
                             << QStringLiteral("Attenzione: la visualizzazione dell'anteprima di stampa non è andata "
                                               "a buon fine.\n\r\n\rSi consiglia di ridurre le dimensioni della foto.");
}

void TestStudentSheet::failureWarnsAndCloses()
{
    QFETCH(bool, preview);
    QFETCH(QString, text);
    TestFolder folder;
    // A student window without one of the fields the sheet reads.
    StudentWindow student(true, QStringLiteral("txtCorso"));
    if (preview) {
        TfrmAnteprimaStudenti dialog(folder.context, &student.window);
        pressAction(dialog);
        QVERIFY(!dialog.isVisible());
    } else {
        TfrmStampaStudenti dialog(folder.context, &student.window);
        pressAction(dialog);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(folder.platform.printDialogs, 0);
    }
    QCOMPARE(folder.platform.messages.size(), 1);
    QCOMPARE(folder.platform.lastKind(), Platform::MessageKind::Warning);
    QCOMPARE(folder.platform.lastText(), text);
}

void TestStudentSheet::printFailureIsNotReportedAsSuccess()
{
    TestFolder folder;
    // A job that cannot be written anywhere.
    folder.platform.printToPdf = folder.path(QStringLiteral("missing/folder/scheda.pdf"));
    StudentWindow student;
    TfrmStampaStudenti dialog(folder.context, &student.window);
    pressAction(dialog);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(folder.platform.messages.size(), 1);
    QCOMPARE(folder.platform.lastKind(), Platform::MessageKind::Warning);
    QVERIFY(folder.platform.lastText().startsWith(QStringLiteral("Attenzione: la stampa della scheda")));
}

void TestStudentSheet::printedSheetIsOneA4PageWithTheTexts()
{
    TestFolder folder;
    folder.platform.printToPdf = folder.path(QStringLiteral("scheda.pdf"));
    StudentWindow student;
    fillTypicalStudent(student);
    student.set(QStringLiteral("txtIndirizzo"), QStringLiteral("Via Garibaldi 12 [interno 4]"));
    student.foto->setImage(blankPicture());
    TfrmStampaStudenti dialog(folder.context, &student.window);
    pressAction(dialog);
    QVERIFY(folder.platform.messages.isEmpty());
    QVERIFY(QFile::exists(folder.platform.printToPdf));
    const QString info = run(QStringLiteral("pdfinfo"), {folder.platform.printToPdf});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("(A4)")), qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("Scheda studente")), qPrintable(info));
    const QString text = pdfText(folder.platform.printToPdf);
    for (const char *expected : {"Mario Rossi", "LUOGO DI NASCITA", "RSSMRA90C12H501X", "Inglese, francese",
                                 "Via Garibaldi 12 [interno 4]", "[DATE] resta tra parentesi",
                                 "COMMISSIONE ESAME FINALE", "NOTE"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
}

void TestStudentSheet::printsThroughTheSystemPrinter()
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
    StudentWindow student;
    fillTypicalStudent(student);
    TfrmStampaStudenti dialog(folder.context, &student.window);
    pressAction(dialog);
    QVERIFY(folder.platform.messages.isEmpty());
    QCOMPARE(folder.platform.printDialogs, 1);

    // The queue's backend names its file after the job title.
    QString produced;
    QElapsedTimer clock;
    clock.start();
    while (produced.isEmpty() && clock.elapsed() < 60000) {
        for (const QString &name : spool.entryList({QStringLiteral("*.pdf")}, QDir::Files))
            if (!before.contains(name) && name.startsWith(QLatin1String("Scheda_studente")))
                produced = spool.filePath(name);
        if (produced.isEmpty())
            QTest::qWait(250);
    }
    QVERIFY2(!produced.isEmpty(), "no PDF from the print queue");
    QString text;
    for (int attempt = 0; attempt < 40 && !text.contains(QLatin1String("Mario Rossi")); ++attempt) {
        QTest::qWait(250); // the file may still be being written
        text = pdfText(produced);
    }
    QVERIFY2(text.contains(QStringLiteral("Mario Rossi")), qPrintable(text.left(300)));
    QVERIFY(text.contains(QStringLiteral("Informatica di base")));
    QVERIFY(text.contains(QStringLiteral("CODICE FISCALE")));
    const QString info = run(QStringLiteral("pdfinfo"), {produced});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(info));
}

QTEST_MAIN(TestStudentSheet)
#include "test_studentsheet.moc"
