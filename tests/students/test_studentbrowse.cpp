// Browsing the archive in the student window, and the window's own rules
// (typing, Enter, hints, showing and closing).
#include "lockedfile.h"
#include "studentfixture.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QSignalSpy>
#include <QtTest>

using Kind = Platform::MessageKind;

class TestStudentBrowse : public QObject
{
    Q_OBJECT

private slots:
    void browseThreeRecords_data();
    void browseThreeRecords();
    void emptyArchive_data();
    void emptyArchive();
    void missingArchiveIsCreated();
    void recordFieldsAreShown();
    void photoOrBlank_data();
    void photoOrBlank();
    void unusableArchive_data();
    void unusableArchive();
    void readOnlyArchiveFile();
    void folderThatCannotHoldTheArchive();
    void positionNotANumber_data();
    void positionNotANumber();
    void typingRules_data();
    void typingRules();
    void enterFollowsTabOrder();
    void hintLine();
    void focusedFieldTurnsYellow();
    void showClearsAndCloseReturnsToMenu();
};

void TestStudentBrowse::browseThreeRecords_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("shown"); // 0: nothing read, fields untouched

    QTest::newRow("record 3, next") << "3" << "cmdAvanti" << 0;
    QTest::newRow("record 3, previous") << "3" << "cmdIndietro" << 2;
    QTest::newRow("record 3, first") << "3" << "cmdPrimo" << 1;
    QTest::newRow("record 3, last") << "3" << "cmdUltimo" << 3;
    QTest::newRow("record 2, next") << "2" << "cmdAvanti" << 3;
    QTest::newRow("record 1, previous") << "1" << "cmdIndietro" << 0;
    QTest::newRow("new card, next") << "" << "cmdAvanti" << 1;
    QTest::newRow("new card, previous") << "" << "cmdIndietro" << 1;
    QTest::newRow("new card, first") << "" << "cmdPrimo" << 1;
    QTest::newRow("new card, last") << "" << "cmdUltimo" << 3;
}

void TestStudentBrowse::browseThreeRecords()
{
    QFETCH(QString, start);
    QFETCH(QString, button);
    QFETCH(int, shown);

    StudentWindow w;
    writeArchive(w.folder, 3);
    w.show();
    w.edit(StudentRecord::Studente)->setText(QStringLiteral("typed"));
    w.setPosition(start);
    // The typed name is dropped when the operator says so.
    w.folder.platform.askAnswers.enqueue(Platform::Answer::No);

    w.click(button);

    QCOMPARE(w.messageCount(), 0);
    QCOMPARE(w.folder.platform.questions.size(), 1);
    if (shown == 0) {
        QCOMPARE(w.position(), start);
        QCOMPARE(w.text(StudentRecord::Studente), QStringLiteral("typed"));
    } else {
        QCOMPARE(w.position(), QString::number(shown));
        QCOMPARE(w.text(StudentRecord::Studente), sampleCard(shown)[StudentRecord::Studente]);
        QCOMPARE(w.text(StudentRecord::File01), sampleCard(shown)[StudentRecord::File01]);
    }
}

void TestStudentBrowse::emptyArchive_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("after");

    QTest::newRow("first") << "cmdPrimo" << "" << "";
    QTest::newRow("last") << "cmdUltimo" << "" << "";
    QTest::newRow("previous") << "cmdIndietro" << "" << "";
    QTest::newRow("next") << "cmdAvanti" << "" << "";
    QTest::newRow("next from a stale number") << "cmdAvanti" << "4" << "";
    QTest::newRow("first keeps a stale number") << "cmdPrimo" << "4" << "4";
}

void TestStudentBrowse::emptyArchive()
{
    QFETCH(QString, button);
    QFETCH(QString, start);
    QFETCH(QString, after);

    StudentWindow w;
    writeArchive(w.folder, 0, 100); // a fragment only: still no record
    w.show();
    w.edit(StudentRecord::Corso)->setText(QStringLiteral("typed"));
    w.setPosition(start);

    w.click(button);

    QCOMPARE(w.messageCount(), 1);
    QCOMPARE(w.folder.platform.lastKind(), Kind::Information);
    QCOMPARE(w.folder.platform.lastText(), QStringLiteral("L'archivio non contiene nessuna scheda."));
    QCOMPARE(w.position(), after);
    QCOMPARE(w.text(StudentRecord::Corso), QStringLiteral("typed"));
}

void TestStudentBrowse::missingArchiveIsCreated()
{
    StudentWindow w;
    w.show();
    const QString path = w.folder.path(QStringLiteral("Archivio_Studenti.pro"));
    QVERIFY(!QFile::exists(path));

    w.click(QStringLiteral("cmdAvanti"));

    QVERIFY(QFile::exists(path));
    QCOMPARE(QFileInfo(path).size(), 0);
    QCOMPARE(w.folder.platform.lastText(), ArchiveMessages::emptyArchive());
}

