// Photos brought in from a folder: each file matched to one card by its
// codice fiscale, its name or its record number; conflicts and unmatched
// files; the framed photo stored as the student window stores one, EXIF
// orientation applied; files that cannot be decoded reported, not stored.
#include "../photo/samplephotos.h"
#include "tempfolder.h"

#include "archive/studentarchive.h"
#include "archive/studentfiles.h"
#include "import/photoimport.h"
#include "photo/facefinder.h"
#include "photo/photoframing.h"

#include <QDir>
#include <QImageReader>
#include <QPainter>
#include <QtTest>

using namespace PhotoImport;

namespace {

// The archive every matching case runs against.
QList<Card> sampleCards()
{
    return {
        {1, QStringLiteral("Rossi Mario"), QStringLiteral("RSSMRA80A01H501U")},
        {2, QStringLiteral("D'Angelo Lucia"), QStringLiteral("DNGLCU85M41F205X")},
        {3, QStringLiteral("Bianchi Anna"), QString()},
        {4, QStringLiteral("Bianchi Anna"), QStringLiteral("BNCNNA99E45L219Z")},
        {5, QStringLiteral("Verdi Giuseppe"), QStringLiteral("vrdgpp70a01l219k")},
        {6, QStringLiteral("Nicolò Ferrè"), QString()},
        {7, QString(), QString()},
        // A student of two courses: one codice fiscale on two cards.
        {8, QStringLiteral("Neri Paolo"), QStringLiteral("NREPLA90B02F839W")},
        {9, QStringLiteral("Neri Paolo"), QStringLiteral("NREPLA90B02F839W")},
    };
}

QString numbersText(const QList<qint64> &numbers)
{
    QStringList parts;
    for (qint64 n : numbers)
        parts << QString::number(n);
    return parts.join(QLatin1Char(','));
}

QImage sample(const QString &path, int factor = 1)
{
    const QImage picture = StudentFiles::loadPicture(path);
    return factor == 1 ? picture : picture.scaled(picture.size() * factor, Qt::IgnoreAspectRatio,
                                                  Qt::SmoothTransformation);
}

} // namespace

class TestPhotoImport : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void nameKeys_data();
    void nameKeys();
    void matchingOneFile_data();
    void matchingOneFile();
    void conflictsAndUnmatchedInAFolder();
    void cardsReadFromTheArchive();
    void framedPhotoStored_data();
    void framedPhotoStored();
    void exifTurnedPortraitStoredUpright();
    void undecodableFilesReportedNotStored_data();
    void undecodableFilesReportedNotStored();
    void stoppingKeepsWhatIsStored();
};

void TestPhotoImport::initTestCase()
{
    const QString missing = SamplePhotos::missing();
    QVERIFY2(missing.isEmpty(), qPrintable(missing));
    QVERIFY2(PhotoFramer::canFindFaces(), "the face models of Debian's opencv-data are missing");
}

void TestPhotoImport::nameKeys_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::newRow("case and blanks") << "  Rossi   MARIO " << "rossimario";
    QTest::newRow("apostrophe and underscore") << "D'Angelo_Lucia" << "dangelolucia";
    QTest::newRow("accents, precomposed") << "Nicolò Ferrè" << "nicoloferre";
    QTest::newRow("accents, combining marks") << QStringLiteral("Nicolo\u0300 Ferre\u0300") << "nicoloferre";
    QTest::newRow("dots, hyphens and digits kept") << "De-Luca.Anna 2" << "delucaanna2";
}

void TestPhotoImport::nameKeys()
{
    QFETCH(QString, text);
    QFETCH(QString, key);
    QCOMPARE(nameKey(text), key);
}

