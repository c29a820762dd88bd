// Framing photos as ID photos: the proposal around the largest face in real
// photographs, the centred frame without a face, EXIF-turned portraits, the
// framed part at the source's resolution, and framing files without asking.
#include "samplephotos.h"
#include "tempfolder.h"

#include "archive/studentfiles.h"
#include "photo/facefinder.h"
#include "photo/photoframing.h"

#include <QDir>
#include <QRandomGenerator>
#include <QtTest>

using namespace PhotoFraming;

namespace {

// True when `frame` has the photo's proportions to the pixel.
bool keepsRatio(const QRect &frame)
{
    return frame.width() == widthFor(frame.height());
}

// A picture whose every pixel tells where it is.
QImage positional(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb(x & 0xFF, y & 0xFF, ((x >> 8) << 4 | (y >> 8)) & 0xFF);
    }
    return image;
}

} // namespace

class TestPhotoFraming : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void proposalAroundTheLargestFace_data();
    void proposalAroundTheLargestFace();
    void withoutAFaceTheLargestCentredFrame_data();
    void withoutAFaceTheLargestCentredFrame();
    void exifTurnedPortraitsAreFramedUpright_data();
    void exifTurnedPortraitsAreFramedUpright();
    void framedPartAtTheSourceResolution_data();
    void framedPartAtTheSourceResolution();
    void framesAlwaysFitAndKeepTheRatio();
    void turningByQuarters();
    void framingFilesWithoutAsking();
};

void TestPhotoFraming::initTestCase()
{
    const QString missing = SamplePhotos::missing();
    QVERIFY2(missing.isEmpty(), qPrintable(missing));
    QVERIFY2(PhotoFramer::canFindFaces(), "the face models of Debian's opencv-data are missing");
}

void TestPhotoFraming::proposalAroundTheLargestFace_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QPoint>("faceCentre"); // where the person's face is, by eye
    QTest::newRow("landscape: a footballer in a crowded stadium")
        << SamplePhotos::landscape() << QPoint(246, 112);
    QTest::newRow("portrait: head and shoulders") << SamplePhotos::portrait() << QPoint(155, 135);
    QTest::newRow("four faces: the largest, top left") << SamplePhotos::fourFaces() << QPoint(48, 45);
}

void TestPhotoFraming::proposalAroundTheLargestFace()
{
    QFETCH(QString, path);
    QFETCH(QPoint, faceCentre);
    const QImage picture = StudentFiles::loadPicture(path);
    QVERIFY(!picture.isNull());

    const Proposal proposal = PhotoFramer().propose(picture);

    QVERIFY(proposal.hasFace());
    QVERIFY2(proposal.face.contains(faceCentre),
             qPrintable(QStringLiteral("face found at %1,%2 %3x%4")
                            .arg(proposal.face.x()).arg(proposal.face.y())
                            .arg(proposal.face.width()).arg(proposal.face.height())));
    for (const QRect &other : FaceFinder::faces(picture))
        QVERIFY(qint64(other.width()) * other.height() <= qint64(proposal.face.width()) * proposal.face.height());
    QVERIFY(proposal.frame.contains(proposal.face));
    QVERIFY(keepsRatio(proposal.frame));
    QVERIFY(picture.rect().contains(proposal.frame));
    // The head, chin to crown, takes the share an ID photo asks for, unless
    // the picture is too small to leave room around it.
    if (proposal.frame.height() < picture.height()) {
        const double head = 1.4 * proposal.face.height();
        QVERIFY2(head / proposal.frame.height() >= 0.70 && head / proposal.frame.height() <= 0.80,
                 qPrintable(QString::number(head / proposal.frame.height())));
    }
}

void TestPhotoFraming::withoutAFaceTheLargestCentredFrame_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<QRect>("frame");
    QTest::newRow("landscape photo of a building")
        << StudentFiles::loadPicture(SamplePhotos::building()) << QRect(200, 0, 468, 600);
    QTest::newRow("photo of fruits, nearly square")
        << StudentFiles::loadPicture(SamplePhotos::fruits()) << QRect(69, 0, 374, 480);
    QImage tall(300, 900, QImage::Format_RGB32);
    tall.fill(Qt::lightGray);
    QTest::newRow("plain picture taller than the photo: full width") << tall << QRect(0, 257, 300, 385);
    QImage exact(307, 394, QImage::Format_RGB32);
    exact.fill(Qt::darkGray);
    QTest::newRow("plain picture of the very proportions: all of it") << exact << QRect(0, 0, 307, 394);
}

