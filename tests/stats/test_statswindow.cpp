// The statistics window as the operator uses it: the count in the background
// on the school year of today, the course filter, a bar's count and share
// under the mouse, and the printed pages and the workbook read back.
#include "testutil.h"

#include "archive/studentfiles.h"
#include "register/testrecord.h"
#include "searchfixture.h"
#include "stats/tfrmstatistiche.h"

#include <QBarSet>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

using R = StudentRecord;

namespace {

StudentRecord student(const char *course, const char *klass, const char *sex, const char *birth, const char *start,
                      const char *end, const char *citizenship)
{
    return card({{R::Studente, QStringLiteral("Studente")}, {R::Corso, QString::fromUtf8(course)},
                 {R::Classe, QString::fromUtf8(klass)}, {R::Sesso, QString::fromUtf8(sex)},
                 {R::DataNasc, QString::fromUtf8(birth)}, {R::Inizio, QString::fromUtf8(start)},
                 {R::Fine, QString::fromUtf8(end)}, {R::Cittadinanza, QString::fromUtf8(citizenship)},
                 {R::Studio, QStringLiteral("Diploma")}});
}

// Six students in the 2025/26 school year (three men, two women, one
// without a sex), one of the year before, one whose course dates cannot be
// read; the first has two tests whose results differ in case only.
struct Window
{
    TestFolder data;
    std::unique_ptr<TfrmStatistiche> window;

    Window()
    {
        data.platform.date = QDate(2026, 1, 15);
        writeArchive(StudentFiles::archivePath(data.folder),
                     {student("Cucina", "1A", "M", "01/01/2000", "01/10/2025", "30/06/2026", "Italiana"),
                      student("Cucina", "1A", "F", "01/01/2005", "01/10/2025", "30/06/2026", "Romena"),
                      student("Cucina", "1B", "M", "01/01/1980", "01/10/2025", "30/06/2026", "Italiana"),
                      student("Grafica", "2A", "M", "boh", "01/10/2025", "30/06/2026", ""),
                      student("Grafica", "2A", "F", "01/01/2009", "01/10/2025", "30/06/2026", "Italiana"),
                      student("Grafica", "2A", "?", "01/01/1990", "01/10/2025", "30/06/2026", "Italiana"),
                      student("Saldatura", "3C", "M", "01/01/1990", "01/10/2024", "30/06/2025", "Italiana"),
                      student("Saldatura", "3C", "M", "01/01/1990", "", "", "Italiana")});
        TProva test;
        test[TProva::Data] = QStringLiteral("10/01/2026");
        test[TProva::Prova] = QStringLiteral("Scritto");
        test[TProva::Docente] = QStringLiteral("Rossi");
        test[TProva::Aula] = QStringLiteral("1");
        test[TProva::Esito] = QStringLiteral("Idoneo");
        QByteArray tests = test.encode();
        test[TProva::Esito] = QStringLiteral("IDONEO");
        tests += test.encode();
        data.writeFile(QStringLiteral("Archivio_Prove/Prove_Studente_1.pro"), tests);
        window = std::make_unique<TfrmStatistiche>(data.context);
    }

    template<typename T>
    T *control(const char *name) const
    {
        return findControl<T>(window.get(), QLatin1String(name));
    }

    // Shows the window and waits for its first count.
    bool showCounted()
    {
        QSignalSpy counted(window.get(), &TfrmStatistiche::counted);
        window->show();
        return counted.wait(10000);
    }