void TestPhotoImport::matchingOneFile_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("rule");
    QTest::addColumn<QString>("numbers"); // the card, or the cards it could be

    const int matched = int(Status::Matched);
    const int several = int(Status::SeveralCards);
    const int none = int(Status::Unmatched);
    QTest::newRow("codice fiscale alone") << "RSSMRA80A01H501U.jpg" << matched << int(Rule::CodiceFiscale) << "1";
    QTest::newRow("codice fiscale among other words, lower case")
        << "foto_rssmra80a01h501u_2024.JPG" << matched << int(Rule::CodiceFiscale) << "1";
    QTest::newRow("codice fiscale stored in lower case") << "VRDGPP70A01L219K.jpeg" << matched
                                                        << int(Rule::CodiceFiscale) << "5";
    QTest::newRow("codice fiscale comes before the name")
        << "Bianchi Anna RSSMRA80A01H501U.jpg" << matched << int(Rule::CodiceFiscale) << "1";
    QTest::newRow("codice fiscale of two cards") << "NREPLA90B02F839W.jpg" << several << int(Rule::CodiceFiscale)
                                                 << "8,9";
    QTest::newRow("name, surname first") << "Rossi Mario.jpg" << matched << int(Rule::Name) << "1";
    QTest::newRow("name: apostrophe, separators and case ignored")
        << "dangelo_LUCIA.jpeg" << matched << int(Rule::Name) << "2";
    QTest::newRow("name: accents ignored") << "Nicolo-Ferre.jpg" << matched << int(Rule::Name) << "6";
    QTest::newRow("name: accents in the file name") << "NICOLÒ FERRÈ.bmp" << matched << int(Rule::Name) << "6";
    QTest::newRow("name of two cards") << "bianchi anna.jpg" << several << int(Rule::Name) << "3,4";
    QTest::newRow("record number") << "5.jpg" << matched << int(Rule::Number) << "5";
    QTest::newRow("record number with leading zeros") << "007.png" << matched << int(Rule::Number) << "7";
    QTest::newRow("the photo's own name") << "Scheda_Studente_6.jpg" << matched << int(Rule::Number) << "6";
    QTest::newRow("number beyond the archive") << "10.jpg" << none << int(Rule::None) << "";
    QTest::newRow("number zero") << "0.jpg" << none << int(Rule::None) << "";
    QTest::newRow("name in the other order") << "Mario Rossi.jpg" << none << int(Rule::None) << "";
    QTest::newRow("a camera's file name") << "IMG_0001.jpg" << none << int(Rule::None) << "";
    QTest::newRow("codice fiscale of no card") << "XXXYYY80A01H501U.jpg" << none << int(Rule::None) << "";
}

void TestPhotoImport::matchingOneFile()
{
    QFETCH(QString, fileName);
    QFETCH(int, status);
    QFETCH(int, rule);
    QFETCH(QString, numbers);
    TempFolder data;

    const QList<Item> items = match({QStringLiteral("/any/folder/") + fileName}, sampleCards(), data.folder);

    QCOMPARE(items.size(), 1);
    const Item &item = items.constFirst();
    QCOMPARE(item.fileName, fileName);
    QCOMPARE(int(item.status), status);
    QCOMPARE(int(item.rule), rule);
    if (item.isMatched()) {
        QCOMPARE(QString::number(item.number), numbers);
        QCOMPARE(item.cardName, sampleCards().at(int(item.number) - 1).name);
    } else {
        QCOMPARE(numbersText(item.numbers), numbers);
    }
}

void TestPhotoImport::conflictsAndUnmatchedInAFolder()
{
    TempFolder data;
    TempFolder source;
    const QByteArray picture = SamplePhotos::jpeg(sample(SamplePhotos::portrait()));
    // Two files for Rossi Mario (by codice fiscale and by name), one for
    // D'Angelo Lucia, whose card already has a photo, one for no card.
    for (const char *name : {"RSSMRA80A01H501U.jpg", "rossi mario.JPG", "D'Angelo Lucia.jpg", "sconosciuto.jpg",
                             "6.bmp"})
        source.writeFile(QString::fromUtf8(name), picture);
    // Not pictures, or not in the folder itself: never listed.
    source.writeFile(QStringLiteral("elenco.txt"), "Rossi Mario");
    source.writeFile(QStringLiteral("altre/5.jpg"), picture);
    data.writeFile(QStringLiteral("Anagrafica/Scheda_Studente_2.jpg"), picture);

    const QStringList files = pictureFiles(source.folder);
    QCOMPARE(files.size(), 5);
    const QList<Item> items = match(files, sampleCards(), data.folder);

    QHash<QString, Item> byName;
    for (const Item &item : items)
        byName.insert(item.fileName, item);
    QCOMPARE(byName.size(), 5);
    QCOMPARE(byName["RSSMRA80A01H501U.jpg"].status, Status::SameCard);
    QCOMPARE(byName["RSSMRA80A01H501U.jpg"].number, 1);
    QCOMPARE(byName["rossi mario.JPG"].status, Status::SameCard);
    QCOMPARE(byName["rossi mario.JPG"].number, 1);
    QCOMPARE(byName["D'Angelo Lucia.jpg"].status, Status::Matched);
    QVERIFY(byName["D'Angelo Lucia.jpg"].hasPhoto);
    QCOMPARE(byName["6.bmp"].status, Status::Matched);
    QVERIFY(!byName["6.bmp"].hasPhoto);
    QCOMPARE(byName["sconosciuto.jpg"].status, Status::Unmatched);
}

