#include "archive/studentfiles.h"
#include "register/testlist.h"
#include "register/testrecord.h"
#include "register/tfrmprove_sostenute.h"
#include "base/widgets.h"
#include "testutil.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include <memory>

using Kind = Platform::MessageKind;

namespace {

const QString Inserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");
const QString Updated = QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");

TProva makeTest(const QString &data, const QString &prova, const QString &docente, const QString &aula,
                const QString &esito)
{
    TProva t;
    t[TProva::Data] = data;
    t[TProva::Prova] = prova;
    t[TProva::Docente] = docente;
    t[TProva::Aula] = aula;
    t[TProva::Esito] = esito;
    return t;
}

QByteArray encodeAll(const QList<TProva> &tests)
{
    QByteArray bytes;
    for (const TProva &t : tests)
        bytes += t.encode();
    return bytes;
}

// The student window as this one sees it: the name and the record number.
struct Owner
{
    QWidget widget;
    QLineEdit *name = new QLineEdit(&widget);
    QLabel *number = new QLabel(&widget);

    Owner(const QString &student, const QString &position)
    {
        widget.setObjectName(QStringLiteral("frmStudenti"));
        name->setObjectName(QStringLiteral("txtStudente"));
        number->setObjectName(QStringLiteral("lblPosizione"));
        name->setText(student);
        number->setText(position);
    }
};

// A tests window opened over an owner, with its folder.
struct Register
{
    TestFolder folder;
    Owner owner;
    std::unique_ptr<TfrmProve_Sostenute> window;

    explicit Register(const QString &position = QStringLiteral("12"),
                      const QString &student = QStringLiteral("  Rossi Mario "))
        : owner(student, position)
    {
    }

    QString testsPath() const { return StudentFiles::testsPath(folder.context.folder, QStringLiteral("12")); }
    void writeTests(const QList<TProva> &tests) const
    {
        folder.writeFile(QStringLiteral("Archivio_Prove/Prove_Studente_12.pro"), encodeAll(tests));
    }
    QByteArray fileBytes() const { return folder.readFile(QStringLiteral("Archivio_Prove/Prove_Studente_12.pro")); }
    QList<TProva> fileTests() const
    {
        const QByteArray bytes = fileBytes();
        QList<TProva> tests;
        for (int at = 0; at + TProva::Size <= bytes.size(); at += TProva::Size)
            tests.append(TProva::decode(bytes.mid(at, TProva::Size)));
        return tests;
    }

    void open()
    {
        window = std::make_unique<TfrmProve_Sostenute>(folder.context, &owner.widget);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void reopen()
    {
        window->close();
        open();
    }

    template<typename T = QWidget>
    T *control(const QString &name) const { return findControl<T>(window.get(), name); }
    QLineEdit *edit(const QString &name) const { return control<QLineEdit>(name); }
    QListWidget *list() const { return control<QListWidget>(QStringLiteral("lstRecords")); }
    QString total() const { return control<QLabel>(QStringLiteral("lblTotale"))->text(); }
    QString editing() const { return control<QLabel>(QStringLiteral("lblPosizione"))->text(); }
    QStringList entries() const
    {
        QStringList lines;
        for (int i = 0; i < list()->count(); ++i)
            lines << list()->item(i)->text();
        return lines;
    }
    int selected() const
    {
        const QList<QListWidgetItem *> items = list()->selectedItems();
        return items.isEmpty() ? -1 : list()->row(items.first());
    }
    void click(const QString &name) const
    {
        QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton);
    }
    void clickEntry(int row) const
    {
        QListWidget *l = list();
        l->scrollToItem(l->item(row));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
    }
    void fill(const TProva &test) const
    {
        for (const TProva::FieldLayout &f : TProva::layout())
            edit(QString::fromLatin1(f.control))->setText(test[f.field]);
    }
    void find(const QString &text) const
    {
        edit(QStringLiteral("txtTrova"))->setText(text);
        click(QStringLiteral("btnTrova"));
    }
};

} // namespace

