// The framing dialog over real photographs: what each way out of it leaves in
// the student's photo file after "Carica" and after a webcam capture, the
// keys, the mouse and the wheel on the frame, and turning a sideways photo.
#include "../core/photo/samplephotos.h"
#include "../students/studentfixture.h"

#include "base/forms.h"
#include "media/framingview.h"
#include "media/tfrminquadrafoto.h"
#include "media/tfrmwebcam.h"
#include "photo/facefinder.h"
#include "photo/photoframing.h"

#include <QApplication>
#include <QImageReader>
#include <QPushButton>
#include "photo/facefinder.h"

#include <QFile>
#include <QtTest>

#include <memory>
#include <thread>

namespace {

bool keepsRatio(const QSize &size)
{
    return size.width() == PhotoFraming::widthFor(size.height());
}

// The mean difference per channel between two pictures of one size: a JPEG
// of a picture stays within a few levels of it.
double meanDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col)
            sum += qAbs(qRed(p[col]) - qRed(q[col])) + qAbs(qGreen(p[col]) - qGreen(q[col]))
                   + qAbs(qBlue(p[col]) - qBlue(q[col]));
    }
    return sum / (3.0 * x.width() * x.height());
}

FramingView *view(const QWidget *dialog)
{
    return findControl<FramingView>(dialog, QStringLiteral("imgInquadratura"));
}

QString faceText(const QWidget *dialog)
{
    return findControl<QLabel>(dialog, QStringLiteral("lblVolto"))->text();
}

// The dialog on its own, shown, over `picture`.
struct FramingDialog
{
    TestFolder folder;
    TfrmInquadraFoto dialog{folder.context};

    explicit FramingDialog(const QImage &picture) { dialog.setPicture(picture); }
    void click(const QString &name) { QTest::mouseClick(findControl<QWidget>(&dialog, name), Qt::LeftButton); }
};

QImage plain(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(0x80, 0x90, 0xA0));
    return image;
}

const QString kWithFace = QStringLiteral("Riquadro proposto intorno al volto.");
const QString kWithoutFace = QStringLiteral("Nessun volto riconosciuto: riquadro al centro della foto.");

} // namespace

class TestFraming : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void loadedPhotoEachWayOut_data();
    void loadedPhotoEachWayOut();
    void webcamCaptureIsFramed_data();
    void webcamCaptureIsFramed();
    void keysMoveAndResizeTheFrame_data();
    void keysMoveAndResizeTheFrame();
    void mouseAndWheel_data();
    void mouseAndWheel();
    void turningASidewaysPhoto();
    void unloadablePictureIsNotFramed();
};

namespace {

// Whether OpenCV is mapped into this process.
bool openCvLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libopencv_core");
}

} // namespace

void TestFraming::initTestCase()
{
    const QString missing = SamplePhotos::missing();
    QVERIFY2(missing.isEmpty(), qPrintable(missing));
    // OpenCV and what it pulls in load with the first face search, not with
    // the windows: a start of the program does not pay for them.
    if (QFile::exists(QStringLiteral("/proc/self/maps"))) {
        QVERIFY(!openCvLoaded());
        QVERIFY(FaceFinder::available());
        QVERIFY(openCvLoaded());
    }
}

void TestFraming::loadedPhotoEachWayOut_data()
{
    QTest::addColumn<QString>("way");     // a button, or a key pressed in the picture
    QTest::addColumn<QString>("result");  // framed, whole or unchanged
    QTest::newRow("Applica: the framed part") << "btnApplica" << "framed";
    QTest::newRow("Enter: the framed part") << "Enter" << "framed";
    QTest::newRow("Usa foto intera: the whole photo") << "btnIntera" << "whole";
    QTest::newRow("Ctrl+I: the whole photo") << "Ctrl+I" << "whole";
    QTest::newRow("Annulla: the card keeps its photo") << "btnAnnulla" << "unchanged";
    QTest::newRow("Esc: the card keeps its photo") << "Escape" << "unchanged";
}

