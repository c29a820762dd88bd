#include "search/tfrmimportastudenti.h"
#include "search/tfrmtrovastudenti.h"

#include "base/forms.h"
#include "base/widgets.h"
#include "archive/studentfiles.h"
#include "searchfixture.h"
#include "testutil.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

#include <memory>

using R = StudentRecord;

namespace {

const char *const kFilterOrder[] = {"txtStudente", "txtDataNasc", "txtCittadinanza", "txtLuogoNasc",
                                    "txtCodFisc",  "txtStudio",   "txtCorso",        "txtClasse",
                                    "txtDataEsame", "txtNote"};
const char *const kFrames[] = {"effCampo01", "effCampo02", "effCampo09", "effCampo10", "effCampo05",
                               "effCampo06", "effCampo07", "effCampo08", "effCampo03", "effCampo04"};

// Stands in for the student window: its controls under their interface names.
// The opener of a search window as the window sees it: what a pick hands
// over is recorded.
struct PickRecorder : QWidget, StudentPickTarget
{
    int picks = 0;
    StudentRecord record;
    QString position;
    QImage photo;

    void takeStudent(const StudentRecord &picked, qint64 number, const QImage &picture) override
    {
        ++picks;
        record = picked;
        position = QString::number(number);
        photo = picture;
    }
};

std::unique_ptr<PickRecorder> makeStudentWindow()
{
    return std::make_unique<PickRecorder>();
}

QString ownerText(const PickRecorder *owner, R::Field f)
{
    return owner->record[f];
}

// Every field distinct, so a field written into the wrong control shows.
StudentRecord fullCard(const QString &tag)
{
    StudentRecord record;
    for (int f = 0; f < R::FieldCount; ++f)
        record[R::Field(f)] = tag + QLatin1Char('-') + QString::fromLatin1(R::layout()[f].name);
    record[R::Sesso] = QStringLiteral("F");
    record[R::DataNasc] = QStringLiteral("01/02/2003");
    record[R::CodFisc] = QStringLiteral("RSSMRA80A01H501U");
    // As stored: short fields are cut at their capacity.
    return StudentRecord::decode(record.encode());
}

int rowOfRecord(const StudentSearchWindow &window, qint64 number)
{
    for (qsizetype i = 0; i < window.results().size(); ++i)
        if (window.results().recordNumber(i) == number)
            return int(i);
    return -1;
}

void doubleClickRow(QWidget *window, int row)
{
    auto *list = window->findChild<QListView *>(QStringLiteral("lstRecords"));
    const QModelIndex index = list->model()->index(row, 0);
    // The view lays its lines out once the event loop runs.
    QTRY_VERIFY(list->visualRect(index).isValid());
    const QRect rect = list->visualRect(index);
    // Lines are wider than the view: click near their start. A real double
    // click is a click followed by the double-click event.
    const QPoint at(rect.left() + 20, rect.center().y());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class TestSearchWindow : public QObject
{
    Q_OBJECT

private slots:
    void cercaListsMatchesAndCountsThem();
    void cercaOnMissingArchiveListsNothing();
    void cercaFailureKeepsFilterPanel();
    void enterKeyAndFrameHighlight();
    void trovaSelectsLines();
    void doubleClickLoadsEveryField();
    void doubleClickLoadsTheClickedOfTwoIdenticalLines();
    void pickWritesNothingInAnotherMode_data();
    void pickWritesNothingInAnotherMode();
    void pickWithoutSelectionClosesSilently();
    void printedListOverSeveralPages();
    void keyboardOnly();

private:
    // A shown search window with mode "studenti" over the folder's archive.
    std::unique_ptr<TfrmTrovaStudenti> openSearch(TestFolder &folder, PickRecorder *owner)
    {
        auto window = std::make_unique<TfrmTrovaStudenti>(folder.context, owner, owner);
        Forms::setModeTag(window.get(), QStringLiteral("studenti"));
        show(window.get());
        return window;
    }
    static void show(QWidget *window)
    {
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window))
            qWarning("search window not active");
    }
    void cerca(QWidget *window)
    {
        QTest::mouseClick(findControl<QPushButton>(window, QStringLiteral("btnCerca")), Qt::LeftButton);
    }
};