class TestTestsWindow : public QObject
{
    Q_OBJECT

private slots:
    void studentWithoutTestsFile();
    void addTwoTestsAndReopen();
    void saveTwiceAfterAdd();
    void requiredFields_data();
    void requiredFields();
    void longTypeCutInListWholeInEditPanel();
    void emptyProvaRecordsSkippedButKeepTheirPositions();
    void identicalTestsEditTheSelectedOne();
    void modifyWithoutSelection();
    void findAcrossWraps();
    void findNothingKeepsSelection();
    void todayAndEnterKeys();
    void failedSaveKeepsTheEditPanel();
    void failedModifyClosesTheWindow();
    void noRecordNumberNoFile_data();
    void noRecordNumberNoFile();
    void printedSummaryOverSeveralPages();
    void keyboardOnly();
};

void TestTestsWindow::studentWithoutTestsFile()
{
    Register r;
    r.open();
    QCOMPARE(r.control<QLabel>(QStringLiteral("lblTitolo"))->text(), QStringLiteral("Prove sostenute da Rossi Mario"));
    QVERIFY(QDir(r.folder.path(QStringLiteral("Archivio_Prove"))).exists());
    QVERIFY(QFile::exists(r.testsPath()));
    QCOMPARE(QFileInfo(r.testsPath()).size(), 0);
    QCOMPARE(r.list()->count(), 0);
    QCOMPARE(r.total(), QStringLiteral("0"));
    QVERIFY(r.control(QStringLiteral("panContainer"))->isVisible());
    QVERIFY(!r.control(QStringLiteral("panCosti"))->isVisible());
    QTRY_VERIFY(r.edit(QStringLiteral("txtTrova"))->hasFocus());

    r.find(QStringLiteral("x"));
    QCOMPARE(r.folder.platform.messages.size(), 1);
    QCOMPARE(r.folder.platform.lastKind(), Kind::Notice);
    QCOMPARE(r.folder.platform.lastText(), QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
    r.click(QStringLiteral("btnModifica"));
    QCOMPARE(r.folder.platform.messages.size(), 2);
    QCOMPARE(r.folder.platform.lastKind(), Kind::Information);
    QCOMPARE(r.folder.platform.lastText(), QStringLiteral("Modifica non applicabile: la lista non contiene nessuna voce."));
    QVERIFY(r.control(QStringLiteral("panContainer"))->isVisible());
}

void TestTestsWindow::addTwoTestsAndReopen()
{
    Register r;
    r.open();
    r.click(QStringLiteral("btnAggiungi"));
    QVERIFY(!r.control(QStringLiteral("panContainer"))->isVisible());
    QVERIFY(r.control(QStringLiteral("panCosti"))->isVisible());
    QLineEdit *data = r.edit(QStringLiteral("txtData"));
    QTRY_VERIFY(data->hasFocus());
    // Typed as the operator would, Enter moving from field to field.
    QTest::keyClicks(data, QStringLiteral("01/10/2026"));
    QTest::keyClick(data, Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Verifica scritta"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Bianchi"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Aula 3"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Ottimo"));
    QCOMPARE(r.edit(QStringLiteral("txtEsito"))->text(), QStringLiteral("Ottimo"));
    r.click(QStringLiteral("btnSalva"));
    QCOMPARE(r.folder.platform.lastKind(), Kind::Information);
    QCOMPARE(r.folder.platform.lastText(), Inserted);
    QCOMPARE(r.editing(), QStringLiteral("1"));
    QVERIFY(r.control(QStringLiteral("panCosti"))->isVisible());

    r.reopen();
    r.click(QStringLiteral("btnAggiungi"));
    QVERIFY(r.edit(QStringLiteral("txtData"))->text().isEmpty());
    r.fill(makeTest("02/10/2026", "  Interrogazione orale", "Verdi", "Aula 5", "Buono  "));
    r.click(QStringLiteral("btnSalva"));
    QCOMPARE(r.folder.platform.lastText(), Inserted);
    QCOMPARE(r.editing(), QStringLiteral("2"));

    r.reopen();
    QCOMPARE(r.fileBytes().size(), 2 * TProva::Size);
    QCOMPARE(r.total(), QStringLiteral("2"));
    const TProva first = makeTest("01/10/2026", "Verifica scritta", "Bianchi", "Aula 3", "Ottimo");
    const TProva second = makeTest("02/10/2026", "Interrogazione orale", "Verdi", "Aula 5", "Buono");
    QCOMPARE(r.entries(), QStringList({TestList::line(first), TestList::line(second)}));
    QCOMPARE(r.fileTests().at(1).fields, second.fields); // saved trimmed
    QCOMPARE(r.selected(), -1);
    QCOMPARE(r.list()->item(0)->font().family(), QStringLiteral("Courier New"));
    QCOMPARE(r.list()->item(0)->sizeHint().width(), 1600);
}

