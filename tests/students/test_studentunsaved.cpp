// A modified card is never dropped without a question, and a card shown
// from the archive shows the beginning of its long texts.
#include "studentfixture.h"

#include "archive/studentarchive.h"
#include "search/tfrmtrovastudenti.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using Answer = Platform::Answer;

namespace {

const QString kQuestion = QStringLiteral("La scheda corrente è stata modificata. Salvare le modifiche?");
const QString kRewritten = QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");

enum class Action { Next, Previous, First, Last, New, Find, Exit, CloseBox };

} // namespace

Q_DECLARE_METATYPE(Action)
Q_DECLARE_METATYPE(Platform::Answer)

class TestStudentUnsaved : public QObject
{
    Q_OBJECT

private slots:
    void modifiedCardAsks_data();
    void modifiedCardAsks();
    void saveRefusedKeepsTheCard();
    void nothingTypedAsksNothing();
    void photoChangesCount();
    void longTextsShowTheirBeginning_data();
    void longTextsShowTheirBeginning();
};

void TestStudentUnsaved::modifiedCardAsks_data()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<Answer>("answer");
    const struct { Action action; const char *name; } actions[] = {
        {Action::Next, "next"}, {Action::Previous, "previous"}, {Action::First, "first"},
        {Action::Last, "last"}, {Action::New, "new"}, {Action::Find, "find"},
        {Action::Exit, "exit"}, {Action::CloseBox, "close box"},
    };
    const struct { Answer answer; const char *name; } answers[] = {
        {Answer::Yes, "Sì saves and goes on"}, {Answer::No, "No drops and goes on"}, {Answer::Cancel, "Annulla stays"},
    };
    for (const auto &a : actions)
        for (const auto &r : answers)
            QTest::addRow("%s, %s", a.name, r.name) << a.action << r.answer;
}

void TestStudentUnsaved::modifiedCardAsks()
{
    QFETCH(Action, action);
    QFETCH(Answer, answer);

    StudentWindow w;
    writeArchive(w.folder, 3);
    const QByteArray before = archiveBytes(w.folder);
    w.show();
    w.click(QStringLiteral("cmdPrimo"));
    w.click(QStringLiteral("cmdAvanti"));
    QCOMPARE(w.position(), QStringLiteral("2"));
    QVERIFY(w.folder.platform.messages.isEmpty());

    // Typed as the operator types, at the end of the notes.
    QLineEdit *note = w.edit(StudentRecord::Note);
    note->setFocus();
    note->end(false);
    QTest::keyClicks(note, QStringLiteral(" rivista"));
    QCOMPARE(note->text(), QStringLiteral("nota 2 rivista"));

    w.folder.platform.askAnswers.enqueue(answer);
    QSignalSpy toMenu(w.window, &TfrmStudenti::closedToMenu);
    // Closes the search window if it comes up; lives only as long as this row.
    bool searchOpened = false;
    QTimer watcher;
    watcher.setInterval(10);
    connect(&watcher, &QTimer::timeout, [&] {
        if (auto *search = qobject_cast<TfrmTrovaStudenti *>(QApplication::activeModalWidget())) {
            searchOpened = true;
            search->reject();
        }
    });
    watcher.start();

    switch (action) {
    case Action::Next: w.click(QStringLiteral("cmdAvanti")); break;
    case Action::Previous: w.click(QStringLiteral("cmdIndietro")); break;
    case Action::First: w.click(QStringLiteral("cmdPrimo")); break;
    case Action::Last: w.click(QStringLiteral("cmdUltimo")); break;
    case Action::New: w.click(QStringLiteral("cmdNuovo")); break;
    case Action::Find: w.click(QStringLiteral("cmdTrova")); break;
    case Action::Exit: w.click(QStringLiteral("cmdEsci")); break;
    case Action::CloseBox: w.window->close(); break;
    }

    QCOMPARE(w.folder.platform.questions, QStringList{kQuestion});

    // Sì stores the card as Salva does; the others store nothing.
    if (answer == Answer::Yes) {
        QCOMPARE(StudentArchive::readOne(w.folder.context.folder, 2)[StudentRecord::Note], QStringLiteral("nota 2 rivista"));
        QCOMPARE(archiveBytes(w.folder).size(), before.size());
        QCOMPARE(w.messageCount(), 1);
        QCOMPARE(w.folder.platform.lastText(), kRewritten);
    } else {
        QCOMPARE(archiveBytes(w.folder), before);
        QCOMPARE(w.messageCount(), 0);
    }

    const bool wentOn = answer != Answer::Cancel;
    const QString expectedPosition = [&] {
        switch (action) {
        case Action::Next: case Action::Last: return QStringLiteral("3");
        case Action::Previous: case Action::First: return QStringLiteral("1");
        case Action::New: return QString();
        default: return QStringLiteral("2");
        }
    }();
    QCOMPARE(w.position(), wentOn ? expectedPosition : QStringLiteral("2"));
    if (!wentOn)
        QCOMPARE(note->text(), QStringLiteral("nota 2 rivista"));
    else if (action == Action::New)
        QCOMPARE(note->text(), QString());
    QCOMPARE(searchOpened, action == Action::Find && wentOn);
    const bool leaves = action == Action::Exit || action == Action::CloseBox;
    QCOMPARE(toMenu.count(), leaves && wentOn ? 1 : 0);
    QCOMPARE(w.window->isVisible(), !(leaves && wentOn));
}

