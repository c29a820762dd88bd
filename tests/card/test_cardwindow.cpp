// The ID card window: the school's data and logo kept on disk, the card's
// layout and hints, and the windows it opens.
#include "cardfixture.h"

#include "lockedfile.h"

#include "card/cardlogo.h"
#include "card/tfrmanteprimatessera.h"
#include "card/tfrmdatiente.h"
#include "card/tfrmstampatessera.h"
#include "help/tfrmguida.h"

#include <QAccessible>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using Kind = Platform::MessageKind;

namespace {

const QString kIni = QStringLiteral("Lumetra.ini");
const QString kLogo = QStringLiteral("Anagrafica/Logo.bmp");

// Four quadrants of four colours: a stretched copy keeps a colour in each
// corner, a letter-boxed one would not.
QImage quadrants(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height / 2, Qt::red);
    painter.fillRect(width / 2, 0, width - width / 2, height / 2, Qt::green);
    painter.fillRect(0, height / 2, width / 2, height - height / 2, Qt::blue);
    painter.fillRect(width / 2, height / 2, width - width / 2, height - height / 2, Qt::yellow);
    return image;
}

bool near(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) < 40 && qAbs(a.green() - b.green()) < 40 && qAbs(a.blue() - b.blue()) < 40;
}

QImage rgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestCardWindow : public QObject
{
    Q_OBJECT

private slots:
    void freshInstallation();
    void schoolTextsReadAtShow_data();
    void schoolTextsReadAtShow();
    void emptiedTextIsDefaultAgainAtNextShowing();
    void otherKeysOfTheFileAreKept();
    void settingsThatCannotBeWritten_data();
    void settingsThatCannotBeWritten();
    void logoFileAtShow_data();
    void logoFileAtShow();
    void chosenLogoIsStretched_data();
    void chosenLogoIsStretched();
    void logoThatCannotBeChosen_data();
    void logoThatCannotBeChosen();
    void deletedLogoIsSavedWhite();
    void deletedPhotoTouchesOnlyTheCard();
    void previewAndPrintSaveTheLogoFirst_data();
    void previewAndPrintSaveTheLogoFirst();
    void cardContentForPrinting();
    void schoolDataDialogFromTheCard_data();
    void schoolDataDialogFromTheCard();
    void schoolDataDialogCancelled();
    void guide_data();
    void guide();
    void closingReturnsToTheMenu_data();
    void closingReturnsToTheMenu();
    void layout_data();
    void layout();
    void hintLine_data();
    void hintLine();
    void hintLineEmptiedOverBackground();
    void pictureButtonsHaveNames();
};

void TestCardWindow::freshInstallation()
{
    CardWindow w;
    w.show();
    QCOMPARE(w.school(), defaultSchool());
    QCOMPARE(w.student(), emptyStudent());
    QVERIFY(w.showsBlankPhoto());
    QVERIFY(w.showsLogoPlaceholder());
    QCOMPARE(w.position(), QString());
    QCOMPARE(w.text(QStringLiteral("panInfo")), QStringLiteral("Pronto per stampare una nuova tessera..."));
    QVERIFY(QFileInfo(w.folder.path(QStringLiteral("Anagrafica"))).isDir());

    w.window->close();

    QCOMPARE(w.folder.readFile(kIni), QByteArray("[Scuola]\r\nDenominazione=Denominazione Scuola\r\n"
                                                 "Indirizzo=Indirizzo\r\nRecapiti=Recapiti\r\nNote=Note\r\n"));
    const QByteArray bmp = w.folder.readFile(kLogo);
    QVERIFY(bmp.startsWith("BM"));
    const QImage stored = QImage::fromData(bmp, "BMP");
    QCOMPARE(stored.size(), QSize(119, 118));
    QCOMPARE(rgb(stored), rgb(CardArt::logoPlaceholder()));
    QCOMPARE(w.messageCount(), 0);
}