void TestTestsWindow::saveTwiceAfterAdd()
{
    Register r;
    r.writeTests({makeTest("1", "Prima", "D", "A", "E")});
    r.open();
    r.click(QStringLiteral("btnAggiungi"));
    r.fill(makeTest("05/11/2026", "Pratica", "Neri", "Lab", "6"));
    r.click(QStringLiteral("btnSalva"));
    QCOMPARE(r.folder.platform.lastText(), Inserted);
    QCOMPARE(r.editing(), QStringLiteral("2"));
    r.edit(QStringLiteral("txtEsito"))->setText(QStringLiteral("7"));
    r.click(QStringLiteral("btnSalva"));
    QCOMPARE(r.folder.platform.lastKind(), Kind::Information);
    QCOMPARE(r.folder.platform.lastText(), Updated);
    QCOMPARE(r.editing(), QStringLiteral("2"));

    const QList<TProva> tests = r.fileTests();
    QCOMPARE(tests.size(), 2);
    QCOMPARE(tests.at(0)[TProva::Prova], QStringLiteral("Prima"));
    QCOMPARE(tests.at(1)[TProva::Esito], QStringLiteral("7"));
    // The list is not refreshed while editing.
    QCOMPARE(r.list()->count(), 1);
}

void TestTestsWindow::requiredFields_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("focused");
    QTest::addColumn<QString>("warning");

    QTest::newRow("all empty: Data first")
        << QStringList{"", "", "", "", ""} << "txtData"
        << "Attenzione: per salvare la scheda è necessario indicare la data di somministrazione della prova.";
    QTest::newRow("blank Prova")
        << QStringList{"1/1", "   ", "", "", ""} << "txtProva"
        << "Attenzione: per salvare la scheda è necessario indicare la tipologia di prova somministrata.";
    QTest::newRow("Docente")
        << QStringList{"1/1", "P", "", "A", "E"} << "txtDocente"
        << "Attenzione: per salvare la scheda è necessario indicare il nome del docente che ha somministrato la prova.";
    QTest::newRow("Aula")
        << QStringList{"1/1", "P", "D", "", ""} << "txtAula"
        << "Attenzione: per salvare la scheda è necessario indicare l'aula in cui è stata somministrata la prova.";
    QTest::newRow("Esito")
        << QStringList{"1/1", "P", "D", "A", " "} << "txtEsito"
        << "Attenzione: per salvare la scheda è necessario indicare l'esito conseguito dallo studente nella prova.";
}

void TestTestsWindow::requiredFields()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, focused);
    QFETCH(QString, warning);

    Register r;
    r.open();
    r.click(QStringLiteral("btnAggiungi"));
    r.fill(makeTest(fields[0], fields[1], fields[2], fields[3], fields[4]));
    r.click(QStringLiteral("btnSalva"));
    QCOMPARE(r.folder.platform.messages.size(), 1);
    QCOMPARE(r.folder.platform.lastKind(), Kind::Warning);
    QCOMPARE(r.folder.platform.lastText(), warning);
    QTRY_VERIFY(r.edit(focused)->hasFocus());
    QCOMPARE(r.fileBytes().size(), 0);
    QVERIFY(r.editing().isEmpty());
}

