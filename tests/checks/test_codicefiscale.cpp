#include "checks/codicefiscale.h"
#include "checks/tfrmcodfisc.h"
#include "testutil.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using Kind = Platform::MessageKind;

namespace {
const QString Valido = QStringLiteral("Il codice fiscale digitato è VALIDO.");
const QString Errato = QStringLiteral("Attenzione: il codice fiscale digitato è ERRATO.");
const QString Lunghezza =
    QStringLiteral("Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici.");

} // namespace

class TestCodiceFiscale : public QObject
{
    Q_OBJECT

private slots:
    void check_data();
    void check();
    void upperAsciiLeavesOtherCharacters();

    void windowLayout();
    void windowCheck_data();
    void windowCheck();
    void wrongLengthKeepsWindowOpen_data();
    void wrongLengthKeepsWindowOpen();
    void typingTrimsAndUpperCases();
    void enterMovesToButtonWithoutChecking();
    void closeButtonAndModalRun();
};

void TestCodiceFiscale::check_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("valid");

    // Check characters computed by hand from the published tables.
    QTest::newRow("rossi mario") << "RSSMRA85T10A562S" << true;
    QTest::newRow("bianchi laura") << "BNCLRA92E45F205F" << true;
    QTest::newRow("verdi giuseppe") << "VRDGPP80A01H501U" << true;
    QTest::newRow("omocodia letter") << "RSSMRA85T10A56NH" << true;
    QTest::newRow("omocodia with Q") << "MRTMTT91D08F2Q5Z" << true;
    QTest::newRow("wrong check letter") << "RSSMRA85T10A562T" << false;
    QTest::newRow("one digit changed") << "RSSMRA85T10A563S" << false;
    QTest::newRow("two characters swapped") << "RSSMRA58T10A562S" << false;
    QTest::newRow("digit as check character") << "RSSMRA85T10A5620" << false;
    QTest::newRow("all digits, valid check") << "000000000000000I" << true;
    QTest::newRow("all digits, wrong check") << "000000000000000A" << false;
    // The seven characters between "9" and "A" count 0 in both tables.
    QTest::newRow("colon counts 0") << "RSSMRA85T10A5:2M" << true;
    QTest::newRow("question mark counts 0") << "RSSMRA85T10A5?2M" << true;
    QTest::newRow("at sign counts 0") << "RSSMRA85T10@562S" << true;
    QTest::newRow("equals in first place") << "=SSMRA85T10A562K" << true;
    QTest::newRow("colon with digit's check") << "RSSMRA85T10A5:2S" << false;
    // Outside "0" to "Z": never valid, whatever the check character.
    QTest::newRow("blank inside") << "RSSMRA85 10A562S" << false;
    QTest::newRow("hyphen inside") << "RSSMRA85-10A562S" << false;
    QTest::newRow("accented letter") << QStringLiteral("RSSMRÀ85T10A562S") << false;
    QTest::newRow("bracket above Z") << "RSSMRA85T10A562[" << false;
    QTest::newRow("lower case not accepted raw") << "rssmra85t10a562s" << false;
    QTest::newRow("underscore above Z") << "RSSMRA85T1_A562S" << false;
    QTest::newRow("control character") << QStringLiteral("RSSMRA85T1\x01" "A562S") << false;
    QTest::newRow("15 characters") << "RSSMRA85T10A562" << false;
    QTest::newRow("17 characters") << "RSSMRA85T10A562SS" << false;
    QTest::newRow("empty") << "" << false;
}

void TestCodiceFiscale::check()
{
    QFETCH(QString, code);
    QFETCH(bool, valid);
    QCOMPARE(CodiceFiscale::check(code), valid);
}

void TestCodiceFiscale::upperAsciiLeavesOtherCharacters()
{
    QCOMPARE(CodiceFiscale::upperAscii(QStringLiteral("abz AZ09-àé:@ß")), QStringLiteral("ABZ AZ09-àé:@ß"));
}

