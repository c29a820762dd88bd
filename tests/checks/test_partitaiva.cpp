#include "checks/partitaiva.h"
#include "checks/tfrmpartitaiva.h"
#include "testutil.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using Kind = Platform::MessageKind;

namespace {
const QString Lunghezza =
    QStringLiteral("Attenzione: la partita IVA deve essere composta da 11 caratteri numerici.");
const QString Errato = QStringLiteral(
    "Attenzione: il numero di partita IVA digitato risulta ERRATO!\r\n\r\n"
    "Non è quindi possibile fornire informazioni relative all'Ufficio IVA che lo ha rilasciato.");

QString valido(const QString &office)
{
    return QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.\r\n\r\n"
                          "E' stato rilasciato dall'Ufficio IVA del Comune di ")
        + office + QStringLiteral(".");
}

} // namespace

class TestPartitaIva : public QObject
{
    Q_OBJECT

private slots:
    void check_data();
    void check();
    void officeTable_data();
    void officeTable();
    void officeTableSize();

    void windowLayout();
    void windowCheck_data();
    void windowCheck();
    void wrongLength_data();
    void wrongLength();
    void tooLongPrefilledCanOnlyBeShortened();
    void keyFilter();
    void pastedTextOnlyDigits();
    void enterMovesToButtonWithoutChecking();
    void modalRunClosesAfterCheck();
};

void TestPartitaIva::check_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("valid");

    // Check digits computed by hand with the Luhn rule.
    QTest::newRow("valid") << "01234560124" << true;
    QTest::newRow("valid, R not 0") << "12345671015" << true;
    QTest::newRow("valid, check digit 0") << "00444441208" << true;
    QTest::newRow("eleven zeros") << "00000000000" << true;
    QTest::newRow("valid, doubled digits over 9") << "09876540403" << true;
    QTest::newRow("wrong check digit") << "01234560125" << false;
    QTest::newRow("one digit changed") << "01234570124" << false;
    QTest::newRow("two digits swapped") << "10234560124" << false;
    QTest::newRow("letter") << "0123456012A" << false;
    QTest::newRow("blank") << "0123456 124" << false;
    QTest::newRow("ten digits") << "0123456012" << false;
    QTest::newRow("twelve digits") << "012345601240" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("arabic-indic digits") << QStringLiteral("٠١٢٣٤٥٦٠١٢٤") << false;
}

void TestPartitaIva::check()
{
    QFETCH(QString, number);
    QFETCH(bool, valid);
    QCOMPARE(PartitaIva::check(number), valid);
}

void TestPartitaIva::officeTable_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("office");
    QTest::newRow("first") << "001" << "Torino";
    QTest::newRow("accent") << "040" << QStringLiteral("Forlì");
    QTest::newRow("roma 1") << "058" << "Roma 1";
    QTest::newRow("monza") << "096" << "Monza (Milano 2)";
    QTest::newRow("chiavari") << "099" << "Chiavari (Genova 2)";
    QTest::newRow("last numbered") << "102" << "Napoli 2";
    QTest::newRow("120 as 101") << "120" << "Bologna 2";
    QTest::newRow("121 as 102") << "121" << "Napoli 2";
    QTest::newRow("000") << "000" << "";
    QTest::newRow("103") << "103" << "";
    QTest::newRow("110") << "110" << "";
    QTest::newRow("122") << "122" << "";
    QTest::newRow("not three digits") << "1" << "";
}

void TestPartitaIva::officeTable()
{
    QFETCH(QString, code);
    QFETCH(QString, office);
    QCOMPARE(PartitaIva::officeName(code), office);
}

void TestPartitaIva::officeTableSize()
{
    QCOMPARE(PartitaIva::officeCount(), 104);
    for (int n = 1; n <= 102; ++n)
        QVERIFY2(!PartitaIva::officeName(QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'))).isEmpty(),
                 qPrintable(QString::number(n)));
}

void TestPartitaIva::windowLayout()
{
    TestFolder folder;
    TfrmPartitaIva dlg(folder.context);
    QCOMPARE(dlg.windowTitle(), QStringLiteral(" Controllo partita IVA"));
    QCOMPARE(dlg.size(), QSize(480, 254));
    QCOMPARE(findControl<QLineEdit>(&dlg, QStringLiteral("txtPartitaIva"))->geometry(), QRect(26, 128, 233, 28));
    QCOMPARE(findControl<QLabel>(&dlg, QStringLiteral("lblTitolo"))->text(),
             QStringLiteral("Immettere il numero di partita IVA e premere il pulsante di controllo."));
}

void TestPartitaIva::windowCheck_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");

    QTest::newRow("office in table") << "12345670587" << int(Kind::Information) << valido(QStringLiteral("Roma 1"));
    QTest::newRow("office 120") << "00444441208" << int(Kind::Information) << valido(QStringLiteral("Bologna 2"));
    QTest::newRow("office 121") << "07654321210" << int(Kind::Information) << valido(QStringLiteral("Napoli 2"));
    QTest::newRow("office with accent") << "09876540403" << int(Kind::Information) << valido(QStringLiteral("Forlì"));
    QTest::newRow("office 000, eleven zeros") << "00000000000" << int(Kind::Information) << valido(QString());
    QTest::newRow("office 110, in no entry") << "12345671106" << int(Kind::Information) << valido(QString());
    QTest::newRow("wrong check digit") << "12345670580" << int(Kind::Warning) << Errato;
}