void TestTestsWindow::longTypeCutInListWholeInEditPanel()
{
    const QString type = QStringLiteral("Prova pratica di laboratorio con relazione fin");
    QVERIFY(type.size() > 45);
    Register r;
    r.writeTests({makeTest("03/03/2026", type, "Docente con un nome lungo oltre", "Laboratorio di informatica 2", "Idoneo")});
    r.open();
    const QString line = r.entries().value(0);
    QVERIFY(line.startsWith(type.left(45) + QStringLiteral("   Data: 03/03/2026")));
    QVERIFY(line.contains(QStringLiteral("Docente: Docente con un nome lung  Aula: Laboratorio di infor  Esito: Idoneo")));

    r.clickEntry(0);
    QCOMPARE(r.selected(), 0);
    r.click(QStringLiteral("btnModifica"));
    QVERIFY(r.control(QStringLiteral("panCosti"))->isVisible());
    QCOMPARE(r.edit(QStringLiteral("txtProva"))->text(), type);
    QCOMPARE(r.edit(QStringLiteral("txtDocente"))->text(), QStringLiteral("Docente con un nome lungo ol"));
    QCOMPARE(r.editing(), QStringLiteral("1"));
    QTRY_VERIFY(r.edit(QStringLiteral("txtData"))->hasFocus());
}

void TestTestsWindow::emptyProvaRecordsSkippedButKeepTheirPositions()
{
    Register r;
    r.writeTests({makeTest("1", "Prima", "D1", "A1", "E1"), makeTest("2", "", "D2", "A2", "E2"),
                  makeTest("3", "  ", "D3", "A3", "E3"), makeTest("4", "Quarta", "D4", "A4", "E4")});
    // A torn record at the end is not a test.
    QFile file(r.testsPath());
    QVERIFY(file.open(QIODevice::Append));
    file.write(QByteArray(40, '\x05'));
    file.close();

    r.open();
    QCOMPARE(r.list()->count(), 2);
    QCOMPARE(r.total(), QStringLiteral("2"));
    r.list()->setCurrentRow(1);
    r.click(QStringLiteral("btnModifica"));
    QCOMPARE(r.editing(), QStringLiteral("4"));
    QCOMPARE(r.edit(QStringLiteral("txtProva"))->text(), QStringLiteral("Quarta"));
    r.edit(QStringLiteral("txtEsito"))->setText(QStringLiteral("Rivisto"));
    r.click(QStringLiteral("btnSalva"));
    QCOMPARE(r.folder.platform.lastText(), Updated);

    const QList<TProva> tests = r.fileTests();
    QCOMPARE(tests.size(), 4);
    QCOMPARE(tests.at(1)[TProva::Docente], QStringLiteral("D2"));
    QCOMPARE(tests.at(2)[TProva::Docente], QStringLiteral("D3"));
    QCOMPARE(tests.at(3)[TProva::Esito], QStringLiteral("Rivisto"));
}

void TestTestsWindow::identicalTestsEditTheSelectedOne()
{
    const TProva same = makeTest("10/10/2026", "Orale", "Gialli", "Aula 1", "Buono");
    Register r;
    r.writeTests({same, makeTest("11/10/2026", "Scritto", "Gialli", "Aula 2", "Sufficiente"), same});
    r.open();
    QCOMPARE(r.entries().at(0), r.entries().at(2));

    // The earlier of the two is the one selected, and the one changed.
    r.clickEntry(0);
    r.click(QStringLiteral("btnModifica"));
    QCOMPARE(r.editing(), QStringLiteral("1"));
    r.edit(QStringLiteral("txtEsito"))->setText(QStringLiteral("Ottimo"));
    r.click(QStringLiteral("btnSalva"));
    QList<TProva> tests = r.fileTests();
    QCOMPARE(tests.at(0)[TProva::Esito], QStringLiteral("Ottimo"));
    QCOMPARE(tests.at(2)[TProva::Esito], QStringLiteral("Buono"));

    r.reopen();
    r.writeTests({same, tests.at(1), same});
    r.reopen();
    r.clickEntry(2);
    r.click(QStringLiteral("btnModifica"));
    QCOMPARE(r.editing(), QStringLiteral("3"));
    r.edit(QStringLiteral("txtAula"))->setText(QStringLiteral("Aula 9"));
    r.click(QStringLiteral("btnSalva"));
    tests = r.fileTests();
    QCOMPARE(tests.at(0)[TProva::Aula], QStringLiteral("Aula 1"));
    QCOMPARE(tests.at(2)[TProva::Aula], QStringLiteral("Aula 9"));
}