void TestSearchWindow::cercaListsMatchesAndCountsThem()
{
    TestFolder folder;
    writeArchive(StudentFiles::archivePath(folder.context.folder),
                 {card({{R::Studente, "Rossi Mario"}, {R::Corso, "Informatica"}}),
                  card({{R::Studente, "Bianchi Anna"}, {R::Corso, "Informatica"}}),
                  card({{R::Studente, "ROSSINI LUCA"}, {R::Corso, "Disegno"}})});
    auto owner = makeStudentWindow();
    auto window = openSearch(folder, owner.get());
    QCOMPARE(QApplication::focusWidget(), findControl<QLineEdit>(window.get(), "txtStudente"));
    QVERIFY(findControl<QWidget>(window.get(), "panAvvio")->isVisible());
    QVERIFY(!findControl<QWidget>(window.get(), "panContainer")->isVisible());

    QTest::keyClicks(findControl<QLineEdit>(window.get(), "txtStudente"), "ross");
    findControl<QLineEdit>(window.get(), "txtNote")->setText("   ");
    auto *cercaButton = findControl<QPushButton>(window.get(), "btnCerca");
    auto *wait = findControl<QLabel>(window.get(), "lblAttendere");
    QVERIFY(!wait->isVisible());
    QTest::mousePress(cercaButton, Qt::LeftButton);
    QVERIFY(wait->isVisible());
    QTest::mouseRelease(cercaButton, Qt::LeftButton);

    QVERIFY(!findControl<QWidget>(window.get(), "panAvvio")->isVisible());
    QVERIFY(findControl<QWidget>(window.get(), "panContainer")->isVisible());
    QVERIFY(!wait->isVisible());
    QCOMPARE(findControl<QLabel>(window.get(), "lblConta")->text(), QStringLiteral("1"));
    QCOMPARE(findControl<QLabel>(window.get(), "lblTrovate")->text(),
             QStringLiteral("Il presente riepilogo contiene 2 schede"));
    QCOMPARE(QApplication::focusWidget(), findControl<QLineEdit>(window.get(), "txtTrova"));

    auto *list = findControl<QListView>(window.get(), "lstRecords");
    QCOMPARE(list->model()->rowCount(), 2);
    QVERIFY(list->model()->index(0, 0).data().toString().startsWith("Rossi Mario   "));
    QVERIFY(list->model()->index(1, 0).data().toString().startsWith("ROSSINI LUCA  "));
    QCOMPARE(list->model()->index(0, 0).data(Qt::SizeHintRole).toSize().width(), 1600);
    QVERIFY(QFontInfo(list->model()->index(0, 0).data(Qt::FontRole).value<QFont>()).fixedPitch());
}