void TestPartitaIva::windowCheck()
{
    QFETCH(QString, number);
    QFETCH(int, kind);
    QFETCH(QString, message);

    TestFolder folder;
    TfrmPartitaIva dlg(folder.context);
    auto *edit = findControl<QLineEdit>(&dlg, QStringLiteral("txtPartitaIva"));
    QVERIFY(showActive(dlg));
    QTRY_VERIFY(edit->hasFocus());
    QTest::keyClicks(edit, number);
    QCOMPARE(edit->text(), number);
    QTest::mouseClick(findControl<QPushButton>(&dlg, QStringLiteral("btnControlla")), Qt::LeftButton);

    QCOMPARE(folder.platform.messages.size(), 1);
    QCOMPARE(int(folder.platform.lastKind()), kind);
    QCOMPARE(folder.platform.lastText(), message);
    QVERIFY(!dlg.isVisible());
}

void TestPartitaIva::wrongLength_data()
{
    QTest::addColumn<QString>("prefilled");
    QTest::newRow("empty") << "";
    QTest::newRow("ten digits") << "1234567058";
    QTest::newRow("twelve digits") << "123456705870";
    QTest::newRow("twenty digits") << "12345670587012345678";
}

void TestPartitaIva::wrongLength()
{
    QFETCH(QString, prefilled);
    TestFolder folder;
    TfrmPartitaIva dlg(folder.context);
    auto *edit = findControl<QLineEdit>(&dlg, QStringLiteral("txtPartitaIva"));
    edit->setText(prefilled);
    QCOMPARE(edit->text(), prefilled); // a longer number from the caller is not cut
    QVERIFY(showActive(dlg));
    QTest::mouseClick(findControl<QPushButton>(&dlg, QStringLiteral("btnControlla")), Qt::LeftButton);

    QCOMPARE(folder.platform.messages.size(), 1);
    QCOMPARE(folder.platform.lastKind(), Kind::Warning);
    QCOMPARE(folder.platform.lastText(), Lunghezza);
    QVERIFY(dlg.isVisible());
    QTRY_VERIFY(edit->hasFocus());
}

void TestPartitaIva::tooLongPrefilledCanOnlyBeShortened()
{
    TestFolder folder;
    TfrmPartitaIva dlg(folder.context);
    auto *edit = findControl<QLineEdit>(&dlg, QStringLiteral("txtPartitaIva"));
    edit->setText(QStringLiteral("123456705870"));
    QVERIFY(showActive(dlg));
    QTRY_VERIFY(edit->hasFocus());

    QTest::keyClick(edit, Qt::Key_Right);
    QTest::keyClick(edit, Qt::Key_9);
    QCOMPARE(edit->text(), QStringLiteral("123456705870"));
    QApplication::clipboard()->setText(QStringLiteral("9"));
    edit->paste();
    QCOMPARE(edit->text(), QStringLiteral("123456705870"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QStringLiteral("12345670587"));
    QTest::keyClick(edit, Qt::Key_9);
    QCOMPARE(edit->text(), QStringLiteral("12345670587"));
    QTest::mouseClick(findControl<QPushButton>(&dlg, QStringLiteral("btnControlla")), Qt::LeftButton);
    QCOMPARE(folder.platform.lastText(), valido(QStringLiteral("Roma 1")));
}

void TestPartitaIva::keyFilter()
{
    TestFolder folder;
    TfrmPartitaIva dlg(folder.context);
    auto *edit = findControl<QLineEdit>(&dlg, QStringLiteral("txtPartitaIva"));
    QVERIFY(showActive(dlg));
    QTRY_VERIFY(edit->hasFocus());

    // Letters, blanks and punctuation never reach the edit.
    QTest::keyClicks(edit, QStringLiteral("1a2 B3-4.5,/6+"));
    QCOMPARE(edit->text(), QStringLiteral("123456"));
    // Keypad digits carry a digit character.
    QTest::keyClick(edit, Qt::Key_7, Qt::KeypadModifier);
    QCOMPARE(edit->text(), QStringLiteral("1234567"));

    // Arrows, Backspace and Delete edit; Home, End, Up and shortcuts do not.
    QTest::keyClick(edit, Qt::Key_Left);
    QTest::keyClick(edit, Qt::Key_Left);
    QTest::keyClick(edit, Qt::Key_Backspace); // removes 5
    QCOMPARE(edit->text(), QStringLiteral("123467"));
    QTest::keyClick(edit, Qt::Key_Delete); // removes 6
    QCOMPARE(edit->text(), QStringLiteral("12347"));
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Up);
    QTest::keyClick(edit, Qt::Key_0);
    QCOMPARE(edit->text(), QStringLiteral("123407"));
    QTest::keyClick(edit, Qt::Key_Right);
    QTest::keyClick(edit, Qt::Key_9);
    QCOMPARE(edit->text(), QStringLiteral("1234079"));
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QStringLiteral("123407"));

    // No more than 11 digits can be typed.
    QTest::keyClicks(edit, QStringLiteral("123456789"));
    QCOMPARE(edit->text(), QStringLiteral("12340712345"));
    QVERIFY(folder.platform.messages.isEmpty());
}

