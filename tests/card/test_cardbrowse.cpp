// Browsing the archive onto the ID card: the same steps as the student
// window, the card showing five fields and the photo.
#include "cardfixture.h"

#include "lockedfile.h"

#include "card/cardtemplate.h"

#include <QDir>
#include <QtTest>

using Kind = Platform::MessageKind;

class TestCardBrowse : public QObject
{
    Q_OBJECT

private slots:
    void browseThreeRecords_data();
    void browseThreeRecords();
    void emptyArchive_data();
    void emptyArchive();
    void missingArchiveIsCreated();
    void unusableArchive_data();
    void unusableArchive();
    void readOnlyArchiveFile();
    void positionNotANumber_data();
    void positionNotANumber();
    void photoOrPlaceholder_data();
    void photoOrPlaceholder();
    void largePhotoShownReducedPrintedSharp_data();
    void largePhotoShownReducedPrintedSharp();
    void fieldsAreTrimmedAndOthersUnused();
    void newCardStartsOver();
    void keyboardShortcutsBrowse_data();
    void keyboardShortcutsBrowse();
};

void TestCardBrowse::browseThreeRecords_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("shown"); // 0: nothing read, the card untouched; -1: the archive error

    QTest::newRow("record 3, next") << "3" << "cmdAvanti" << 0;
    QTest::newRow("record 3, previous") << "3" << "cmdIndietro" << 2;
    QTest::newRow("record 3, first") << "3" << "cmdPrimo" << 1;
    QTest::newRow("record 3, last") << "3" << "cmdUltimo" << 3;
    QTest::newRow("record 2, next") << "2" << "cmdAvanti" << 3;
    QTest::newRow("record 2, previous") << "2" << "cmdIndietro" << 1;
    QTest::newRow("record 1, previous") << "1" << "cmdIndietro" << 0;
    QTest::newRow("record 1 with blanks, previous") << " 1 " << "cmdIndietro" << 0;
    QTest::newRow("no record, next") << "" << "cmdAvanti" << 1;
    QTest::newRow("no record, previous") << "" << "cmdIndietro" << 1;
    QTest::newRow("no record, first") << "" << "cmdPrimo" << 1;
    QTest::newRow("no record, last") << "" << "cmdUltimo" << 3;
    QTest::newRow("stale number past the end, next") << "7" << "cmdAvanti" << 0;
    // Record 6 is not there to be read.
    QTest::newRow("stale number past the end, previous") << "7" << "cmdIndietro" << -1;
}

void TestCardBrowse::browseThreeRecords()
{
    QFETCH(QString, start);
    QFETCH(QString, button);
    QFETCH(int, shown);

    CardWindow w;
    writeArchiveOf(w.folder, 3);
    w.show();
    w.label(QStringLiteral("txtTesserato"))->setText(QStringLiteral("shown before"));
    w.setPosition(start);

    w.click(button);

    QCOMPARE(w.messageCount(), shown < 0 ? 1 : 0);
    if (shown <= 0) {
        if (shown < 0)
            QCOMPARE(w.folder.platform.lastText(), ArchiveMessages::accessError());
        QCOMPARE(w.position(), start);
        QCOMPARE(w.text(QStringLiteral("txtTesserato")), QStringLiteral("shown before"));
    } else {
        QCOMPARE(w.position(), QString::number(shown));
        QCOMPARE(w.student(), studentOf(cardRecord(shown)));
    }
}

void TestCardBrowse::emptyArchive_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("messages");

    QTest::newRow("first") << "cmdPrimo" << "" << "" << 1;
    QTest::newRow("last") << "cmdUltimo" << "" << "" << 1;
    QTest::newRow("previous") << "cmdIndietro" << "" << "" << 1;
    QTest::newRow("next") << "cmdAvanti" << "" << "" << 1;
    QTest::newRow("next empties a stale number") << "cmdAvanti" << "4" << "" << 1;
    QTest::newRow("first keeps a stale number") << "cmdPrimo" << "4" << "4" << 1;
    QTest::newRow("previous on record 1 says nothing") << "cmdIndietro" << "1" << "1" << 0;
}

void TestCardBrowse::emptyArchive()
{
    QFETCH(QString, button);
    QFETCH(QString, start);
    QFETCH(QString, after);
    QFETCH(int, messages);

    CardWindow w;
    writeCards(w.folder, {}, 100); // a fragment only: still no record
    w.show();
    w.label(QStringLiteral("txtCarica"))->setText(QStringLiteral("shown before"));
    w.setPosition(start);

    w.click(button);

    QCOMPARE(w.messageCount(), messages);
    if (messages) {
        QCOMPARE(w.folder.platform.lastKind(), Kind::Information);
        QCOMPARE(w.folder.platform.lastText(), QStringLiteral("L'archivio non contiene nessuna scheda."));
    }
    QCOMPARE(w.position(), after);
    QCOMPARE(w.text(QStringLiteral("txtCarica")), QStringLiteral("shown before"));
}

