// New, duplicate and save in the student window.
#include "studentfixture.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPushButton>
#include <QtTest>

using Kind = Platform::MessageKind;

namespace {
const QString kInserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");
const QString kRewritten = QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
constexpr int kSize = StudentRecord::Size;

QSize storedPhotoSize(const TestFolder &folder, int n)
{
    return QImageReader(folder.path(photoFile(n))).size();
}
} // namespace

class TestStudentSave : public QObject
{
    Q_OBJECT

private slots:
    void save_data();
    void save();
    void requiredFields_data();
    void requiredFields();
    void photoStoredAtItsOwnSize();
    void blankPictureStoredWhenNoPhoto();
    void unwritablePhotoFolderKeepsTheRecord();
    void archiveFailureLeavesEverything_data();
    void archiveFailureLeavesEverything();
    void duplicateThenSave();
    void duplicateOnNewCard();
    void newCardClearsEverything();
    void focusButtonTrimsTheName();
};

void TestStudentSave::save_data()
{
    QTest::addColumn<int>("records");   // -1: no archive file yet
    QTest::addColumn<int>("fragment");  // stray bytes after the last record
    QTest::addColumn<QString>("start"); // position shown before the save
    QTest::addColumn<int>("number");    // record written
    QTest::addColumn<int>("length");    // file length after, in records

    QTest::newRow("new card, no archive file") << -1 << 0 << "" << 1 << 1;
    QTest::newRow("new card, empty archive") << 0 << 0 << "" << 1 << 1;
    QTest::newRow("new card, 12 records") << 12 << 0 << "" << 13 << 13;
    QTest::newRow("new card over a trailing fragment") << 12 << 1000 << "" << 13 << 13;
    QTest::newRow("record 5 rewritten") << 12 << 0 << "5" << 5 << 12;
    QTest::newRow("last record rewritten") << 12 << 0 << "12" << 12 << 12;
    QTest::newRow("first record rewritten") << 3 << 0 << " 1 " << 1 << 3;
}

void TestStudentSave::save()
{
    QFETCH(int, records);
    QFETCH(int, fragment);
    QFETCH(QString, start);
    QFETCH(int, number);
    QFETCH(int, length);

    StudentWindow w;
    if (records >= 0)
        writeArchive(w.folder, records, fragment);
    const QByteArray before = archiveBytes(w.folder);
    w.show();
    // Only the six required fields, the name with blanks around it.
    StudentRecord card;
    for (const auto field : {StudentRecord::Studente, StudentRecord::Sesso, StudentRecord::Corso,
                             StudentRecord::Classe, StudentRecord::Inizio, StudentRecord::Fine})
        card[field] = sampleCard(99)[field];
    card[StudentRecord::Studente] = QStringLiteral("  Verdi Anna  ");
    w.fill(card);
    w.setPosition(start);

    w.click(QStringLiteral("cmdSalva"));

    const QString expected = start.trimmed().isEmpty() ? kInserted : kRewritten;
    QCOMPARE(w.messageCount(), 1);
    QCOMPARE(w.folder.platform.lastKind(), Kind::Information);
    QCOMPARE(w.folder.platform.lastText(), expected);
    QCOMPARE(w.position(), QString::number(number));
    QByteArray after = archiveBytes(w.folder);
    QCOMPARE(after.size(), length * kSize);
    const QByteArray written = after.mid((number - 1) * kSize, kSize);
    QCOMPARE(StudentRecord::decodeField(written.constData(), StudentRecord::Studente), QStringLiteral("Verdi Anna"));
    QCOMPARE(written, card.encode());
    // Every other record is untouched.
    after.replace((number - 1) * kSize, kSize, before.mid((number - 1) * kSize, kSize));
    QCOMPARE(after.left(qMin(after.size(), records * kSize)), before.left(qMin(after.size(), records * kSize)));
    // The edit keeps the text as typed; only the file drops the blanks.
    QCOMPARE(w.text(StudentRecord::Studente), QStringLiteral("  Verdi Anna  "));
    QVERIFY(QFile::exists(w.folder.path(photoFile(number))));

    // Saving the same card again rewrites it in place.
    w.edit(StudentRecord::Note)->setText(QStringLiteral("seconda"));
    w.click(QStringLiteral("cmdSalva"));
    QCOMPARE(w.folder.platform.lastText(), kRewritten);
    QCOMPARE(w.position(), QString::number(number));
    QCOMPARE(archiveBytes(w.folder).size(), length * kSize);
    QCOMPARE(StudentRecord::decodeField(archiveBytes(w.folder).constData() + (number - 1) * kSize,
                                        StudentRecord::Note),
             QStringLiteral("seconda"));
}