void TestCardWindow::schoolTextsReadAtShow_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("shown");

    const QStringList defaults = defaultSchool();
    QTest::newRow("all four") << QByteArray("[Scuola]\r\nDenominazione=Istituto Volta\r\nIndirizzo=Via Roma 1\r\n"
                                            "Recapiti=Tel. 06 123\r\nNote=Valida per l'anno 2026/27\r\n")
                              << QStringList{"Istituto Volta", "Via Roma 1", "Tel. 06 123", "Valida per l'anno 2026/27"};
    QTest::newRow("no section") << QByteArray("[Altro]\r\nDenominazione=Istituto Volta\r\n") << defaults;
    QTest::newRow("one key missing") << QByteArray("[Scuola]\r\nDenominazione=Istituto Volta\r\nRecapiti=Tel\r\n"
                                                   "Note=N\r\n")
                                     << QStringList{"Istituto Volta", "Indirizzo", "Tel", "N"};
    QTest::newRow("empty values read as missing")
        << QByteArray("[Scuola]\r\nDenominazione=\r\nIndirizzo=   \r\nRecapiti=R\r\nNote=\r\n")
        << QStringList{"Denominazione Scuola", "Indirizzo", "R", "Note"};
    QTest::newRow("names in other case, LF lines") << QByteArray("[SCUOLA]\ndenominazione=Liceo\nNOTE=x\n")
                                                   << QStringList{"Liceo", "Indirizzo", "Recapiti", "x"};
    QTest::newRow("Windows-1252 text") << QByteArray("[Scuola]\r\nDenominazione=Universit\xE0 Popolare\r\n")
                                       << QStringList{QStringLiteral("Università Popolare"), "Indirizzo", "Recapiti",
                                                      "Note"};
    QTest::newRow("not a settings file") << QByteArray("\x00\x01\x02 binary", 10) << defaults;
}

void TestCardWindow::schoolTextsReadAtShow()
{
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, shown);

    CardWindow w;
    w.folder.writeFile(kIni, ini);
    w.show();

    QCOMPARE(w.school(), shown);
    QCOMPARE(w.messageCount(), 0);
}

void TestCardWindow::emptiedTextIsDefaultAgainAtNextShowing()
{
    CardWindow w;
    w.folder.writeFile(kIni, "[Scuola]\r\nDenominazione=Istituto Volta\r\nIndirizzo=Via Roma 1\r\n"
                             "Recapiti=Tel. 06 123\r\nNote=Nota\r\n");
    w.show();
    whenModalShown<TfrmDatiEnte>([](TfrmDatiEnte *dialog) {
        findControl<QLineEdit>(dialog, QStringLiteral("txtSottotitolo01"))->clear();
        findControl<QLineEdit>(dialog, QStringLiteral("txtAnnotazioni"))->setText(QStringLiteral("   "));
        QTest::mouseClick(findControl<QPushButton>(dialog, QStringLiteral("btnApplica")), Qt::LeftButton);
    });
    w.click(QStringLiteral("titSottotitolo01"));
    QCOMPARE(w.school(), (QStringList{"Istituto Volta", "", "Tel. 06 123", ""}));

    w.window->close();
    QCOMPARE(IniFile::read(w.folder.path(kIni), QStringLiteral("Scuola"), QStringLiteral("Indirizzo"),
                           QStringLiteral("missing")),
             QString());
    w.show();

    QCOMPARE(w.school(), (QStringList{"Istituto Volta", "Indirizzo", "Tel. 06 123", "Note"}));
}

void TestCardWindow::otherKeysOfTheFileAreKept()
{
    CardWindow w;
    const QByteArray before = "; impostazioni\r\n[Generale]\r\nLingua=it\r\n\r\n[Scuola]\r\nDenominazione=Vecchia\r\n"
                              "Colore=blu\r\n\r\n[Finale]\r\nChiave=valore\r\n";
    w.folder.writeFile(kIni, before);
    w.show();
    w.label(QStringLiteral("titAssociazione"))->setText(QStringLiteral("  Nuova  "));

    w.window->close();

    QCOMPARE(w.folder.readFile(kIni),
             QByteArray("; impostazioni\r\n[Generale]\r\nLingua=it\r\n\r\n[Scuola]\r\nDenominazione=Nuova\r\n"
                        "Colore=blu\r\nIndirizzo=Indirizzo\r\nRecapiti=Recapiti\r\nNote=Note\r\n\r\n[Finale]\r\n"
                        "Chiave=valore\r\n"));
}

