// The webcam window over a scripted camera: live frames shown on the
// user-interface thread, capture, save as JPEG, import into the student
// window, and the camera switched off by every way out. Also with no camera.
#include "../students/studentfixture.h"

#include "base/forms.h"
#include "media/tfrmwebcam.h"

#include <QImageReader>
#include <QPushButton>
#include <QThread>
#include <QtTest>

#include <thread>

namespace {

struct PhotoHolder : PhotoTarget
{
    QList<QImage> taken;
    void takePhoto(const QImage &photo) override { taken << photo; }
};

QImage solid(int w, int h, const QColor &colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The window on its own, over a recording target, in the student window's mode.
struct CamWindow
{
    TestFolder folder;
    PhotoHolder target;
    TfrmWebCam *window = nullptr;

    explicit CamWindow(bool camera = true, const QString &tag = QStringLiteral("euro_01"))
    {
        folder.platform.camera.present = camera;
        window = new TfrmWebCam(folder.context, nullptr, &target);
        Forms::setModeTag(window, tag);
    }
    ~CamWindow() { delete window; }

    void click(const QString &name) const { QTest::mouseClick(findControl<QWidget>(window, name), Qt::LeftButton); }
    QImage live() const { return findControl<PictureBox>(window, QStringLiteral("imgCamera"))->image(); }
    QImage captured() const { return findControl<PictureBox>(window, QStringLiteral("imgTarget"))->image(); }
    QImage webcamDrawing() const { return findControl<PictureBox>(window, QStringLiteral("imgBianco"))->image(); }
    FakeCaptureDevice *device() const { return folder.platform.camera.device; }
    // A frame as the capture layer hands it over: from its own thread.
    void deliverFromCaptureThread(const QImage &frame) const
    {
        FakeCaptureDevice *d = device();
        std::thread capture([d, frame] { d->deliver(frame); });
        capture.join();
    }
};

} // namespace

class TestWebcam : public QObject
{
    Q_OBJECT
private slots:
    void captureIntoStudentWindow();
    void withoutCamera_data();
    void withoutCamera();
    void everyWayOutSwitchesOff_data();
    void everyWayOutSwitchesOff();
    void switchedOffKeepsLastFrame();
    void cameraUnplugged();
    void saveFrame_data();
    void saveFrame();
    void reopenStartsOff();
};

// The whole road: switch on, frames from the capture thread, capture, import;
// the student window shows the frame, stored nowhere until the card is saved.
void TestWebcam::captureIntoStudentWindow()
{
    StudentWindow w;
    w.folder.platform.camera.present = true;
    writeArchive(w.folder, 1);
    writePhoto(w.folder, 1, stripes(100, 80));
    w.show();
    w.click(QStringLiteral("cmdPrimo"));
    const QByteArray storedPhoto = w.folder.readFile(photoFile(1));
    const QImage first = solid(640, 480, Qt::darkCyan);
    const QImage second = stripes(800, 600);

    QString tag;
    QImage liveShown;
    QImage capturedShown;
    whenModalShown<TfrmWebCam>([&](TfrmWebCam *dialog) {
        tag = findControl<QLabel>(dialog, QStringLiteral("lblMemory"))->text();
        QTest::mouseClick(findControl<QWidget>(dialog, QStringLiteral("btnAccendi")), Qt::LeftButton);
        FakeCaptureDevice *device = w.folder.platform.camera.device;
        QVERIFY(device);
        std::thread([device, first] { device->deliver(first); }).join();
        auto *live = findControl<PictureBox>(dialog, QStringLiteral("imgCamera"));
        QTRY_COMPARE(live->image(), first);
        std::thread([device, second] { device->deliver(second); }).join();
        QTRY_COMPARE(live->image(), second);
        liveShown = live->image();
        QTest::mouseClick(findControl<QWidget>(dialog, QStringLiteral("btnCattura")), Qt::LeftButton);
        capturedShown = findControl<PictureBox>(dialog, QStringLiteral("imgTarget"))->image();
        answerFraming();
        QTest::mouseClick(findControl<QWidget>(dialog, QStringLiteral("btnImportaFoto")), Qt::LeftButton);
    });
    w.click(QStringLiteral("btnWebcam"));

    QCOMPARE(tag, QStringLiteral("euro_01"));
    QCOMPARE(liveShown, second);
    QCOMPARE(capturedShown, second);
    QCOMPARE(w.photo()->image(), second);
    QVERIFY(!w.folder.platform.camera.running);
    // Frames were read only on the user-interface thread.
    QVERIFY(!w.folder.platform.camera.readers.isEmpty());
    for (QThread *reader : w.folder.platform.camera.readers)
        QCOMPARE(reader, QCoreApplication::instance()->thread());
    // On screen only: the stored photo changes with the next save.
    QCOMPARE(w.folder.readFile(photoFile(1)), storedPhoto);
    QTRY_VERIFY(w.window->findChildren<QDialog *>().isEmpty());
    QVERIFY(!w.folder.platform.camera.device); // freed with the window

    w.click(QStringLiteral("cmdSalva"));
    QCOMPARE(QImageReader(w.folder.path(photoFile(1))).size(), second.size());
}

void TestWebcam::withoutCamera_data()
{
    QTest::addColumn<bool>("capture"); // before importing
    QTest::newRow("import before any capture: the photo-camera drawing") << false;
    QTest::newRow("capture without a camera: the webcam drawing") << true;
}

// No camera: switching on has no visible effect and no message; capture and
// import hand on the placeholders.
void TestWebcam::withoutCamera()
{
    QFETCH(bool, capture);
    CamWindow c(false);
    QVERIFY(showActive(*c.window));
    const QImage liveBefore = c.live();
    const QImage cameraDrawing = c.captured();
    QVERIFY(!liveBefore.isNull());
    QVERIFY(liveBefore != cameraDrawing);
    QCOMPARE(liveBefore, c.webcamDrawing());

    c.click(QStringLiteral("btnAccendi"));
    QVERIFY(!c.window->isCameraOn());
    QCOMPARE(c.live(), liveBefore);
    c.click(QStringLiteral("btnSpegni")); // harmless
    if (capture)
        c.click(QStringLiteral("btnCattura"));
    c.click(QStringLiteral("btnImportaFoto"));

    QCOMPARE(c.target.taken.size(), 1);
    QCOMPARE(c.target.taken.first(), capture ? liveBefore : cameraDrawing);
    QVERIFY(c.folder.platform.messages.isEmpty());
    QVERIFY(!c.window->isVisible());
}

void TestWebcam::everyWayOutSwitchesOff_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Importa foto in scheda") << "btnImportaFoto" << true;
    QTest::newRow("Annulla") << "btnClose" << true;
    QTest::newRow("Importa in another mode: stays open, camera off") << "import other mode" << false;
    QTest::newRow("closed by the program") << "close" << true;
    QTest::newRow("destroyed while open") << "destroy" << true;
}