void TestPhotoImport::cardsReadFromTheArchive()
{
    TempFolder data;
    StudentArchive archive(data.folder);
    for (const Card &card : sampleCards()) {
        StudentRecord record;
        record[StudentRecord::Studente] = card.name;
        record[StudentRecord::CodFisc] = card.codiceFiscale;
        record[StudentRecord::Corso] = QStringLiteral("Corso");
        QCOMPARE(archive.append(record), card.number);
    }
    archive.close();

    const QList<Card> cards = readCards(data.folder);

    QCOMPARE(cards.size(), sampleCards().size());
    for (int i = 0; i < cards.size(); ++i) {
        QCOMPARE(cards[i].number, sampleCards()[i].number);
        QCOMPARE(cards[i].name, sampleCards()[i].name);
        QCOMPARE(cards[i].codiceFiscale, sampleCards()[i].codiceFiscale);
    }
}

void TestPhotoImport::framedPhotoStored_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<bool>("whole");
    // A framed part higher than the stored height is decoded reduced and cut
    // to that height; a smaller one keeps its own resolution.
    QTest::newRow("portrait 2560 x 2560: frame above the stored height")
        << sample(SamplePhotos::portrait(), 8) << false;
    QTest::newRow("footballer in a stadium 2192 x 1368: small face, own resolution")
        << sample(SamplePhotos::landscape(), 4) << false;
    QTest::newRow("portrait, whole picture") << sample(SamplePhotos::portrait(), 4) << true;
}

void TestPhotoImport::framedPhotoStored()
{
    QFETCH(QImage, picture);
    QFETCH(bool, whole);
    TempFolder data;
    TempFolder source;
    source.writeFile(QStringLiteral("3.jpg"), SamplePhotos::jpeg(picture));
    const QString path = source.path(QStringLiteral("3.jpg"));

    const Framing framing = frame(PhotoFramer(), path, QSize(77, 99));
    QVERIFY(framing.decoded);
    QVERIFY(framing.hasFace);
    QVERIFY(!framing.preview.isNull());
    QVERIFY(framing.preview.width() <= 77 && framing.preview.height() <= 99);
    const Outcome outcome = store(data.folder, {{path, QStringLiteral("3.jpg"), 3, framing.frame, whole}});
    QCOMPARE(outcome.stored, 1);
    QVERIFY(outcome.unreadable.isEmpty() && outcome.notWritten.isEmpty());

    QImageReader reader(StudentFiles::photoPath(data.folder, QStringLiteral("3")));
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    const QImage stored = reader.read();
    QVERIFY(!stored.isNull());
    if (whole) {
        QCOMPARE(stored.size(), picture.size());
        return;
    }
    // What the framing dialog's Applica stores from the full picture.
    const QImage expected = PhotoFramer().frame(StudentFiles::loadPicture(path)).photo;
    QVERIFY2(qAbs(stored.height() - expected.height()) <= 8,
             qPrintable(QStringLiteral("%1 high, the full picture's cut %2").arg(stored.height()).arg(expected.height())));
    QVERIFY(stored.height() <= PhotoFraming::kMaxStoredHeight);
    QVERIFY(qAbs(stored.width() - PhotoFraming::widthFor(stored.height())) <= 1);
    // The face is in the stored photo, in its middle, and fills it as an ID
    // photo's does.
    const QRect face = FaceFinder::largestFace(stored);
    QVERIFY(!face.isNull());
    QVERIFY(stored.rect().contains(face));
    QVERIFY(qAbs(face.center().y() - stored.height() / 2) < stored.height() / 6);
    QVERIFY(qAbs(face.center().x() - stored.width() / 2) < stored.width() / 6);
    QVERIFY(face.height() > stored.height() / 3);
}