void TestStudentSave::requiredFields_data()
{
    QTest::addColumn<QString>("empty"); // this field and all later ones left empty
    QTest::addColumn<QString>("warning");

    QTest::newRow("name") << "txtStudente" << "Attenzione: per salvare la scheda è necessario indicare cognome e nome dello studente.";
    QTest::newRow("sex") << "txtSesso" << "Attenzione: per salvare la scheda è necessario indicare il sesso dello studente (M o F).";
    QTest::newRow("course") << "txtCorso" << "Attenzione: per salvare la scheda è necessario indicare il corso frequentato dallo studente.";
    QTest::newRow("class") << "txtClasse" << "Attenzione: per salvare la scheda è necessario indicare la classe dello studente.";
    QTest::newRow("start date") << "txtInizio" << "Attenzione: per salvare la scheda è necessario indicare la data di inizio corso.";
    QTest::newRow("end date") << "txtFine" << "Attenzione: per salvare la scheda è necessario indicare la data di fine corso.";
}

void TestStudentSave::requiredFields()
{
    QFETCH(QString, empty);
    QFETCH(QString, warning);

    const QStringList order = {"txtStudente", "txtSesso", "txtCorso", "txtClasse", "txtInizio", "txtFine"};
    for (const bool blanks : {false, true}) {
        StudentWindow w;
        writeArchive(w.folder, 2);
        const QByteArray before = archiveBytes(w.folder);
        w.show();
        w.setPosition(QStringLiteral("2"));
        w.edit(StudentRecord::Note)->setText(QStringLiteral("altro"));
        for (int i = 0; i < order.indexOf(empty); ++i)
            findControl<QLineEdit>(w.window, order[i])->setText(QStringLiteral("x"));
        // A field of blanks only is as empty as an empty one.
        findControl<QLineEdit>(w.window, empty)->setText(blanks ? QStringLiteral("   ") : QString());

        w.click(QStringLiteral("cmdSalva"));

        QCOMPARE(w.messageCount(), 1);
        QCOMPARE(w.folder.platform.lastKind(), Kind::Warning);
        QCOMPARE(w.folder.platform.lastText(), warning);
        QCOMPARE(w.window->focusWidget()->objectName(), empty);
        QCOMPARE(archiveBytes(w.folder), before);
        QCOMPARE(w.position(), QStringLiteral("2"));
        QVERIFY(!QFile::exists(w.folder.path(photoFile(2))));
    }
}

void TestStudentSave::photoStoredAtItsOwnSize()
{
    StudentWindow w;
    writeArchive(w.folder, 3);
    w.folder.writeFile(QStringLiteral("scelta.bmp"), QByteArray());
    QVERIFY(stripes(1200, 900).save(w.folder.path(QStringLiteral("scelta.bmp")), "BMP"));
    writePhoto(w.folder, 4, stripes(10, 10)); // a stale photo under the next number
    w.show();
    w.fill(sampleCard(4));
    w.folder.platform.openAnswers.enqueue(w.folder.path(QStringLiteral("scelta.bmp")));
    answerFraming();
    w.click(QStringLiteral("btnCaricaFoto"));

    w.click(QStringLiteral("cmdSalva"));

    QCOMPARE(w.position(), QStringLiteral("4"));
    QCOMPARE(storedPhotoSize(w.folder, 4), QSize(1200, 900));
    QCOMPARE(w.photo()->image().size(), QSize(1200, 900));
    // Written whole: no temporary file left beside it.
    QCOMPARE(QDir(w.folder.path(QStringLiteral("Anagrafica"))).entryList(QDir::Files),
             QStringList{QStringLiteral("Scheda_Studente_4.jpg")});
}