void TestSearchWindow::cercaOnMissingArchiveListsNothing()
{
    TestFolder folder;
    auto owner = makeStudentWindow();
    auto window = openSearch(folder, owner.get());
    cerca(window.get());
    QVERIFY(QFileInfo::exists(StudentFiles::archivePath(folder.context.folder)));
    QCOMPARE(findControl<QLabel>(window.get(), "lblConta")->text(), QStringLiteral("0"));
    QCOMPARE(findControl<QLabel>(window.get(), "lblTrovate")->text(),
             QStringLiteral("Il presente riepilogo contiene 0 schede"));
    QVERIFY(folder.platform.messages.isEmpty());

    // Trova on the empty list explains itself in a plain box.
    QTest::mouseClick(findControl<QPushButton>(window.get(), "btnTrova"), Qt::LeftButton);
    QCOMPARE(folder.platform.messages.size(), 1);
    QCOMPARE(folder.platform.lastKind(), Platform::MessageKind::Notice);
    QCOMPARE(folder.platform.lastText(),
             QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
}

void TestSearchWindow::cercaFailureKeepsFilterPanel()
{
    TestFolder folder;
    QVERIFY(QDir().mkpath(StudentFiles::archivePath(folder.context.folder)));
    auto owner = makeStudentWindow();
    auto window = openSearch(folder, owner.get());
    findControl<QLineEdit>(window.get(), "txtCorso")->setText("info");
    cerca(window.get());

    QCOMPARE(folder.platform.messages.size(), 1);
    QCOMPARE(folder.platform.lastKind(), Platform::MessageKind::Notice);
    QCOMPARE(folder.platform.lastText(), ArchiveMessages::accessError());
    QVERIFY(findControl<QWidget>(window.get(), "panAvvio")->isVisible());
    QVERIFY(!findControl<QWidget>(window.get(), "panContainer")->isVisible());
    QVERIFY(!findControl<QLabel>(window.get(), "lblAttendere")->isVisible());
    QCOMPARE(findControl<QLineEdit>(window.get(), "txtCorso")->text(), QStringLiteral("info"));
}

void TestSearchWindow::enterKeyAndFrameHighlight()
{
    TestFolder folder;
    auto owner = makeStudentWindow();
    auto window = openSearch(folder, owner.get());
    // Ten Enters walk the table order and come back to the first field; only
    // the focused field's frame is up, lying 4 units outside it.
    for (int step = 0; step <= 10; ++step) {
        const int i = step % 10;
        auto *edit = findControl<QLineEdit>(window.get(), kFilterOrder[i]);
        QCOMPARE(QApplication::focusWidget(), edit);
        for (int k = 0; k < 10; ++k)
            QCOMPARE(findControl<QWidget>(window.get(), kFrames[k])->isVisible(), k == i);
        QCOMPARE(findControl<QWidget>(window.get(), kFrames[i])->geometry(),
                 edit->geometry().adjusted(-4, -4, 4, 4));
        QTest::keyClick(edit, Qt::Key_Return);
    }
    QVERIFY(window->isVisible());

    // A press on Cerca let go outside it searches nothing and leaves no
    // please-wait line behind; Cerca pressed from the keyboard shows none.
    auto *cercaButton = findControl<QPushButton>(window.get(), "btnCerca");
    auto *wait = findControl<QLabel>(window.get(), "lblAttendere");
    QTest::mousePress(cercaButton, Qt::LeftButton);
    QVERIFY(wait->isVisible());
    QTest::mouseRelease(cercaButton, Qt::LeftButton, {}, QPoint(-20, -20));
    QTRY_VERIFY(!wait->isVisible());
    QVERIFY(findControl<QWidget>(window.get(), "panAvvio")->isVisible());
    cercaButton->setFocus();
    QTest::keyClick(cercaButton, Qt::Key_Space);
    QVERIFY(!wait->isVisible());
    QVERIFY(findControl<QWidget>(window.get(), "panContainer")->isVisible());
}

void TestSearchWindow::trovaSelectsLines()
{
    TestFolder folder;
    writeArchive(StudentFiles::archivePath(folder.context.folder),
                 {card({{R::Studente, "Rossi Luca"}}), card({{R::Studente, "Verdi Rosa"}}),
                  card({{R::Studente, "Bianchi"}}), card({{R::Studente, "Rossi Anna"}})});
    auto owner = makeStudentWindow();
    auto window = openSearch(folder, owner.get());
    cerca(window.get());
    auto *list = findControl<QListView>(window.get(), "lstRecords");
    auto *trova = findControl<QLineEdit>(window.get(), "txtTrova");
    auto *button = findControl<QPushButton>(window.get(), "btnTrova");
    const auto selectedRow = [list] {
        const QModelIndexList rows = list->selectionModel()->selectedIndexes();
        return rows.isEmpty() ? -1 : rows.first().row();
    };
    // Bianchi, Rossi Anna, Rossi Luca, Verdi Rosa.
    QTest::keyClicks(trova, "ROSSI");
    QTest::keyClick(trova, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), button);
    QCOMPARE(selectedRow(), -1); // Enter only moves the focus

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(selectedRow(), 1);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(selectedRow(), 2);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(selectedRow(), 1); // wrapped
    trova->setText("gialli");
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(selectedRow(), 1); // nothing found: nothing changes
    trova->setText("ros");
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(selectedRow(), 1); // a new text starts from the top
    QVERIFY(folder.platform.messages.isEmpty());
}

