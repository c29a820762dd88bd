#include "archive/atomicfile.h"
#include "archive/studentfiles.h"
#include "lockedfile.h"
#include "tempfolder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QtEndian>


namespace {

QByteArray jpegBytes(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 40));
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return data;
}

// A JPEG whose scan data is long enough to be cut in the middle.
QByteArray noisyJpeg()
{
    QImage image(320, 240, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x * 7 + y * 13) % 256, (x * y) % 256, (x ^ y) % 256));
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);
    return data;
}

// The same file with an APP1 segment holding FF D8 ... FF D9, as cameras
// store their thumbnails, right after the start marker.
QByteArray withThumbnailSegment(const QByteArray &jpeg)
{
    const QByteArray payload = QByteArray("Exif\0\0", 6) + "\xFF\xD8 thumbnail \xFF\xD9";
    QByteArray segment("\xFF\xE1");
    segment.append(char((payload.size() + 2) >> 8)).append(char((payload.size() + 2) & 0xFF));
    return jpeg.left(2) + segment + payload + jpeg.mid(2);
}

// A bitmap header announcing a picture far too big to decode safely.
QByteArray hugeBmpHeader()
{
    QByteArray bmp(54, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    qToLittleEndian<quint32>(54 + 16, bmp.data() + 2);
    qToLittleEndian<quint32>(54, bmp.data() + 10);
    qToLittleEndian<quint32>(40, bmp.data() + 14);
    qToLittleEndian<qint32>(60000, bmp.data() + 18);
    qToLittleEndian<qint32>(60000, bmp.data() + 22);
    qToLittleEndian<quint16>(1, bmp.data() + 26);
    qToLittleEndian<quint16>(24, bmp.data() + 28);
    return bmp + QByteArray(16, '\x7f');
}

// A complete JPEG whose frame header claims 60000 x 60000 pixels: even an
// eighth of it fits the decoder's memory limit, the whole does not.
QByteArray jpegAboveTheDecoderLimit()
{
    QByteArray jpeg = jpegBytes(64, 48);
    const int frame = int(jpeg.indexOf(QByteArray("\xFF\xC0", 2)));
    for (int at : {5, 7}) {
        jpeg[frame + at] = char(0xEA);
        jpeg[frame + at + 1] = char(0x60);
    }
    return jpeg;
}

QByteArray bmpBytes(const QImage &image)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return data;
}

QImage noisyImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 7 + y * 13) % 256, (x * y) % 256, (x ^ y) % 256));
    return image;
}

// The same bitmap with its rows stored top-down (a negative height).
QByteArray topDown(const QImage &image)
{
    QByteArray data = bmpBytes(image.mirrored(false, true));
    qToLittleEndian<qint32>(-image.height(), data.data() + 22);
    return data;
}

// The same JPEG marked by its EXIF data as taken with the camera turned a
// quarter (orientation 6): shown upright, its width and height swap.
QByteArray turnedQuarter(const QByteArray &jpeg)
{
    const QByteArray payload = QByteArray("Exif\0\0MM\0\x2A\0\0\0\x08"
                                          "\0\x01"
                                          "\x01\x12\0\x03\0\0\0\x01\0\x06\0\0"
                                          "\0\0\0\0",
                                          6 + 8 + 2 + 12 + 4);
    QByteArray segment("\xFF\xE1");
    segment.append(char((payload.size() + 2) >> 8)).append(char((payload.size() + 2) & 0xFF));
    return jpeg.left(2) + segment + payload + jpeg.mid(2);
}

} // namespace

class TestStudentFiles : public QObject
{
    Q_OBJECT
private slots:
    void names();
    void unreadablePictures_data();
    void unreadablePictures();
    void completePicturesLoad_data();
    void completePicturesLoad();
    void photoRoundTripAtOwnSize();
    void photoDecodedToCover_data();
    void photoDecodedToCover();
    void photoFolderCreatedWithParents();
    void unwritablePhotoFolderKeepsOldFile();
    void atomicWriteReplacesWhole();
    void messages();
};

void TestStudentFiles::names()
{
    const QString f = QStringLiteral("/data/");
    QCOMPARE(StudentFiles::archivePath(f), QStringLiteral("/data/Archivio_Studenti.pro"));
    QCOMPARE(StudentFiles::photoPath(f, QStringLiteral("7")), QStringLiteral("/data/Anagrafica/Scheda_Studente_7.jpg"));
    QCOMPARE(StudentFiles::testsPath(f, QStringLiteral("12")), QStringLiteral("/data/Archivio_Prove/Prove_Studente_12.pro"));
    QCOMPARE(StudentFiles::attachmentsFolder(f), QStringLiteral("/data/Documenti_Allegati/"));
    QCOMPARE(StudentFiles::logoPath(f), QStringLiteral("/data/Anagrafica/Logo.bmp"));
}