void TestPartitaIva::pastedTextOnlyDigits()
{
    TestFolder folder;
    TfrmPartitaIva dlg(folder.context);
    auto *edit = findControl<QLineEdit>(&dlg, QStringLiteral("txtPartitaIva"));
    QVERIFY(showActive(dlg));
    QTRY_VERIFY(edit->hasFocus());
    QTest::keyClicks(edit, QStringLiteral("123"));

    // The paste shortcut is a key like any other: discarded.
    QApplication::clipboard()->setText(QStringLiteral("456"));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(edit->text(), QStringLiteral("123"));

    // Pasting through the menu: text with anything but digits is refused
    // whole, digits are taken while the number stays within 11.
    QApplication::clipboard()->setText(QStringLiteral("45a"));
    edit->paste();
    QCOMPARE(edit->text(), QStringLiteral("123"));
    QApplication::clipboard()->setText(QStringLiteral(" 45"));
    edit->paste();
    QCOMPARE(edit->text(), QStringLiteral("123"));
    QApplication::clipboard()->setText(QStringLiteral("45"));
    edit->paste();
    QCOMPARE(edit->text(), QStringLiteral("12345"));
    QApplication::clipboard()->setText(QStringLiteral("6705870"));
    edit->paste();
    QCOMPARE(edit->text(), QStringLiteral("12345"));
    QApplication::clipboard()->setText(QStringLiteral("670587"));
    edit->paste();
    QCOMPARE(edit->text(), QStringLiteral("12345670587"));
}

void TestPartitaIva::enterMovesToButtonWithoutChecking()
{
    TestFolder folder;
    TfrmPartitaIva dlg(folder.context);
    auto *edit = findControl<QLineEdit>(&dlg, QStringLiteral("txtPartitaIva"));
    auto *button = findControl<QPushButton>(&dlg, QStringLiteral("btnControlla"));
    edit->setText(QStringLiteral("00000000000"));
    QVERIFY(showActive(dlg));
    QTRY_VERIFY(edit->hasFocus());

    QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
    QTRY_VERIFY(button->hasFocus());
    QVERIFY(folder.platform.messages.isEmpty());
    QCOMPARE(edit->text(), QStringLiteral("00000000000"));
    // Escape does not close the window; Enter on the focused button checks.
    QTest::keyClick(button, Qt::Key_Escape);
    QVERIFY(dlg.isVisible());
    QTest::keyClick(button, Qt::Key_Return);
    QCOMPARE(folder.platform.lastText(), valido(QString()));
}

void TestPartitaIva::modalRunClosesAfterCheck()
{
    TestFolder folder;
    auto *dlg = new TfrmPartitaIva(folder.context);
    findControl<QLineEdit>(dlg, QStringLiteral("txtPartitaIva"))->setText(QStringLiteral("12345670580"));
    whenModalShown<TfrmPartitaIva>([](TfrmPartitaIva *shown) {
        QTest::mouseClick(shown->findChild<QPushButton *>(QStringLiteral("btnControlla")), Qt::LeftButton);
    });
    dlg->exec();
    QCOMPARE(folder.platform.messages.size(), 1);
    QCOMPARE(folder.platform.lastText(), Errato);
    delete dlg;
}

QTEST_MAIN(TestPartitaIva)
#include "test_partitaiva.moc"