void TestCodiceFiscale::windowLayout()
{
    TestFolder folder;
    TfrmCodFisc dlg(folder.context);
    QCOMPARE(dlg.windowTitle(), QStringLiteral(" Controllo codice fiscale"));
    QCOMPARE(dlg.size(), QSize(478, 254));
    auto *edit = findControl<QLineEdit>(&dlg, QStringLiteral("txtCodFisc"));
    QCOMPARE(edit->maxLength(), 16);
    QCOMPARE(edit->geometry(), QRect(26, 128, 233, 28));
    QCOMPARE(findControl<QPushButton>(&dlg, QStringLiteral("btnControlla"))->text(), QStringLiteral("Controlla"));
    QCOMPARE(findControl<QPushButton>(&dlg, QStringLiteral("btnChiudi"))->text(), QStringLiteral("Chiudi"));
    QCOMPARE(findControl<QLabel>(&dlg, QStringLiteral("lblTitolo"))->text(),
             QStringLiteral("Immettere il codice fiscale e premere il pulsante di controllo."));
}

void TestCodiceFiscale::windowCheck_data()
{
    QTest::addColumn<QString>("prefilled");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");

    QTest::newRow("valid typed") << "" << "RSSMRA85T10A562S" << int(Kind::Information) << Valido;
    QTest::newRow("valid typed lower case") << "" << "rssmra85t10a562s" << int(Kind::Information) << Valido;
    QTest::newRow("valid pre-filled lower case") << "rssmra85t10a562s" << "" << int(Kind::Information) << Valido;
    QTest::newRow("punctuation counts 0") << "RSSMRA85T10A5:2M" << "" << int(Kind::Information) << Valido;
    QTest::newRow("wrong check letter") << "" << "RSSMRA85T10A562T" << int(Kind::Warning) << Errato;
    QTest::newRow("digit as check character") << "RSSMRA85T10A5620" << "" << int(Kind::Warning) << Errato;
    QTest::newRow("blank inside") << "RSSMRA85 10A562S" << "" << int(Kind::Warning) << Errato;
    QTest::newRow("hyphen typed") << "" << "RSSMRA85-10A562S" << int(Kind::Warning) << Errato;
}

void TestCodiceFiscale::windowCheck()
{
    QFETCH(QString, prefilled);
    QFETCH(QString, typed);
    QFETCH(int, kind);
    QFETCH(QString, message);

    TestFolder folder;
    TfrmCodFisc dlg(folder.context);
    auto *edit = findControl<QLineEdit>(&dlg, QStringLiteral("txtCodFisc"));
    edit->setText(prefilled);
    QVERIFY(showActive(dlg));
    QTRY_VERIFY(edit->hasFocus());
    QTest::keyClicks(edit, typed);
    QTest::mouseClick(findControl<QPushButton>(&dlg, QStringLiteral("btnControlla")), Qt::LeftButton);

    QCOMPARE(folder.platform.messages.size(), 1);
    QCOMPARE(int(folder.platform.lastKind()), kind);
    QCOMPARE(folder.platform.lastText(), message);
    QVERIFY(!dlg.isVisible()); // a completed check closes the window
}

void TestCodiceFiscale::wrongLengthKeepsWindowOpen_data()
{
    QTest::addColumn<QString>("prefilled");
    QTest::newRow("empty") << "";
    QTest::newRow("15 characters") << "RSSMRA85T10A562";
    QTest::newRow("one character") << "R";
}

