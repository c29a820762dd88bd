// "Importa studenti" as the operator uses it: from the export window's
// button, a sheet picked in the open dialog, the mapping row and the preview
// grid found by their names, a fault corrected in the grid, the import and
// its summary saved, and the export grid showing the new cards.

#include "../core/import/importfixture.h"
#include "exportfixture.h"

#include "archive/codepage.h"
#include "export/exportcolumns.h"
#include "export/tfrmimportafoglio.h"
#include "students/studentform.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

namespace {

QString cellText(QTableView *grid, int row, int column, int role = Qt::DisplayRole)
{
    return grid->model()->index(row, column).data(role).toString();
}

} // namespace

class TestImportWindow : public QObject
{
    Q_OBJECT

private slots:
    void captionsOfTheProgramAreRecognised_data();
    void captionsOfTheProgramAreRecognised();
    void requiredFieldsAreTheStudentWindows();
    void fromTheExportWindowToTheSummary();
    void mappingRowChangesWhatIsStored();
    void cancelledDialogOpensNothing_data();
    void cancelledDialogOpensNothing();
};

void TestImportWindow::captionsOfTheProgramAreRecognised_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("field");
    for (const StudentForm::EditSpec &edit : StudentForm::edits())
        QTest::newRow(edit.caption) << QString::fromUtf8(edit.caption) << int(edit.field);
    for (const ExportColumns::Column &column : ExportColumns::columns())
        if (column.sheetWidth > 0)
            QTest::newRow((QByteArray("export: ") + column.header).constData())
                << QString::fromUtf8(column.header) << int(column.field);
}

void TestImportWindow::captionsOfTheProgramAreRecognised()
{
    QFETCH(QString, caption);
    QFETCH(int, field);
    QCOMPARE(ImportMapping::guess(caption), field);
}

void TestImportWindow::requiredFieldsAreTheStudentWindows()
{
    const auto &window = StudentForm::requiredFields();
    const auto &import = ImportChecks::requiredFields();
    QCOMPARE(window.size(), import.size());
    for (size_t i = 0; i < window.size(); ++i)
        QCOMPARE(int(import[i]), int(window[i].field));
}