void TestStudentUnsaved::saveRefusedKeepsTheCard()
{
    // Sì on a card the save refuses: the warning, and the card stays.
    StudentWindow w;
    writeArchive(w.folder, 2);
    w.show();
    w.click(QStringLiteral("cmdPrimo"));
    w.edit(StudentRecord::Corso)->clear();
    w.folder.platform.askAnswers.enqueue(Answer::Yes);
    w.click(QStringLiteral("cmdAvanti"));
    QCOMPARE(w.folder.platform.questions.size(), 1);
    QCOMPARE(w.folder.platform.lastKind(), Platform::MessageKind::Warning);
    QCOMPARE(w.folder.platform.lastText(),
             QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il corso frequentato dallo studente."));
    QCOMPARE(w.position(), QStringLiteral("1"));
    QCOMPARE(w.window->focusWidget(), w.edit(StudentRecord::Corso));
}

void TestStudentUnsaved::nothingTypedAsksNothing()
{
    StudentWindow w;
    writeArchive(w.folder, 3);
    // A card as another workstation may have stored it: the typing rules
    // change what the window shows, which is no change by the operator.
    StudentRecord odd = sampleCard(4);
    odd[StudentRecord::Sesso] = QStringLiteral("f");
    odd[StudentRecord::CodFisc] = QStringLiteral("rssmra80a01h501u");
    {
        QFile file(w.folder.path(QStringLiteral("Archivio_Studenti.pro")));
        QVERIFY(file.open(QIODevice::Append));
        file.write(odd.encode());
    }
    writePhoto(w.folder, 2, stripes(64, 48));
    w.show();
    for (const char *button : {"cmdPrimo", "cmdAvanti", "cmdAvanti", "cmdAvanti", "cmdIndietro", "cmdUltimo",
                               "cmdPrimo", "cmdNuovo", "cmdUltimo"})
        w.click(QString::fromLatin1(button));
    QCOMPARE(w.edit(StudentRecord::Sesso)->text(), QStringLiteral("F"));

    // Typed and typed back is no change either.
    QTest::keyClicks(w.edit(StudentRecord::Note), QStringLiteral("x"));
    QTest::keyClick(w.edit(StudentRecord::Note), Qt::Key_Backspace);

    bool searchOpened = false;
    whenModalShown<TfrmTrovaStudenti>([&](TfrmTrovaStudenti *search) {
        searchOpened = true;
        search->reject();
    });
    w.click(QStringLiteral("cmdTrova"));
    QVERIFY(searchOpened);

    // A saved card is no longer modified.
    w.edit(StudentRecord::Note)->setText(QStringLiteral("salvata"));
    w.click(QStringLiteral("cmdSalva"));
    w.click(QStringLiteral("cmdPrimo"));
    w.click(QStringLiteral("cmdDuplica"));
    w.click(QStringLiteral("cmdNuovo"));
    w.click(QStringLiteral("cmdEsci"));
    QVERIFY(!w.window->isVisible());
    QVERIFY(w.folder.platform.questions.isEmpty());
}

void TestStudentUnsaved::photoChangesCount()
{
    StudentWindow w;
    writeArchive(w.folder, 2);
    QVERIFY(stripes(320, 240).save(w.folder.path(QStringLiteral("scelta.jpg"))));
    w.show();
    w.click(QStringLiteral("cmdPrimo"));

    // A photo loaded and not saved is a change.
    w.folder.platform.openAnswers.enqueue(w.folder.path(QStringLiteral("scelta.jpg")));
    answerFraming();
    w.click(QStringLiteral("btnCaricaFoto"));
    w.folder.platform.askAnswers.enqueue(Answer::Yes);
    w.click(QStringLiteral("cmdAvanti"));
    QCOMPARE(w.folder.platform.questions.size(), 1);
    QCOMPARE(w.position(), QStringLiteral("2"));
    QCOMPARE(QImage(w.folder.path(photoFile(1))).size(), QSize(320, 240));

    // So is a photo cleared; clearing a card without a photo is not.
    w.click(QStringLiteral("cmdPrimo"));
    w.click(QStringLiteral("btnCancFoto"));
    w.click(QStringLiteral("cmdUltimo"));
    QCOMPARE(w.folder.platform.questions.size(), 2);
    w.click(QStringLiteral("cmdNuovo"));
    w.click(QStringLiteral("btnCancFoto"));
    w.click(QStringLiteral("cmdPrimo"));
    QCOMPARE(w.folder.platform.questions.size(), 2);
}

void TestStudentUnsaved::longTextsShowTheirBeginning_data()
{
    QTest::addColumn<bool>("picked");
    QTest::newRow("browsed") << false;
    QTest::newRow("picked in the search") << true;
}

void TestStudentUnsaved::longTextsShowTheirBeginning()
{
    QFETCH(bool, picked);
    StudentWindow w;
    StudentRecord card = sampleCard(1);
    card[StudentRecord::Studente] = QStringLiteral("Inizio ") + QString(43, QLatin1Char('x'));
    card[StudentRecord::Indirizzo] = QStringLiteral("Via dell'Inizio ") + QString(100, QLatin1Char('y'));
    card[StudentRecord::Note] = QStringLiteral("Prima parola ") + QString(230, QLatin1Char('z'));
    w.folder.writeFile(QStringLiteral("Archivio_Studenti.pro"), card.encode());
    w.show();
    if (picked)
        w.window->takeStudent(StudentArchive::readOne(w.folder.context.folder, 1), 1, QImage());
    else
        w.click(QStringLiteral("cmdPrimo"));

    for (int f = 0; f < StudentRecord::File01; ++f)
        QCOMPARE(w.edit(StudentRecord::Field(f))->cursorPosition(), 0);
    // What the edit draws is its beginning: the first letters are on screen.
    QLineEdit *name = w.edit(StudentRecord::Studente);
    QVERIFY(name->fontMetrics().horizontalAdvance(name->text()) > name->width());
    QVERIFY(name->inputMethodQuery(Qt::ImCursorRectangle).toRect().left() < name->width() / 4);
}

QTEST_MAIN(TestStudentUnsaved)
#include "test_studentunsaved.moc"