void TestTestsWindow::modifyWithoutSelection()
{
    Register r;
    r.writeTests({makeTest("1", "Prima", "D", "A", "E")});
    r.open();
    r.click(QStringLiteral("btnModifica"));
    QCOMPARE(r.folder.platform.lastKind(), Kind::Warning);
    QCOMPARE(r.folder.platform.lastText(),
             QStringLiteral("Attenzione: selezionare una voce dall'elenco prima di premere il pulsante di modifica."));
    QVERIFY(r.control(QStringLiteral("panContainer"))->isVisible());
}

void TestTestsWindow::findAcrossWraps()
{
    Register r;
    QList<TProva> tests;
    for (int i = 0; i < 7; ++i)
        tests << makeTest(QString::number(i), QStringLiteral("Prova %1").arg(i), QStringLiteral("Docente"),
                          QStringLiteral("Aula"), i == 2 || i == 5 ? QStringLiteral("Eccellente") : QStringLiteral("Buono"));
    r.writeTests(tests);
    r.open();
    QCOMPARE(r.selected(), -1);

    const QList<int> steps{2, 5, 2, 5};
    for (int want : steps) {
        r.find(QStringLiteral("ECCELL"));
        QCOMPARE(r.selected(), want);
    }
    // A new text restarts from entry 0, which is tested first.
    r.find(QStringLiteral("prova 0"));
    QCOMPARE(r.selected(), 0);
    r.find(QStringLiteral("prova"));
    QCOMPARE(r.selected(), 0);
    r.find(QStringLiteral("prova"));
    QCOMPARE(r.selected(), 1);
    // The operator's own selection is where a repeated search goes on from.
    r.clickEntry(4);
    r.find(QStringLiteral("prova"));
    QCOMPARE(r.selected(), 5);
    QVERIFY(r.folder.platform.messages.isEmpty());
}

void TestTestsWindow::findNothingKeepsSelection()
{
    Register r;
    r.writeTests({makeTest("1", "Prima", "D", "A", "E"), makeTest("2", "Seconda", "D", "A", "E")});
    r.open();
    // Nothing selected: the first entry is selected, whatever the outcome.
    r.find(QStringLiteral("nessuna"));
    QCOMPARE(r.selected(), 0);
    r.clickEntry(1);
    r.find(QStringLiteral("ancora nessuna"));
    QCOMPARE(r.selected(), 1);
    r.find(QString());
    QCOMPARE(r.selected(), 1);
    QVERIFY(r.folder.platform.messages.isEmpty());
}

void TestTestsWindow::todayAndEnterKeys()
{
    Register r;
    r.open();
    QLineEdit *trova = r.edit(QStringLiteral("txtTrova"));
    QTRY_VERIFY(trova->hasFocus());
    QTest::keyClick(trova, Qt::Key_Return);
    QTRY_VERIFY(r.control(QStringLiteral("btnTrova"))->hasFocus());
    QVERIFY(r.folder.platform.messages.isEmpty());
    // A second Enter presses the focused button.
    QTest::keyClick(r.control(QStringLiteral("btnTrova")), Qt::Key_Return);
    QCOMPARE(r.folder.platform.messages.size(), 1);
    QCOMPARE(r.folder.platform.lastKind(), Kind::Notice);
    QTest::keyClick(r.control(QStringLiteral("btnTrova")), Qt::Key_Escape);
    QVERIFY(r.window->isVisible());

    r.click(QStringLiteral("btnAggiungi"));
    QTest::mouseClick(r.control<PictureBox>(QStringLiteral("impOggi")), Qt::LeftButton);
    QCOMPARE(r.edit(QStringLiteral("txtData"))->text(), QStringLiteral("08/12/2026"));

    // Enter goes round the five fields.
    QLineEdit *esito = r.edit(QStringLiteral("txtEsito"));
    esito->setFocus();
    QTRY_VERIFY(esito->hasFocus());
    QTest::keyClick(esito, Qt::Key_Enter, Qt::KeypadModifier);
    QTRY_VERIFY(r.edit(QStringLiteral("txtData"))->hasFocus());

    // Maximum lengths of the edits are the fields' capacities.
    for (const TProva::FieldLayout &f : TProva::layout())
        QCOMPARE(r.edit(QString::fromLatin1(f.control))->maxLength(), f.capacity);
}