void TestWebcam::everyWayOutSwitchesOff()
{
    QFETCH(QString, way);
    QFETCH(bool, closes);
    CamWindow c(true, way == QLatin1String("import other mode") ? QStringLiteral("studenti")
                                                                 : QStringLiteral("euro_01"));
    QVERIFY(showActive(*c.window));
    c.click(QStringLiteral("btnAccendi"));
    QVERIFY(c.folder.platform.camera.running);
    QVERIFY(c.window->isCameraOn());

    if (way == QLatin1String("close")) {
        c.window->close();
    } else if (way == QLatin1String("destroy")) {
        delete c.window;
        c.window = nullptr;
    } else if (way == QLatin1String("import other mode")) {
        c.click(QStringLiteral("btnImportaFoto"));
        QVERIFY(c.target.taken.isEmpty());
    } else {
        c.click(way);
    }

    QVERIFY(!c.folder.platform.camera.running);
    if (c.window) {
        QCOMPARE(c.window->isVisible(), !closes);
        QVERIFY(!c.window->isCameraOn());
    }
}

// Switching off keeps the last frame, and capturing then takes that frame.
void TestWebcam::switchedOffKeepsLastFrame()
{
    CamWindow c;
    QVERIFY(showActive(*c.window));
    c.click(QStringLiteral("btnAccendi"));
    const QImage last = solid(320, 240, Qt::darkMagenta);
    c.deliverFromCaptureThread(last);
    QTRY_COMPARE(c.live(), last);

    c.click(QStringLiteral("btnSpegni"));
    QVERIFY(!c.folder.platform.camera.running);
    // A frame signalled after switching off is not shown.
    emit c.device()->frameReady();
    QCoreApplication::processEvents();
    c.click(QStringLiteral("btnCattura"));

    QCOMPARE(c.live(), last);
    QCOMPARE(c.captured(), last);
    // And on again: frames come back.
    c.click(QStringLiteral("btnAccendi"));
    const QImage next = solid(320, 240, Qt::darkYellow);
    c.deliverFromCaptureThread(next);
    QTRY_COMPARE(c.live(), next);
    QCOMPARE(c.folder.platform.camera.opened, 1); // the same device throughout
}

