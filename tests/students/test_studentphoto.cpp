// What a save does with a photo that could not be shown, and with data files
// reached through links or far too large: real files on disk.
#include "studentfixture.h"

#include "archive/studentarchive.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImageReader>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using Kind = Platform::MessageKind;

namespace {

const QString kRewritten = QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
const QString kInserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");

// A photo that most viewers still show whole: only its end marker is gone.
QByteArray jpegWithoutItsLastTwoBytes()
{
    const QByteArray whole = jpegOf(stripes(600, 800));
    return whole.left(whole.size() - 2);
}

// A complete JPEG whose frame header claims 60000 x 60000 pixels.
QByteArray jpegAboveTheDecoderLimit()
{
    QByteArray jpeg = jpegOf(stripes(64, 48));
    const int frame = int(jpeg.indexOf(QByteArray("\xFF\xC0", 2)));
    jpeg[frame + 5] = char(0xEA);
    jpeg[frame + 6] = char(0x60);
    jpeg[frame + 7] = char(0xEA);
    jpeg[frame + 8] = char(0x60);
    return jpeg;
}

// JPEG 2000, for which no decoder is installed.
QByteArray jpeg2000()
{
    return QByteArray("\x00\x00\x00\x0CjP  \r\n\x87\n\x00\x00\x00\x14" "ftypjp2 \x00\x00\x00\x00jp2 ", 32)
           + QByteArray(4000, '\x5A');
}

enum class Setup { Bytes, SelfLink, Sparse, Unreadable, LinkOutside };

struct PhotoCase
{
    QString watched; // the file whose bytes must stay as they were
    qint64 size = 0;
    QByteArray head; // its first bytes
};

// Puts the unloadable photo of record 1 in place.
PhotoCase plantPhoto(const TestFolder &folder, const QTemporaryDir &outside, Setup setup, const QByteArray &bytes)
{
    const QString photo = folder.path(photoFile(1));
    QDir().mkpath(QFileInfo(photo).absolutePath());
    PhotoCase planted;
    planted.watched = photo;
    switch (setup) {
    case Setup::Bytes:
    case Setup::Unreadable:
        folder.writeFile(photoFile(1), bytes);
        if (setup == Setup::Unreadable)
            QFile::setPermissions(photo, QFileDevice::Permissions());
        break;
    case Setup::SelfLink:
        ::symlink(QFile::encodeName(photo).constData(), QFile::encodeName(photo).constData());
        break;
    case Setup::Sparse: {
        QFile file(photo);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(jpegOf(stripes(60, 80)));
            file.resize(6LL << 30);
        }
        break;
    }
    case Setup::LinkOutside: {
        planted.watched = outside.filePath(QStringLiteral("ritratto.jpg"));
        QFile file(planted.watched);
        if (file.open(QIODevice::WriteOnly))
            file.write(jpegOf(stripes(90, 120)));
        file.close();
        ::symlink(QFile::encodeName(planted.watched).constData(), QFile::encodeName(photo).constData());
        break;
    }
    }
    const QFileInfo info(planted.watched);
    planted.size = info.isSymLink() ? -1 : info.size();
    QFile head(planted.watched);
    if (head.open(QIODevice::ReadOnly))
        planted.head = head.read(4096);
    return planted;
}

bool unchanged(const PhotoCase &planted)
{
    const QFileInfo info(planted.watched);
    if (planted.size < 0)
        return info.isSymLink();
    QFile head(planted.watched);
    return info.size() == planted.size && head.open(QIODevice::ReadOnly) && head.read(4096) == planted.head;
}

} // namespace

Q_DECLARE_METATYPE(Setup)

class TestStudentPhoto : public QObject
{
    Q_OBJECT

private slots:
    void unloadablePhotoSurvivesSave_data();
    void unloadablePhotoSurvivesSave();
    void operatorChoiceAfterAFailedLoad_data();
    void operatorChoiceAfterAFailedLoad();
    void duplicateOfACardWithAnUnloadablePhoto();
    void archiveLinkedOutsideIsRefused();
};

void TestStudentPhoto::unloadablePhotoSurvivesSave_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("picked"); // reached by a search pick rather than browsing

    const struct { const char *name; Setup setup; QByteArray bytes; } cases[] = {
        {"jpeg that lost its last two bytes", Setup::Bytes, jpegWithoutItsLastTwoBytes()},
        {"jpeg above the decoder's memory limit", Setup::Bytes, jpegAboveTheDecoderLimit()},
        {"format without a decoder", Setup::Bytes, jpeg2000()},
        {"link to itself, cannot be opened", Setup::SelfLink, {}},
        {"sparse file of 6 GB", Setup::Sparse, {}},
        {"unreadable for this user", Setup::Unreadable, jpegOf(stripes(60, 80))},
        {"link to a photo outside the folder", Setup::LinkOutside, {}},
    };
    for (const auto &c : cases) {
        QTest::addRow("%s, browsed", c.name) << c.setup << c.bytes << false;
        QTest::addRow("%s, picked", c.name) << c.setup << c.bytes << true;
    }
}

