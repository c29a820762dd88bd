// The card's files without any window: the school's texts in "Lumetra.ini"
// and the logo stretched into "Anagrafica/Logo.bmp".
#include "tempfolder.h"
#include "lockedfile.h"

#include "card/cardlogo.h"
#include "settings/schooldata.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {

const QString kIni = QStringLiteral("Lumetra.ini");
const QString kLogo = QStringLiteral("Anagrafica/Logo.bmp");

QImage halves(int width, int height, const QColor &left, const QColor &right)
{
    QImage image(width, height, QImage::Format_ARGB32);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(0, 0, width / 2, height, left);
    painter.fillRect(width / 2, 0, width - width / 2, height, right);
    return image;
}

} // namespace

class TestCardFiles : public QObject
{
    Q_OBJECT

private slots:
    void saveWritesTheFourKeysTrimmed();
    void saveKeepsEverythingElse();
    void lineBreaksStayInOneLine();
    void unchangedFileIsLeftAlone();
    void unreadableFileIsNotReplaced();
    void stretchFillsTheWholeSize_data();
    void stretchFillsTheWholeSize();
    void stretchIsSmooth();
    void stretchKeepsTransparency();
    void logoIsWrittenAsBitmap();
    void logoWithoutAFolder();
};

void TestCardFiles::saveWritesTheFourKeysTrimmed()
{
    TempFolder folder;
    QVERIFY(SchoolData::save(folder.folder, {QStringLiteral("  Istituto Volta\t"), QString(),
                                             QStringLiteral(" Tel. 06 123 "), QStringLiteral("Città")}));

    QCOMPARE(folder.readFile(kIni), QByteArray("[Scuola]\r\nDenominazione=Istituto Volta\r\nIndirizzo=\r\n"
                                               "Recapiti=Tel. 06 123\r\nNote=Citt\xE0\r\n"));
    // Read back, the empty text is its default again.
    const SchoolTexts back = SchoolData::load(folder.folder);
    QCOMPARE(back.denominazione, QStringLiteral("Istituto Volta"));
    QCOMPARE(back.indirizzo, QStringLiteral("Indirizzo"));
    QCOMPARE(back.recapiti, QStringLiteral("Tel. 06 123"));
    QCOMPARE(back.note, QStringLiteral("Città"));
}

void TestCardFiles::saveKeepsEverythingElse()
{
    TempFolder folder;
    folder.writeFile(kIni, "[Scuola]\r\nNote=vecchia\r\nExtra=1\r\n[Stampa]\r\nCopie=2\r\n");

    QVERIFY(SchoolData::save(folder.folder, SchoolData::defaults()));

    QCOMPARE(folder.readFile(kIni), QByteArray("[Scuola]\r\nNote=Note\r\nExtra=1\r\nDenominazione=Denominazione "
                                               "Scuola\r\nIndirizzo=Indirizzo\r\nRecapiti=Recapiti\r\n[Stampa]\r\n"
                                               "Copie=2\r\n"));
}

void TestCardFiles::lineBreaksStayInOneLine()
{
    TempFolder folder;
    SchoolTexts texts = SchoolData::defaults();
    texts.note = QStringLiteral("prima\r\n[Altro]\nseconda");

    QVERIFY(SchoolData::save(folder.folder, texts));

    QCOMPARE(SchoolData::load(folder.folder).note, QStringLiteral("prima  [Altro] seconda"));
    QVERIFY(!folder.readFile(kIni).contains("\n[Altro]"));
}

void TestCardFiles::unchangedFileIsLeftAlone()
{
    TempFolder folder;
    QVERIFY(SchoolData::save(folder.folder, SchoolData::defaults()));
    LockedFile locked(folder.path(kIni));
    if (!locked.ok())
        QSKIP("cannot make a file read-only here");

    // Nothing to change: no write, so a read-only file is no failure.
    QVERIFY(SchoolData::save(folder.folder, SchoolData::defaults()));
    SchoolTexts changed = SchoolData::defaults();
    changed.note = QStringLiteral("altra");
    QVERIFY(!SchoolData::save(folder.folder, changed));
}

