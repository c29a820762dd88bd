// The student window's photo buttons and the buttons that open side windows.
#include "studentfixture.h"

#include "checks/tfrmcodfisc.h"
#include "checks/tfrmpartitaiva.h"
#include "register/tfrmprove_sostenute.h"
#include "search/tfrmtrovastudenti.h"

#include <QApplication>
#include <QDialog>
#include <QImageReader>
#include <QtTest>

using Kind = Platform::MessageKind;

class TestStudentActions : public QObject
{
    Q_OBJECT

private slots:
    void loadPhoto_data();
    void loadPhoto();
    void savePhoto_data();
    void savePhoto();
    void removedPhotoComesBackWhenBrowsing();
    void email_data();
    void email();
    void identifierCheck_data();
    void identifierCheck();
    void testsPreconditions_data();
    void testsPreconditions();
    void searchGetsTheTag();
    void sideWindowsOpenModally_data();
    void sideWindowsOpenModally();
};

void TestStudentActions::loadPhoto_data()
{
    QTest::addColumn<QString>("file");  // empty: the operator cancels
    QTest::addColumn<QSize>("shown");   // null: the blank picture

    QTest::newRow("jpeg") << "scelta.jpg" << QSize(320, 200);
    QTest::newRow("bitmap") << "scelta.bmp" << QSize(320, 200);
    QTest::newRow("not an image") << "testo.jpg" << QSize();
    QTest::newRow("truncated") << "mezza.jpg" << QSize();
    QTest::newRow("missing") << "nessuna.jpg" << QSize();
    QTest::newRow("cancelled") << "" << QSize(10, 10);
}

void TestStudentActions::loadPhoto()
{
    QFETCH(QString, file);
    QFETCH(QSize, shown);

    StudentWindow w;
    const QImage picture = stripes(320, 200);
    QVERIFY(picture.save(w.folder.path(QStringLiteral("scelta.jpg"))));
    QVERIFY(picture.save(w.folder.path(QStringLiteral("scelta.bmp"))));
    w.folder.writeFile(QStringLiteral("testo.jpg"), "plain text");
    w.folder.writeFile(QStringLiteral("mezza.jpg"), w.folder.readFile(QStringLiteral("scelta.jpg")).left(300));
    w.show();
    w.photo()->setImage(stripes(10, 10));
    if (!file.isEmpty())
        w.folder.platform.openAnswers.enqueue(w.folder.path(file));
    if (shown.isValid())
        answerFraming();

    w.click(QStringLiteral("btnCaricaFoto"));

    QCOMPARE(w.folder.platform.dialogTitles,
             QStringList{QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap.")});
    if (shown.isValid())
        QCOMPARE(w.photo()->image().size(), shown);
    else
        QVERIFY(w.showsBlank());
    QCOMPARE(w.messageCount(), 0);
    // Loading a picture stores nothing.
    QVERIFY(!QFile::exists(w.folder.path(QStringLiteral("Archivio_Studenti.pro"))));
}

void TestStudentActions::savePhoto_data()
{
    QTest::addColumn<QString>("answer"); // what the operator types; empty: cancel
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("blankAfter");

    QTest::newRow("name with extension") << "uscita/ritratto.jpg" << "uscita/ritratto.jpg" << false;
    QTest::newRow("name without extension") << "uscita/ritratto" << "uscita/ritratto.jpg" << false;
    QTest::newRow("folder that does not exist") << "manca/ritratto.jpg" << "" << true;
    QTest::newRow("cancelled") << "" << "" << false;
}

void TestStudentActions::savePhoto()
{
    QFETCH(QString, answer);
    QFETCH(QString, written);
    QFETCH(bool, blankAfter);

    StudentWindow w;
    w.folder.writeFile(QStringLiteral("uscita/.keep"), "");
    w.show();
    w.photo()->setImage(stripes(800, 600));
    if (!answer.isEmpty())
        w.folder.platform.saveAnswers.enqueue(w.folder.path(answer));

    w.click(QStringLiteral("btnSalvaFoto"));

    QCOMPARE(w.folder.platform.dialogTitles,
             QStringList{QStringLiteral("Selezionare la cartella in cui si desidera salvare il file Jpeg.")});
    QCOMPARE(w.folder.platform.proposedNames, QStringList{QStringLiteral("Foto.jpg")});
    if (!written.isEmpty()) {
        QImageReader reader(w.folder.path(written));
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        QCOMPARE(reader.size(), QSize(800, 600));
    }
    QCOMPARE(w.showsBlank(), blankAfter);
    QCOMPARE(w.messageCount(), 0);
}

void TestStudentActions::removedPhotoComesBackWhenBrowsing()
{
    StudentWindow w;
    writeArchive(w.folder, 2);
    writePhoto(w.folder, 1, stripes(120, 90));
    w.show();
    w.click(QStringLiteral("cmdPrimo"));
    w.click(QStringLiteral("btnCancFoto"));
    QVERIFY(w.showsBlank());

    w.click(QStringLiteral("cmdAvanti"));
    w.click(QStringLiteral("cmdIndietro"));

    QCOMPARE(w.position(), QStringLiteral("1"));
    QCOMPARE(w.photo()->image().size(), QSize(120, 90));
}

void TestStudentActions::email_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("opened");
    QTest::newRow("address") << "mario.rossi@scuola.it" << "\"mailto:mario.rossi@scuola.it\"";
    QTest::newRow("blanks around") << "  anna@example.org\t" << "\"mailto:anna@example.org\"";
    QTest::newRow("empty: a message with no recipient") << "" << "\"mailto:\"";
}

void TestStudentActions::email()
{
    QFETCH(QString, address);
    QFETCH(QString, opened);
    StudentWindow w;
    w.show();
    w.edit(StudentRecord::Email)->setText(address);
    w.click(QStringLiteral("btnEmail"));
    QCOMPARE(w.folder.platform.opened, QStringList{opened});
    QCOMPARE(w.messageCount(), 0);
}

void TestStudentActions::identifierCheck_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("handed");

    QTest::newRow("eleven digits: partita IVA")
        << "01234567897" << "TfrmPartitaIva" << "txtPartitaIva" << "01234567897";
    QTest::newRow("letters and digits: codice fiscale")
        << "RSSMRA80A01H501U" << "TfrmCodFisc" << "txtCodFisc" << "RSSMRA80A01H501U";
    QTest::newRow("ten digits and a letter: codice fiscale")
        << "0123456789X" << "TfrmCodFisc" << "txtCodFisc" << "0123456789X";
    QTest::newRow("empty: codice fiscale, empty field") << "" << "TfrmCodFisc" << "txtCodFisc" << "";
}