void TestStudentBrowse::recordFieldsAreShown()
{
    StudentWindow w;
    StudentRecord card;
    for (int f = 0; f < StudentRecord::FieldCount; ++f) {
        const auto field = StudentRecord::Field(f);
        const int capacity = StudentRecord::layout()[f].capacity;
        card[field] = QStringLiteral("%1 è").arg(f).left(capacity);
    }
    card[StudentRecord::Studente] = QStringLiteral("  Bianchi Luca  ");
    card[StudentRecord::Lingue] = QStringLiteral("Ελληνικά"); // outside the code page
    QByteArray bytes = sampleCard(1).encode() + card.encode();
    // Bytes after a field's length never show.
    const int note = StudentRecord::layout()[StudentRecord::Note].offset;
    bytes[StudentRecord::Size + note] = 2;
    bytes.replace(StudentRecord::Size + note + 1, 6, "ab-xyz");
    // A length byte above the capacity counts as the capacity.
    const int sex = StudentRecord::layout()[StudentRecord::Sesso].offset;
    bytes[StudentRecord::Size + sex] = char(0xFF);
    bytes[StudentRecord::Size + sex + 1] = 'M';
    w.folder.writeFile(QStringLiteral("Archivio_Studenti.pro"), bytes);
    w.show();

    w.click(QStringLiteral("cmdUltimo"));

    QCOMPARE(w.position(), QStringLiteral("2"));
    for (int f = 0; f < StudentRecord::FieldCount; ++f) {
        const auto field = StudentRecord::Field(f);
        QString expected = card[field];
        if (field == StudentRecord::Studente)
            expected = QStringLiteral("Bianchi Luca");
        else if (field == StudentRecord::Lingue)
            expected = QStringLiteral("????????");
        else if (field == StudentRecord::Note)
            expected = QStringLiteral("ab");
        else if (field == StudentRecord::Sesso)
            expected = QStringLiteral("M");
        QCOMPARE(w.text(field), expected);
    }
}

void TestStudentBrowse::photoOrBlank_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::addColumn<bool>("blank");

    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        stripes(400, 300).save(&buffer, "JPG");
    }
    QTest::newRow("photo") << jpeg << false;
    QTest::newRow("missing") << QByteArray() << true;
    QTest::newRow("not an image") << QByteArray("just some text, not a picture") << true;
    QTest::newRow("truncated") << jpeg.left(200) << true;
    // A small file whose header claims 60000 x 60000 pixels: decoding it
    // would take gigabytes.
    QByteArray enormous = jpeg;
    const int frame = enormous.indexOf(QByteArray("\xFF\xC0", 2));
    QVERIFY(frame > 0);
    enormous[frame + 5] = char(0xEA);
    enormous[frame + 6] = char(0x60);
    enormous[frame + 7] = char(0xEA);
    enormous[frame + 8] = char(0x60);
    QTest::newRow("enormous") << enormous << true;
}

void TestStudentBrowse::photoOrBlank()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, blank);

    StudentWindow w;
    writeArchive(w.folder, 2);
    writePhoto(w.folder, 1, stripes(200, 100));
    if (!content.isEmpty())
        w.folder.writeFile(photoFile(2), content);
    w.show();
    w.click(QStringLiteral("cmdPrimo"));
    QCOMPARE(w.photo()->image().size(), QSize(200, 100));

    w.click(QStringLiteral("cmdAvanti"));

    QCOMPARE(w.position(), QStringLiteral("2"));
    QCOMPARE(w.showsBlank(), blank);
    if (!blank)
        QCOMPARE(w.photo()->image().size(), QSize(400, 300));
    QCOMPARE(w.messageCount(), 0);
}

void TestStudentBrowse::unusableArchive_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("start");

    for (const char *button : {"cmdPrimo", "cmdIndietro", "cmdAvanti", "cmdUltimo"}) {
        QTest::addRow("%s on a new card", button) << button << "";
        QTest::addRow("%s on record 2", button) << button << "2";
    }
}

// An archive that cannot be opened for writing cannot be used at all.
void TestStudentBrowse::unusableArchive()
{
    QFETCH(QString, button);
    QFETCH(QString, start);

    StudentWindow w;
    // A folder in the archive's place cannot be opened, not even by root.
    QVERIFY(QDir().mkpath(w.folder.path(QStringLiteral("Archivio_Studenti.pro"))));
    w.show();
    w.edit(StudentRecord::Studente)->setText(QStringLiteral("typed"));
    w.setPosition(start);

    w.click(button);

    QCOMPARE(w.messageCount(), 1);
    QCOMPARE(w.folder.platform.lastKind(), Kind::Error);
    QCOMPARE(w.folder.platform.lastText(), ArchiveMessages::accessError());
    // A new card stays a new card; nothing shown changes.
    QCOMPARE(w.position(), start);
    QCOMPARE(w.text(StudentRecord::Studente), QStringLiteral("typed"));
}