void TestCodiceFiscale::wrongLengthKeepsWindowOpen()
{
    QFETCH(QString, prefilled);
    TestFolder folder;
    TfrmCodFisc dlg(folder.context);
    auto *edit = findControl<QLineEdit>(&dlg, QStringLiteral("txtCodFisc"));
    auto *button = findControl<QPushButton>(&dlg, QStringLiteral("btnControlla"));
    edit->setText(prefilled);
    QVERIFY(showActive(dlg));
    QTest::mouseClick(button, Qt::LeftButton);

    QCOMPARE(folder.platform.messages.size(), 1);
    QCOMPARE(folder.platform.lastKind(), Kind::Warning);
    QCOMPARE(folder.platform.lastText(), Lunghezza);
    QVERIFY(dlg.isVisible());
    QTRY_VERIFY(edit->hasFocus());

    // The operator completes the code and checks again.
    edit->setText(QStringLiteral("RSSMRA85T10A562S"));
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(folder.platform.lastText(), Valido);
    QVERIFY(!dlg.isVisible());
}

void TestCodiceFiscale::typingTrimsAndUpperCases()
{
    TestFolder folder;
    TfrmCodFisc dlg(folder.context);
    auto *edit = findControl<QLineEdit>(&dlg, QStringLiteral("txtCodFisc"));
    QVERIFY(showActive(dlg));
    QTRY_VERIFY(edit->hasFocus());

    QTest::keyClicks(edit, QStringLiteral(" rss"));
    QCOMPARE(edit->text(), QStringLiteral("RSS"));
    QTest::keyClick(edit, Qt::Key_Space);
    QCOMPARE(edit->text(), QStringLiteral("RSS"));
    // Only a to z change case; typing in the middle keeps the caret there.
    QTest::keyClick(edit, Qt::Key_Left);
    QTest::sendKeyEvent(QTest::Press, edit, Qt::Key_Egrave, QStringLiteral("è"), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, edit, Qt::Key_Egrave, QStringLiteral("è"), Qt::NoModifier);
    QCOMPARE(edit->text(), QStringLiteral("RSèS"));
    QTest::keyClicks(edit, QStringLiteral("m"));
    QCOMPARE(edit->text(), QStringLiteral("RSèMS"));
    // No more than 16 characters can be typed.
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, QStringLiteral("abcdefghijklmnopqrst"));
    QCOMPARE(edit->text().size(), 16);
}

void TestCodiceFiscale::enterMovesToButtonWithoutChecking()
{
    TestFolder folder;
    TfrmCodFisc dlg(folder.context);
    auto *edit = findControl<QLineEdit>(&dlg, QStringLiteral("txtCodFisc"));
    auto *button = findControl<QPushButton>(&dlg, QStringLiteral("btnControlla"));
    edit->setText(QStringLiteral("RSSMRA85T10A562S"));
    QVERIFY(showActive(dlg));
    QTRY_VERIFY(edit->hasFocus());

    QTest::keyClick(edit, Qt::Key_Return);
    QTRY_VERIFY(button->hasFocus());
    QVERIFY(folder.platform.messages.isEmpty());
    QVERIFY(dlg.isVisible());
    // Escape does not close the window; Enter on the focused button checks.
    QTest::keyClick(button, Qt::Key_Escape);
    QVERIFY(dlg.isVisible());
    QTest::keyClick(button, Qt::Key_Return);
    QCOMPARE(folder.platform.lastText(), Valido);
}

void TestCodiceFiscale::closeButtonAndModalRun()
{
    TestFolder folder;
    auto *dlg = new TfrmCodFisc(folder.context);
    findControl<QLineEdit>(dlg, QStringLiteral("txtCodFisc"))->setText(QStringLiteral("RSSMRA85T10A562S"));
    bool sawFocus = false;
    whenModalShown<TfrmCodFisc>([&sawFocus](TfrmCodFisc *shown) {
        sawFocus = QApplication::focusWidget() == shown->findChild<QLineEdit *>(QStringLiteral("txtCodFisc"));
        QTest::mouseClick(shown->findChild<QPushButton *>(QStringLiteral("btnChiudi")), Qt::LeftButton);
    });
    dlg->exec();
    QVERIFY(sawFocus);
    QVERIFY(folder.platform.messages.isEmpty());
    delete dlg;
}

QTEST_MAIN(TestCodiceFiscale)
#include "test_codicefiscale.moc"