void TestCardWindow::settingsThatCannotBeWritten_data()
{
    QTest::addColumn<bool>("lockFolder"); // else a folder stands in the file's place
    QTest::newRow("read-only data folder") << true;
    QTest::newRow("a folder named Lumetra.ini") << false;
}

void TestCardWindow::settingsThatCannotBeWritten()
{
    QFETCH(bool, lockFolder);

    CardWindow w;
    const QByteArray before = "[Generale]\r\nLingua=it\r\n[Scuola]\r\nDenominazione=Vecchia\r\n";
    if (lockFolder)
        w.folder.writeFile(kIni, before);
    else
        QVERIFY(QDir().mkpath(w.folder.path(kIni)));
    QVERIFY(QDir().mkpath(w.folder.path(QStringLiteral("Anagrafica"))));
    std::unique_ptr<LockedFile> locked;
    if (lockFolder) {
        locked = std::make_unique<LockedFile>(w.folder.folder);
        if (!locked->ok())
            QSKIP("cannot make a folder read-only here");
    }
    w.show();
    QSignalSpy toMenu(w.window, &TfrmTessera::closedToMenu);
    w.label(QStringLiteral("titAssociazione"))->setText(QStringLiteral("Nuova"));

    w.window->close();

    QCOMPARE(w.messageCount(), 1);
    QCOMPARE(w.folder.platform.lastKind(), Kind::Warning);
    QCOMPARE(w.folder.platform.lastText(),
             QStringLiteral("Attenzione: non è stato possibile salvare i dati della Scuola nel file Lumetra.ini.\n\r\n\r"
                            "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del "
                            "programma."));
    QCOMPARE(toMenu.count(), 1);
    QVERIFY(!w.window->isVisible());
    if (lockFolder)
        QCOMPARE(w.folder.readFile(kIni), before);
}

void TestCardWindow::logoFileAtShow_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file
    QTest::addColumn<bool>("placeholder");

    const QByteArray bmp = encoded(quadrants(119, 118), "BMP");
    QTest::newRow("logo") << bmp << false;
    QTest::newRow("missing") << QByteArray() << true;
    QTest::newRow("not an image") << QByteArray("no picture here") << true;
    QTest::newRow("truncated bitmap") << bmp.left(bmp.size() / 3) << true;
    QTest::newRow("truncated JPEG") << encoded(quadrants(119, 118), "JPG").left(300) << true;
    QTest::newRow("enormous") << enormousJpeg() << true;
}

void TestCardWindow::logoFileAtShow()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, placeholder);

    CardWindow w;
    if (!content.isEmpty())
        w.folder.writeFile(kLogo, content);
    w.show();

    QCOMPARE(w.showsLogoPlaceholder(), placeholder);
    if (!placeholder)
        QCOMPARE(rgb(w.logo()), quadrants(119, 118));
    QCOMPARE(w.messageCount(), 0);
}

void TestCardWindow::chosenLogoIsStretched_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QByteArray>("format");

    QTest::newRow("wide JPEG") << QSize(1200, 200) << QByteArray("JPG");
    QTest::newRow("tall bitmap") << QSize(40, 600) << QByteArray("BMP");
    QTest::newRow("small bitmap") << QSize(8, 6) << QByteArray("BMP");
    QTest::newRow("already 119 x 118") << QSize(119, 118) << QByteArray("BMP");
}