    QStringList rows(const char *table) const
    {
        auto *grid = control<QTableWidget>(table);
        QStringList lines;
        for (int r = 0; r < grid->rowCount(); ++r)
            lines << grid->item(r, 0)->text() + QLatin1Char('|') + grid->item(r, 1)->text() + QLatin1Char('|')
                         + grid->item(r, 2)->text();
        return lines;
    }
};

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return QStringLiteral("%1 did not finish").arg(program);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TestStatsWindow : public QObject
{
    Q_OBJECT

private slots:
    void opensOnTheSchoolYearAndCountsInTheBackground();
    void courseFilterCountsOneCourse();
    void periodEndingBeforeItStartsIsNotCounted();
    void barUnderTheMouseShowsCountAndShare();
    void printedPagesCarryPeriodDateChartsAndNumbers();
    void workbookHoldsTheTables();
    void unreadableArchiveIsReported();
};

void TestStatsWindow::opensOnTheSchoolYearAndCountsInTheBackground()
{
    Window w;
    QCOMPARE(w.control<QDateEdit>("dtpDal")->date(), QDate(2025, 9, 1));
    QCOMPARE(w.control<QDateEdit>("dtpAl")->date(), QDate(2026, 8, 31));
    QSignalSpy counted(w.window.get(), &TfrmStatistiche::counted);
    w.window->show();
    // The count has not ended inside show(): the window goes on answering.
    QVERIFY(w.window->isCounting());
    QCOMPARE(w.control<QLabel>("lblStato")->text(), TfrmStatistiche::countingText());
    QVERIFY(!w.control<QPushButton>("btnStampa")->isEnabled());
    QVERIFY(counted.wait(10000));
    QVERIFY(w.control<QLabel>("lblStato")->text().startsWith(TfrmStatistiche::doneText()));
    QVERIFY(w.control<QPushButton>("btnStampa")->isEnabled());
    QCOMPARE(w.rows("tbl_sesso"), QStringList({"Maschi|3|50,0 %", "Femmine|2|33,3 %", "non indicato|1|16,7 %",
                                               "Totale|6|100,0 %"}));
    QCOMPARE(w.rows("tbl_corsi"), QStringList({"Cucina|3|50,0 %", "Grafica|3|50,0 %", "Totale|6|100,0 %"}));
    QCOMPARE(w.rows("tbl_esiti"), QStringList({"IDONEO|2|100,0 %", "Totale|2|100,0 %"}));
    const QString summary = w.control<QLabel>("lblRiepilogo")->text();
    QVERIFY2(summary.contains(QStringLiteral("Schede nell'archivio: 8")), qPrintable(summary));
    QVERIFY2(summary.contains(QStringLiteral("non leggibili (non indicato, in nessun periodo): 1")), qPrintable(summary));
    // The courses of the period are offered as the filter.
    auto *courses = w.control<QComboBox>("cmbCorso");
    QCOMPARE(courses->count(), 3);
    QCOMPARE(courses->itemText(0), QStringLiteral("Tutti i corsi"));
}

void TestStatsWindow::courseFilterCountsOneCourse()
{
    Window w;
    QVERIFY(w.showCounted());
    QSignalSpy counted(w.window.get(), &TfrmStatistiche::counted);
    auto *courses = w.control<QComboBox>("cmbCorso");
    courses->setCurrentIndex(courses->findText(QStringLiteral("Grafica")));
    QVERIFY(counted.wait(10000));
    QCOMPARE(w.rows("tbl_corsi"), QStringList({"Grafica|3|100,0 %", "Totale|3|100,0 %"}));
    QCOMPARE(w.rows("tbl_eta"), QStringList({"meno di 14|0|0,0 %", "14-17|1|33,3 %", "18-24|0|0,0 %",
                                             "25-34|0|0,0 %", "35-49|1|33,3 %", "50 e oltre|0|0,0 %",
                                             "non indicato|1|33,3 %", "Totale|3|100,0 %"}));
    // The other courses stay on offer, the chosen one stays chosen.
    QCOMPARE(courses->count(), 3);
    QCOMPARE(courses->currentText(), QStringLiteral("Grafica"));
}

void TestStatsWindow::periodEndingBeforeItStartsIsNotCounted()
{
    Window w;
    QVERIFY(w.showCounted());
    QSignalSpy counted(w.window.get(), &TfrmStatistiche::counted);
    w.control<QDateEdit>("dtpDal")->setDate(QDate(2026, 9, 1));
    QTRY_COMPARE(w.control<QLabel>("lblStato")->text(), TfrmStatistiche::badPeriodText());
    QVERIFY(!counted.wait(500));
    // Back to a valid period: the previous year holds one student.
    w.control<QDateEdit>("dtpDal")->setDate(QDate(2024, 9, 1));
    w.control<QDateEdit>("dtpAl")->setDate(QDate(2025, 8, 31));
    QTRY_COMPARE_WITH_TIMEOUT(counted.size(), 1, 10000);
    QCOMPARE(w.rows("tbl_corsi"), QStringList({"Saldatura|1|100,0 %", "Totale|1|100,0 %"}));
}

void TestStatsWindow::barUnderTheMouseShowsCountAndShare()
{
    Window w;
    QVERIFY(w.showCounted());
    auto *view = w.control<QChartView>("cht_sesso");
    const auto series = view->chart()->series();
    QCOMPARE(series.size(), 1);
    auto *bars = qobject_cast<QHorizontalBarSeries *>(series.first());
    QVERIFY(bars);
    QBarSet *set = bars->barSets().first();
    // Bottom to top: non indicato, Femmine, Maschi.
    QCOMPARE(set->count(), 3);
    QCOMPARE(set->at(2), 3.0);
    QVERIFY(bars->isLabelsVisible());
    emit set->hovered(true, 2);
    QCOMPARE(w.control<QLabel>("lblDettaglio_sesso")->text(), QStringLiteral("Maschi: 3 studenti (50,0 %)"));
    emit set->hovered(true, 0);
    QCOMPARE(w.control<QLabel>("lblDettaglio_sesso")->text(), QStringLiteral("non indicato: 1 studente (16,7 %)"));
}

void TestStatsWindow::printedPagesCarryPeriodDateChartsAndNumbers()
{
    Window w;
    QVERIFY(w.showCounted());
    const QString pdf = w.data.path(QStringLiteral("statistiche.pdf"));
    w.data.platform.printToPdf = pdf;
    QTest::mouseClick(w.control<QPushButton>("btnStampa"), Qt::LeftButton);
    QCOMPARE(w.data.platform.printDialogs, 1);
    QVERIFY(w.data.platform.messages.isEmpty());
    QVERIFY(QFile::exists(pdf));

    const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QStringList pages = text.split(QLatin1Char('\f'));
    while (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    QVERIFY2(pages.size() >= 2, qPrintable(text));
    for (const QString &page : pages) {
        QVERIFY2(page.contains(QStringLiteral("Statistiche dell'archivio studenti - periodo dal 01/09/2025 al 31/08/2026")),
                 qPrintable(page));
        QVERIFY2(page.contains(QStringLiteral("Stampa eseguita in data 15/01/2026")), qPrintable(page));
    }
    const auto has = [&text](const QString &pattern) {
        return QRegularExpression(pattern).match(text).hasMatch();
    };
    QVERIFY(has(QStringLiteral("Schede nell'archivio: 8")));
    for (const char *title : {"Studenti per corso", "Studenti per classe", "Studenti per sesso",
                              "Studenti per età all'inizio del corso", "Cittadinanza italiana o straniera",
                              "Le dieci cittadinanze più frequenti", "Studenti per titolo di studio",
                              "Prove sostenute per corso", "Esiti delle prove"})
        QVERIFY2(text.contains(QString::fromUtf8(title)), title);
    // Table rows: the group, the count, the share.
    QVERIFY2(has(QStringLiteral("Maschi\\s+3\\s+50,0 %")), qPrintable(text));
    QVERIFY(has(QStringLiteral("non indicato\\s+1\\s+16,7 %")));
    QVERIFY(has(QStringLiteral("Cucina - 1A\\s+2\\s+33,3 %")));
    QVERIFY(has(QStringLiteral("IDONEO\\s+2\\s+100,0 %")));
    // The charts are drawn, not pasted as pictures: their names and counts
    // are text, and the file holds no image.
    QVERIFY(has(QStringLiteral("Femmine\\s+2\\n")));
    const QString images = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    QCOMPARE(images.trimmed().split(QLatin1Char('\n')).size(), 2); // the list's two heading lines
}

void TestStatsWindow::workbookHoldsTheTables()
{
    Window w;
    QVERIFY(w.showCounted());
    w.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
    const QString file = w.data.path(QStringLiteral("Statistiche.xlsx"));
    w.data.platform.saveAnswers.enqueue(file);
    QTest::keyClick(w.window.get(), Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(w.data.platform.proposedNames, QStringList({file}));
    QVERIFY(QFile::exists(file));
    QCOMPARE(w.data.platform.lastKind(), Platform::MessageKind::Notice);
    const QString xml = run(QStringLiteral("unzip"), {QStringLiteral("-p"), file});
    for (const char *cell : {"Studenti per sesso", "Maschi", "50,0 %", "Periodo dal 01/09/2025 al 31/08/2026",
                             "Esiti delle prove (i dieci più frequenti)", "IDONEO"})
        QVERIFY2(xml.contains(QString::fromUtf8(cell)), cell);
}

void TestStatsWindow::unreadableArchiveIsReported()
{
    Window w;
    QFile::remove(StudentFiles::archivePath(w.data.folder));
    QDir().mkpath(StudentFiles::archivePath(w.data.folder));
    QVERIFY(w.showCounted());
    QCOMPARE(w.data.platform.lastKind(), Platform::MessageKind::Error);
    QCOMPARE(w.data.platform.lastText(), ArchiveMessages::accessError());
    QVERIFY(!w.control<QPushButton>("btnStampa")->isEnabled());
}

QTEST_MAIN(TestStatsWindow)
#include "test_statswindow.moc"