void TestCardBrowse::missingArchiveIsCreated()
{
    CardWindow w;
    w.show();
    const QString path = w.folder.path(QStringLiteral("Archivio_Studenti.pro"));
    QVERIFY(!QFile::exists(path));

    w.click(QStringLiteral("cmdAvanti"));

    QVERIFY(QFile::exists(path));
    QCOMPARE(QFileInfo(path).size(), 0);
    QCOMPARE(w.folder.platform.lastText(), ArchiveMessages::emptyArchive());
    QCOMPARE(w.student(), emptyStudent());
}

void TestCardBrowse::unusableArchive_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("start");

    for (const char *button : {"cmdPrimo", "cmdIndietro", "cmdAvanti", "cmdUltimo"}) {
        QTest::addRow("%s with no record", button) << button << "";
        QTest::addRow("%s on record 2", button) << button << "2";
    }
}

void TestCardBrowse::unusableArchive()
{
    QFETCH(QString, button);
    QFETCH(QString, start);

    CardWindow w;
    // A folder in the archive's place cannot be opened, not even by root.
    QVERIFY(QDir().mkpath(w.folder.path(QStringLiteral("Archivio_Studenti.pro"))));
    w.show();
    const QImage photo = stripes(40, 50);
    w.window->takeStudent(cardRecord(2), 2, photo);
    w.setPosition(start);

    w.click(button);

    QCOMPARE(w.messageCount(), 1);
    QCOMPARE(w.folder.platform.lastKind(), Kind::Error);
    QCOMPARE(w.folder.platform.lastText(),
             QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
                            "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione "
                            "del programma."));
    // The card keeps what it showed.
    QCOMPARE(w.position(), start);
    QCOMPARE(w.student(), studentOf(cardRecord(2)));
    QCOMPARE(w.photo(), photo);
}

void TestCardBrowse::readOnlyArchiveFile()
{
    CardWindow w;
    writeArchiveOf(w.folder, 2);
    LockedFile readOnly(w.folder.path(QStringLiteral("Archivio_Studenti.pro")));
    if (!readOnly.ok())
        QSKIP("cannot make a file read-only here");
    w.show();

    w.click(QStringLiteral("cmdPrimo"));

    QCOMPARE(w.folder.platform.lastKind(), Kind::Error);
    QCOMPARE(w.folder.platform.lastText(), ArchiveMessages::accessError());
    QCOMPARE(w.position(), QString());
    QCOMPARE(w.student(), emptyStudent());
}

void TestCardBrowse::positionNotANumber_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("start");

    QTest::newRow("next, letters") << "cmdAvanti" << "tre";
    QTest::newRow("previous, letters") << "cmdIndietro" << "tre";
    QTest::newRow("next, digits then text") << "cmdAvanti" << "2a";
    QTest::newRow("previous, hexadecimal") << "cmdIndietro" << "0x2";
}

void TestCardBrowse::positionNotANumber()
{
    QFETCH(QString, button);
    QFETCH(QString, start);

    CardWindow w;
    writeArchiveOf(w.folder, 3);
    w.show();
    w.setPosition(start);

    w.click(button);

    QCOMPARE(w.messageCount(), 1);
    QCOMPARE(w.folder.platform.lastKind(), Kind::Error);
    QCOMPARE(w.folder.platform.lastText(), ArchiveMessages::accessError());
    QCOMPARE(w.position(), start);
    QCOMPARE(w.student(), emptyStudent());
}

void TestCardBrowse::photoOrPlaceholder_data()
{
    QTest::addColumn<QString>("file"); // relative to the folder; empty: none
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("blank");

    const QByteArray jpeg = encoded(stripes(400, 300), "JPG");
    QTest::newRow("photo") << photoFile(2) << jpeg << false;
    QTest::newRow("no photo") << QString() << QByteArray() << true;
    QTest::newRow("photo under another extension")
        << QStringLiteral("Anagrafica/Scheda_Studente_2.jpeg") << jpeg << true;
    QTest::newRow("bitmap photo") << QStringLiteral("Anagrafica/Scheda_Studente_2.bmp")
                                  << encoded(stripes(400, 300), "BMP") << true;
    QTest::newRow("not an image") << photoFile(2) << QByteArray("just some text, not a picture") << true;
    QTest::newRow("truncated") << photoFile(2) << jpeg.left(200) << true;
    QTest::newRow("enormous") << photoFile(2) << enormousJpeg() << true;
}

void TestCardBrowse::photoOrPlaceholder()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(bool, blank);

    CardWindow w;
    writeArchiveOf(w.folder, 2);
    w.folder.writeFile(photoFile(1), encoded(stripes(200, 100), "JPG"));
    if (!file.isEmpty())
        w.folder.writeFile(file, content);
    w.show();
    w.click(QStringLiteral("cmdPrimo"));
    QCOMPARE(w.photo().size(), QSize(200, 100));

    w.click(QStringLiteral("cmdAvanti"));

    QCOMPARE(w.position(), QStringLiteral("2"));
    QCOMPARE(w.showsBlankPhoto(), blank);
    if (!blank)
        QCOMPARE(w.photo().size(), QSize(400, 300)); // at the file's size
    QCOMPARE(w.messageCount(), 0);
}

