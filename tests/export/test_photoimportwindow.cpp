// "Importa foto" in the export window: the folder asked through the seam,
// the review list (matches, conflicts, unmatched, unreadable files, framed
// results), unticking and "Foto intera", the question before an existing
// photo is replaced, and the closing message.
#include "exportfixture.h"

#include "../core/photo/samplephotos.h"

#include "archive/studentarchive.h"
#include "export/photoimportdialog.h"
#include "photo/facefinder.h"
#include "photo/photoframing.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QTimer>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

enum Column { ColFoto, ColFile, ColScheda, ColRegola, ColEsito, ColIntera };

QTreeWidgetItem *rowOf(QTreeWidget *list, const QString &fileName)
{
    for (int r = 0; r < list->topLevelItemCount(); ++r)
        if (list->topLevelItem(r)->text(ColFile) == fileName)
            return list->topLevelItem(r);
    QTest::qFail(qPrintable(QStringLiteral("no row for %1").arg(fileName)), __FILE__, __LINE__);
    return nullptr;
}

const QString kCrLf = QStringLiteral("\r\n");

// An archive of seven cards, a photo already on card 1, and a folder of
// pictures named after them.
struct PhotoFolder
{
    ExportWindow window;
    TempFolder source;
    QImage portrait = StudentFiles::loadPicture(SamplePhotos::portrait());
    QImage fruits = StudentFiles::loadPicture(SamplePhotos::fruits());
    QByteArray previousPhoto = SamplePhotos::jpeg(StudentFiles::loadPicture(SamplePhotos::building()));

    PhotoFolder()
    {
        StudentArchive archive(window.folder.folder);
        const QList<QPair<QString, QString>> cards{
            {QStringLiteral("Rossi Mario"), QStringLiteral("RSSMRA80A01H501U")},
            {QStringLiteral("Bianchi Anna"), QString()},
            {QStringLiteral("Nicolò Ferrè"), QString()},
            {QStringLiteral("Neri Paolo"), QString()},
            {QStringLiteral("Neri Paolo"), QString()},
            {QStringLiteral("Gialli Sara"), QString()},
            {QStringLiteral("Blu Marco"), QString()}};
        for (const auto &card : cards)
            archive.append(cardWith({{R::Studente, card.first}, {R::CodFisc, card.second}, {R::Corso, "Corso"}}));
        archive.close();
        window.folder.writeFile(QStringLiteral("Anagrafica/Scheda_Studente_1.jpg"), previousPhoto);

        source.writeFile(QStringLiteral("foto RSSMRA80A01H501U.jpg"), SamplePhotos::jpeg(portrait));
        source.writeFile(QStringLiteral("bianchi_anna.jpg"), SamplePhotos::jpeg(portrait));
        source.writeFile(QStringLiteral("3.jpg"), SamplePhotos::jpeg(fruits));
        source.writeFile(QStringLiteral("Neri Paolo.jpg"), SamplePhotos::jpeg(portrait));
        source.writeFile(QStringLiteral("Gialli Sara.jpg"), SamplePhotos::jpeg(portrait));
        source.writeFile(QStringLiteral("6.jpg"), SamplePhotos::jpeg(portrait));
        source.writeFile(QStringLiteral("Verdi Luca.jpg"), SamplePhotos::jpeg(portrait));
        source.writeFile(QStringLiteral("7.jpg"), "not a picture");
    }

    FakePlatform &platform() { return window.folder.platform; }
    QImage photo(int number) const
    {
        return StudentFiles::loadStudentPhoto(window.folder.folder, QString::number(number));
    }
    bool hasPhoto(int number) const
    {
        return StudentFiles::hasPhotoFile(window.folder.folder, QString::number(number));
    }