// A camera that goes away while the window is open: the last frame stays, a
// new switch-on does nothing, and capture, save and import go on working.
void TestWebcam::cameraUnplugged()
{
    CamWindow c;
    QVERIFY(showActive(*c.window));
    c.click(QStringLiteral("btnAccendi"));
    const QImage last = solid(640, 360, Qt::darkGreen);
    c.deliverFromCaptureThread(last);
    QTRY_COMPARE(c.live(), last);

    c.device()->unplug();
    c.deliverFromCaptureThread(solid(640, 360, Qt::red));
    c.click(QStringLiteral("btnAccendi"));
    QVERIFY(!c.window->isCameraOn());
    c.click(QStringLiteral("btnCattura"));
    c.folder.platform.saveAnswers.enqueue(c.folder.path(QStringLiteral("Foto.jpg")));
    c.click(QStringLiteral("btnSalvaFotogramma"));
    c.click(QStringLiteral("btnImportaFoto"));

    QCOMPARE(c.live(), last);
    QCOMPARE(c.target.taken, QList<QImage>{last});
    QCOMPARE(QImageReader(c.folder.path(QStringLiteral("Foto.jpg"))).size(), last.size());
    QVERIFY(c.folder.platform.messages.isEmpty());
}

void TestWebcam::saveFrame_data()
{
    QTest::addColumn<QString>("answer");  // typed in the save dialog; "" cancels
    QTest::addColumn<QString>("written"); // "" nothing
    QTest::addColumn<QString>("reason");  // of the warning, "" none

    QTest::newRow("proposed name") << "Foto.jpg" << "Foto.jpg" << "";
    QTest::newRow("name without extension") << "ritratto" << "ritratto.jpg" << "";
    QTest::newRow("over an existing file") << "esistente.jpg" << "esistente.jpg" << "";
    QTest::newRow("accents and spaces") << "foto di Niccolò.jpg" << "foto di Niccolò.jpg" << "";
    QTest::newRow("cancelled") << "" << "" << "";
    QTest::newRow("folder that does not exist") << "manca/Foto.jpg" << "" << "La cartella scelta non esiste.";
    QTest::newRow("a file where the folder should be")
        << "esistente.jpg/Foto.jpg" << "" << "La cartella scelta non esiste.";
    QTest::newRow("a folder with the file's name")
        << "cartella.jpg" << "" << "Esiste già una cartella con lo stesso nome del file.";
    QTest::newRow("name too long") << QString(300, QLatin1Char('f')) + QStringLiteral(".jpg") << ""
                                   << "Il nome del file è troppo lungo.";
}