void TestStudentFiles::unreadablePictures_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("not an image") << QByteArray("just some text, not a picture");
    QTest::newRow("truncated jpeg header") << jpegBytes(400, 300).left(40);
    const QByteArray photo = noisyJpeg();
    QTest::newRow("jpeg cut in the scan") << photo.left(photo.size() * 6 / 10);
    QTest::newRow("jpeg cut before its end marker") << photo.left(photo.size() - 2);
    // A thumbnail's end marker inside an APP1 segment must not pass for the photo's.
    QTest::newRow("cut jpeg with a thumbnail") << withThumbnailSegment(photo).left(photo.size() * 6 / 10);
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("enormous bitmap") << hugeBmpHeader();
    QTest::newRow("jpeg above the memory limit") << jpegAboveTheDecoderLimit();
    const QByteArray bmp = bmpBytes(noisyImage(120, 90));
    QTest::newRow("bitmap cut in its pixels") << bmp.left(bmp.size() / 2);
    QTest::newRow("bitmap without its last byte") << bmp.left(bmp.size() - 1);
    QTest::newRow("bitmap headers only") << bmp.left(54);
    QTest::newRow("top-down bitmap cut") << topDown(noisyImage(120, 90)).left(bmp.size() / 2);
    const QByteArray mono = bmpBytes(noisyImage(77, 40).convertToFormat(QImage::Format_Mono));
    QTest::newRow("1-bit bitmap cut") << mono.left(mono.size() - 8);
}

void TestStudentFiles::unreadablePictures()
{
    QFETCH(QByteArray, bytes);
    TempFolder folder;
    folder.writeFile(QStringLiteral("Anagrafica/Scheda_Studente_1.jpg"), bytes);
    QVERIFY(StudentFiles::loadStudentPhoto(folder.folder, QStringLiteral("1")).isNull());
    QVERIFY(StudentFiles::loadStudentPhoto(folder.folder, QStringLiteral("2")).isNull()); // missing
    // Decoding for a small frame refuses them all the same.
    QVERIFY(StudentFiles::loadStudentPhoto(folder.folder, QStringLiteral("1"), QSize(30, 40)).isNull());
}

void TestStudentFiles::completePicturesLoad_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray photo = noisyJpeg();
    QTest::newRow("jpeg") << photo;
    QTest::newRow("jpeg with a thumbnail") << withThumbnailSegment(photo);
    QTest::newRow("jpeg with bytes after its end") << photo + QByteArray(300, '\x11');
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    QTest::newRow("bitmap") << bmp;
    QTest::newRow("bitmap with bytes after its end") << bmp + QByteArray(10, '\0');
    QTest::newRow("top-down bitmap") << topDown(noisyImage(120, 90));
    QTest::newRow("1-bit bitmap") << bmpBytes(noisyImage(77, 40).convertToFormat(QImage::Format_Mono));
    QTest::newRow("8-bit bitmap") << bmpBytes(noisyImage(77, 40).convertToFormat(QImage::Format_Indexed8));
    QTest::newRow("32-bit bitmap with alpha") << bmpBytes(noisyImage(33, 21).convertToFormat(QImage::Format_ARGB32));
}

void TestStudentFiles::completePicturesLoad()
{
    QFETCH(QByteArray, bytes);
    TempFolder folder;
    folder.writeFile(QStringLiteral("Anagrafica/Scheda_Studente_4.jpg"), bytes);
    QVERIFY(!StudentFiles::loadStudentPhoto(folder.folder, QStringLiteral("4")).isNull());
}

void TestStudentFiles::photoRoundTripAtOwnSize()
{
    TempFolder folder;
    QImage photo(1234, 567, QImage::Format_RGB32);
    photo.fill(Qt::darkGreen);
    QVERIFY(StudentFiles::saveStudentPhoto(folder.folder, QStringLiteral("3"), photo));
    const QImage back = StudentFiles::loadStudentPhoto(folder.folder, QStringLiteral("3"));
    QCOMPARE(back.size(), photo.size());
    QVERIFY(folder.readFile(QStringLiteral("Anagrafica/Scheda_Studente_3.jpg")).startsWith("\xFF\xD8"));
}