void TestCardWindow::chosenLogoIsStretched()
{
    QFETCH(QSize, size);
    QFETCH(QByteArray, format);

    CardWindow w;
    const QString file = w.folder.path(QStringLiteral("scelto.") + QString::fromLatin1(format).toLower());
    w.folder.writeFile(QFileInfo(file).fileName(), encoded(quadrants(size.width(), size.height()), format));
    w.show();
    w.folder.platform.openAnswers.enqueue(file);

    w.click(QStringLiteral("imgLogo"));

    QCOMPARE(w.folder.platform.dialogTitles,
             QStringList{QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap.")});
    QCOMPARE(w.logo().size(), size); // at its own size until the next save
    QVERIFY(!QFile::exists(w.folder.path(kLogo)));

    w.window->close();

    const QImage stored = QImage::fromData(w.folder.readFile(kLogo), "BMP");
    QCOMPARE(stored.size(), QSize(119, 118));
    QVERIFY(near(stored.pixelColor(3, 3), Qt::red));
    QVERIFY(near(stored.pixelColor(115, 3), Qt::green));
    QVERIFY(near(stored.pixelColor(3, 114), Qt::blue));
    QVERIFY(near(stored.pixelColor(115, 114), Qt::yellow));
    QCOMPARE(w.logo().size(), QSize(119, 118)); // the stored picture, read back

    w.show();
    QCOMPARE(rgb(w.logo()), rgb(stored));
    QCOMPARE(w.messageCount(), 0);
}

void TestCardWindow::logoThatCannotBeChosen_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: the file does not exist
    QTest::addColumn<bool>("cancel");

    QTest::newRow("not an image") << QByteArray("text with a .jpg name") << false;
    QTest::newRow("truncated JPEG") << encoded(quadrants(300, 300), "JPG").left(400) << false;
    QTest::newRow("enormous") << enormousJpeg() << false;
    QTest::newRow("vanished file") << QByteArray() << false;
    QTest::newRow("dialog cancelled") << QByteArray() << true;
}

void TestCardWindow::logoThatCannotBeChosen()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, cancel);

    CardWindow w;
    w.folder.writeFile(kLogo, encoded(quadrants(119, 118), "BMP"));
    if (!content.isEmpty())
        w.folder.writeFile(QStringLiteral("scelto.jpg"), content);
    w.show();
    QVERIFY(!w.showsLogoPlaceholder());
    w.folder.platform.openAnswers.enqueue(cancel ? QString() : w.folder.path(QStringLiteral("scelto.jpg")));

    w.click(QStringLiteral("imgLogo"));

    QCOMPARE(w.showsLogoPlaceholder(), !cancel);
    if (cancel)
        QCOMPARE(rgb(w.logo()), quadrants(119, 118));
    QCOMPARE(w.messageCount(), 0);
}

void TestCardWindow::deletedLogoIsSavedWhite()
{
    CardWindow w;
    w.folder.writeFile(kLogo, encoded(quadrants(119, 118), "BMP"));
    w.show();

    w.click(QStringLiteral("btnCancLogo"));
    w.window->close();

    QImage white(119, 118, QImage::Format_RGB32);
    white.fill(Qt::white);
    QCOMPARE(rgb(QImage::fromData(w.folder.readFile(kLogo), "BMP")), white);
    w.show();
    QCOMPARE(rgb(w.logo()), white);
    QVERIFY(!w.showsLogoPlaceholder());
}

void TestCardWindow::deletedPhotoTouchesOnlyTheCard()
{
    CardWindow w;
    writeArchiveOf(w.folder, 1);
    const QByteArray jpeg = encoded(stripes(90, 120), "JPG");
    w.folder.writeFile(photoFile(1), jpeg);
    w.show();
    w.click(QStringLiteral("cmdPrimo"));
    QCOMPARE(w.photo().size(), QSize(90, 120));

    w.click(QStringLiteral("btnCancFoto"));

    QImage white(119, 118, QImage::Format_RGB32);
    white.fill(Qt::white);
    QCOMPARE(rgb(w.photo()), white);
    QCOMPARE(w.position(), QStringLiteral("1"));
    QCOMPARE(w.student(), studentOf(cardRecord(1)));
    QCOMPARE(w.folder.readFile(photoFile(1)), jpeg);
}