void TestPhotoFraming::withoutAFaceTheLargestCentredFrame()
{
    QFETCH(QImage, picture);
    QFETCH(QRect, frame);
    QVERIFY(!picture.isNull());
    const Proposal proposal = PhotoFramer().propose(picture);
    QVERIFY(!proposal.hasFace());
    QCOMPARE(proposal.frame, frame);
    QVERIFY(keepsRatio(proposal.frame));
}

void TestPhotoFraming::exifTurnedPortraitsAreFramedUpright_data()
{
    QTest::addColumn<int>("orientation"); // the EXIF tag
    QTest::addColumn<int>("storedTurns"); // how the stored pixels lie, from upright
    QTest::newRow("camera held turned right (tag 6)") << 6 << -1;
    QTest::newRow("camera held turned left (tag 8)") << 8 << 1;
    QTest::newRow("camera upside down (tag 3)") << 3 << 2;
}

void TestPhotoFraming::exifTurnedPortraitsAreFramedUpright()
{
    QFETCH(int, orientation);
    QFETCH(int, storedTurns);
    TempFolder folder;
    const QImage upright = StudentFiles::loadPicture(SamplePhotos::portrait());
    const QImage stored = turned(upright, storedTurns);
    // As the pixels lie the face is sideways or upside down: not found.
    QVERIFY(!PhotoFramer().propose(stored).hasFace());
    folder.writeFile(QStringLiteral("ritratto.jpg"), SamplePhotos::jpegWithOrientation(stored, quint16(orientation)));

    const PhotoFramer::Framed framed = PhotoFramer().frameFile(folder.path(QStringLiteral("ritratto.jpg")));

    const Proposal direct = PhotoFramer().propose(upright);
    QVERIFY(framed.proposal.hasFace());
    // JPEG encoding moves the face box by a pixel or two at most.
    QVERIFY(qAbs(framed.proposal.face.center().x() - direct.face.center().x()) <= 4);
    QVERIFY(qAbs(framed.proposal.face.center().y() - direct.face.center().y()) <= 4);
    QCOMPARE(framed.photo.size(), framed.proposal.frame.size());
    QVERIFY(framed.photo.height() > framed.photo.width());
}

void TestPhotoFraming::framedPartAtTheSourceResolution_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QSize>("stored");
    QTest::addColumn<bool>("samePixels"); // the very pixels of the source
    QTest::newRow("small part: its own size, never enlarged")
        << QSize(800, 600) << QRect(100, 50, 117, 150) << QSize(117, 150) << true;
    QTest::newRow("part exactly at the limit: kept") << QSize(1400, 1300) << QRect(10, 20, 935, 1200)
                                                      << QSize(935, 1200) << true;
    QTest::newRow("12-megapixel photo, full height: reduced to the limit")
        << QSize(4000, 3000) << QRect(1000, 0, 2338, 3000) << QSize(935, 1200) << false;
    QTest::newRow("frame reaching out of the picture: moved inside first")
        << QSize(640, 480) << QRect(600, 400, 117, 150) << QSize(117, 150) << true;
    QTest::newRow("frame of other proportions: the height decides")
        << QSize(640, 480) << QRect(10, 10, 300, 200) << QSize(156, 200) << true;
}

void TestPhotoFraming::framedPartAtTheSourceResolution()
{
    QFETCH(QSize, picture);
    QFETCH(QRect, frame);
    QFETCH(QSize, stored);
    QFETCH(bool, samePixels);
    const QImage source = positional(picture.width(), picture.height());

    const QImage framed = cut(source, frame);

    QCOMPARE(framed.size(), stored);
    QVERIFY(keepsRatio(QRect(QPoint(), framed.size())));
    if (samePixels)
        QCOMPARE(framed, source.copy(fitted(frame, picture)));
}

