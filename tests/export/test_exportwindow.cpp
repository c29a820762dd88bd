// The export window as the operator sees it: the grid, the pictures and
// their hints, the guide and the keys.

#include "exportfixture.h"

#include "help/tfrmguida.h"

#include <QHeaderView>
#include <QLabel>
#include <QtTest>

namespace {

struct ColumnSpec
{
    const char *name;
    const char *header;
    int width;
    bool editable;
    R::Field field; // unused for the number column
};

const ColumnSpec kColumns[] = {
    {"colNum", "N.", 60, false, R::Studente},
    {"colStudente", "Cognome e nome", 200, false, R::Studente},
    {"colDataNasc", "Data nascita", 150, false, R::DataNasc},
    {"colCittadinanza", "Cittadinanza", 200, false, R::Cittadinanza},
    {"colLuogoNasc", "Luogo nascita", 200, false, R::LuogoNasc},
    {"colIndirizzo", "Indirizzo", 250, false, R::Indirizzo},
    {"colCitta", "Città", 200, false, R::Citta},
    {"colCap", "CAP", 150, true, R::Cap},
    {"colNazione", "Nazione", 200, false, R::Nazione},
    {"colCodFisc", "Codice fiscale", 180, false, R::CodFisc},
    {"colCivile", "Stato civile", 200, false, R::Civile},
    {"colEsercente", "Esercente potestà", 250, true, R::Esercente},
    {"colStudio", "Titolo di studio", 250, true, R::Studio},
    {"colLingue", "Lingue conosciute", 250, true, R::Lingue},
    {"colEmail", "E-mail", 200, true, R::Email},
    {"colTel", "Tel. casa", 150, true, R::Tel},
    {"colCel", "Tel. cellulare", 150, true, R::Cel},
    {"colCorso", "Corso", 250, true, R::Corso},
    {"colClasse", "Classe", 150, true, R::Classe},
    {"colInizio", "Data inizio", 150, true, R::Inizio},
    {"colFine", "Data fine", 150, true, R::Fine},
    {"colAssenze", "Assenze", 300, true, R::Assenze},
    {"colCommissione", "Commissione esame finale", 300, true, R::Commissione},
    {"colDataEsame", "Data esame", 150, true, R::DataEsame},
    {"colEsito", "Esito", 200, true, R::Esito},
    {"colNote", "Note", 300, true, R::Note},
};

// Every field distinct, so a field in the wrong column shows.
StudentRecord fullCard(int n)
{
    StudentRecord record;
    for (int f = 0; f < R::FieldCount; ++f)
        record[R::Field(f)] = QStringLiteral("%1%2").arg(QString::fromLatin1(R::layout()[f].name)).arg(n);
    return StudentRecord::decode(record.encode()); // as stored: cut at the capacities
}

} // namespace

class TestExportWindow : public QObject
{
    Q_OBJECT

private slots:
    void windowAndPanel();
    void gridColumns();
    void gridRowsFollowTheArchive_data();
    void gridRowsFollowTheArchive();
    void hintLine();
    void guideOpensModally_data();
    void guideOpensModally();
    void escapeKeepsTheWindowExitClosesIt();
    void ctrlEExports();
};

void TestExportWindow::windowAndPanel()
{
    ExportWindow w;
    QVERIFY(w.open());
    QCOMPARE(w.window->windowTitle(), QStringLiteral(" Lumetra - Esportazione in Excel"));
    QVERIFY(w.window->windowState() & Qt::WindowMaximized);
    QVERIFY(w.window->windowFlags() & Qt::WindowMaximizeButtonHint);
    QVERIFY(w.window->windowFlags() & Qt::WindowMinimizeButtonHint);
    QWidget *panel = findControl<QWidget>(w.window.get(), QStringLiteral("panContainer"));
    QCOMPARE(panel->size(), QSize(994, 692));
    QCOMPARE(w.grid()->parentWidget(), panel);
    QCOMPARE(w.grid()->geometry(), QRect(24, 96, 946, 529));

    const QList<QPair<QString, QRect>> pictures = {
        {"cmdEsporta", QRect(714, 23, 49, 50)},
        {"cmdGuida", QRect(820, 21, 50, 55)},
        {"cmdEsci", QRect(926, 23, 40, 50)},
    };
    for (const auto &[name, geometry] : pictures) {
        auto *picture = findControl<PictureBox>(w.window.get(), name);
        QCOMPARE(picture->geometry(), geometry);
        QCOMPARE(picture->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(!picture->image().isNull());
    }
}

void TestExportWindow::gridColumns()
{
    ExportWindow w;
    QVERIFY(w.open());
    QTableView *grid = w.grid();
    QAbstractItemModel *model = grid->model();
    QCOMPARE(model->columnCount(), 26);
    for (int c = 0; c < 26; ++c) {
        const ColumnSpec &column = kColumns[c];
        QCOMPARE(model->headerData(c, Qt::Horizontal).toString(), QString::fromUtf8(column.header));
        QCOMPARE(model->headerData(c, Qt::Horizontal, Qt::UserRole).toString(), QString::fromLatin1(column.name));
        QCOMPARE(grid->columnWidth(c), column.width);
        QCOMPARE(bool(model->flags(model->index(0, c)) & Qt::ItemIsEditable), column.editable);
    }
    QCOMPARE(grid->rowHeight(0), 21);
    QCOMPARE(grid->rowHeight(9), 21);
    QVERIFY(grid->alternatingRowColors());
    QVERIFY(grid->palette().color(QPalette::AlternateBase) != grid->palette().color(QPalette::Base));
    QVERIFY(grid->isVisible() && grid->horizontalHeader()->isVisible());
}

void TestExportWindow::gridRowsFollowTheArchive_data()
{
    QTest::addColumn<int>("cards");
    QTest::addColumn<int>("tail");
    QTest::newRow("no card: ten empty rows") << 0 << 0;
    QTest::newRow("one card") << 1 << 0;
    QTest::newRow("three cards and a trailing fragment") << 3 << 3388;
    QTest::newRow("more cards than the view shows") << 600 << 0;
}

void TestExportWindow::gridRowsFollowTheArchive()
{
    QFETCH(int, cards);
    QFETCH(int, tail);

    ExportWindow w;
    QList<StudentRecord> list;
    for (int n = 1; n <= cards; ++n)
        list << fullCard(n);
    w.writeArchive(encoded(list) + QByteArray(tail, 'Z'));
    QVERIFY(w.open());
    QAbstractItemModel *model = w.grid()->model();
    QCOMPARE(model->rowCount(), cards == 0 ? 10 : cards);
    if (cards == 0) {
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 26; ++c)
                QCOMPARE(w.cell(r, c), QString());
        return;
    }
    for (int r : {0, cards / 2, cards - 1}) {
        QCOMPARE(w.cell(r, 0), QString::number(r + 1));
        for (int c = 1; c < 26; ++c)
            QCOMPARE(w.cell(r, c), list[r][kColumns[c].field]);
    }
    QVERIFY(w.folder.platform.messages.isEmpty());
}