void TestCardWindow::previewAndPrintSaveTheLogoFirst_data()
{
    QTest::addColumn<QString>("button"); // empty: by the keyboard
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<bool>("print");

    QTest::newRow("Anteprima") << "cmdAnteprima" << QKeySequence() << false;
    QTest::newRow("Stampa") << "cmdStampa" << QKeySequence() << true;
    QTest::newRow("Ctrl+Shift+P") << "" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P) << false;
    QTest::newRow("Ctrl+P") << "" << QKeySequence(Qt::CTRL | Qt::Key_P) << true;
}

void TestCardWindow::previewAndPrintSaveTheLogoFirst()
{
    QFETCH(QString, button);
    QFETCH(QKeySequence, keys);
    QFETCH(bool, print);

    CardWindow w;
    w.folder.writeFile(QStringLiteral("scelto.bmp"), encoded(quadrants(500, 100), "BMP"));
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(w.window));
    w.folder.platform.openAnswers.enqueue(w.folder.path(QStringLiteral("scelto.bmp")));
    w.click(QStringLiteral("imgLogo"));

    QSize storedWhenOpen;
    QSize shownWhenOpen;
    QWidget *parent = nullptr;
    QString opened;
    auto check = [&](QDialog *dialog) {
        opened = QString::fromLatin1(dialog->metaObject()->className());
        parent = dialog->parentWidget();
        storedWhenOpen = QImage::fromData(w.folder.readFile(kLogo), "BMP").size();
        shownWhenOpen = w.logo().size();
        dialog->reject();
    };
    if (print)
        whenModalShown<TfrmStampaTessera>(check);
    else
        whenModalShown<TfrmAnteprimaTessera>(check);
    if (button.isEmpty())
        QTest::keySequence(w.window, keys);
    else
        w.click(button);

    QCOMPARE(opened, print ? QStringLiteral("TfrmStampaTessera") : QStringLiteral("TfrmAnteprimaTessera"));
    QCOMPARE(parent, w.window);
    QCOMPARE(storedWhenOpen, QSize(119, 118));
    QCOMPARE(shownWhenOpen, QSize(119, 118));
    QVERIFY(w.window->findChildren<QDialog *>().isEmpty());
}

void TestCardWindow::cardContentForPrinting()
{
    CardWindow w;
    w.show();
    StudentRecord record = cardRecord(4);
    const QImage photo = stripes(30, 40);
    w.window->takeStudent(record, 4, photo);
    w.label(QStringLiteral("titAssociazione"))->setText(QStringLiteral("  Istituto Volta \t"));
    w.label(QStringLiteral("txtCarica"))->setText(QStringLiteral(" Corso serale "));

    const IdCardContent card = static_cast<const IdCardSource *>(w.window)->cardContent();

    QCOMPARE(card.associazione, QStringLiteral("Istituto Volta"));
    QCOMPARE(card.sottotitolo01, QStringLiteral("Indirizzo"));
    QCOMPARE(card.sottotitolo02, QStringLiteral("Recapiti"));
    QCOMPARE(card.annotazioni, QStringLiteral("Note"));
    QCOMPARE(card.tesserato, record[StudentRecord::Studente]);
    QCOMPARE(card.carica, QStringLiteral("Corso serale"));
    QCOMPARE(card.numTessera, record[StudentRecord::Classe]);
    QCOMPARE(card.dataRil, record[StudentRecord::Inizio]);
    QCOMPARE(card.dataScade, record[StudentRecord::Fine]);
    QCOMPARE(card.photo, photo);
    QCOMPARE(card.logo, CardArt::logoPlaceholder());
}

