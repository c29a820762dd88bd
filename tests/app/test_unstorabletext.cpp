// The files hold Windows-1252 text: a character outside it ("Ω", "ř", an
// emoji) would be stored as "?". Every window that stores typed text names
// such characters before storing and lets the operator go back to correct
// them; text the files can hold is stored without a question.
#include "programfixture.h"

#include "archive/codepage.h"
#include "archive/studentrecord.h"
#include "base/forms.h"
#include "card/tfrmdatiente.h"
#include "card/tfrmtessera.h"
#include "register/testrecord.h"
#include "register/tfrmprove_sostenute.h"
#include "settings/inifile.h"
#include "students/tfrmstudenti.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include <functional>

namespace {

StudentRecord storedCard()
{
    StudentRecord card;
    card[StudentRecord::Studente] = QStringLiteral("Rossi Mario");
    card[StudentRecord::Sesso] = QStringLiteral("M");
    card[StudentRecord::Corso] = QStringLiteral("Fotografia");
    card[StudentRecord::Classe] = QStringLiteral("1A");
    card[StudentRecord::Inizio] = QStringLiteral("01/09/2026");
    card[StudentRecord::Fine] = QStringLiteral("30/06/2027");
    return card;
}

struct Program : LoggedInProgram
{
    Program()
        : LoggedInProgram([](TestFolder &folder) {
              folder.writeFile(QStringLiteral("Archivio_Studenti.pro"), storedCard().encode());
          })
    {
    }
};

// What one window did with the typed text.
struct Outcome
{
    QString stored;        // as read back from its file
    QString focused;       // the control with the focus after the question
};

// Types `text` into one field of a window, saves, and reads back what the
// file holds. Whether the window stays open on the field is the caller's.
using Store = std::function<Outcome(Program &, const QString &text)>;

Outcome inStudentWindow(Program &program, const QString &text)
{
    Program::click(program.windows->startMenu(), QStringLiteral("imgStaff"));
    QWidget *window = program.windows->students();
    Program::click(window, QStringLiteral("cmdPrimo"));
    findControl<QLineEdit>(window, QStringLiteral("txtCorso"))->setText(text);
    Program::click(window, QStringLiteral("cmdSalva"));
    Outcome outcome;
    outcome.focused = window->focusWidget() ? window->focusWidget()->objectName() : QString();
    const QByteArray bytes = program.folder.readFile(QStringLiteral("Archivio_Studenti.pro"));
    outcome.stored = StudentRecord::decode(bytes.left(StudentRecord::Size))[StudentRecord::Corso];
    return outcome;
}

Outcome inSchoolDialog(Program &program, const QString &text)
{
    Program::click(program.windows->startMenu(), QStringLiteral("imgBadges"));
    QWidget *card = program.windows->card();
    Outcome outcome;
    whenModalShown<TfrmDatiEnte>([&](TfrmDatiEnte *dialog) {
        findControl<QLineEdit>(dialog, QStringLiteral("txtSottotitolo01"))->setText(text);
        Program::click(dialog, QStringLiteral("btnApplica"));
        outcome.focused = dialog->isVisible() && dialog->focusWidget() ? dialog->focusWidget()->objectName()
                                                                       : QString();
        if (dialog->isVisible())
            Program::click(dialog, QStringLiteral("btnAnnulla"));
    });
    Program::click(card, QStringLiteral("titAssociazione"));
    // Closing the card window keeps the school data.
    Program::click(card, QStringLiteral("imgEsci"));
    outcome.stored = IniFile::read(program.folder.path(QStringLiteral("Lumetra.ini")), QStringLiteral("Scuola"),
                                   QStringLiteral("Indirizzo"));
    return outcome;
}

Outcome inTestsWindow(Program &program, const QString &text)
{
    Program::click(program.windows->startMenu(), QStringLiteral("imgStaff"));
    QWidget *students = program.windows->students();
    Program::click(students, QStringLiteral("cmdPrimo"));
    Outcome outcome;
    whenModalShown<TfrmProve_Sostenute>([&](TfrmProve_Sostenute *tests) {
        Program::click(tests, QStringLiteral("btnAggiungi"));
        const QStringList values{QStringLiteral("10/10/2026"), QStringLiteral("Prova scritta"), text,
                                 QStringLiteral("Aula 2"), QStringLiteral("Idoneo")};
        int i = 0;
        for (const auto &field : TProva::layout())
            findControl<QLineEdit>(tests, QString::fromLatin1(field.control))->setText(values.at(i++));
        Program::click(tests, QStringLiteral("btnSalva"));
        outcome.focused = tests->focusWidget() ? tests->focusWidget()->objectName() : QString();
        tests->close();
    });
    Program::click(students, QStringLiteral("btnProve"));
    const QByteArray bytes = program.folder.readFile(QStringLiteral("Archivio_Prove/Prove_Studente_1.pro"));
    outcome.stored = bytes.size() >= TProva::Size ? TProva::decode(bytes.left(TProva::Size))[TProva::Docente]
                                                  : QString();
    return outcome;
}

} // namespace