void TestImportWindow::fromTheExportWindowToTheSummary()
{
    ExportWindow w;
    {
        StudentArchive archive(w.folder.folder);
        archive.append(storedCard("Rossi Anna", validCode(1)));
    }
    QStringList faulty = classRow("Neri", validCode(3));
    faulty[6] = QStringLiteral("31/09/2025");
    const QString sheet = w.folder.path("classe.csv");
    w.folder.writeFile("classe.csv", CodePage::fromUnicode(QString::fromUtf8(csvOf(
                                         classHeader(), {classRow("Verdi", validCode(2)), faulty,
                                                         classRow("Rossi", validCode(1))}))));
    QVERIFY(w.open());
    QCOMPARE(w.grid()->model()->rowCount(), 1);
    // A cell typed into the export grid before the import, on the first
    // editable column.
    QAbstractItemModel *model = w.grid()->model();
    int typed = 1;
    while (!(model->flags(model->index(0, typed)) & Qt::ItemIsEditable))
        ++typed;
    QVERIFY(model->setData(model->index(0, typed), QStringLiteral("scritto a mano")));

    w.folder.platform.openAnswers << sheet;
    w.folder.platform.saveAnswers << w.folder.path("riepilogo.txt");
    QString summaryText;
    bool driven = false;
    whenModalShown<TfrmImportaFoglio>([&](TfrmImportaFoglio *window) {
        // A failed check returns early: the window must not stay open.
        struct Closer
        {
            QWidget *window;
            ~Closer()
            {
                if (QWidget *modal = QApplication::activeModalWidget(); modal && modal != window)
                    modal->close();
                window->close();
            }
        } closer{window};
        auto *preview = findControl<QTableView>(window, QStringLiteral("grdAnteprima"));
        QCOMPARE(findControl<QComboBox>(window, QStringLiteral("cboCampo1"))->currentText(), QStringLiteral("Cognome"));
        QCOMPARE(findControl<QComboBox>(window, QStringLiteral("cboCampo4"))->currentText(),
                 QStringLiteral("Codice fiscale"));
        QCOMPARE(findControl<QComboBox>(window, QStringLiteral("cboCampo9"))->currentText(), QStringLiteral("Città"));
        QCOMPARE(cellText(preview, 0, 0), QStringLiteral("Nuova scheda"));
        QCOMPARE(cellText(preview, 1, 0), QStringLiteral("Errori: saltata"));
        QCOMPARE(cellText(preview, 2, 0), QStringLiteral("Doppione: saltata"));
        QCOMPARE(cellText(preview, 2, 0, Qt::ToolTipRole), QStringLiteral("Codice fiscale già in archivio (scheda n. 1)."));
        // The faulty cell: column 7 of the sheet, after the status column.
        QCOMPARE(cellText(preview, 1, 7, Qt::ToolTipRole),
                 QStringLiteral("Data non valida: si scrive gg/mm/aaaa, per esempio 05/09/2025."));
        QVERIFY(preview->model()->index(1, 7).data(Qt::BackgroundRole).isValid());
        QVERIFY(!preview->model()->index(1, 6).data(Qt::BackgroundRole).isValid());
        QCOMPARE(findControl<QLabel>(window, QStringLiteral("lblConteggi"))->text(),
                 QStringLiteral("Righe: 3   Nuove schede: 1   Doppioni: 1   Con errori: 1"));
        // The faulty cell in view, the mapping row scrolled with the grid.
        preview->scrollTo(preview->model()->index(1, 8));
        QCOMPARE(findControl<QTableWidget>(window, QStringLiteral("grdMappa"))->horizontalScrollBar()->value(),
                 preview->horizontalScrollBar()->value());
        if (qEnvironmentVariableIsSet("LUMETRA_SCREENSHOT_DIR"))
            window->grab().save(qEnvironmentVariable("LUMETRA_SCREENSHOT_DIR") + QStringLiteral("/importa-studenti.png"));

        // Corrected in the grid as the operator types it.
        preview->setCurrentIndex(preview->model()->index(1, 7));
        QTest::keyClick(preview, Qt::Key_F2);
        auto *editor = preview->viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, QStringLiteral("30/09/2025"));
        QCOMPARE(editor->text(), QStringLiteral("30/09/2025"));
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate stores the text once the key has been handled.
        QTRY_COMPARE(cellText(preview, 1, 0), QStringLiteral("Nuova scheda"));

        whenModalShown<TfrmRiepilogoImport>([&](TfrmRiepilogoImport *summary) {
            summaryText = findControl<QPlainTextEdit>(summary, QStringLiteral("txtRiepilogo"))->toPlainText();
            QTest::mouseClick(findControl<QPushButton>(summary, QStringLiteral("cmdSalva")), Qt::LeftButton);
            QTest::mouseClick(findControl<QPushButton>(summary, QStringLiteral("cmdChiudi")), Qt::LeftButton);
        });
        QTest::mouseClick(findControl<QPushButton>(window, QStringLiteral("cmdImporta")), Qt::LeftButton);
        QVERIFY(!findControl<QPushButton>(window, QStringLiteral("cmdImporta"))->isEnabled());
        QTest::mouseClick(findControl<QPushButton>(window, QStringLiteral("cmdChiudi")), Qt::LeftButton);
        driven = true;
    });
    w.click(QStringLiteral("cmdImportaStudenti"));
    QVERIFY(driven);
    QCOMPARE(w.folder.platform.messages.size(), 1);
    QCOMPARE(w.folder.platform.messages.at(0).kind, Platform::MessageKind::Confirmation);
    QCOMPARE(w.folder.platform.messages.at(0).text,
             QStringLiteral("Importare nell'archivio 2 righe del foglio?\r\n\r\n1 riga con errori o doppioni verrà "
                            "saltata."));
    const QString expected = QStringLiteral(
        "Importazione studenti da classe.csv\n\nSchede inserite: 2\nSchede aggiornate: 0\nRighe saltate: 1\n\n"
        "Inserite:\nRiga 2, scheda n. 2 (Verdi Anna)\nRiga 3, scheda n. 3 (Neri Anna)\n\n"
        "Saltate:\nRiga 4 (Rossi Anna): Codice fiscale già in archivio (scheda n. 1).\n");
    QCOMPARE(summaryText, expected);
    const QByteArray saved = w.folder.readFile("riepilogo.txt");
    QCOMPARE(saved, "\xEF\xBB\xBF" + QString(expected).replace(QStringLiteral("\n"), QStringLiteral("\r\n")).toUtf8());
    // The export grid is read again with the new cards.
    QCOMPARE(w.grid()->model()->rowCount(), 3);
    QCOMPARE(w.cell(2, 1), QStringLiteral("Neri Anna"));
    QCOMPARE(w.cell(2, 19), QStringLiteral("30/09/2025"));
    // What was typed is still there for the export.
    QCOMPARE(w.cell(0, typed), QStringLiteral("scritto a mano"));
}