void TestFraming::loadedPhotoEachWayOut()
{
    QFETCH(QString, way);
    QFETCH(QString, result);
    StudentWindow w;
    writeArchive(w.folder, 1);
    writePhoto(w.folder, 1, stripes(100, 80));
    QVERIFY(QFile::copy(SamplePhotos::landscape(), w.folder.path(QStringLiteral("scelta.jpg"))));
    w.show();
    w.click(QStringLiteral("cmdPrimo"));
    const QByteArray before = w.folder.readFile(photoFile(1));

    QRect frame;
    QRect face;
    QString text;
    QString focused;
    whenModalShown<TfrmInquadraFoto>([&](TfrmInquadraFoto *dialog) {
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        frame = dialog->frame();
        face = dialog->proposal().face;
        text = faceText(dialog);
        focused = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
        if (way.startsWith(QLatin1String("btn")))
            QTest::mouseClick(findControl<QWidget>(dialog, way), Qt::LeftButton);
        else if (way == QLatin1String("Ctrl+I"))
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_I, Qt::ControlModifier);
        else
            QTest::keyClick(QApplication::focusWidget(), way == QLatin1String("Enter") ? Qt::Key_Return
                                                                                       : Qt::Key_Escape);
    });
    w.folder.platform.openAnswers.enqueue(w.folder.path(QStringLiteral("scelta.jpg")));
    w.click(QStringLiteral("btnCaricaFoto"));
    QTRY_VERIFY(w.window->findChildren<TfrmInquadraFoto *>().isEmpty());

    // Opened on the proposal around the footballer's face, the picture in
    // the keyboard's hands.
    QVERIFY(!face.isNull());
    QVERIFY(frame.contains(face));
    QVERIFY(keepsRatio(frame.size()));
    QCOMPARE(text, kWithFace);
    QCOMPARE(focused, QStringLiteral("imgInquadratura"));

    w.click(QStringLiteral("cmdSalva"));
    const QImage stored = StudentFiles::loadStudentPhoto(w.folder.folder, QStringLiteral("1"));
    const QImage source = StudentFiles::loadPicture(SamplePhotos::landscape());
    if (result == QLatin1String("framed")) {
        QCOMPARE(stored.size(), frame.size());
        // That very part, within what a JPEG encoding changes: much closer
        // to it than to the part a quarter of the frame beside it.
        const double difference = meanDifference(stored, source.copy(frame));
        const double beside = meanDifference(stored, source.copy(frame.translated(frame.width() / 4, 0)));
        QVERIFY2(difference < 8 && difference < beside / 2,
                 qPrintable(QStringLiteral("%1 against %2 beside").arg(difference).arg(beside)));
    } else if (result == QLatin1String("whole")) {
        QCOMPARE(stored.size(), source.size());
    } else {
        QCOMPARE(w.folder.readFile(photoFile(1)), before);
        QVERIFY(!w.window->isModified());
    }
}

void TestFraming::webcamCaptureIsFramed_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("Applica: the framed capture") << "btnApplica";
    QTest::newRow("Usa foto intera: the whole capture") << "btnIntera";
    QTest::newRow("Annulla: the card keeps its photo") << "btnAnnulla";
}

// Capture and the capture's save work as before; the import goes through
// the framing.
void TestFraming::webcamCaptureIsFramed()
{
    QFETCH(QString, button);
    StudentWindow w;
    w.folder.platform.camera.present = true;
    writeArchive(w.folder, 1);
    writePhoto(w.folder, 1, stripes(100, 80));
    w.show();
    w.click(QStringLiteral("cmdPrimo"));
    const QByteArray before = w.folder.readFile(photoFile(1));
    const QImage frameFromCamera = StudentFiles::loadPicture(SamplePhotos::landscape());

    QRect frame;
    whenModalShown<TfrmWebCam>([&](TfrmWebCam *webcam) {
        QTest::mouseClick(findControl<QWidget>(webcam, QStringLiteral("btnAccendi")), Qt::LeftButton);
        FakeCaptureDevice *device = w.folder.platform.camera.device;
        QVERIFY(device);
        std::thread([device, frameFromCamera] { device->deliver(frameFromCamera); }).join();
        QTRY_COMPARE(findControl<PictureBox>(webcam, QStringLiteral("imgCamera"))->image(), frameFromCamera);
        QTest::mouseClick(findControl<QWidget>(webcam, QStringLiteral("btnCattura")), Qt::LeftButton);
        w.folder.platform.saveAnswers.enqueue(w.folder.path(QStringLiteral("Foto.jpg")));
        QTest::mouseClick(findControl<QWidget>(webcam, QStringLiteral("btnSalvaFotogramma")), Qt::LeftButton);
        whenModalShown<TfrmInquadraFoto>([&](TfrmInquadraFoto *dialog) {
            frame = dialog->frame();
            QCOMPARE(faceText(dialog), kWithFace);
            QTest::mouseClick(findControl<QWidget>(dialog, button), Qt::LeftButton);
        });
        QTest::mouseClick(findControl<QWidget>(webcam, QStringLiteral("btnImportaFoto")), Qt::LeftButton);
    });
    w.click(QStringLiteral("btnWebcam"));
    QTRY_VERIFY(w.window->findChildren<QDialog *>().isEmpty());

    QVERIFY(!w.folder.platform.camera.running);
    QCOMPARE(QImageReader(w.folder.path(QStringLiteral("Foto.jpg"))).size(), frameFromCamera.size());
    QVERIFY(!frame.isNull());
    if (button == QLatin1String("btnApplica")) {
        QCOMPARE(w.photo()->image(), frameFromCamera.copy(frame));
    } else if (button == QLatin1String("btnIntera")) {
        QCOMPARE(w.photo()->image(), frameFromCamera);
    }
    w.click(QStringLiteral("cmdSalva"));
    if (button == QLatin1String("btnAnnulla"))
        QCOMPARE(w.folder.readFile(photoFile(1)), before);
    else
        QCOMPARE(QImageReader(w.folder.path(photoFile(1))).size(), w.photo()->image().size());
}

