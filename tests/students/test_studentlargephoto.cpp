// A camera-sized photo in the student window: the frame shows a copy decoded
// for it, while saving, exporting, zooming and printing all work on the photo
// at its own size. Real JPEG files, real decoding.
#include "studentfixture.h"

#include "archive/studentarchive.h"
#include "media/tfrmzoom.h"
#include "printing/tfrmstampastudenti.h"

#include <QDir>
#include <QImageReader>
#include <QtTest>

namespace {

const QSize kOwnSize(4000, 3000);
// Where a 4000 x 3000 photo lies in the 307 x 394 frame, fitted.
const QRect kFitted(0, 82, 307, 230);

// Stripes across a photo-sized picture: a reduced or re-encoded copy differs.
QByteArray cameraPhoto()
{
    static const QByteArray bytes = jpegOf(stripes(kOwnSize.width(), kOwnSize.height()));
    return bytes;
}

QSize sizeOnDisk(const QString &path)
{
    QImageReader reader(path);
    reader.setAllocationLimit(512);
    return reader.read().size();
}

// Card 1 with the camera photo, card 2 with a small one.
void plantCards(const StudentWindow &w)
{
    writeArchive(w.folder, 2);
    w.folder.writeFile(photoFile(1), cameraPhoto());
    writePhoto(w.folder, 2, stripes(200, 150));
}

// Brings card 1 on screen as the operator would: browsing, or a pick in the
// search window (which decodes the photo for the frame it is given).
void showCardOne(const StudentWindow &w, const QString &how)
{
    if (how == QLatin1String("browsed")) {
        w.click(QStringLiteral("cmdPrimo"));
    } else {
        const QString folder = w.folder.context.folder;
        w.window->takeStudent(StudentArchive::readOne(folder, 1), 1,
                              StudentFiles::loadStudentPhoto(folder, QStringLiteral("1"), w.window->photoFrame()));
    }
}

} // namespace

class TestStudentLargePhoto : public QObject
{
    Q_OBJECT

private slots:
    void storedPhotoIsNeverReplacedByTheFramesCopy_data();
    void storedPhotoIsNeverReplacedByTheFramesCopy();
    void photoAtItsOwnSizeWhereTheFrameIsNotEnough_data();
    void photoAtItsOwnSizeWhereTheFrameIsNotEnough();
    void newPhotoStoredAtItsOwnSize_data();
    void newPhotoStoredAtItsOwnSize();
};

void TestStudentLargePhoto::storedPhotoIsNeverReplacedByTheFramesCopy_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("before"); // what the operator does before saving

    for (const char *how : {"browsed", "picked"}) {
        QTest::addRow("%s, saved", how) << how << "";
        QTest::addRow("%s, a field typed, saved", how) << how << "type";
        QTest::addRow("%s, saved twice", how) << how << "save";
        QTest::addRow("%s, away and back, saved", how) << how << "away";
    }
}

void TestStudentLargePhoto::storedPhotoIsNeverReplacedByTheFramesCopy()
{
    QFETCH(QString, how);
    QFETCH(QString, before);

    StudentWindow w;
    plantCards(w);
    w.show();
    showCardOne(w, how);

    QCOMPARE(w.position(), QStringLiteral("1"));
    // The frame holds a copy decoded for it, laid out as the whole photo.
    QVERIFY2(w.photo()->image().width() < kOwnSize.width() / 2, qPrintable(QString::number(w.photo()->image().width())));
    QCOMPARE(w.photo()->pictureRect(), kFitted);

    if (before == QLatin1String("type")) {
        w.edit(StudentRecord::Note)->setText(QStringLiteral("nota cambiata"));
    } else if (before == QLatin1String("save")) {
        w.click(QStringLiteral("cmdSalva"));
    } else if (before == QLatin1String("away")) {
        w.click(QStringLiteral("cmdAvanti"));
        w.click(QStringLiteral("cmdIndietro"));
        QCOMPARE(w.position(), QStringLiteral("1"));
    }
    w.click(QStringLiteral("cmdSalva"));

    QCOMPARE(w.folder.platform.lastText(),
             QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio."));
    QCOMPARE(w.folder.readFile(photoFile(1)), cameraPhoto());
    QCOMPARE(sizeOnDisk(w.folder.path(photoFile(1))), kOwnSize);
    QCOMPARE(w.photo()->pictureRect(), kFitted);
    QVERIFY(QDir(w.folder.path(QStringLiteral("Anagrafica"))).entryList({QStringLiteral("*.lumetra-tmp")}).isEmpty());
}

void TestStudentLargePhoto::photoAtItsOwnSizeWhereTheFrameIsNotEnough_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("action");

    for (const char *how : {"browsed", "picked"}) {
        QTest::addRow("%s, written to a file", how) << how << "btnSalvaFoto";
        QTest::addRow("%s, zoomed", how) << how << "btnZoomFoto";
        QTest::addRow("%s, sheet printed", how) << how << "cmdStampa";
    }
}