void TestSearchWindow::doubleClickLoadsEveryField()
{
    TestFolder folder;
    writeArchive(StudentFiles::archivePath(folder.context.folder),
                 {fullCard("A"), fullCard("B"), fullCard("C")});
    QImage photo(40, 60, QImage::Format_RGB32);
    photo.fill(Qt::red);
    QVERIFY(StudentFiles::saveStudentPhoto(folder.context.folder, QStringLiteral("2"), photo));

    auto owner = makeStudentWindow();
    for (const bool withPhoto : {true, false}) {
        const qint64 number = withPhoto ? 2 : 3;
        auto window = openSearch(folder, owner.get());
        cerca(window.get());
        doubleClickRow(window.get(), rowOfRecord(*window, number));
        QVERIFY(!window->isVisible());
        QCOMPARE(window->result(), int(QDialog::Accepted));
        QCOMPARE(window->results().size(), 0); // the list is emptied on close

        const StudentRecord expected = withPhoto ? fullCard("B") : fullCard("C");
        for (int f = 0; f < R::FieldCount; ++f)
            QCOMPARE(ownerText(owner.get(), R::Field(f)), expected[R::Field(f)]);
        QCOMPARE(owner->position, QString::number(number));
        const QImage shown = owner->photo;
        if (withPhoto) {
            QCOMPARE(shown.size(), photo.size());
            QVERIFY(qRed(shown.pixel(20, 30)) > 200 && qGreen(shown.pixel(20, 30)) < 60);
        } else {
            QVERIFY(shown.isNull()); // the opener shows its blank picture
        }
    }
    QVERIFY(folder.platform.messages.isEmpty());
}

void TestSearchWindow::doubleClickLoadsTheClickedOfTwoIdenticalLines()
{
    TestFolder folder;
    // Same line, different students: they differ only where the line does not look.
    StudentRecord first = fullCard("X");
    StudentRecord second = fullCard("X");
    second[R::Indirizzo] = QStringLiteral("Via Altra 2");
    second[R::Note] = QStringLiteral("the later one");
    writeArchive(StudentFiles::archivePath(folder.context.folder),
                 {first, card({{R::Studente, "Other"}}), second});

    auto owner = makeStudentWindow();
    for (const qint64 number : {1, 3}) {
        auto window = openSearch(folder, owner.get());
        findControl<QLineEdit>(window.get(), "txtStudente")->setText("x-stud");
        cerca(window.get());
        QCOMPARE(window->results().size(), 2);
        QCOMPARE(window->results().line(0), window->results().line(1));
        doubleClickRow(window.get(), rowOfRecord(*window, number));
        const StudentRecord &expected = number == 1 ? first : second;
        QCOMPARE(owner->position, QString::number(number));
        QCOMPARE(ownerText(owner.get(), R::Note), expected[R::Note]);
        QCOMPARE(ownerText(owner.get(), R::Indirizzo), expected[R::Indirizzo]);
    }
}

void TestSearchWindow::pickWritesNothingInAnotherMode_data()
{
    QTest::addColumn<bool>("picker");
    QTest::addColumn<QString>("mode");
    QTest::newRow("search, no mode") << false << "";
    QTest::newRow("search, other word") << false << "tessera";
    QTest::newRow("search, word in capitals") << false << "STUDENTI";
    QTest::newRow("import picker, the search's word") << true << "studenti";
}

void TestSearchWindow::pickWritesNothingInAnotherMode()
{
    QFETCH(bool, picker);
    QFETCH(QString, mode);
    TestFolder folder;
    writeArchive(StudentFiles::archivePath(folder.context.folder), {fullCard("A")});
    auto owner = makeStudentWindow();
    std::unique_ptr<StudentSearchWindow> window;
    if (picker)
        window = std::make_unique<TfrmImportaStudenti>(folder.context, owner.get(), owner.get());
    else
        window = std::make_unique<TfrmTrovaStudenti>(folder.context, owner.get(), owner.get());
    Forms::setModeTag(window.get(), mode);
    show(window.get());
    cerca(window.get());
    doubleClickRow(window.get(), 0);
    QVERIFY(!window->isVisible());
    for (int f = 0; f < R::FieldCount; ++f)
        QCOMPARE(ownerText(owner.get(), R::Field(f)), QString());
    QCOMPARE(owner->position, QString());
    QVERIFY(owner->photo.isNull());
    QCOMPARE(owner->picks, 0);
}