void TestFraming::keysMoveAndResizeTheFrame_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("focus");   // the control holding the focus
    QTest::addColumn<QPoint>("move");     // sign of the move of the centre
    QTest::addColumn<int>("resize");      // sign of the change of height
    QTest::newRow("Right") << int(Qt::Key_Right) << "imgInquadratura" << QPoint(1, 0) << 0;
    QTest::newRow("Left") << int(Qt::Key_Left) << "imgInquadratura" << QPoint(-1, 0) << 0;
    QTest::newRow("Up") << int(Qt::Key_Up) << "imgInquadratura" << QPoint(0, -1) << 0;
    QTest::newRow("Down") << int(Qt::Key_Down) << "imgInquadratura" << QPoint(0, 1) << 0;
    QTest::newRow("+ enlarges") << int(Qt::Key_Plus) << "imgInquadratura" << QPoint() << 1;
    QTest::newRow("- reduces") << int(Qt::Key_Minus) << "imgInquadratura" << QPoint() << -1;
    QTest::newRow("Right with the focus on a button") << int(Qt::Key_Right) << "btnIntera" << QPoint(1, 0) << 0;
    QTest::newRow("- with the focus on a button") << int(Qt::Key_Minus) << "btnRuotaDestra" << QPoint() << -1;
}

void TestFraming::keysMoveAndResizeTheFrame()
{
    QFETCH(int, key);
    QFETCH(QString, focus);
    QFETCH(QPoint, move);
    QFETCH(int, resize);
    FramingDialog d(plain(1000, 800));
    QVERIFY(showActive(d.dialog));
    const QRect start(300, 200, 234, 300);
    view(&d.dialog)->setFrame(start);
    QCOMPARE(d.dialog.frame(), start);
    findControl<QWidget>(&d.dialog, focus)->setFocus();

    for (int i = 0; i < 3; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));

    const QRect frame = d.dialog.frame();
    // Resizing keeps the centre to a pixel's rounding.
    const QPointF shift = QRectF(frame).center() - QRectF(start).center();
    auto sign = [](double d) { return d > 2 ? 1 : d < -2 ? -1 : 0; };
    QCOMPARE(QPoint(sign(shift.x()), sign(shift.y())), move);
    QCOMPARE(frame.height() > start.height() ? 1 : frame.height() < start.height() ? -1 : 0, resize);
    QVERIFY(keepsRatio(frame.size()));
    QVERIFY(d.dialog.isVisible());
}

void TestFraming::mouseAndWheel_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("wheel forward zooms in: a smaller frame, same centre") << "wheel forward";
    QTest::newRow("wheel back zooms out: a larger frame, same centre") << "wheel back";
    QTest::newRow("dragging inside moves the frame") << "drag inside";
    QTest::newRow("dragging the bottom right corner: the top left stays") << "drag bottom right";
    QTest::newRow("dragging the top left corner: the bottom right stays") << "drag top left";
    QTest::newRow("dragging a corner far out: stops at the picture's edge") << "drag far out";
}