Q_DECLARE_METATYPE(Store)

class TestUnstorableText : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void namedBeforeStoring_data();
    void namedBeforeStoring();
    void characterList_data();
    void characterList();
};

void TestUnstorableText::namedBeforeStoring_data()
{
    QTest::addColumn<Store>("store");
    QTest::addColumn<QString>("field");    // where the text is typed
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<bool>>("answers"); // to the question, when one is expected
    QTest::addColumn<QString>("question");  // "" none
    QTest::addColumn<QString>("stored");    // "" nothing stored

    const struct
    {
        const char *name;
        Store store;
        const char *field;
    } windows[] = {{"student window", inStudentWindow, "txtCorso"},
                   {"school data", inSchoolDialog, "txtSottotitolo01"},
                   {"tests window", inTestsWindow, "txtDocente"}};
    const QString one = QStringLiteral("Attenzione: il carattere Ω non può essere memorizzato e verrà sostituito da "
                                       "un punto interrogativo (?).\r\n\r\nSalvare comunque? Scegliere No per "
                                       "tornare a correggere il testo.");
    const QString several = QStringLiteral("Attenzione: i caratteri ř Ω 😀 non possono essere memorizzati e "
                                           "verranno sostituiti da un punto interrogativo (?).\r\n\r\nSalvare "
                                           "comunque? Scegliere No per tornare a correggere il testo.");
    for (const auto &w : windows) {
        const QString field = QString::fromLatin1(w.field);
        QTest::addRow("%s, the code page's own letters", w.name)
            << w.store << field << QStringLiteral("Niccolò Müller €5 “sì”") << QList<bool>() << QString()
            << QStringLiteral("Niccolò Müller €5 “sì”");
        QTest::addRow("%s, back to correct", w.name)
            << w.store << field << QStringLiteral("Ωmega") << QList<bool>{false} << one << QString();
        QTest::addRow("%s, stored anyway", w.name)
            << w.store << field << QStringLiteral("Dvořák Ωmega ř 😀") << QList<bool>{true} << several
            << QStringLiteral("Dvo?ák ?mega ? ?");
    }
}

void TestUnstorableText::namedBeforeStoring()
{
    QFETCH(Store, store);
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QList<bool>, answers);
    QFETCH(QString, question);
    QFETCH(QString, stored);

    Program program;
    for (bool answer : answers)
        program.folder.platform.confirmAnswers.enqueue(answer);
    const Outcome outcome = store(program, text);

    QStringList asked;
    for (const auto &message : program.folder.platform.messages)
        if (message.kind == Platform::MessageKind::Confirmation)
            asked.append(message.text);
    QCOMPARE(asked, question.isEmpty() ? QStringList() : QStringList{question});
    if (stored.isEmpty()) {
        QVERIFY2(!outcome.stored.contains(QLatin1String("mega")), qPrintable(outcome.stored));
        QCOMPARE(outcome.focused, field); // back on the field to correct
    } else {
        QCOMPARE(outcome.stored, stored);
    }
}

void TestUnstorableText::characterList_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("unstorable");
    QTest::newRow("nothing") << QStringLiteral("àèéìòù ÀÈ ß ÿ € Š Ÿ ‰ … ? ¿") << QString();
    QTest::newRow("each once, in order") << QStringLiteral("ΩřΩ ő ř") << QStringLiteral("Ωřő");
    QTest::newRow("a surrogate pair is one character") << QStringLiteral("a😀b😀") << QStringLiteral("😀");
    QTest::newRow("control characters are stored") << QStringLiteral("a\tb\x01") << QString();
}

void TestUnstorableText::characterList()
{
    QFETCH(QString, text);
    QFETCH(QString, unstorable);
    QCOMPARE(CodePage::unstorable(text), unstorable);
    // Exactly the characters the code page writes as '?'.
    QString kept = text;
    for (const QChar ch : unstorable)
        kept.remove(ch);
    QVERIFY(!CodePage::fromUnicode(kept).contains('?') || kept.contains(QLatin1Char('?')));
}

QTEST_MAIN(TestUnstorableText)
#include "test_unstorabletext.moc"
