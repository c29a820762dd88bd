#include "search/tfrmtrovastudenti.h"
#include "students/tfrmstudenti.h"

#include "base/widgets.h"
#include "archive/studentfiles.h"
#include "searchfixture.h"
#include "testutil.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QtTest>

using R = StudentRecord;

// The search as the student window really opens it: the pick lands in that
// window's own controls.
class TestSearchFromStudents : public QObject
{
    Q_OBJECT

private slots:
    void pickLandsInTheStudentWindow();
};

void TestSearchFromStudents::pickLandsInTheStudentWindow()
{
    TestFolder folder;
    StudentRecord anna = card({{R::Studente, "Bianchi Anna"}, {R::Sesso, "F"}, {R::Corso, "Grafica"},
                               {R::Classe, "2B"}, {R::Note, "seconda"}, {R::File02, "tesi.pdf"},
                               {R::Desc02, "Tesi finale"}});
    writeArchive(StudentFiles::archivePath(folder.context.folder),
                 {card({{R::Studente, "Rossi Mario"}, {R::Corso, "Informatica"}}), anna});
    QImage photo(30, 40, QImage::Format_RGB32);
    photo.fill(Qt::green);
    QVERIFY(StudentFiles::saveStudentPhoto(folder.context.folder, QStringLiteral("2"), photo));

    TfrmStudenti students(folder.context);
    students.show();
    QVERIFY(QTest::qWaitForWindowExposed(&students));

    bool picked = false;
    whenModalShown<TfrmTrovaStudenti>([&](TfrmTrovaStudenti *search) {
        search->findChild<QLineEdit *>(QStringLiteral("txtCorso"))->setText(QStringLiteral("GRAF"));
        QTest::mouseClick(search->findChild<QPushButton *>(QStringLiteral("btnCerca")), Qt::LeftButton);
        auto *list = search->findChild<QListView *>(QStringLiteral("lstRecords"));
        if (list->model()->rowCount() != 1) {
            search->reject();
            return;
        }
        QTRY_VERIFY(list->visualRect(list->model()->index(0, 0)).isValid());
        const QPoint at(20, list->visualRect(list->model()->index(0, 0)).center().y());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        picked = true;
    });
    auto *find = findControl<PictureBox>(&students, QStringLiteral("cmdTrova"));
    QTest::mouseClick(find, Qt::LeftButton);
    QVERIFY(picked);

    for (int f = 0; f < R::File01; ++f)
        QCOMPARE(findControl<QLineEdit>(&students, R::controlName(R::Field(f)))->text(), anna[R::Field(f)]);
    for (int f = R::File01; f < R::FieldCount; ++f)
        QCOMPARE(findControl<QLabel>(&students, R::controlName(R::Field(f)))->text(), anna[R::Field(f)]);
    QCOMPARE(findControl<QLabel>(&students, QStringLiteral("lblPosizione"))->text(), QStringLiteral("2"));
    QCOMPARE(findControl<PictureBox>(&students, QStringLiteral("imgFoto"))->image().size(), photo.size());
}

QTEST_MAIN(TestSearchFromStudents)
#include "test_searchfromstudents.moc"