void TestTestsWindow::failedSaveKeepsTheEditPanel()
{
    Register r;
    r.writeTests({makeTest("1", "Prima", "D", "A", "E")});
    r.open();
    r.list()->setCurrentRow(0);
    r.click(QStringLiteral("btnModifica"));
    r.edit(QStringLiteral("txtAula"))->setText(QStringLiteral("Aula nuova"));
    // The tests folder turns into a plain file: nothing can be written.
    QVERIFY(QDir(r.folder.path(QStringLiteral("Archivio_Prove"))).removeRecursively());
    r.folder.writeFile(QStringLiteral("Archivio_Prove"), "not a folder");
    r.click(QStringLiteral("btnSalva"));
    QCOMPARE(r.folder.platform.lastKind(), Kind::Warning);
    QCOMPARE(r.folder.platform.lastText(),
             QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
                            "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del "
                            "programma."));
    QCOMPARE(r.editing(), QStringLiteral("1"));
    QCOMPARE(r.edit(QStringLiteral("txtAula"))->text(), QStringLiteral("Aula nuova"));
    QVERIFY(r.window->isVisible());
}

void TestTestsWindow::failedModifyClosesTheWindow()
{
    Register r;
    r.writeTests({makeTest("1", "Prima", "D", "A", "E"), makeTest("2", "Seconda", "D", "A", "E")});
    r.open();
    r.list()->setCurrentRow(1);
    // Another workstation has cut the file short meanwhile.
    r.writeTests({makeTest("1", "Prima", "D", "A", "E")});
    r.click(QStringLiteral("btnModifica"));
    QVERIFY(!r.window->isVisible());
    QVERIFY(r.folder.platform.messages.isEmpty());
    QCOMPARE(r.list()->count(), 0); // closing empties the list
}

void TestTestsWindow::noRecordNumberNoFile_data()
{
    QTest::addColumn<QString>("position");
    QTest::newRow("empty") << "";
    QTest::newRow("blank") << "   ";
    QTest::newRow("zero") << "0";
    QTest::newRow("leading zero") << "012";
    QTest::newRow("not a number") << "../12";
}

void TestTestsWindow::noRecordNumberNoFile()
{
    QFETCH(QString, position);
    Register r(position);
    r.open();
    QCOMPARE(r.list()->count(), 0);
    r.click(QStringLiteral("btnAggiungi"));
    r.fill(makeTest("1", "Prova", "D", "A", "E"));
    r.click(QStringLiteral("btnSalva"));
    QCOMPARE(r.folder.platform.lastKind(), Kind::Warning);
    QVERIFY(r.folder.platform.lastText().startsWith(QStringLiteral("Attenzione: il sistema non permette")));
    QVERIFY(r.editing().isEmpty());
    // No tests file is made for a card that has no record number.
    const QStringList made = QDir(r.folder.path(QStringLiteral("Archivio_Prove"))).entryList(QDir::Files);
    QVERIFY2(made.isEmpty(), qPrintable(made.join(QLatin1Char(','))));
    QCOMPARE(QDir(r.folder.context.folder).entryList(QDir::Files), QStringList());
}