void TestCardWindow::schoolDataDialogFromTheCard_data()
{
    QTest::addColumn<QString>("label");
    for (const char *label : {"titAssociazione", "titSottotitolo01", "titSottotitolo02", "titAnnotazioni"})
        QTest::newRow(label) << QString::fromLatin1(label);
}

void TestCardWindow::schoolDataDialogFromTheCard()
{
    QFETCH(QString, label);

    CardWindow w;
    w.show();
    w.label(QStringLiteral("titSottotitolo02"))->setText(QStringLiteral("  Tel. 06 123  "));
    QStringList handedIn;
    QString mode;
    QWidget *parent = nullptr;
    whenModalShown<TfrmDatiEnte>([&](TfrmDatiEnte *dialog) {
        parent = dialog->parentWidget();
        mode = findControl<QLabel>(dialog, QStringLiteral("lblMemory"))->text();
        const QStringList edits{"txtAssociazione", "txtSottotitolo01", "txtSottotitolo02", "txtAnnotazioni"};
        const QStringList typed{" Liceo Galilei ", "Via Dante 3", "", "Anno 2026"};
        for (int i = 0; i < 4; ++i) {
            auto *edit = findControl<QLineEdit>(dialog, edits[i]);
            handedIn << edit->text();
            edit->setText(typed[i]);
        }
        QTest::mouseClick(findControl<QPushButton>(dialog, QStringLiteral("btnApplica")), Qt::LeftButton);
    });

    w.click(label);

    QCOMPARE(parent, w.window);
    QCOMPARE(mode, QStringLiteral("tessera"));
    QCOMPARE(handedIn, (QStringList{"Denominazione Scuola", "Indirizzo", "Tel. 06 123", "Note"}));
    QCOMPARE(w.school(), (QStringList{"Liceo Galilei", "Via Dante 3", "", "Anno 2026"}));
    QVERIFY(w.window->findChildren<QDialog *>().isEmpty());
    QVERIFY(!QFile::exists(w.folder.path(kIni))); // on disk only at the close
}

void TestCardWindow::schoolDataDialogCancelled()
{
    CardWindow w;
    w.show();
    whenModalShown<TfrmDatiEnte>([&](TfrmDatiEnte *dialog) {
        for (QLineEdit *edit : dialog->findChildren<QLineEdit *>())
            edit->setText(QStringLiteral("cambiato"));
        QTest::mouseClick(findControl<QPushButton>(dialog, QStringLiteral("btnAnnulla")), Qt::LeftButton);
    });

    w.click(QStringLiteral("titAnnotazioni"));

    QCOMPARE(w.school(), defaultSchool());
}

void TestCardWindow::guide_data()
{
    QTest::addColumn<bool>("key");
    QTest::newRow("Guida") << false;
    QTest::newRow("F1") << true;
}

void TestCardWindow::guide()
{
    QFETCH(bool, key);

    CardWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(w.window));
    QWidget *parent = nullptr;
    whenModalShown<TfrmGuida>([&](TfrmGuida *dialog) {
        parent = dialog->parentWidget();
        dialog->reject();
    });

    if (key)
        QTest::keyClick(w.window, Qt::Key_F1);
    else
        w.click(QStringLiteral("imgGuida"));

    QCOMPARE(parent, w.window);
    QVERIFY(w.window->isVisible());
}

void TestCardWindow::closingReturnsToTheMenu_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Esci") << false;
    QTest::newRow("close box") << true;
}