void TestCardBrowse::largePhotoShownReducedPrintedSharp_data()
{
    QTest::addColumn<bool>("picked"); // else browsed
    QTest::addColumn<bool>("cleared"); // the photo removed from the card afterwards

    QTest::newRow("browsed") << false << false;
    QTest::newRow("picked") << true << false;
    QTest::newRow("browsed, then removed from the card") << false << true;
}

// A camera-sized photo: the card's frame gets a copy decoded for it, laid out
// as the whole photo would be; print and preview get it as large as the card
// prints it.
void TestCardBrowse::largePhotoShownReducedPrintedSharp()
{
    QFETCH(bool, picked);
    QFETCH(bool, cleared);

    CardWindow w;
    writeArchiveOf(w.folder, 1);
    const QByteArray photo = encoded(stripes(4000, 3000), "JPG");
    w.folder.writeFile(photoFile(1), photo);
    w.show();
    if (picked) {
        const QString folder = w.folder.context.folder;
        w.window->takeStudent(cardRecord(1), 1,
                              StudentFiles::loadStudentPhoto(folder, QStringLiteral("1"), w.window->photoFrame()));
    } else {
        w.click(QStringLiteral("cmdPrimo"));
    }

    QCOMPARE(w.position(), QStringLiteral("1"));
    QVERIFY2(w.photo().width() <= 1000, qPrintable(QString::number(w.photo().width())));
    QCOMPARE(w.picture(QStringLiteral("imgFoto"))->pictureRect(), QRect(0, 36, 136, 102));
    if (cleared)
        w.click(QStringLiteral("btnCancFoto"));

    const IdCardContent card = static_cast<const IdCardSource *>(w.window)->cardContent();
    if (cleared) {
        QCOMPARE(card.photo, w.photo());
    } else {
        const QSize print = CardTemplate::photoPrintSize();
        QVERIFY2(card.photo.width() >= print.width() && card.photo.height() >= print.height(),
                 qPrintable(QStringLiteral("%1x%2").arg(card.photo.width()).arg(card.photo.height())));
        QCOMPARE(card.photo.width() * 3, card.photo.height() * 4);
    }
    QCOMPARE(w.folder.readFile(photoFile(1)), photo);
    QCOMPARE(w.messageCount(), 0);
}

void TestCardBrowse::fieldsAreTrimmedAndOthersUnused()
{
    CardWindow w;
    StudentRecord record = cardRecord(1);
    record[StudentRecord::Studente] = QStringLiteral("\t Neri Paolo  ");
    record[StudentRecord::Classe] = QString();
    writeCards(w.folder, {record});
    w.show();

    w.click(QStringLiteral("cmdUltimo"));

    QCOMPARE(w.student(), (QStringList{QStringLiteral("Neri Paolo"), record[StudentRecord::Corso], QString(),
                                       record[StudentRecord::Inizio], record[StudentRecord::Fine]}));
    QCOMPARE(w.school(), defaultSchool());
}

void TestCardBrowse::newCardStartsOver()
{
    CardWindow w;
    writeArchiveOf(w.folder, 3);
    w.folder.writeFile(photoFile(3), encoded(stripes(60, 80), "JPG"));
    w.show();
    w.label(QStringLiteral("titAssociazione"))->setText(QStringLiteral("Istituto Volta"));
    w.click(QStringLiteral("cmdUltimo"));
    QVERIFY(!w.showsBlankPhoto());
    const QImage logo = w.logo();

    w.click(QStringLiteral("cmdNuovo"));
    QCOMPARE(w.student(), emptyStudent());
    QCOMPARE(w.position(), QString());
    QVERIFY(w.showsBlankPhoto());
    QCOMPARE(w.text(QStringLiteral("titAssociazione")), QStringLiteral("Istituto Volta"));
    QCOMPARE(w.logo(), logo);

    w.click(QStringLiteral("cmdAvanti"));
    QCOMPARE(w.position(), QStringLiteral("1"));
}

void TestCardBrowse::keyboardShortcutsBrowse_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("after");

    QTest::newRow("Alt+Home, first") << int(Qt::Key_Home) << "2" << "1";
    QTest::newRow("Alt+PgUp, previous") << int(Qt::Key_PageUp) << "3" << "2";
    QTest::newRow("Alt+PgDn, next") << int(Qt::Key_PageDown) << "1" << "2";
    QTest::newRow("Alt+End, last") << int(Qt::Key_End) << "" << "3";
}

void TestCardBrowse::keyboardShortcutsBrowse()
{
    QFETCH(int, key);
    QFETCH(QString, start);
    QFETCH(QString, after);

    CardWindow w;
    writeArchiveOf(w.folder, 3);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(w.window));
    w.setPosition(start);

    QTest::keyClick(w.window, Qt::Key(key), Qt::AltModifier);

    QCOMPARE(w.position(), after);
    QCOMPARE(w.text(QStringLiteral("txtTesserato")), cardRecord(after.toInt())[StudentRecord::Studente]);
}

QTEST_MAIN(TestCardBrowse)
#include "test_cardbrowse.moc"