void TestExportWindow::hintLine()
{
    ExportWindow w;
    QVERIFY(w.open());
    QLabel *info = findControl<QLabel>(w.window.get(), QStringLiteral("panInfo"));
    QCOMPARE(info->text(), QStringLiteral("Pronto per esportare l'archivio in Excel..."));

    // Each picture's hint while the mouse is on it; moving on over the grid,
    // the banner or the panel empties the line.
    const struct
    {
        const char *picture;
        const char *hint;
        const char *quiet;
    } hints[] = {
        {"cmdEsporta", "Esporta l'archivio in formato Microsoft Excel.", "grdRecords"},
        {"cmdEsportaXlsx",
         "Esporta l'archivio in .xlsx (Excel) o .ods (OpenDocument): ogni valore resta com'è scritto.",
         "grdRecords"},
        {"cmdImportaStudenti", "Importa gli studenti da un foglio di calcolo (.csv, .xlsx, .ods).", "grdRecords"},
        {"cmdGuida", "Visualizza la pagina della guida sensibile al contesto.", "imgBanner"},
        {"cmdEsci", "Esci da questo ambiente di lavoro.", "panContainer"},
    };
    for (const auto &row : hints) {
        QWidget *picture = findControl<QWidget>(w.window.get(), QString::fromLatin1(row.picture));
        const QString hint = QString::fromUtf8(row.hint);
        QCOMPARE(picture->accessibleName(), hint);
        QTest::mouseMove(picture, picture->rect().center());
        QTRY_COMPARE(info->text(), hint);
        QWidget *quiet = findControl<QWidget>(w.window.get(), QString::fromLatin1(row.quiet));
        if (auto *grid = qobject_cast<QTableView *>(quiet))
            quiet = grid->viewport();
        QTest::mouseMove(quiet, QPoint(3, 30));
        QTRY_COMPARE(info->text(), QString());
    }
}

void TestExportWindow::guideOpensModally_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("picture") << false;
    QTest::newRow("F1") << true;
}

void TestExportWindow::guideOpensModally()
{
    QFETCH(bool, byKey);
    ExportWindow w;
    QVERIFY(w.open());
    QWidget *owner = nullptr;
    bool shown = false;
    whenModalShown<TfrmGuida>([&](TfrmGuida *guide) {
        shown = true;
        owner = guide->parentWidget();
        guide->close();
    });
    if (byKey)
        QTest::keyClick(w.window.get(), Qt::Key_F1);
    else
        w.click(QStringLiteral("cmdGuida"));
    QVERIFY(shown);
    QCOMPARE(owner, w.window.get());
    QVERIFY(w.window->isVisible());
}

void TestExportWindow::escapeKeepsTheWindowExitClosesIt()
{
    ExportWindow w;
    QVERIFY(w.open());
    QTest::keyClick(w.grid(), Qt::Key_Escape);
    QTest::keyClick(w.window.get(), Qt::Key_Escape);
    QVERIFY(w.window->isVisible());
    w.click(QStringLiteral("cmdEsci"));
    QTRY_VERIFY(!w.window->isVisible());
    QVERIFY(w.folder.platform.messages.isEmpty());
}

void TestExportWindow::ctrlEExports()
{
    ExportWindow w;
    QVERIFY(w.open());
    w.folder.platform.confirmAnswers << true << false;
    QTest::keyClick(w.grid(), Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(w.folder.platform.messages.size(), 2);
    QCOMPARE(w.sheet(), expectedSheet(emptyRows(10)));
}

QTEST_MAIN(TestExportWindow)
#include "test_exportwindow.moc"