void TestCardWindow::closingReturnsToTheMenu()
{
    QFETCH(bool, closeBox);

    CardWindow w;
    writeArchiveOf(w.folder, 2);
    w.folder.writeFile(photoFile(2), encoded(stripes(60, 80), "JPG"));
    w.show();
    w.click(QStringLiteral("cmdUltimo"));
    w.label(QStringLiteral("titAnnotazioni"))->setText(QStringLiteral("Valida un anno"));
    QSignalSpy toMenu(w.window, &TfrmTessera::closedToMenu);

    if (closeBox)
        w.window->close();
    else
        w.click(QStringLiteral("imgEsci"));

    QCOMPARE(toMenu.count(), 1);
    QVERIFY(!w.window->isVisible());
    QCOMPARE(IniFile::read(w.folder.path(kIni), QStringLiteral("Scuola"), QStringLiteral("Note")),
             QStringLiteral("Valida un anno"));

    // Shown again: an empty card, the school's data from the disk.
    w.show();
    QCOMPARE(w.student(), emptyStudent());
    QCOMPARE(w.position(), QString());
    QVERIFY(w.showsBlankPhoto());
    QCOMPARE(w.text(QStringLiteral("titAnnotazioni")), QStringLiteral("Valida un anno"));

    // A hidden window asked to close (the program ending) keeps quiet.
    w.window->hide();
    w.window->close();
    QCOMPARE(toMenu.count(), 1);
}

void TestCardWindow::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");

    const QList<QPair<const char *, QRect>> controls = {
        {"cmdNuovo", QRect(24, 26, 148, 32)},        {"cmdTrova", QRect(192, 26, 148, 32)},
        {"cmdAnteprima", QRect(360, 26, 148, 32)},   {"cmdStampa", QRect(528, 26, 148, 32)},
        {"cmdPrimo", QRect(696, 26, 37, 39)},        {"cmdIndietro", QRect(738, 26, 37, 39)},
        {"lblPosizione", QRect(776, 32, 113, 24)},   {"cmdAvanti", QRect(891, 26, 37, 39)},
        {"cmdUltimo", QRect(933, 26, 37, 39)},       {"imgGuida", QRect(34, 574, 197, 40)},
        {"imgEsci", QRect(762, 574, 197, 40)},       {"shpInfo", QRect(16, 642, 961, 32)},
        {"shpContainer", QRect(8, 8, 977, 675)},     {"shpSfondo", QRect(16, 77, 961, 557)},
        {"shpOmbra", QRect(240, 168, 523, 335)},     {"shpTessera", QRect(248, 176, 508, 319)},
        {"shpSfondoTitoli", QRect(256, 184, 493, 65)}, {"titAssociazione", QRect(262, 188, 485, 22)},
        {"titSottotitolo01", QRect(262, 209, 485, 18)}, {"titSottotitolo02", QRect(262, 226, 485, 18)},
        {"shpCornice", QRect(256, 260, 148, 184)},   {"imgFoto", QRect(262, 265, 136, 174)},
        {"imgBianco", QRect(262, 265, 136, 174)},    {"btnCancFoto", QRect(387, 431, 22, 22)},
        {"txtTesserato", QRect(418, 260, 327, 24)},  {"txtCarica", QRect(418, 284, 327, 22)},
        {"txtNumTessera", QRect(418, 315, 191, 22)}, {"shpDataRil", QRect(418, 362, 127, 28)},
        {"txtDataRil", QRect(424, 366, 115, 20)},    {"shpDataScade", QRect(418, 416, 127, 28)},
        {"txtDataScade", QRect(424, 420, 115, 20)},  {"shpLogo", QRect(618, 314, 131, 130)},
        {"imgLogo", QRect(624, 320, 119, 118)},      {"imgBlank", QRect(624, 320, 119, 118)},
        {"btnCancLogo", QRect(723, 418, 22, 22)},    {"shpSfondoAnnotazioni", QRect(256, 456, 493, 31)},
        {"titAnnotazioni", QRect(262, 461, 485, 22)},
    };
    for (const auto &[name, geometry] : controls)
        QTest::newRow(name) << QString::fromLatin1(name) << geometry;
}

void TestCardWindow::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);

    CardWindow w;
    w.show();
    QWidget *panel = findControl<QWidget>(w.window, QStringLiteral("panContainer"));
    QCOMPARE(panel->size(), QSize(995, 692));
    QCOMPARE(w.window->windowTitle(), QStringLiteral(" Lumetra - Stampa Tesserini"));
    QWidget *control = findControl<QWidget>(w.window, name);
    QCOMPARE(control->parentWidget(), panel);
    QCOMPARE(control->geometry(), geometry);
    const bool hidden = name == QLatin1String("imgBianco") || name == QLatin1String("imgBlank");
    QCOMPARE(control->isVisible(), !hidden);
}