void TestStudentBrowse::readOnlyArchiveFile()
{
    StudentWindow w;
    writeArchive(w.folder, 2);
    LockedFile readOnly(w.folder.path(QStringLiteral("Archivio_Studenti.pro")));
    if (!readOnly.ok())
        QSKIP("cannot make a file read-only here");
    w.show();

    w.click(QStringLiteral("cmdPrimo"));

    QCOMPARE(w.folder.platform.lastKind(), Kind::Error);
    QCOMPARE(w.folder.platform.lastText(), ArchiveMessages::accessError());
    QCOMPARE(w.position(), QString());
}

void TestStudentBrowse::folderThatCannotHoldTheArchive()
{
    TestFolder folder;
    folder.writeFile(QStringLiteral("file"), "a file, not a folder");
    AppContext context = folder.context;
    context.folder = folder.path(QStringLiteral("file/dati/"));
    TfrmStudenti window(context);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseClick(findControl<QWidget>(&window, QStringLiteral("cmdUltimo")), Qt::LeftButton);
    for (int f = 0; f < 26; ++f)
        findControl<QLineEdit>(&window, StudentRecord::controlName(StudentRecord::Field(f)))
            ->setText(sampleCard(1)[StudentRecord::Field(f)]);
    QTest::mouseClick(findControl<QWidget>(&window, QStringLiteral("cmdSalva")), Qt::LeftButton);

    QCOMPARE(folder.platform.messages.size(), 2);
    for (const auto &message : folder.platform.messages) {
        QCOMPARE(message.kind, Kind::Error);
        QCOMPARE(message.text, ArchiveMessages::accessError());
    }
    QCOMPARE(findControl<QLabel>(&window, QStringLiteral("lblPosizione"))->text(), QString());
}

void TestStudentBrowse::positionNotANumber_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("start");

    QTest::newRow("next, letters") << "cmdAvanti" << "tre";
    QTest::newRow("previous, letters") << "cmdIndietro" << "tre";
    QTest::newRow("next, digits then text") << "cmdAvanti" << "2a";
    QTest::newRow("previous, hexadecimal") << "cmdIndietro" << "0x2";
    QTest::newRow("save, letters") << "cmdSalva" << "tre";
}

void TestStudentBrowse::positionNotANumber()
{
    QFETCH(QString, button);
    QFETCH(QString, start);

    StudentWindow w;
    writeArchive(w.folder, 3);
    const QByteArray before = archiveBytes(w.folder);
    w.show();
    w.fill(sampleCard(9));
    w.setPosition(start);

    w.click(button);

    QCOMPARE(w.messageCount(), 1);
    QCOMPARE(w.folder.platform.lastKind(), Kind::Error);
    QCOMPARE(w.folder.platform.lastText(), ArchiveMessages::accessError());
    QCOMPARE(w.position(), start);
    QCOMPARE(w.text(StudentRecord::Studente), sampleCard(9)[StudentRecord::Studente]);
    QCOMPARE(archiveBytes(w.folder), before);
}

void TestStudentBrowse::typingRules_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("sex to capitals") << "txtSesso" << "f" << "F";
    QTest::newRow("sex, leading space dropped") << "txtSesso" << " m" << "M";
    QTest::newRow("tax code to capitals") << "txtCodFisc" << "rssmra80a01h501u" << "RSSMRA80A01H501U";
    QTest::newRow("tax code, spaces at both ends") << "txtCodFisc" << " ab12 " << "AB12";
    QTest::newRow("tax code, accents unchanged") << "txtCodFisc" << "àèb" << "àèB";
    QTest::newRow("tax code, a space typed at the end goes at once") << "txtCodFisc" << "a b" << "AB";
    QTest::newRow("e-mail trimmed, case kept") << "txtEmail" << "  Mario.Rossi@Scuola.it " << "Mario.Rossi@Scuola.it";
    QTest::newRow("other fields untouched") << "txtCitta" << " roma " << " roma ";
}

void TestStudentBrowse::typingRules()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);

    StudentWindow w;
    w.show();
    auto *edit = findControl<QLineEdit>(w.window, field);
    edit->setFocus();
    for (const QChar c : typed) {
        if (c.unicode() < 128)
            QTest::keyClick(edit, c.toLatin1());
        else
            edit->insert(c); // the key simulator knows ASCII only
    }
    QCOMPARE(edit->text(), shown);
    // The cursor stays at the end, where typing goes on.
    QCOMPARE(edit->cursorPosition(), shown.size());
}

