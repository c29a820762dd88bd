// The sheet dialogs opened from the real student window: every field the
// sheet shows is found there by name and printed as the window shows it.
#include "report/studentsheet.h"
#include "printing/tfrmstampastudenti.h"

#include "base/widgets.h"
#include "students/tfrmstudenti.h"
#include "testutil.h"

#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

namespace {

QByteArray run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return process.readAllStandardOutput();
}

} // namespace

class TestSheetFromStudentWindow : public QObject
{
    Q_OBJECT
private slots:
    void unsavedCardAndPhotoReachThePrintedSheet();
};

void TestSheetFromStudentWindow::unsavedCardAndPhotoReachThePrintedSheet()
{
    TestFolder folder;
    folder.platform.printToPdf = folder.path(QStringLiteral("scheda.pdf"));
    TfrmStudenti window(folder.context);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // A new card, typed and never saved; each field told apart from the others.
    QStringList expected;
    const QStringList names = StudentSheet::fieldNames();
    for (int i = 0; i < names.size(); ++i) {
        QLineEdit *edit = findControl<QLineEdit>(&window, names.at(i));
        edit->setText(names.at(i) == QLatin1String("txtSesso") ? QStringLiteral("F")
                                                               : QStringLiteral("K%1").arg(i, 2, 10, QLatin1Char('0')));
        expected.append(edit->text());
    }
    QTest::keyClicks(findControl<QLineEdit>(&window, QStringLiteral("txtCorso")), QStringLiteral(" Grafica"));
    expected[names.indexOf(QStringLiteral("txtCorso"))] += QStringLiteral(" Grafica");
    QImage photo(120, 160, QImage::Format_RGB32);
    photo.fill(QColor(0, 160, 0));
    findControl<PictureBox>(&window, QStringLiteral("imgFoto"))->setImage(photo);

    whenModalShown<TfrmStampaStudenti>([](TfrmStampaStudenti *dialog) {
        QCOMPARE(dialog->parentWidget()->objectName(), QStringLiteral("frmStudenti"));
        QTest::mouseClick(findControl<QPushButton>(dialog, QStringLiteral("btnStampa")), Qt::LeftButton);
    });
    QTest::mouseClick(findControl<QWidget>(&window, QStringLiteral("cmdStampa")), Qt::LeftButton);

    QVERIFY2(folder.platform.messages.isEmpty(), qPrintable(folder.platform.lastText()));
    QCOMPARE(folder.platform.printDialogs, 1);
    QVERIFY(QFile::exists(folder.platform.printToPdf));
    const QString text = QString::fromUtf8(run(QStringLiteral("pdftotext"),
                                               {QStringLiteral("-layout"), folder.platform.printToPdf,
                                                QStringLiteral("-")}));
    for (int i = 0; i < names.size(); ++i)
        QVERIFY2(text.contains(expected.at(i)), qPrintable(names.at(i) + QLatin1String(": ") + expected.at(i)));

    // The photo fills the middle of its frame.
    QVERIFY(run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-png"),
                                              QStringLiteral("-singlefile"), folder.platform.printToPdf,
                                              folder.path(QStringLiteral("scheda"))})
                .isEmpty());
    const QImage page(folder.path(QStringLiteral("scheda.png")));
    QVERIFY(!page.isNull());
    const double margin = 10 * 96 / 25.4;
    const QPoint centre(int(margin + 3.78 + 710.55 / 2), int(margin + 41.57 + 529.13 / 2));
    const QColor seen = page.pixelColor(centre);
    QVERIFY2(seen.green() > 120 && seen.red() < 40 && seen.blue() < 40, qPrintable(seen.name()));
}

QTEST_MAIN(TestSheetFromStudentWindow)
#include "test_sheetfromstudentwindow.moc"