void TestStudentPhoto::unloadablePhotoSurvivesSave()
{
    QFETCH(Setup, setup);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, picked);

    StudentWindow w;
    QTemporaryDir outside;
    writeArchive(w.folder, 1);
    const PhotoCase planted = plantPhoto(w.folder, outside, setup, bytes);
    if (setup == Setup::Unreadable && QFile(planted.watched).open(QIODevice::ReadOnly))
        QSKIP("this user reads files whatever their permissions");
    w.show();

    QElapsedTimer clock;
    clock.start();
    if (picked) {
        // As the search window hands a pick over.
        w.window->takeStudent(StudentArchive::readOne(w.folder.context.folder, 1), 1,
                              StudentFiles::loadStudentPhoto(w.folder.context.folder, QStringLiteral("1")));
    } else {
        w.click(QStringLiteral("cmdPrimo"));
    }
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(w.position(), QStringLiteral("1"));
    QVERIFY(w.showsBlank());

    w.click(QStringLiteral("cmdSalva"));

    QCOMPARE(w.folder.platform.lastText(), kRewritten);
    QCOMPARE(w.messageCount(), 1);
    QVERIFY(unchanged(planted));
    QCOMPARE(archiveBytes(w.folder), sampleCard(1).encode());
    // Saving again, or after typing, still leaves the photo alone.
    w.edit(StudentRecord::Note)->setText(QStringLiteral("nota nuova"));
    w.click(QStringLiteral("cmdSalva"));
    QVERIFY(unchanged(planted));
    QVERIFY(QDir(w.folder.path(QStringLiteral("Anagrafica"))).entryList({QStringLiteral("*.lumetra-tmp")}).isEmpty());
    QFile::setPermissions(planted.watched, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void TestStudentPhoto::operatorChoiceAfterAFailedLoad_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QSize>("stored"); // invalid: the file stays as it was

    QTest::newRow("nothing") << "" << QSize();
    QTest::newRow("photo cleared") << "btnCancFoto" << blankPicture().size();
    QTest::newRow("photo loaded") << "btnCaricaFoto" << QSize(320, 240);
    QTest::newRow("loading another unreadable file") << "btnCaricaFoto:rotta.jpg" << QSize();
    QTest::newRow("photo handed over by another window") << "replace" << QSize(200, 150);
}

void TestStudentPhoto::operatorChoiceAfterAFailedLoad()
{
    QFETCH(QString, action);
    QFETCH(QSize, stored);

    StudentWindow w;
    writeArchive(w.folder, 1);
    const QByteArray cut = jpegWithoutItsLastTwoBytes();
    w.folder.writeFile(photoFile(1), cut);
    w.folder.writeFile(QStringLiteral("scelte/nuova.jpg"), jpegOf(stripes(320, 240)));
    w.folder.writeFile(QStringLiteral("scelte/rotta.jpg"), cut.left(cut.size() / 2));
    w.show();
    w.click(QStringLiteral("cmdPrimo"));
    QVERIFY(w.showsBlank());

    if (action == QLatin1String("btnCancFoto")) {
        w.click(action);
    } else if (action.startsWith(QLatin1String("btnCaricaFoto"))) {
        const QString file = action.contains(QLatin1Char(':')) ? action.section(QLatin1Char(':'), 1)
                                                               : QStringLiteral("nuova.jpg");
        w.folder.platform.openAnswers.enqueue(w.folder.path(QStringLiteral("scelte/") + file));
        if (file == QLatin1String("nuova.jpg"))
            answerFraming();
        w.click(QStringLiteral("btnCaricaFoto"));
    } else if (action == QLatin1String("replace")) {
        // The webcam window hands its capture over by setting the picture.
        w.photo()->setImage(stripes(200, 150));
    }
    w.click(QStringLiteral("cmdSalva"));

    QCOMPARE(w.folder.platform.lastText(), kRewritten);
    if (stored.isValid())
        QCOMPARE(QImageReader(w.folder.path(photoFile(1))).size(), stored);
    else
        QCOMPARE(w.folder.readFile(photoFile(1)), cut);
}

void TestStudentPhoto::duplicateOfACardWithAnUnloadablePhoto()
{
    StudentWindow w;
    writeArchive(w.folder, 1);
    const QByteArray cut = jpegWithoutItsLastTwoBytes();
    w.folder.writeFile(photoFile(1), cut);
    w.show();
    w.click(QStringLiteral("cmdPrimo"));
    w.click(QStringLiteral("cmdDuplica"));
    w.click(QStringLiteral("cmdSalva"));
    QCOMPARE(w.folder.platform.lastText(), kInserted);
    QCOMPARE(w.position(), QStringLiteral("2"));
    // The copy has no photo of its own: the silhouette is stored for it, and
    // the original keeps its file.
    QCOMPARE(QImageReader(w.folder.path(photoFile(2))).size(), blankPicture().size());
    QCOMPARE(w.folder.readFile(photoFile(1)), cut);
}

void TestStudentPhoto::archiveLinkedOutsideIsRefused()
{
    StudentWindow w;
    QTemporaryDir outside;
    const QString elsewhere = outside.filePath(QStringLiteral("importante.dat"));
    {
        QFile file(elsewhere);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(sampleCard(7).encode());
    }
    QVERIFY(::symlink(QFile::encodeName(elsewhere).constData(),
                      QFile::encodeName(w.folder.path(QStringLiteral("Archivio_Studenti.pro"))).constData())
            == 0);
    w.show();
    w.click(QStringLiteral("cmdNuovo"));
    w.fill(sampleCard(1));
    w.click(QStringLiteral("cmdSalva"));

    QCOMPARE(w.folder.platform.lastKind(), Kind::Error);
    QCOMPARE(w.folder.platform.lastText(), ArchiveMessages::accessError());
    QCOMPARE(w.position(), QString());
    QFile file(elsewhere);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), sampleCard(7).encode());
    QVERIFY(!QFile::exists(w.folder.path(photoFile(1))));

    // Browsing through the link is refused the same way.
    w.folder.platform.clear();
    w.folder.platform.askAnswers.enqueue(Platform::Answer::No);
    w.click(QStringLiteral("cmdPrimo"));
    QCOMPARE(w.folder.platform.questions.size(), 1); // the card typed above
    QCOMPARE(w.folder.platform.lastText(), ArchiveMessages::accessError());
}

QTEST_MAIN(TestStudentPhoto)
#include "test_studentphoto.moc"