void TestStudentLargePhoto::photoAtItsOwnSizeWhereTheFrameIsNotEnough()
{
    QFETCH(QString, how);
    QFETCH(QString, action);

    StudentWindow w;
    plantCards(w);
    w.show();
    showCardOne(w, how);

    QSize handed;
    if (action == QLatin1String("btnSalvaFoto")) {
        w.folder.platform.saveAnswers.enqueue(w.folder.path(QStringLiteral("ritratto.jpg")));
        w.click(action);
        handed = sizeOnDisk(w.folder.path(QStringLiteral("ritratto.jpg")));
    } else if (action == QLatin1String("btnZoomFoto")) {
        whenModalShown<TfrmZoom>([&](TfrmZoom *zoom) {
            handed = findControl<PictureBox>(zoom, QStringLiteral("imgFoto"))->image().size();
            zoom->close();
        });
        w.click(action);
    } else {
        whenModalShown<TfrmStampaStudenti>([&](TfrmStampaStudenti *sheet) {
            handed = findControl<PictureBox>(sheet, QStringLiteral("imgLogo"))->image().size();
            sheet->reject();
        });
        w.click(action);
    }

    QCOMPARE(handed, kOwnSize);
    QVERIFY(!w.showsBlank());
    QCOMPARE(w.messageCount(), 0);
}

void TestStudentLargePhoto::newPhotoStoredAtItsOwnSize_data()
{
    QTest::addColumn<bool>("webcam"); // else loaded from a file

    QTest::newRow("loaded from a file") << false;
    QTest::newRow("from the webcam") << true;
}

void TestStudentLargePhoto::newPhotoStoredAtItsOwnSize()
{
    QFETCH(bool, webcam);

    StudentWindow w;
    plantCards(w);
    w.folder.writeFile(QStringLiteral("scelte/nuova.jpg"), cameraPhoto());
    w.show();
    w.click(QStringLiteral("cmdUltimo"));
    QCOMPARE(w.position(), QStringLiteral("2"));
    if (webcam) {
        static_cast<PhotoTarget *>(w.window)->takePhoto(stripes(kOwnSize.width(), kOwnSize.height()));
    } else {
        w.folder.platform.openAnswers.enqueue(w.folder.path(QStringLiteral("scelte/nuova.jpg")));
        answerFraming();
        w.click(QStringLiteral("btnCaricaFoto"));
    }

    w.click(QStringLiteral("cmdSalva"));
    QCOMPARE(sizeOnDisk(w.folder.path(photoFile(2))), kOwnSize);
    const QByteArray stored = w.folder.readFile(photoFile(2));

    // Shown again from the disk, in the frame's copy: a later save keeps the
    // file as the first one wrote it.
    w.click(QStringLiteral("cmdPrimo"));
    w.click(QStringLiteral("cmdUltimo"));
    QVERIFY(w.photo()->image().width() < kOwnSize.width() / 2);
    w.click(QStringLiteral("cmdSalva"));
    QCOMPARE(w.folder.readFile(photoFile(2)), stored);
}

QTEST_MAIN(TestStudentLargePhoto)
#include "test_studentlargephoto.moc"