    // Opens the export window, chooses the folder with "Importa foto" and
    // runs `action` on the import window once its list is complete.
    bool importWith(const std::function<void(TfrmImportaFoto *)> &action)
    {
        if (!window.open())
            return false;
        platform().folderAnswers << source.dir.path();
        bool ran = false;
        whenModalShown<TfrmImportaFoto>([&](TfrmImportaFoto *dialog) {
            QElapsedTimer clock;
            clock.start();
            whenReady(dialog, clock, [&](TfrmImportaFoto *ready) {
                ran = true;
                action(ready);
                // A check that failed midway left it open.
                if (ready->isVisible())
                    ready->reject();
            });
        }, 20000);
        window.click(QStringLiteral("cmdImportaFoto"));
        return ran;
    }

    // Runs `action` once the window has examined the folder. Never from
    // inside the examination's own progress steps: a later turn of the event
    // loop looks again.
    static void whenReady(TfrmImportaFoto *dialog, QElapsedTimer clock,
                          const std::function<void(TfrmImportaFoto *)> &action)
    {
        if (dialog->isReady()) {
            action(dialog);
            return;
        }
        if (clock.elapsed() > 20000 || !dialog->isVisible()) {
            dialog->close();
            return;
        }
        QTimer::singleShot(20, dialog, [dialog, clock, action] { whenReady(dialog, clock, action); });
    }
};

} // namespace

class TestPhotoImportWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void folderAskedByButtonAndKey_data();
    void folderAskedByButtonAndKey();
    void reviewListShowsEveryFile();
    void fotoInteraShowsTheWholePicture();
    void replaceQuestion_data();
    void replaceQuestion();
    void folderWithoutPictures();
};

void TestPhotoImportWindow::initTestCase()
{
    const QString missing = SamplePhotos::missing();
    QVERIFY2(missing.isEmpty(), qPrintable(missing));
    QVERIFY2(PhotoFramer::canFindFaces(), "the face models (or the face module) cannot be loaded");
}

void TestPhotoImportWindow::folderAskedByButtonAndKey_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("toolbar button") << false;
    QTest::newRow("Ctrl+Shift+I") << true;
}