// Whatever the operator does with the frame, it stays inside the picture and
// keeps the photo's proportions.
void TestPhotoFraming::framesAlwaysFitAndKeepTheRatio()
{
    QRandomGenerator random(27);
    for (int i = 0; i < 5000; ++i) {
        const QSize picture(random.bounded(1, 5000), random.bounded(1, 5000));
        const QRect wild(random.bounded(-3000, 6000), random.bounded(-3000, 6000), random.bounded(0, 8000),
                         random.bounded(0, 8000));
        const QRect frame = i % 2 ? fitted(wild, picture) : scaled(wild, random.bounded(4.0), picture);
        const QString where = QStringLiteral("picture %1x%2, frame %3,%4 %5x%6")
                                  .arg(picture.width()).arg(picture.height())
                                  .arg(wild.x()).arg(wild.y()).arg(wild.width()).arg(wild.height());
        QVERIFY2(QRect(QPoint(), picture).contains(frame), qPrintable(where));
        QVERIFY2(keepsRatio(frame), qPrintable(where));
        QVERIFY2(frame.height() >= qMin(kMinFrameHeight, largestCentredFrame(picture).height()), qPrintable(where));
    }
}

void TestPhotoFraming::turningByQuarters()
{
    const QImage source = positional(40, 30);
    QCOMPARE(turned(source, 1).size(), QSize(30, 40));
    // The top left corner goes to the top right with a clockwise turn.
    QCOMPARE(turned(source, 1).pixel(29, 0), source.pixel(0, 0));
    QCOMPARE(turned(source, -1).pixel(0, 39), source.pixel(0, 0));
    QCOMPARE(turned(source, 2).pixel(39, 29), source.pixel(0, 0));
    QCOMPARE(turned(turned(source, 1), -1), source);
    QCOMPARE(turned(source, 4), source);
}

// The import of many photos frames each one by the proposal and stores it
// under the student's photo name; what cannot be loaded gives nothing.
void TestPhotoFraming::framingFilesWithoutAsking()
{
    TempFolder folder;
    const QByteArray whole = [] {
        QFile file(SamplePhotos::landscape());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    folder.writeFile(QStringLiteral("import/1.jpg"), whole);
    QVERIFY(QFile::copy(SamplePhotos::portrait(), folder.path(QStringLiteral("import/2.jpg"))));
    QVERIFY(QFile::copy(SamplePhotos::building(), folder.path(QStringLiteral("import/3.jpg"))));
    folder.writeFile(QStringLiteral("import/4.jpg"), whole.left(whole.size() / 2));
    folder.writeFile(QStringLiteral("import/5.jpg"), "not a picture");

    const PhotoFramer framer;
    QList<bool> faces;
    QList<bool> stored;
    for (int n = 1; n <= 5; ++n) {
        const PhotoFramer::Framed framed = framer.frameFile(folder.path(QStringLiteral("import/%1.jpg").arg(n)));
        faces << framed.proposal.hasFace();
        stored << (!framed.photo.isNull()
                   && StudentFiles::saveStudentPhoto(folder.folder, QString::number(n), framed.photo));
        if (!framed.photo.isNull())
            QCOMPARE(framed.photo.size(), framed.proposal.frame.size());
    }

    QCOMPARE(faces, (QList<bool>{true, true, false, false, false}));
    QCOMPARE(stored, (QList<bool>{true, true, true, false, false}));
    for (int n = 1; n <= 3; ++n) {
        const QImage photo = StudentFiles::loadStudentPhoto(folder.folder, QString::number(n));
        QVERIFY(!photo.isNull());
        QVERIFY(keepsRatio(QRect(QPoint(), photo.size())));
    }
    // The framed footballer is his part of the stadium at its own resolution.
    const QImage source = StudentFiles::loadPicture(folder.path(QStringLiteral("import/1.jpg")));
    const Proposal proposal = framer.propose(source);
    QCOMPARE(StudentFiles::loadStudentPhoto(folder.folder, QStringLiteral("1")).size(), proposal.frame.size());
    QVERIFY(!QFile::exists(StudentFiles::photoPath(folder.folder, QStringLiteral("4"))));
}

QTEST_GUILESS_MAIN(TestPhotoFraming)
#include "test_photoframing.moc"