void TestSearchWindow::pickWithoutSelectionClosesSilently()
{
    TestFolder folder;
    writeArchive(StudentFiles::archivePath(folder.context.folder), {fullCard("A")});
    auto owner = makeStudentWindow();
    auto window = openSearch(folder, owner.get());
    cerca(window.get());
    auto *list = findControl<QListView>(window.get(), "lstRecords");
    // Below the only line: nothing is selected.
    const QPoint below(40, list->viewport()->height() - 10);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, below);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, below);
    QVERIFY(!window->isVisible());
    QCOMPARE(ownerText(owner.get(), R::Studente), QString());
    QCOMPARE(owner->position, QString());
    QVERIFY(folder.platform.messages.isEmpty());
}

void TestSearchWindow::printedListOverSeveralPages()
{
    TestFolder folder;
    QList<StudentRecord> cards;
    QStringList names;
    for (int i = 0; i < 130; ++i) {
        // Stored out of order; the print follows the list's order.
        const int n = (i * 37) % 130;
        const QString name = QStringLiteral("Studente %1").arg(n, 3, 10, QLatin1Char('0'));
        cards << card({{R::Studente, name}, {R::Corso, "Corso"}, {R::Esito, "Idoneo"}});
        names << name;
    }
    cards << card({{R::Studente, "Zeta [DATE]"}});
    names << QStringLiteral("Zeta [DATE]");
    std::sort(names.begin(), names.end());
    writeArchive(StudentFiles::archivePath(folder.context.folder), cards);

    const QString pdf = folder.path(QStringLiteral("lista.pdf"));
    folder.platform.printToPdf = pdf;
    auto owner = makeStudentWindow();
    auto window = openSearch(folder, owner.get());
    cerca(window.get());
    QTest::mouseClick(findControl<QPushButton>(window.get(), "btnStampa"), Qt::LeftButton);
    QCOMPARE(folder.platform.printDialogs, 1);
    QVERIFY(window->isVisible());
    QVERIFY(folder.platform.messages.isEmpty());

    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(pdftotext.waitForFinished(60000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size())));
    // Title on the first page, the footer after the last line.
    QCOMPARE(pages.first().count(QStringLiteral("Riepilogo schede studenti in archivio")), 1);
    QCOMPARE(text.count(QStringLiteral("Riepilogo schede studenti in archivio")), 1);
    QCOMPARE(pages.last().count(QStringLiteral("Stampa eseguita in data 08/12/2026")), 1);
    QCOMPARE(text.count(QStringLiteral("Stampa eseguita in data")), 1);

    // Every line once, in the list's order.
    qsizetype at = 0;
    for (const QString &name : names) {
        QCOMPARE(text.count(name), 1);
        const qsizetype found = text.indexOf(name, at);
        QVERIFY2(found >= 0, qPrintable(name));
        at = found + name.size();
    }
    QVERIFY(text.contains(QStringLiteral("CF:")) && text.contains(QStringLiteral("Esito: Idoneo")));
}

// Ctrl+F searches the archive on the filter panel and the list on the result
// panel: one key, and only the panel shown answers it.
void TestSearchWindow::keyboardOnly()
{
    TestFolder folder;
    writeArchive(StudentFiles::archivePath(folder.context.folder),
                 {card({{R::Studente, "Rossi Luca"}}), card({{R::Studente, "Verdi Rosa"}}),
                  card({{R::Studente, "Bianchi"}}), card({{R::Studente, "Rossi Anna"}})});
    folder.platform.printToPdf = folder.path(QStringLiteral("elenco.pdf"));
    auto owner = makeStudentWindow();
    auto window = openSearch(folder, owner.get());
    auto *list = findControl<QListView>(window.get(), "lstRecords");
    QVERIFY(!list->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
    QTRY_VERIFY(list->isVisible());
    QCOMPARE(list->model()->rowCount(), 4);

    auto *trova = findControl<QLineEdit>(window.get(), "txtTrova");
    trova->setFocus();
    QTest::keyClicks(trova, "ROSSI");
    QTest::keyClick(trova, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(list->selectionModel()->selectedIndexes().value(0).row(), 1);
    QTest::keyClick(trova, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(list->selectionModel()->selectedIndexes().value(0).row(), 2);

    QTest::keyClick(trova, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(folder.platform.printDialogs, 1);
    QVERIFY(folder.platform.messages.isEmpty());
}

QTEST_MAIN(TestSearchWindow)
#include "test_searchwindow.moc"