void TestPhotoImportWindow::folderAskedByButtonAndKey()
{
    QFETCH(bool, byKey);
    ExportWindow window;
    QVERIFY(window.open());
    auto *button = findControl<PictureBox>(window.window.get(), QStringLiteral("cmdImportaFoto"));
    QVERIFY(button->toolTip().contains(QStringLiteral("Ctrl+Shift+I")));

    // The folder dialog cancelled: nothing opens, nothing is said.
    if (byKey)
        QTest::keyClick(window.window.get(), Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
    else
        window.click(QStringLiteral("cmdImportaFoto"));

    QCOMPARE(window.folder.platform.dialogTitles, QStringList{TfrmImportaFoto::folderDialogTitle()});
    QVERIFY(window.folder.platform.messages.isEmpty());
    QVERIFY(!QApplication::activeModalWidget());
}

void TestPhotoImportWindow::reviewListShowsEveryFile()
{
    PhotoFolder folder;
    QVERIFY(folder.importWith([&](TfrmImportaFoto *dialog) {
        auto *list = findControl<QTreeWidget>(dialog, QStringLiteral("lstFoto"));
        struct Expected
        {
            const char *file;
            QString card;
            const char *rule;
            QString outcome;
            bool tickable;
        };
        const QList<Expected> expected{
            {"3.jpg", QStringLiteral("3 - Nicolò Ferrè"), "numero della scheda",
             QStringLiteral("Da importare; nessun volto, riquadro centrale"), true},
            {"6.jpg", "6 - Gialli Sara", "numero della scheda",
             QStringLiteral("Conflitto: più file per la stessa scheda"), false},
            {"7.jpg", "7 - Blu Marco", "numero della scheda", QStringLiteral("Immagine non leggibile"), false},
            {"bianchi_anna.jpg", "2 - Bianchi Anna", "cognome e nome", "Da importare", true},
            {"foto RSSMRA80A01H501U.jpg", "1 - Rossi Mario", "codice fiscale", "Sostituisce la foto attuale", true},
            {"Gialli Sara.jpg", "6 - Gialli Sara", "cognome e nome",
             QStringLiteral("Conflitto: più file per la stessa scheda"), false},
            {"Neri Paolo.jpg", "schede 4, 5", "cognome e nome", QStringLiteral("Conflitto: corrisponde a più schede"),
             false},
            {"Verdi Luca.jpg", "", "", "Nessuna scheda corrispondente", false},
        };
        QCOMPARE(list->topLevelItemCount(), expected.size());
        for (const Expected &e : expected) {
            QTreeWidgetItem *row = rowOf(list, QString::fromUtf8(e.file));
            QVERIFY(row);
            QCOMPARE(row->text(ColScheda), e.card);
            QCOMPARE(row->text(ColRegola), QString::fromUtf8(e.rule));
            QCOMPARE(row->text(ColEsito), e.outcome);
            QCOMPARE(bool(row->flags() & Qt::ItemIsUserCheckable), e.tickable);
            if (e.tickable) {
                QCOMPARE(row->checkState(ColFoto), Qt::Checked);
                // The framed result: an ID photo's proportions.
                const QSize thumb = row->icon(ColFoto).availableSizes().value(0);
                QVERIFY2(qAbs(thumb.width() - PhotoFraming::widthFor(thumb.height())) <= 1,
                         qPrintable(QStringLiteral("%1x%2").arg(thumb.width()).arg(thumb.height())));
            }
        }
        QCOMPARE(findControl<QLabel>(dialog, QStringLiteral("lblRiepilogo"))->text(),
                 QStringLiteral("Foto abbinate: 3   Conflitti: 3   Senza scheda: 1   Non leggibili: 1"));
        QTest::mouseClick(findControl<QPushButton>(dialog, QStringLiteral("btnChiudi")), Qt::LeftButton);
    }));
    // Closed without importing: nothing stored, the old photo kept.
    QCOMPARE(folder.window.folder.readFile(QStringLiteral("Anagrafica/Scheda_Studente_1.jpg")), folder.previousPhoto);
    QVERIFY(!folder.hasPhoto(2));
    QVERIFY(folder.platform().questions.isEmpty());
}

void TestPhotoImportWindow::fotoInteraShowsTheWholePicture()
{
    PhotoFolder folder;
    QVERIFY(folder.importWith([&](TfrmImportaFoto *dialog) {
        auto *list = findControl<QTreeWidget>(dialog, QStringLiteral("lstFoto"));
        QTreeWidgetItem *row = rowOf(list, QStringLiteral("3.jpg"));
        const QSize framed = row->icon(ColFoto).availableSizes().value(0);
        row->setCheckState(ColIntera, Qt::Checked);
        const QSize whole = row->icon(ColFoto).availableSizes().value(0);
        // The fruits picture is wider, in proportion, than an ID photo.
        QVERIFY(whole.width() * framed.height() > framed.width() * whole.height());
        row->setCheckState(ColIntera, Qt::Unchecked);
        QCOMPARE(row->icon(ColFoto).availableSizes().value(0), framed);
        // From the keyboard: I for "Foto intera", Space for the import tick.
        dialog->activateWindow();
        list->setFocus();
        list->setCurrentItem(row);
        QTest::keyClick(list, Qt::Key_I);
        QCOMPARE(row->checkState(ColIntera), Qt::Checked);
        QCOMPARE(row->icon(ColFoto).availableSizes().value(0), whole);
        QTest::keyClick(list, Qt::Key_I);
        QCOMPARE(row->checkState(ColIntera), Qt::Unchecked);
        QCOMPARE(row->checkState(ColFoto), Qt::Checked);
        QTest::keyClick(list, Qt::Key_Space);
        QCOMPARE(row->checkState(ColFoto), Qt::Unchecked);
        QTest::mouseClick(findControl<QPushButton>(dialog, QStringLiteral("btnChiudi")), Qt::LeftButton);
    }));
}

void TestPhotoImportWindow::replaceQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<bool>("stored");
    QTest::newRow("Sì: the photo of card 1 replaced") << int(Platform::Answer::Yes) << true << true;
    QTest::newRow("No: card 1 keeps its photo, the others stored") << int(Platform::Answer::No) << false << true;
    QTest::newRow("Annulla: nothing stored, the list stays") << int(Platform::Answer::Cancel) << false << false;
}