void TestStudentBrowse::enterFollowsTabOrder()
{
    StudentWindow w;
    w.show();
    const QStringList order = {
        "txtStudente", "txtSesso", "txtDataNasc", "txtCittadinanza", "txtLuogoNasc", "txtIndirizzo",
        "txtCitta", "txtCap", "txtNazione", "txtCodFisc", "txtCivile", "txtEsercente", "txtStudio",
        "txtLingue", "txtEmail", "txtTel", "txtCel", "txtCorso", "txtClasse", "txtInizio", "txtFine",
        "txtAssenze", "txtCommissione", "txtDataEsame", "txtEsito", "txtNote"};
    auto *first = findControl<QLineEdit>(w.window, order.first());
    first->setFocus();
    for (int i = 0; i < order.size(); ++i) {
        QWidget *focused = w.window->focusWidget();
        QVERIFY(focused);
        QCOMPARE(focused->objectName(), order[i]);
        QTest::keyClick(focused, Qt::Key_Return);
    }
    QCOMPARE(w.window->focusWidget(), first); // from txtNote back to the name
    // Other keys stay with the field.
    QTest::keyClick(first, Qt::Key_A);
    QCOMPARE(first->text(), QStringLiteral("a"));
    QCOMPARE(w.window->focusWidget(), first);
    // Tab takes the same way round, through visible fields only.
    auto *notes = findControl<QLineEdit>(w.window, order.last());
    notes->setFocus();
    QTest::keyClick(notes, Qt::Key_Tab);
    QCOMPARE(w.window->focusWidget(), first);
    QTest::keyClick(first, Qt::Key_Backtab);
    QCOMPARE(w.window->focusWidget(), notes);
}

void TestStudentBrowse::hintLine()
{
    StudentWindow w;
    w.show();
    QLabel *info = w.label(QStringLiteral("panInfo"));
    QCOMPARE(info->text(), QStringLiteral("Pronto per archiviare una nuova scheda..."));

    const QList<QPair<QString, QString>> hints = {
        {"cmdSalva", "Salva la scheda in archivio."},
        {"btnCaricaFoto", "Carica una foto esistente."},
        {"btnProve", "Registra le prove sostenute dallo studente."},
    };
    for (const auto &[button, hint] : hints) {
        QWidget *control = findControl<QWidget>(w.window, button);
        QTest::mouseMove(control, control->rect().center());
        QTRY_COMPARE(info->text(), hint);
    }
    QWidget *sheet = findControl<QWidget>(w.window, QStringLiteral("shpSfondo"));
    QTest::mouseMove(sheet, QPoint(5, 5));
    QTRY_COMPARE(info->text(), QString());
}

void TestStudentBrowse::focusedFieldTurnsYellow()
{
    StudentWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(w.window));
    QLineEdit *name = w.edit(StudentRecord::Studente);
    QLineEdit *course = w.edit(StudentRecord::Corso);
    const auto inside = [](QLineEdit *edit) { return edit->grab().toImage().pixelColor(edit->width() - 4, 4); };

    name->setFocus();
    QTRY_COMPARE(inside(name), QColor(0xFF, 0xFF, 0x00));
    QCOMPARE(inside(course), QColor(0xF0, 0xF8, 0xFF));

    course->setFocus();
    QTRY_COMPARE(inside(course), QColor(0xFF, 0xFF, 0x00));
    QCOMPARE(inside(name), QColor(0xF0, 0xF8, 0xFF));
}

void TestStudentBrowse::showClearsAndCloseReturnsToMenu()
{
    StudentWindow w;
    writeArchive(w.folder, 2);
    writePhoto(w.folder, 2, stripes(64, 64));
    w.show();
    w.click(QStringLiteral("cmdUltimo"));
    QVERIFY(!w.showsBlank());
    QSignalSpy toMenu(w.window, &TfrmStudenti::closedToMenu);

    w.click(QStringLiteral("cmdEsci"));
    QCOMPARE(toMenu.count(), 1);
    QVERIFY(!w.window->isVisible());

    w.show();
    QCOMPARE(w.position(), QString());
    for (int f = 0; f < StudentRecord::FieldCount; ++f)
        QCOMPARE(w.text(StudentRecord::Field(f)), QString());
    QVERIFY(w.showsBlank());
    QTRY_COMPARE(w.window->focusWidget(), w.edit(StudentRecord::Studente));

    w.window->close(); // the title-bar close box
    QCOMPARE(toMenu.count(), 2);
    QVERIFY(!w.window->isVisible());
}

QTEST_MAIN(TestStudentBrowse)
#include "test_studentbrowse.moc"
