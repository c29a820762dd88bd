// The import picker opened from the ID card window: the student of the line
// double-clicked lands on the card, and nothing else changes.
#include "cardfixture.h"

#include "base/forms.h"
#include "search/tfrmimportastudenti.h"

#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QtTest>

namespace {

// Two students whose list lines read the same (name, tax code, course,
// class, exam date and result) but whose card data differ (start and end
// dates, photo).
StudentRecord twin(const QString &start, const QString &end)
{
    StudentRecord record = cardRecord(1);
    record[StudentRecord::Studente] = QStringLiteral("Gemelli Anna");
    record[StudentRecord::Inizio] = start;
    record[StudentRecord::Fine] = end;
    return record;
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
    auto *list = findControl<QListView>(window, QStringLiteral("lstRecords"));
    const QModelIndex index = list->model()->index(row, 0);
    QTRY_VERIFY(list->visualRect(index).isValid());
    const QPoint at(list->visualRect(index).left() + 20, list->visualRect(index).center().y());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

void search(QWidget *picker, const QString &name)
{
    findControl<QLineEdit>(picker, QStringLiteral("txtStudente"))->setText(name);
    QTest::mouseClick(findControl<QPushButton>(picker, QStringLiteral("btnCerca")), Qt::LeftButton);
}

} // namespace

class TestCardImport : public QObject
{
    Q_OBJECT

private slots:
    void pickedStudentLandsOnTheCard_data();
    void pickedStudentLandsOnTheCard();
    void pickerOpening_data();
    void pickerOpening();
    void closedPickerChangesNothing_data();
    void closedPickerChangesNothing();
};

void TestCardImport::pickedStudentLandsOnTheCard_data()
{
    QTest::addColumn<QString>("name");   // typed into the name filter
    QTest::addColumn<int>("record");     // the record whose line is double-clicked
    QTest::addColumn<int>("lines");      // lines the search lists

    QTest::newRow("first of two identical lines") << "Gemelli" << 1 << 2;
    QTest::newRow("second of two identical lines") << "Gemelli" << 3 << 2;
    QTest::newRow("a student without a photo") << "Bianchi" << 2 << 1;
    QTest::newRow("a student without a class") << "Senza" << 4 << 1;
}

void TestCardImport::pickedStudentLandsOnTheCard()
{
    QFETCH(QString, name);
    QFETCH(int, record);
    QFETCH(int, lines);

    CardWindow w;
    StudentRecord noClass = cardRecord(4);
    noClass[StudentRecord::Studente] = QStringLiteral("Senza Classe");
    noClass[StudentRecord::Classe] = QString();
    StudentRecord noPhoto = cardRecord(2);
    noPhoto[StudentRecord::Studente] = QStringLiteral("Bianchi Luca");
    const QList<StudentRecord> records{twin(QStringLiteral("01/09/2026"), QStringLiteral("30/06/2027")), noPhoto,
                                       twin(QStringLiteral("15/01/2027"), QStringLiteral("15/12/2027")), noClass};
    writeCards(w.folder, records);
    w.folder.writeFile(photoFile(1), encoded(stripes(50, 60, Qt::red), "JPG"));
    w.folder.writeFile(photoFile(3), encoded(stripes(70, 90, Qt::blue), "JPG"));
    w.folder.writeFile(photoFile(4), encoded(stripes(80, 100), "JPG"));
    w.folder.writeFile(QStringLiteral("Lumetra.ini"), "[Scuola]\r\nDenominazione=Istituto Volta\r\n");
    w.show();
    const QImage logo = w.logo();
    const QStringList school = w.school();

    int listed = -1;
    whenModalShown<TfrmImportaStudenti>([&](TfrmImportaStudenti *picker) {
        search(picker, name);
        listed = int(picker->results().size());
        doubleClickRow(picker, rowOfRecord(*picker, record));
    });
    w.click(QStringLiteral("cmdTrova"));

    QCOMPARE(listed, lines);
    if (lines == 2)
        QCOMPARE(records[0][StudentRecord::Studente], records[2][StudentRecord::Studente]);
    QCOMPARE(w.student(), studentOf(records[record - 1]));
    QCOMPARE(w.position(), QString::number(record));
    const QMap<int, QSize> photos{{1, QSize(50, 60)}, {3, QSize(70, 90)}, {4, QSize(80, 100)}};
    if (photos.contains(record))
        QCOMPARE(w.photo().size(), photos[record]);
    else
        QVERIFY(w.showsBlankPhoto());
    QCOMPARE(w.school(), school);
    QCOMPARE(w.logo(), logo);
    QVERIFY(w.window->findChildren<QDialog *>().isEmpty());
    QCOMPARE(w.messageCount(), 0);

    // Browsing goes on from the student picked.
    w.click(QStringLiteral("cmdAvanti"));
    QCOMPARE(w.position(), QString::number(qMin(record + 1, 4)));
}

void TestCardImport::pickerOpening_data()
{
    QTest::addColumn<bool>("key");
    QTest::newRow("Trova") << false;
    QTest::newRow("Ctrl+F") << true;
}

void TestCardImport::pickerOpening()
{
    QFETCH(bool, key);

    CardWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(w.window));
    QString caption;
    QString mode;
    QWidget *parent = nullptr;
    whenModalShown<TfrmImportaStudenti>([&](TfrmImportaStudenti *picker) {
        caption = picker->windowTitle();
        mode = findControl<QLabel>(picker, QStringLiteral("lblMemory"))->text();
        parent = picker->parentWidget();
        picker->reject();
    });

    if (key)
        QTest::keyClick(w.window, Qt::Key_F, Qt::ControlModifier);
    else
        w.click(QStringLiteral("cmdTrova"));

    QCOMPARE(caption, QStringLiteral(" Importa dati studente da archivio anagrafico"));
    QCOMPARE(mode, QStringLiteral("tessera"));
    QCOMPARE(parent, w.window);
    QVERIFY(w.window->findChildren<QDialog *>().isEmpty());
}

void TestCardImport::closedPickerChangesNothing_data()
{
    QTest::addColumn<bool>("afterSearch");
    QTest::newRow("Chiudi on the filters") << false;
    QTest::newRow("Chiudi on the results") << true;
}

void TestCardImport::closedPickerChangesNothing()
{
    QFETCH(bool, afterSearch);

    CardWindow w;
    writeCards(w.folder, {cardRecord(1), cardRecord(2)});
    w.show();
    w.click(QStringLiteral("cmdUltimo"));
    const QStringList before = w.student();

    whenModalShown<TfrmImportaStudenti>([&](TfrmImportaStudenti *picker) {
        if (afterSearch)
            search(picker, QStringLiteral("Verdi"));
        const char *chiudi = afterSearch ? "btnChiudi" : "btnAnnulla";
        QTest::mouseClick(findControl<QPushButton>(picker, QString::fromLatin1(chiudi)), Qt::LeftButton);
    });
    w.click(QStringLiteral("cmdTrova"));

    QCOMPARE(w.student(), before);
    QCOMPARE(w.position(), QStringLiteral("2"));
}

QTEST_MAIN(TestCardImport)
#include "test_cardimport.moc"