void TestCardWindow::hintLine_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("hint");

    QTest::newRow("cmdNuovo") << "cmdNuovo" << "Cancella i dati del tesserino.";
    QTest::newRow("cmdTrova") << "cmdTrova" << "Importa i dati e la foto di uno studente dall'archivio anagrafico.";
    QTest::newRow("cmdAnteprima") << "cmdAnteprima" << "Visualizza l'anteprima di stampa del tesserino.";
    QTest::newRow("cmdStampa") << "cmdStampa" << "Stampa il tesserino.";
    QTest::newRow("cmdPrimo") << "cmdPrimo" << "Visualizza la prima scheda in archivio.";
    QTest::newRow("cmdIndietro") << "cmdIndietro" << "Visualizza la scheda precedente in archivio.";
    QTest::newRow("cmdAvanti") << "cmdAvanti" << "Visualizza la scheda successiva in archivio.";
    QTest::newRow("cmdUltimo") << "cmdUltimo" << "Visualizza l'ultima scheda in archivio.";
    QTest::newRow("imgGuida") << "imgGuida" << "Visualizza la guida in linea.";
    QTest::newRow("imgEsci") << "imgEsci" << "Esci da questa schermata di lavoro.";
    QTest::newRow("imgLogo") << "imgLogo" << "Premi qui per caricare il logo della Scuola.";
    for (const char *school : {"titAssociazione", "titSottotitolo01", "titSottotitolo02", "titAnnotazioni"})
        QTest::newRow(school) << school << "Premi qui per inserire i dati della Scuola.";
    QTest::newRow("btnCancFoto") << "btnCancFoto" << "Cancella foto.";
    QTest::newRow("btnCancLogo") << "btnCancLogo" << "Cancella logo.";
}

void TestCardWindow::hintLine()
{
    QFETCH(QString, control);
    QFETCH(QString, hint);

    CardWindow w;
    w.show();
    QLabel *info = w.label(QStringLiteral("panInfo"));
    QWidget *target = findControl<QWidget>(w.window, control);

    QTest::mouseMove(target, QPoint(5, 5));
    QTRY_COMPARE(info->text(), hint);
}

void TestCardWindow::hintLineEmptiedOverBackground()
{
    CardWindow w;
    w.show();
    QLabel *info = w.label(QStringLiteral("panInfo"));
    for (const char *quiet : {"shpSfondo", "imgFoto", "shpTessera", "txtTesserato", "titDataRil", "lblPosizione"}) {
        QWidget *logo = findControl<QWidget>(w.window, QStringLiteral("imgLogo"));
        QTest::mouseMove(logo, QPoint(5, 5));
        QTRY_VERIFY(!info->text().isEmpty());
        QWidget *area = findControl<QWidget>(w.window, QString::fromLatin1(quiet));
        QTest::mouseMove(area, QPoint(3, 3));
        QVERIFY2(QTest::qWaitFor([&] { return info->text().isEmpty(); }, 2000), quiet);
    }
}

void TestCardWindow::pictureButtonsHaveNames()
{
    CardWindow w;
    const QList<QPair<const char *, const char *>> buttons = {
        {"cmdTrova", "Importa i dati e la foto di uno studente dall'archivio anagrafico."},
        {"cmdAvanti", "Visualizza la scheda successiva in archivio."},
        {"imgLogo", "Premi qui per caricare il logo della Scuola."},
        {"btnCancFoto", "Cancella foto."},
    };
    for (const auto &[name, accessible] : buttons)
        QCOMPARE(findControl<QWidget>(w.window, QString::fromLatin1(name))->accessibleName(),
                 QString::fromUtf8(accessible));
}

QTEST_MAIN(TestCardWindow)
#include "test_cardwindow.moc"