void TestTestsWindow::printedSummaryOverSeveralPages()
{
    Register r(QStringLiteral("12"), QStringLiteral("Bianchi [DATE] Anna"));
    QList<TProva> tests;
    QStringList types;
    for (int i = 0; i < 110; ++i) {
        const QString type = QStringLiteral("Verifica numero %1").arg(i, 3, 10, QLatin1Char('0'));
        // One record in ten has no type: neither listed nor printed.
        tests << makeTest(QStringLiteral("%1/10/2026").arg(i % 28 + 1, 2, 10, QLatin1Char('0')),
                          i % 10 == 9 ? QString() : type, QStringLiteral("Docente %1").arg(i % 7),
                          QStringLiteral("Aula %1").arg(i % 4), QStringLiteral("Esito %1").arg(i));
        if (i % 10 != 9)
            types << type;
    }
    r.writeTests(tests);
    const QString pdf = r.folder.path(QStringLiteral("riepilogo.pdf"));
    r.folder.platform.printToPdf = pdf;
    r.open();
    QCOMPARE(r.total(), QString::number(types.size()));
    r.click(QStringLiteral("btnStampa"));
    QCOMPARE(r.folder.platform.printDialogs, 1);
    QVERIFY(r.folder.platform.messages.isEmpty());
    QVERIFY(r.window->isVisible());

    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(pdftotext.waitForFinished(60000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QVERIFY2(pages.size() >= 2, qPrintable(QString::number(pages.size())));
    QCOMPARE(pages.first().count(QStringLiteral("Prove sostenute da Bianchi [DATE] Anna")), 1);
    QCOMPARE(text.count(QStringLiteral("Prove sostenute da")), 1);
    QCOMPARE(pages.last().count(QStringLiteral("Stampa eseguita in data 08/12/2026")), 1);

    // Every listed test once, whole and in list order, then the closing lines.
    qsizetype at = 0;
    const QStringList entries = r.entries();
    for (int i = 0; i < entries.size(); ++i) {
        QCOMPARE(text.count(types.at(i)), 1);
        const QString line = entries.at(i).simplified();
        const qsizetype found = text.indexOf(types.at(i), at);
        QVERIFY2(found >= 0, qPrintable(types.at(i)));
        const QString printed = text.mid(found, text.indexOf(QLatin1Char('\n'), found) - found).simplified();
        QCOMPARE(printed, line);
        at = found + types.at(i).size();
    }
    const qsizetype hyphens = text.indexOf(QStringLiteral("--------------------------"), at);
    QVERIFY(hyphens > at);
    // pdftotext -layout turns the run of blanks into as many columns as it
    // estimates, so only the words are compared.
    const qsizetype totalLine = text.indexOf(
        QRegularExpression(QStringLiteral("TOTALE PROVE: +%1\\n").arg(types.size())), hyphens);
    QVERIFY(totalLine > hyphens);
    QVERIFY(!text.contains(QStringLiteral("Verifica numero 009")));
}

// The whole register from the keyboard: each panel's keys work while it is
// shown and do nothing while it is hidden, even where both use the same key.
void TestTestsWindow::keyboardOnly()
{
    Register r;
    r.writeTests({makeTest("01/10/2026", "Verifica scritta", "Bianchi", "Aula 3", "Ottimo")});
    r.folder.platform.printToPdf = r.folder.path(QStringLiteral("riepilogo.pdf"));
    r.open();
    QLineEdit *find = r.edit(QStringLiteral("txtTrova"));
    find->setFocus();
    QTest::keyClicks(find, QStringLiteral("scritta"));
    QTest::keyClick(find, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(r.selected(), 0);

    QTest::keyClick(find, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(r.folder.platform.printDialogs, 1);

    QTest::keyClick(find, Qt::Key_N, Qt::ControlModifier);
    QVERIFY(r.control(QStringLiteral("panCosti"))->isVisible());
    QLineEdit *data = r.edit(QStringLiteral("txtData"));
    QTRY_VERIFY(data->hasFocus());
    r.fill(makeTest("02/10/2026", "Interrogazione", "Verdi", "Aula 5", "Buono"));
    // The list panel's keys are asleep while the edit panel is shown.
    QTest::keyClick(data, Qt::Key_P, Qt::ControlModifier);
    QTest::keyClick(data, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(r.folder.platform.printDialogs, 1);
    QVERIFY(r.folder.platform.messages.isEmpty());
    QTest::keyClick(data, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(r.folder.platform.lastText(), Inserted);
    QCOMPARE(r.fileTests().size(), 2);

    QWidget *save = r.control(QStringLiteral("btnSalva"));
    QCOMPARE(save->toolTip(), QStringLiteral("Salva (%1)").arg(QKeySequence(QKeySequence::Save).toString(QKeySequence::NativeText)));
}

QTEST_MAIN(TestTestsWindow)
#include "test_testswindow.moc"