void TestStudentActions::identifierCheck()
{
    QFETCH(QString, code);
    QFETCH(QString, window);
    QFETCH(QString, field);
    QFETCH(QString, handed);

    StudentWindow w;
    w.show();
    w.edit(StudentRecord::CodFisc)->setText(code);
    QString opened;
    QString received;
    QWidget *owner = nullptr;
    whenModalShown<QDialog>([&](QDialog *dialog) {
        opened = QString::fromLatin1(dialog->metaObject()->className());
        owner = dialog->parentWidget();
        if (auto *edit = dialog->findChild<QLineEdit *>(field))
            received = edit->text();
        dialog->reject();
    });

    w.click(QStringLiteral("btnCodFisc"));

    QCOMPARE(opened, window);
    QCOMPARE(owner, w.window);
    QCOMPARE(received, handed);
    // The check changes nothing in the student window.
    QCOMPARE(w.text(StudentRecord::CodFisc), code);
    // Created for one use and gone once closed.
    QTRY_VERIFY(w.window->findChildren<QDialog *>().isEmpty());
}

void TestStudentActions::testsPreconditions_data()
{
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("warning"); // empty: the tests window opens

    QTest::newRow("new card, name typed")
        << "" << "Rossi Maria"
        << "Attenzione: la registrazione delle prove sostenute può avvenire soltanto dopo aver salvato la scheda dello studente.";
    QTest::newRow("new card, no name")
        << "" << ""
        << "Attenzione: la registrazione delle prove sostenute può avvenire soltanto dopo aver salvato la scheda dello studente.";
    QTest::newRow("saved card, name emptied")
        << "2" << "   "
        << "Attenzione: per registrare le prove sostenute è necessario indicare il nome dello studente.";
    QTest::newRow("saved card with a name") << "2" << "Rossi Maria" << "";
}

void TestStudentActions::testsPreconditions()
{
    QFETCH(QString, position);
    QFETCH(QString, name);
    QFETCH(QString, warning);

    StudentWindow w;
    writeArchive(w.folder, 2);
    w.show();
    w.setPosition(position);
    w.edit(StudentRecord::Studente)->setText(name);
    w.edit(StudentRecord::Note)->setFocus();
    bool opened = false;
    if (warning.isEmpty())
        whenModalShown<TfrmProve_Sostenute>([&](TfrmProve_Sostenute *dialog) {
            opened = dialog->parentWidget() == w.window;
            dialog->reject();
        });

    w.click(QStringLiteral("btnProve"));

    if (warning.isEmpty()) {
        QVERIFY(opened);
        QCOMPARE(w.messageCount(), 0);
        return;
    }
    QCOMPARE(w.messageCount(), 1);
    QCOMPARE(w.folder.platform.lastKind(), Kind::Warning);
    QCOMPARE(w.folder.platform.lastText(), warning);
    const bool nameWarning = !position.isEmpty();
    QCOMPARE(w.window->focusWidget() == w.edit(StudentRecord::Studente), nameWarning);
}

void TestStudentActions::searchGetsTheTag()
{
    StudentWindow w;
    w.show();
    QString tag = QStringLiteral("unset");
    whenModalShown<TfrmTrovaStudenti>([&](TfrmTrovaStudenti *dialog) {
        if (auto *label = dialog->findChild<QLabel *>(QStringLiteral("lblMemory")))
            tag = label->text();
        dialog->reject();
    });
    w.click(QStringLiteral("cmdTrova"));
    QCOMPARE(tag, QStringLiteral("studenti"));
}

void TestStudentActions::sideWindowsOpenModally_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("window");
    QTest::newRow("print") << "cmdStampa" << "TfrmStampaStudenti";
    QTest::newRow("preview") << "cmdAnteprima" << "TfrmAnteprimaStudenti";
    QTest::newRow("search") << "cmdTrova" << "TfrmTrovaStudenti";
}

// Each opening is a new dialog owned by the student window, gone once closed.
void TestStudentActions::sideWindowsOpenModally()
{
    QFETCH(QString, button);
    QFETCH(QString, window);

    StudentWindow w;
    w.show();
    w.fill(sampleCard(1));
    for (int opening = 0; opening < 2; ++opening) {
        QString opened;
        QWidget *owner = nullptr;
        whenModalShown<QDialog>([&](QDialog *dialog) {
            opened = QString::fromLatin1(dialog->metaObject()->className());
            owner = dialog->parentWidget();
            dialog->reject();
        });
        w.click(button);
        QCOMPARE(opened, window);
        QCOMPARE(owner, w.window);
        QTRY_VERIFY(w.window->findChildren<QDialog *>().isEmpty());
    }
    QCOMPARE(w.text(StudentRecord::Studente), sampleCard(1)[StudentRecord::Studente]);
}

QTEST_MAIN(TestStudentActions)
#include "test_studentactions.moc"