void TestFraming::mouseAndWheel()
{
    QFETCH(QString, action);
    // Shown at half its size: 1128 x 1104 in a 564 x 552 view.
    FramingDialog d(plain(1128, 1104));
    QVERIFY(showActive(d.dialog));
    FramingView *v = view(&d.dialog);
    const QRect start(400, 300, 312, 400);
    v->setFrame(start);
    QCOMPARE(v->pictureRect().size(), QSize(564, 552));
    const QRect onScreen = v->frameOnScreen();

    auto drag = [v](const QPoint &from, const QPoint &to) {
        QTest::mousePress(v, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(v, (from + to) / 2);
        QTest::mouseMove(v, to);
        QTest::mouseRelease(v, Qt::LeftButton, Qt::NoModifier, to);
    };
    auto wheel = [v, onScreen](int delta) {
        QWheelEvent event(QPointF(onScreen.center()), QPointF(v->mapToGlobal(onScreen.center())), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(v, &event);
    };

    if (action == QLatin1String("wheel forward")) {
        wheel(120);
        QVERIFY(d.dialog.frame().height() < start.height());
    } else if (action == QLatin1String("wheel back")) {
        wheel(-120);
        QVERIFY(d.dialog.frame().height() > start.height());
    } else if (action == QLatin1String("drag inside")) {
        drag(onScreen.center(), onScreen.center() + QPoint(50, -30));
        QCOMPARE(d.dialog.frame().size(), start.size());
        QVERIFY(qAbs(d.dialog.frame().x() - (start.x() + 100)) <= 2);
        QVERIFY(qAbs(d.dialog.frame().y() - (start.y() - 60)) <= 2);
    } else if (action == QLatin1String("drag bottom right")) {
        drag(onScreen.bottomRight(), onScreen.bottomRight() + QPoint(40, 60));
        QCOMPARE(d.dialog.frame().topLeft(), start.topLeft());
        QVERIFY(d.dialog.frame().height() > start.height() + 100);
    } else if (action == QLatin1String("drag top left")) {
        drag(onScreen.topLeft(), onScreen.topLeft() + QPoint(30, 40));
        QVERIFY(qAbs(d.dialog.frame().right() - start.right()) <= 1);
        QVERIFY(qAbs(d.dialog.frame().bottom() - start.bottom()) <= 1);
        QVERIFY(d.dialog.frame().height() < start.height() - 60);
    } else {
        drag(onScreen.bottomRight(), QPoint(v->width() - 1, v->height() - 1));
        QCOMPARE(d.dialog.frame().topLeft(), start.topLeft());
        QCOMPARE(d.dialog.frame().bottom(), 1103);
    }
    if (action.startsWith(QLatin1String("wheel")))
        QVERIFY((QRectF(d.dialog.frame()).center() - QRectF(start).center()).manhattanLength() <= 2);
    QVERIFY(keepsRatio(d.dialog.frame().size()));
    QVERIFY(QRect(0, 0, 1128, 1104).contains(d.dialog.frame()));
}

// A photo stored lying on its side, without an EXIF tag to say so: no face
// until the operator turns it; the whole photo given back is the turned one.
void TestFraming::turningASidewaysPhoto()
{
    const QImage upright = StudentFiles::loadPicture(SamplePhotos::portrait());
    FramingDialog d(PhotoFraming::turned(upright, -1));
    QVERIFY(showActive(d.dialog));
    QCOMPARE(faceText(&d.dialog), kWithoutFace);

    d.click(QStringLiteral("btnRuotaDestra"));
    QCOMPARE(d.dialog.quarterTurns(), 1);
    QCOMPARE(faceText(&d.dialog), kWithFace);
    const QRect frame = d.dialog.frame();
    QVERIFY(frame.contains(d.dialog.proposal().face));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left, Qt::ControlModifier);
    QCOMPARE(d.dialog.quarterTurns(), 0);
    QCOMPARE(faceText(&d.dialog), kWithoutFace);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(d.dialog.frame(), frame);

    d.click(QStringLiteral("btnApplica"));
    QCOMPARE(d.dialog.choice(), TfrmInquadraFoto::Choice::Framed);
    QCOMPARE(d.dialog.photo(), upright.copy(frame).convertToFormat(QImage::Format_RGB32));

    const QImage landscape = StudentFiles::loadPicture(SamplePhotos::landscape());
    FramingDialog whole(PhotoFraming::turned(landscape, 1));
    QVERIFY(showActive(whole.dialog));
    whole.click(QStringLiteral("btnRuotaSinistra"));
    whole.click(QStringLiteral("btnIntera"));
    QCOMPARE(whole.dialog.choice(), TfrmInquadraFoto::Choice::Whole);
    QCOMPARE(whole.dialog.photo(), landscape);
}

// A file that cannot be shown follows the photo rules: the blank picture, no
// framing asked.
void TestFraming::unloadablePictureIsNotFramed()
{
    StudentWindow w;
    w.folder.writeFile(QStringLiteral("rotta.jpg"), "not a picture");
    w.show();
    auto opened = std::make_shared<bool>(false);
    whenModalShown<TfrmInquadraFoto>(
        [opened](TfrmInquadraFoto *dialog) {
            *opened = true;
            dialog->reject();
        },
        500);
    w.folder.platform.openAnswers.enqueue(w.folder.path(QStringLiteral("rotta.jpg")));
    w.click(QStringLiteral("btnCaricaFoto"));
    QTest::qWait(600);
    QVERIFY(!*opened);
    QVERIFY(w.showsBlank());
    QCOMPARE(w.messageCount(), 0);
}

QTEST_MAIN(TestFraming)
#include "test_framing.moc"