void TestStudentSave::blankPictureStoredWhenNoPhoto()
{
    StudentWindow w;
    writeArchive(w.folder, 1);
    writePhoto(w.folder, 1, stripes(640, 480));
    w.show();
    w.click(QStringLiteral("cmdPrimo"));
    QCOMPARE(w.photo()->image().size(), QSize(640, 480));
    w.click(QStringLiteral("btnCancFoto"));
    QVERIFY(w.showsBlank());
    // Removing the photo writes nothing yet.
    QCOMPARE(storedPhotoSize(w.folder, 1), QSize(640, 480));

    w.click(QStringLiteral("cmdSalva"));

    QCOMPARE(w.folder.platform.lastText(), kRewritten);
    QImage stored(w.folder.path(photoFile(1)));
    QCOMPARE(stored.size(), blankPicture().size());
    // The silhouette's light blue, not the stripes.
    const QColor corner = stored.pixelColor(2, 2);
    QVERIFY2(qAbs(corner.blue() - 0xFA) < 8 && qAbs(corner.red() - 0xEA) < 8, qPrintable(corner.name()));
}

void TestStudentSave::unwritablePhotoFolderKeepsTheRecord()
{
    StudentWindow w;
    writeArchive(w.folder, 2);
    w.show();
    w.fill(sampleCard(3));
    w.photo()->setImage(stripes(300, 200));
    // A plain file where the photo folder should be: no photo can be written.
    w.folder.writeFile(QStringLiteral("Anagrafica"), "not a folder");

    w.click(QStringLiteral("cmdSalva"));

    QCOMPARE(w.position(), QStringLiteral("3"));
    QCOMPARE(archiveBytes(w.folder).size(), 3 * kSize);
    QCOMPARE(archiveBytes(w.folder).mid(2 * kSize), sampleCard(3).encode());
    QVERIFY(w.showsBlank());
    // Only the save's own message: the photo failure is silent.
    QCOMPARE(w.messageCount(), 1);
    QCOMPARE(w.folder.platform.lastText(), kInserted);
}

void TestStudentSave::archiveFailureLeavesEverything_data()
{
    QTest::addColumn<QString>("start");
    QTest::newRow("new card") << "";
    QTest::newRow("record 2") << "2";
}

void TestStudentSave::archiveFailureLeavesEverything()
{
    QFETCH(QString, start);
    StudentWindow w;
    // A folder in the archive's place cannot be opened, not even by root.
    QVERIFY(QDir().mkpath(w.folder.path(QStringLiteral("Archivio_Studenti.pro"))));
    w.show();
    w.fill(sampleCard(1));
    w.photo()->setImage(stripes(50, 50));
    w.setPosition(start);

    w.click(QStringLiteral("cmdSalva"));

    QCOMPARE(w.messageCount(), 1);
    QCOMPARE(w.folder.platform.lastKind(), Kind::Error);
    QCOMPARE(w.folder.platform.lastText(), ArchiveMessages::accessError());
    QCOMPARE(w.position(), start);
    QVERIFY(!w.showsBlank());
    QVERIFY(!QFileInfo::exists(w.folder.path(QStringLiteral("Anagrafica"))));
}