void TestPhotoImportWindow::replaceQuestion()
{
    QFETCH(int, answer);
    QFETCH(bool, replaced);
    QFETCH(bool, stored);
    PhotoFolder folder;
    folder.platform().askAnswers << Platform::Answer(answer);
    bool stayedOpen = false;

    QVERIFY(folder.importWith([&](TfrmImportaFoto *dialog) {
        auto *list = findControl<QTreeWidget>(dialog, QStringLiteral("lstFoto"));
        // Anna's photo unticked, the fruits kept whole.
        rowOf(list, QStringLiteral("bianchi_anna.jpg"))->setCheckState(ColFoto, Qt::Unchecked);
        rowOf(list, QStringLiteral("3.jpg"))->setCheckState(ColIntera, Qt::Checked);
        QTest::mouseClick(findControl<QPushButton>(dialog, QStringLiteral("btnImporta")), Qt::LeftButton);
        stayedOpen = dialog->isVisible();
        if (stayedOpen)
            QTest::mouseClick(findControl<QPushButton>(dialog, QStringLiteral("btnChiudi")), Qt::LeftButton);
    }));

    QCOMPARE(folder.platform().questions,
             QStringList{QStringLiteral("Una delle schede scelte ha già una foto.") + kCrLf + kCrLf
                         + QStringLiteral("Sostituire le foto attuali con quelle della cartella?") + kCrLf + kCrLf
                         + QStringLiteral("Sì: le sostituisce. No: lascia le foto attuali e importa le altre. "
                                          "Annulla: non importa nulla.")});
    QCOMPARE(stayedOpen, !stored);
    QVERIFY(!folder.hasPhoto(2));
    QVERIFY(!folder.hasPhoto(6));
    QVERIFY(!folder.hasPhoto(7));
    QCOMPARE(folder.hasPhoto(3), stored);
    if (stored)
        QCOMPARE(folder.photo(3).size(), folder.fruits.size());

    const QImage first = folder.photo(1);
    QCOMPARE(folder.window.folder.readFile(QStringLiteral("Anagrafica/Scheda_Studente_1.jpg")) != folder.previousPhoto,
             replaced);
    if (replaced) {
        // Framed around the face, at the portrait's own resolution.
        QVERIFY(qAbs(first.width() - PhotoFraming::widthFor(first.height())) <= 1);
        QVERIFY(first.height() <= folder.portrait.height());
        QVERIFY(!FaceFinder::largestFace(first).isNull());
    }

    if (!stored) {
        QVERIFY(folder.platform().messages.isEmpty());
        return;
    }
    QCOMPARE(folder.platform().messages.size(), 1);
    QCOMPARE(folder.platform().lastKind(), Platform::MessageKind::Notice);
    const QString expected = replaced ? QStringLiteral("Foto importate: 2.")
                                      : QStringLiteral("Foto importate: 1.") + kCrLf
                                            + QStringLiteral("Foto attuali lasciate come erano: 1.");
    QCOMPARE(folder.platform().lastText(),
             expected + kCrLf + kCrLf + QStringLiteral("Immagini che non è stato possibile leggere:") + kCrLf
                 + QStringLiteral("7.jpg"));
}

void TestPhotoImportWindow::folderWithoutPictures()
{
    ExportWindow window;
    TempFolder empty;
    empty.writeFile(QStringLiteral("elenco.txt"), "Rossi Mario");
    QVERIFY(window.open());
    window.folder.platform.folderAnswers << empty.dir.path();

    window.click(QStringLiteral("cmdImportaFoto"));

    QCOMPARE(window.folder.platform.messages.size(), 1);
    QCOMPARE(window.folder.platform.lastKind(), Platform::MessageKind::Notice);
    QCOMPARE(window.folder.platform.lastText(),
             QStringLiteral("La cartella scelta non contiene immagini (JPEG, Bitmap o PNG)."));
}

QTEST_MAIN(TestPhotoImportWindow)
#include "test_photoimportwindow.moc"