void TestCardFiles::unreadableFileIsNotReplaced()
{
    TempFolder folder;
    QVERIFY(QDir().mkpath(folder.path(kIni)));

    QVERIFY(!SchoolData::save(folder.folder, SchoolData::defaults()));
    QVERIFY(QFileInfo(folder.path(kIni)).isDir());
    QCOMPARE(SchoolData::load(folder.folder).denominazione, QStringLiteral("Denominazione Scuola"));
}

void TestCardFiles::stretchFillsTheWholeSize_data()
{
    QTest::addColumn<QSize>("source");
    QTest::addColumn<QSize>("target");

    QTest::newRow("wide to the logo") << QSize(1000, 100) << QSize(119, 118);
    QTest::newRow("tall to the logo") << QSize(10, 900) << QSize(119, 118);
    QTest::newRow("one pixel to the logo") << QSize(1, 1) << QSize(119, 118);
    QTest::newRow("same size") << QSize(119, 118) << QSize(119, 118);
    QTest::newRow("to a strip") << QSize(50, 50) << QSize(300, 2);
}

void TestCardFiles::stretchFillsTheWholeSize()
{
    QFETCH(QSize, source);
    QFETCH(QSize, target);

    const QImage stretched = CardLogo::stretchBitmap(halves(source.width(), source.height(), Qt::red, Qt::blue),
                                                     target.width(), target.height());

    QCOMPARE(stretched.size(), target);
    // Not letter-boxed: the source reaches every edge, opaque.
    const QColor topLeft = stretched.pixelColor(0, 0);
    const QColor bottomRight = stretched.pixelColor(target.width() - 1, target.height() - 1);
    QCOMPARE(topLeft.alpha(), 255);
    QCOMPARE(bottomRight.alpha(), 255);
    if (source.width() > 1) {
        QVERIFY(topLeft.red() > 200 && topLeft.blue() < 60);
        QVERIFY(bottomRight.blue() > 200 && bottomRight.red() < 60);
    }
    QVERIFY(CardLogo::stretchBitmap(QImage(), 119, 118).isNull());
    QVERIFY(CardLogo::stretchBitmap(halves(4, 4, Qt::red, Qt::blue), 0, 118).isNull());
}

void TestCardFiles::stretchIsSmooth()
{
    // Two pixels, black and white: smooth scaling leaves greys between them,
    // nearest-pixel scaling would not.
    const QImage stretched = CardLogo::stretchBitmap(halves(2, 1, Qt::black, Qt::white), 119, 118);
    int greys = 0;
    for (int x = 0; x < 119; ++x) {
        const int level = qGray(stretched.pixel(x, 59));
        greys += level > 20 && level < 235 ? 1 : 0;
    }
    QVERIFY2(greys >= 10, qPrintable(QStringLiteral("%1 grey columns").arg(greys)));
}

void TestCardFiles::stretchKeepsTransparency()
{
    const QImage stretched = CardLogo::stretchBitmap(halves(40, 40, Qt::transparent, Qt::red), 119, 118);
    QCOMPARE(stretched.pixelColor(2, 50).alpha(), 0);
    QCOMPARE(stretched.pixelColor(116, 50).alpha(), 255);
}

void TestCardFiles::logoIsWrittenAsBitmap()
{
    TempFolder folder;
    QVERIFY(CardLogo::save(folder.folder, halves(640, 80, Qt::transparent, Qt::darkGreen)));

    const QByteArray bytes = folder.readFile(kLogo);
    QVERIFY(bytes.startsWith("BM"));
    const QImage stored = QImage::fromData(bytes, "BMP");
    QCOMPARE(stored.size(), QSize(CardLogo::Width, CardLogo::Height));
    // What was transparent is white, like the frame the logo sits in.
    QCOMPARE(stored.pixelColor(2, 50), QColor(Qt::white));
    QCOMPARE(stored.pixelColor(116, 50), QColor(Qt::darkGreen));
    QCOMPARE(CardLogo::load(folder.folder).size(), QSize(119, 118));
}

void TestCardFiles::logoWithoutAFolder()
{
    TempFolder folder;
    folder.writeFile(QStringLiteral("Anagrafica"), "a file where the folder should be");

    QVERIFY(!CardLogo::save(folder.folder, halves(10, 10, Qt::red, Qt::blue)));
    QVERIFY(CardLogo::load(folder.folder).isNull());
}

QTEST_MAIN(TestCardFiles)
#include "test_cardfiles.moc"