void TestStudentFiles::photoDecodedToCover_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QSize>("cover");
    QTest::addColumn<QSize>("shown");

    const QByteArray big = jpegBytes(1200, 1600);
    QTest::newRow("no size asked: full") << big << QSize() << QSize(1200, 1600);
    QTest::newRow("same aspect: exactly the box") << big << QSize(300, 400) << QSize(300, 400);
    QTest::newRow("wider box: width rules, box covered") << big << QSize(600, 400) << QSize(600, 800);
    QTest::newRow("taller box: height rules, box covered") << big << QSize(100, 800) << QSize(600, 800);
    QTest::newRow("box larger than the photo: never enlarged") << big << QSize(2400, 3200) << QSize(1200, 1600);
    QTest::newRow("one side larger: full") << big << QSize(1300, 10) << QSize(1200, 1600);
    QTest::newRow("turned a quarter: covered upright") << turnedQuarter(big) << QSize(400, 300) << QSize(400, 300);
    QTest::newRow("bitmap") << bmpBytes(noisyImage(400, 200)) << QSize(100, 50) << QSize(100, 50);
    // Only the decoder's own reductions, and only exact ones.
    QTest::newRow("an eighth while it covers") << big << QSize(150, 200) << QSize(150, 200);
    QTest::newRow("no smaller than an eighth") << big << QSize(20, 20) << QSize(150, 200);
    QTest::newRow("the half between two reductions") << big << QSize(301, 200) << QSize(600, 800);
    QTest::newRow("sides no reduction divides: full") << jpegBytes(1201, 1601) << QSize(30, 40)
                                                       << QSize(1201, 1601);
    QTest::newRow("sides only a half divides") << jpegBytes(1202, 1602) << QSize(30, 40) << QSize(601, 801);
}

void TestStudentFiles::photoDecodedToCover()
{
    QFETCH(QByteArray, file);
    QFETCH(QSize, cover);
    QFETCH(QSize, shown);
    TempFolder folder;
    folder.writeFile(QStringLiteral("Anagrafica/Scheda_Studente_5.jpg"), file);
    const QImage photo = StudentFiles::loadStudentPhoto(folder.folder, QStringLiteral("5"), cover);
    QCOMPARE(photo.size(), shown);
    QCOMPARE(StudentFiles::loadPicture(folder.path(QStringLiteral("Anagrafica/Scheda_Studente_5.jpg")), cover).size(),
             shown);
}

void TestStudentFiles::photoFolderCreatedWithParents()
{
    TempFolder folder;
    const QString nested = folder.path(QStringLiteral("a/b/"));
    QVERIFY(StudentFiles::loadStudentPhoto(nested, QStringLiteral("1")).isNull());
    QVERIFY(QDir(nested + QStringLiteral("Anagrafica")).exists());
}

void TestStudentFiles::unwritablePhotoFolderKeepsOldFile()
{
    TempFolder folder;
    const QByteArray old = jpegBytes(10, 10);
    folder.writeFile(QStringLiteral("Anagrafica/Scheda_Studente_1.jpg"), old);
    {
        LockedFile readOnly(folder.path(QStringLiteral("Anagrafica")));
        if (!readOnly.ok())
            QSKIP("cannot make a folder read-only here");
        QImage photo(50, 50, QImage::Format_RGB32);
        photo.fill(Qt::blue);
        QVERIFY(!StudentFiles::saveStudentPhoto(folder.folder, QStringLiteral("1"), photo));
    }
    QCOMPARE(folder.readFile(QStringLiteral("Anagrafica/Scheda_Studente_1.jpg")), old);
}

void TestStudentFiles::atomicWriteReplacesWhole()
{
    TempFolder folder;
    const QString path = folder.path(QStringLiteral("x.ini"));
    QVERIFY(writeFileAtomically(path, QByteArray(5000, 'a')));
    QVERIFY(writeFileAtomically(path, "short"));
    QCOMPARE(folder.readFile(QStringLiteral("x.ini")), QByteArray("short"));
    QVERIFY(!writeFileAtomically(folder.path(QStringLiteral("missing/dir/x.ini")), "x"));
    // No temporary files left behind.
    QCOMPARE(QDir(folder.folder).entryList(QDir::Files), QStringList{QStringLiteral("x.ini")});
}

void TestStudentFiles::messages()
{
    QCOMPARE(ArchiveMessages::accessError(),
             QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
                            "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma."));
    QCOMPARE(ArchiveMessages::emptyArchive(), QStringLiteral("L'archivio non contiene nessuna scheda."));
}

QTEST_GUILESS_MAIN(TestStudentFiles)
#include "test_studentfiles.moc"