void TestPhotoImport::exifTurnedPortraitStoredUpright()
{
    // A tall portrait (the face in its upper half) whose pixels were stored
    // lying on their side, with the EXIF orientation 6 saying "turn right".
    const QImage face = sample(SamplePhotos::portrait(), 3);
    QImage upright(face.width(), face.height() * 3 / 2, QImage::Format_RGB32);
    upright.fill(QColor(0x70, 0x70, 0x70));
    QPainter(&upright).drawImage(0, 0, face);
    const QImage lying = upright.transformed(QTransform().rotate(-90));
    QVERIFY(lying.width() > lying.height());

    TempFolder data;
    TempFolder source;
    source.writeFile(QStringLiteral("RSSMRA80A01H501U.jpg"), SamplePhotos::jpegWithOrientation(lying, 6));
    const QList<Item> items = match(pictureFiles(source.folder), sampleCards(), data.folder);
    QCOMPARE(items.size(), 1);
    QCOMPARE(items[0].status, Status::Matched);
    QCOMPARE(items[0].number, 1);

    const Framing framing = frame(PhotoFramer(), items[0].path, QSize(154, 197));
    QVERIFY(framing.hasFace); // found only in the picture turned upright
    QVERIFY2(framing.frame.bottom() < 0.75, "the frame lies in the upper part of the upright picture");
    QVERIFY(framing.wholePreview.height() > framing.wholePreview.width());
    const Outcome outcome = store(data.folder, {{items[0].path, items[0].fileName, 1, framing.frame, false}});
    QCOMPARE(outcome.stored, 1);

    const QImage stored = StudentFiles::loadStudentPhoto(data.folder, QStringLiteral("1"));
    QVERIFY(!stored.isNull());
    QVERIFY(qAbs(stored.width() - PhotoFraming::widthFor(stored.height())) <= 1);
    const QRect found = FaceFinder::largestFace(stored);
    QVERIFY2(!found.isNull(), "the stored photo shows the face upright");

    // Whole: the picture upright, as the student window keeps it.
    QCOMPARE(store(data.folder, {{items[0].path, items[0].fileName, 2, framing.frame, true}}).stored, 1);
    QCOMPARE(StudentFiles::loadStudentPhoto(data.folder, QStringLiteral("2")).size(), upright.size());
}

void TestPhotoImport::undecodableFilesReportedNotStored_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = SamplePhotos::jpeg(sample(SamplePhotos::portrait()));
    QTest::newRow("text under a picture's name") << QByteArray("Rossi Mario, 3B\n");
    QTest::newRow("JPEG cut short") << good.left(good.size() / 2);
    QTest::newRow("empty file") << QByteArray();
}

void TestPhotoImport::undecodableFilesReportedNotStored()
{
    QFETCH(QByteArray, bytes);
    TempFolder data;
    TempFolder source;
    const QByteArray previous = SamplePhotos::jpeg(sample(SamplePhotos::fruits()));
    data.writeFile(QStringLiteral("Anagrafica/Scheda_Studente_1.jpg"), previous);
    source.writeFile(QStringLiteral("1.jpg"), bytes);
    const QString path = source.path(QStringLiteral("1.jpg"));

    QVERIFY(!frame(PhotoFramer(), path, QSize(77, 99)).decoded);
    const Outcome outcome = store(data.folder, {{path, QStringLiteral("1.jpg"), 1, QRectF(0.1, 0.1, 0.5, 0.6), false},
                                                {path, QStringLiteral("1.jpg"), 2, QRectF(), true}});

    QCOMPARE(outcome.stored, 0);
    QCOMPARE(outcome.unreadable, QStringList({QStringLiteral("1.jpg"), QStringLiteral("1.jpg")}));
    QCOMPARE(data.readFile(QStringLiteral("Anagrafica/Scheda_Studente_1.jpg")), previous);
    QVERIFY(!StudentFiles::hasPhotoFile(data.folder, QStringLiteral("2")));
}

void TestPhotoImport::stoppingKeepsWhatIsStored()
{
    TempFolder data;
    TempFolder source;
    source.writeFile(QStringLiteral("a.jpg"), SamplePhotos::jpeg(sample(SamplePhotos::portrait())));
    const QString path = source.path(QStringLiteral("a.jpg"));
    const QList<Order> orders{{path, QStringLiteral("a.jpg"), 1, {}, true},
                              {path, QStringLiteral("a.jpg"), 2, {}, true},
                              {path, QStringLiteral("a.jpg"), 3, {}, true}};
    QList<int> calls;

    const Outcome outcome = store(data.folder, orders, [&](int done, int total) {
        calls << done;
        return total == 3 && done < 2;
    });

    QVERIFY(outcome.stopped);
    QCOMPARE(outcome.stored, 2);
    QCOMPARE(calls, QList<int>({0, 1, 2}));
    QVERIFY(StudentFiles::hasPhotoFile(data.folder, QStringLiteral("2")));
    QVERIFY(!StudentFiles::hasPhotoFile(data.folder, QStringLiteral("3")));
}

QTEST_GUILESS_MAIN(TestPhotoImport)
#include "test_photoimport.moc"