void TestWebcam::saveFrame()
{
    QFETCH(QString, answer);
    QFETCH(QString, written);
    QFETCH(QString, reason);

    CamWindow c;
    c.folder.writeFile(QStringLiteral("esistente.jpg"), "non una foto");
    QVERIFY(QDir(c.folder.folder).mkpath(QStringLiteral("cartella.jpg")));
    const QStringList before = QDir(c.folder.folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    QVERIFY(showActive(*c.window));
    c.click(QStringLiteral("btnAccendi"));
    const QImage frame = stripes(640, 480);
    c.deliverFromCaptureThread(frame);
    QTRY_COMPARE(c.live(), frame);
    c.click(QStringLiteral("btnCattura"));
    if (!answer.isEmpty())
        c.folder.platform.saveAnswers.enqueue(c.folder.path(answer));

    c.click(QStringLiteral("btnSalvaFotogramma"));

    QCOMPARE(c.folder.platform.dialogTitles,
             QStringList{QStringLiteral("Selezionare la cartella in cui si desidera salvare il file Jpeg.")});
    QCOMPARE(c.folder.platform.proposedNames, QStringList{QStringLiteral("Foto.jpg")});
    if (!written.isEmpty()) {
        QImageReader reader(c.folder.path(written));
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        QCOMPARE(reader.size(), frame.size());
    }
    // A frame that could not be saved is kept, and the operator is told why.
    QCOMPARE(c.captured(), frame);
    if (reason.isEmpty()) {
        QVERIFY(c.folder.platform.messages.isEmpty());
    } else {
        QCOMPARE(c.folder.platform.messages.size(), 1);
        QCOMPARE(c.folder.platform.messages.first().kind, Platform::MessageKind::Warning);
        QCOMPARE(c.folder.platform.messages.first().text,
                 QStringLiteral("Attenzione: non è stato possibile salvare la foto nel file \"%1\".")
                         .arg(c.folder.path(answer))
                     + QStringLiteral("\r\n\r\n") + reason + QStringLiteral("\r\n\r\n")
                     + QStringLiteral("La foto catturata resta disponibile: è possibile salvarla in un'altra "
                                      "cartella o importarla nella scheda."));
        // Nothing left behind, not even a temporary file.
        QCOMPARE(QDir(c.folder.folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    }
    QVERIFY(c.window->isVisible());
}

// Each opening is a new window: camera off, placeholders shown.
void TestWebcam::reopenStartsOff()
{
    StudentWindow w;
    w.folder.platform.camera.present = true;
    w.show();
    QList<bool> onAtOpen;
    QList<QImage> liveAtOpen;
    for (int opening = 0; opening < 2; ++opening) {
        whenModalShown<TfrmWebCam>([&](TfrmWebCam *dialog) {
            onAtOpen << dialog->isCameraOn();
            liveAtOpen << findControl<PictureBox>(dialog, QStringLiteral("imgCamera"))->image();
            QTest::mouseClick(findControl<QWidget>(dialog, QStringLiteral("btnAccendi")), Qt::LeftButton);
            FakeCaptureDevice *device = w.folder.platform.camera.device;
            std::thread([device] { device->deliver(solid(200, 200, Qt::blue)); }).join();
            QTRY_COMPARE(findControl<PictureBox>(dialog, QStringLiteral("imgCamera"))->image().size(),
                         QSize(200, 200));
            QTest::mouseClick(findControl<QWidget>(dialog, QStringLiteral("btnClose")), Qt::LeftButton);
        });
        w.click(QStringLiteral("btnWebcam"));
        QVERIFY(!w.folder.platform.camera.running);
    }
    QCOMPARE(onAtOpen, (QList<bool>{false, false}));
    QCOMPARE(liveAtOpen.size(), 2);
    QCOMPARE(liveAtOpen[0], liveAtOpen[1]);
    QVERIFY(liveAtOpen[0].size() != QSize(200, 200));
    // Annulla hands nothing back.
    QVERIFY(w.showsBlank());
}

QTEST_MAIN(TestWebcam)
#include "test_webcam.moc"