void TestStudentSave::duplicateThenSave()
{
    StudentWindow w;
    writeArchive(w.folder, 5);
    writePhoto(w.folder, 4, stripes(320, 240));
    const QByteArray before = archiveBytes(w.folder);
    w.show();
    w.setPosition(QStringLiteral("3"));
    w.click(QStringLiteral("cmdAvanti"));
    QCOMPARE(w.position(), QStringLiteral("4"));
    QVERIFY(!w.showsBlank());
    QVERIFY(!w.text(StudentRecord::File01).isEmpty());

    w.click(QStringLiteral("cmdDuplica"));

    QCOMPARE(w.position(), QString());
    for (int f = StudentRecord::File01; f < StudentRecord::FieldCount; ++f)
        QCOMPARE(w.text(StudentRecord::Field(f)), QString());
    for (int f = 0; f < 26; ++f)
        QCOMPARE(w.text(StudentRecord::Field(f)), sampleCard(4)[StudentRecord::Field(f)]);
    QVERIFY(w.showsBlank());
    QCOMPARE(w.window->focusWidget(), w.edit(StudentRecord::Studente));
    QCOMPARE(w.folder.platform.lastKind(), Kind::Information);
    QCOMPARE(w.folder.platform.lastText(),
             QStringLiteral("E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\r"
                            "Al termine premere Salva per inserire la scheda in archivio."));

    w.click(QStringLiteral("cmdSalva"));

    QCOMPARE(w.folder.platform.lastText(), kInserted);
    QCOMPARE(w.position(), QStringLiteral("6"));
    const QByteArray after = archiveBytes(w.folder);
    QCOMPARE(after.left(5 * kSize), before);
    StudentRecord expected = sampleCard(4);
    for (int f = StudentRecord::File01; f < StudentRecord::FieldCount; ++f)
        expected[StudentRecord::Field(f)].clear();
    QCOMPARE(after.mid(5 * kSize), expected.encode());
    QCOMPARE(storedPhotoSize(w.folder, 6), blankPicture().size());
    QCOMPARE(storedPhotoSize(w.folder, 4), QSize(320, 240));
}

void TestStudentSave::duplicateOnNewCard()
{
    StudentWindow w;
    w.show();
    w.fill(sampleCard(1));
    w.photo()->setImage(stripes(40, 40));

    w.click(QStringLiteral("cmdDuplica"));

    QCOMPARE(w.messageCount(), 1);
    QCOMPARE(w.folder.platform.lastKind(), Kind::Warning);
    QCOMPARE(w.folder.platform.lastText(),
             QStringLiteral("Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che questa "
                            "è stata inserita in archivio."));
    for (int f = 0; f < StudentRecord::FieldCount; ++f)
        QCOMPARE(w.text(StudentRecord::Field(f)), sampleCard(1)[StudentRecord::Field(f)]);
    QVERIFY(!w.showsBlank());
    QVERIFY(!QFile::exists(w.folder.path(QStringLiteral("Archivio_Studenti.pro"))));
}

void TestStudentSave::newCardClearsEverything()
{
    StudentWindow w;
    writeArchive(w.folder, 2);
    writePhoto(w.folder, 2, stripes(30, 30));
    w.show();
    w.click(QStringLiteral("cmdUltimo"));
    w.edit(StudentRecord::Note)->setFocus();

    w.click(QStringLiteral("cmdNuovo"));

    QCOMPARE(w.position(), QString());
    for (int f = 0; f < StudentRecord::FieldCount; ++f)
        QCOMPARE(w.text(StudentRecord::Field(f)), QString());
    QVERIFY(w.showsBlank());
    QCOMPARE(w.window->focusWidget(), w.edit(StudentRecord::Studente));
    QCOMPARE(w.messageCount(), 0);
}

void TestStudentSave::focusButtonTrimsTheName()
{
    StudentWindow w;
    w.show();
    w.edit(StudentRecord::Studente)->setText(QStringLiteral(" \tNeri Paolo  "));
    QTest::mouseClick(findControl<QPushButton>(w.window, QStringLiteral("btnFocus")), Qt::LeftButton);
    QCOMPARE(w.text(StudentRecord::Studente), QStringLiteral("Neri Paolo"));
}

QTEST_MAIN(TestStudentSave)
#include "test_studentsave.moc"