void TestImportWindow::mappingRowChangesWhatIsStored()
{
    TestFolder data;
    data.writeFile("classe.csv", csvOf(classHeader(), {classRow("Verdi", validCode(2))}));
    TfrmImportaFoglio window(data.context);
    QVERIFY(window.load(data.path("classe.csv")));
    QVERIFY(showActive(window));
    auto *preview = findControl<QTableView>(&window, QStringLiteral("grdAnteprima"));
    auto *sex = findControl<QComboBox>(&window, QStringLiteral("cboCampo3"));
    auto *city = findControl<QComboBox>(&window, QStringLiteral("cboCampo9"));
    auto *importa = findControl<QPushButton>(&window, QStringLiteral("cmdImporta"));
    QVERIFY(importa->isEnabled());
    // No column for the sex: the row cannot be a new card.
    sex->setCurrentIndex(sex->findText(QStringLiteral("(non importare)")));
    QCOMPARE(cellText(preview, 0, 0), QStringLiteral("Errori: saltata"));
    QCOMPARE(cellText(preview, 0, 0, Qt::ToolTipRole), QStringLiteral("Sesso: Campo obbligatorio vuoto."));
    QVERIFY(!importa->isEnabled());
    sex->setCurrentIndex(sex->findText(QStringLiteral("Sesso")));
    QVERIFY(importa->isEnabled());
    // The city column moved to the birthplace; another column taking the
    // same field lets the first go.
    city->setCurrentIndex(city->findText(QStringLiteral("Luogo nascita")));
    auto *course = findControl<QComboBox>(&window, QStringLiteral("cboCampo5"));
    course->setCurrentIndex(course->findText(QStringLiteral("Luogo nascita")));
    QCOMPARE(city->currentText(), QStringLiteral("(non importare)"));
    QCOMPARE(cellText(preview, 0, 0), QStringLiteral("Errori: saltata"));
    QCOMPARE(cellText(preview, 0, 0, Qt::ToolTipRole), QStringLiteral("Corso: Campo obbligatorio vuoto."));
}

void TestImportWindow::cancelledDialogOpensNothing_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("picture") << false;
    QTest::newRow("Ctrl+I") << true;
}

void TestImportWindow::cancelledDialogOpensNothing()
{
    QFETCH(bool, byKey);
    ExportWindow w;
    QVERIFY(w.open());
    if (byKey)
        QTest::keyClick(w.window.get(), Qt::Key_I, Qt::ControlModifier);
    else
        w.click(QStringLiteral("cmdImportaStudenti"));
    QCOMPARE(w.folder.platform.dialogTitles, QStringList{QStringLiteral("Importa studenti da un foglio di calcolo")});
    QVERIFY(w.folder.platform.messages.isEmpty());
    QVERIFY(!QFile::exists(w.archivePath()) || QFileInfo(w.archivePath()).size() == 0);
}

QTEST_MAIN(TestImportWindow)
#include "test_importwindow.moc"
