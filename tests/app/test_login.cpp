#include "storefixture.h"
#include "testutil.h"

#include "app/tfrmavvio.h"
#include "app/tfrmcambiapassword.h"
#include "app/tfrmpassword.h"
#include "app/windowset.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using Kind = Platform::MessageKind;

namespace {

const QString kWrong = QStringLiteral("Attenzione: password errata.");
const QString kReadError = QStringLiteral(
    "Attenzione: si è verificato un errore durante la procedura di lettura della password. "
    "Si consiglia di reinstallare il software.");
const QString kChangeError = QStringLiteral(
    "Attenzione: si è verificato un errore durante la procedura di modifica della password. "
    "Si consiglia di reinstallare il software.");
const QString kOldWrong = QStringLiteral("Attenzione: vecchia password errata.");
const QString kNotConfirmed = QStringLiteral(
    "Attenzione: la nuova password non è stata confermata correttamente. "
    "E' necessario reinserire entrambi i valori.");
const QString kChanged = QStringLiteral("Modifica della password completata con successo.");
const QString kNotCarried = QStringLiteral(
    "Attenzione: la nuova password può contenere al massimo 255 caratteri e soltanto lettere, "
    "cifre e simboli dell'alfabeto latino.");

// The program's windows on a temporary folder, started as the program starts.
struct Program
{
    TestFolder folder;
    std::unique_ptr<WindowSet> windows;

    explicit Program(const QByteArray &store = storeWith(QStringLiteral("pergolatovesca")))
    {
        if (!store.isNull())
            folder.writeFile(QStringLiteral("unins000.dll"), store);
        windows = std::make_unique<WindowSet>(folder.context);
        windows->start();
    }
    QWidget *login() const { return windows->login(); }
    QWidget *change() const { return windows->changePassword(); }
    QLineEdit *edit(QWidget *window, const char *name) const
    {
        return findControl<QLineEdit>(window, QLatin1String(name));
    }
    QPushButton *button(QWidget *window, const char *name) const
    {
        return findControl<QPushButton>(window, QLatin1String(name));
    }
    // Types into the login field and presses OK.
    void tryLogin(const QString &text) const
    {
        QLineEdit *field = edit(login(), "txtPassword");
        field->clear();
        typeText(field, text);
        QTest::mouseClick(button(login(), "cmdOK"), Qt::LeftButton);
    }
    void openChange() const
    {
        QTest::mouseClick(button(login(), "btnCambiaPassword"), Qt::LeftButton);
    }
    void fillChange(const QString &oldText, const QString &newText, const QString &confirm) const
    {
        typeText(edit(change(), "txtPasswordOld"), oldText);
        typeText(edit(change(), "txtPasswordNew"), newText);
        typeText(edit(change(), "txtConferma"), confirm);
    }
    void tryChange(const QString &oldText, const QString &newText, const QString &confirm) const
    {
        fillChange(oldText, newText, confirm);
        QTest::mouseClick(button(change(), "cmdOK"), Qt::LeftButton);
    }
    QList<FakePlatform::Message> messages() const { return folder.platform.messages; }
};

bool startMenuShown(const Program &program)
{
    return program.windows->startMenu()->isVisible() && !program.login()->isVisible();
}

} // namespace

class TestLogin : public QObject
{
    Q_OBJECT
private slots:
    // Only the program's own exits may end it here, not the last window closing.
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void layout();
    void login_data();
    void login();
    void okEnabled_data();
    void okEnabled();
    void enterActsAsOk();
    void enterOnBlankDoesNothing();
    void unreadableStore();
    void missingStore();
    void oversizedStoreReadsAsMissing();
    void exitEndsProgram();

    void changeOpensAndCloses();
    void changeOkEnabled_data();
    void changeOkEnabled();
    void changeEnterWalksFields();
    void changeOldWrong();
    void changeConfirmationDiffersInCase();
    void changeSucceedsKeepingOtherLines();
    void changeRefusesWhatCannotBeStored_data();
    void changeRefusesWhatCannotBeStored();
    void changeUnreadableOrUnwritableStore();
    void changeWithMissingStore();
};

void TestLogin::layout()
{
    Program program;
    QWidget *login = program.login();
    QCOMPARE(login->windowTitle(), QStringLiteral(" Lumetra - Autenticazione"));
    QCOMPARE(login->size(), QSize(388, 405));
    QVERIFY(!(login->windowFlags() & Qt::WindowCloseButtonHint));
    QLineEdit *field = program.edit(login, "txtPassword");
    QCOMPARE(field->echoMode(), QLineEdit::Password);
    QVERIFY(!program.button(login, "cmdOK")->isEnabled());
    QCOMPARE(findControl<QWidget>(login, "effPassword")->geometry(), QRect(32, 218, 238, 30));
    QVERIFY(QTest::qWaitForWindowActive(login));
    QCOMPARE(QApplication::focusWidget(), field);
    QVERIFY(findControl<QWidget>(login, "effPassword")->isVisible());
    // Tab order: the field first, OK second; the highlight follows the focus.
    typeText(field, QStringLiteral("x"));
    QTest::keyClick(field, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), program.button(login, "cmdOK"));
    QVERIFY(!findControl<QWidget>(login, "effPassword")->isVisible());
}

void TestLogin::login_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    const QString mixed = QStringLiteral("PergolatoVesca");
    QTest::newRow("lower case") << mixed << QStringLiteral("pergolatovesca") << true;
    QTest::newRow("upper case") << mixed << QStringLiteral("PERGOLATOVESCA") << true;
    QTest::newRow("blanks around") << mixed << QStringLiteral("   pErGoLaToVeScA  ") << true;
    QTest::newRow("wrong") << mixed << QStringLiteral("pergolato") << false;
    QTest::newRow("inner blank matters") << mixed << QStringLiteral("pergolato vesca") << false;
    const QString accented = QStringLiteral("Caffè");
    QTest::newRow("accent, plain letters any case") << accented << QStringLiteral("CAFFè") << true;
    QTest::newRow("accent not case-folded") << accented << QStringLiteral("caffÈ") << false;
}

void TestLogin::login()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    Program program(storeWith(stored));
    program.tryLogin(typed);
    QCOMPARE(startMenuShown(program), accepted);
    if (accepted) {
        QVERIFY(program.messages().isEmpty());
        QVERIFY(program.windows->startMenu()->windowState() & Qt::WindowMaximized);
    } else {
        QCOMPARE(program.messages().size(), 1);
        QCOMPARE(program.folder.platform.lastKind(), Kind::Notice);
        QCOMPARE(program.folder.platform.lastText(), kWrong);
        QVERIFY(program.edit(program.login(), "txtPassword")->text().isEmpty());
        QCOMPARE(program.login()->focusWidget(), program.edit(program.login(), "txtPassword"));
        QVERIFY(!program.button(program.login(), "cmdOK")->isEnabled());
    }
}

void TestLogin::okEnabled_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("blanks") << QStringLiteral("    ") << false;
    QTest::newRow("control characters") << QStringLiteral("\t\x01 ") << false;
    QTest::newRow("one letter among blanks") << QStringLiteral("  x ") << true;
}

void TestLogin::okEnabled()
{
    QFETCH(QString, text);
    QFETCH(bool, enabled);
    Program program;
    QLineEdit *field = program.edit(program.login(), "txtPassword");
    field->setText(QStringLiteral("abc"));
    field->setText(text);
    QCOMPARE(program.button(program.login(), "cmdOK")->isEnabled(), enabled);
}

void TestLogin::enterActsAsOk()
{
    Program program;
    QLineEdit *field = program.edit(program.login(), "txtPassword");
    typeText(field, QStringLiteral("sbagliata"));
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(program.folder.platform.lastText(), kWrong);
    QVERIFY(field->text().isEmpty());

    typeText(field, QStringLiteral("PergolatoVesca"));
    QTest::keyClick(field, Qt::Key_Enter); // keypad Enter too
    QVERIFY(startMenuShown(program));
    QCOMPARE(program.messages().size(), 1);
}

void TestLogin::enterOnBlankDoesNothing()
{
    Program program;
    QLineEdit *field = program.edit(program.login(), "txtPassword");
    typeText(field, QStringLiteral("   "));
    QTest::keyClick(field, Qt::Key_Return);
    QVERIFY(program.messages().isEmpty());
    QVERIFY(program.login()->isVisible());
    QCOMPARE(field->text(), QStringLiteral("   "));
}

void TestLogin::unreadableStore()
{
    Program program("[Accesso]\r\nValore=D4536975EC1C1000080G3CC61CA5\r\n");
    program.tryLogin(QStringLiteral("pergolatovesca"));
    QCOMPARE(program.folder.platform.lastKind(), Kind::Notice);
    QCOMPARE(program.folder.platform.lastText(), kReadError);
    QVERIFY(program.login()->isVisible());
    // The typed text stays as it was.
    QCOMPARE(program.edit(program.login(), "txtPassword")->text(), QStringLiteral("pergolatovesca"));
}

void TestLogin::missingStore()
{
    for (const QByteArray &store : {QByteArray(), QByteArray("[Altro]\r\nValore=00\r\n"),
                                    QByteArray("[Accesso]\r\nAltro=00\r\n"), QByteArray("[Accesso]\r\nValore=\r\n")}) {
        Program program(store);
        program.tryLogin(QStringLiteral("pergolatovesca"));
        QCOMPARE(program.folder.platform.lastText(), kWrong);
        QVERIFY(!startMenuShown(program));
    }
}

void TestLogin::oversizedStoreReadsAsMissing()
{
    // 6 GB with a valid store at its start: never read whole, never trusted.
    Program program(QByteArray{});
    const QString path = program.folder.path(QStringLiteral("unins000.dll"));
    {
        QFile store(path);
        QVERIFY(store.open(QIODevice::WriteOnly));
        store.write(storeWith(QStringLiteral("pergolatovesca")));
        QVERIFY(store.resize(6LL << 30));
    }
    QElapsedTimer clock;
    clock.start();
    program.tryLogin(QStringLiteral("pergolatovesca"));
    QCOMPARE(program.folder.platform.lastText(), kWrong);
    QVERIFY(!startMenuShown(program));

    program.openChange();
    program.tryChange(QStringLiteral("pergolatovesca"), QStringLiteral("nuova"), QStringLiteral("nuova"));
    QCOMPARE(program.folder.platform.lastText(), kOldWrong);
    QCOMPARE(QFileInfo(path).size(), 6LL << 30);
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
}

void TestLogin::exitEndsProgram()
{
    Program program;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    bool timedOut = false;
    connect(&watchdog, &QTimer::timeout, [&] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    watchdog.start(5000);
    QTimer::singleShot(0, [&] { QTest::mouseClick(program.button(program.login(), "cmdEsci"), Qt::LeftButton); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!timedOut);
    QVERIFY(!program.login()->isVisible());
}

void TestLogin::changeOpensAndCloses()
{
    Program program;
    QLineEdit *field = program.edit(program.login(), "txtPassword");
    typeText(field, QStringLiteral("qualcosa"));
    program.openChange();
    QVERIFY(program.change()->isVisible());
    QVERIFY(!program.login()->isVisible());
    QCOMPARE(program.change()->windowTitle(), QStringLiteral(" Cambia password"));
    QCOMPARE(program.change()->focusWidget(), program.edit(program.change(), "txtPasswordOld"));

    // Left with text in it, the window opens empty the next time.
    program.fillChange(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"));
    QTest::mouseClick(program.button(program.change(), "cmdEsci"), Qt::LeftButton);
    QVERIFY(!program.change()->isVisible());
    QVERIFY(program.login()->isVisible());
    QVERIFY(field->text().isEmpty());
    QCOMPARE(program.login()->focusWidget(), field);

    program.openChange();
    for (const char *name : {"txtPasswordOld", "txtPasswordNew", "txtConferma"})
        QVERIFY2(program.edit(program.change(), name)->text().isEmpty(), name);
    QVERIFY(!program.button(program.change(), "cmdOK")->isEnabled());
    QVERIFY(program.messages().isEmpty());
}

void TestLogin::changeOkEnabled_data()
{
    QTest::addColumn<QString>("oldText");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("all filled") << "a" << "b" << "c" << true;
    QTest::newRow("old blank") << "  " << "b" << "c" << false;
    QTest::newRow("new empty") << "a" << "" << "c" << false;
    QTest::newRow("confirmation blank") << "a" << "b" << " " << false;
}

void TestLogin::changeOkEnabled()
{
    QFETCH(QString, oldText);
    QFETCH(QString, newText);
    QFETCH(QString, confirm);
    QFETCH(bool, enabled);
    Program program;
    program.openChange();
    program.fillChange(oldText, newText, confirm);
    QCOMPARE(program.button(program.change(), "cmdOK")->isEnabled(), enabled);
}

void TestLogin::changeEnterWalksFields()
{
    Program program;
    program.openChange();
    QWidget *change = program.change();
    QVERIFY(QTest::qWaitForWindowActive(change));
    program.fillChange(QStringLiteral("pergolatovesca"), QStringLiteral("nuova"), QStringLiteral("nuova"));
    QLineEdit *oldField = program.edit(change, "txtPasswordOld");
    QLineEdit *newField = program.edit(change, "txtPasswordNew");
    QLineEdit *confirm = program.edit(change, "txtConferma");
    oldField->setFocus();
    QTest::keyClick(oldField, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), newField);
    QVERIFY(findControl<QWidget>(change, "effPasswordNew")->isVisible());
    QVERIFY(!findControl<QWidget>(change, "effPasswordOld")->isVisible());
    QTest::keyClick(newField, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), confirm);
    // Enter never changes the password, even with every field right.
    QTest::keyClick(confirm, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), oldField);
    QVERIFY(program.messages().isEmpty());
    QCOMPARE(program.folder.readFile(QStringLiteral("unins000.dll")), storeWith(QStringLiteral("pergolatovesca")));
}

void TestLogin::changeOldWrong()
{
    Program program;
    program.openChange();
    program.tryChange(QStringLiteral("sbagliata"), QStringLiteral("nuova"), QStringLiteral("nuova"));
    QCOMPARE(program.folder.platform.lastKind(), Kind::Notice);
    QCOMPARE(program.folder.platform.lastText(), kOldWrong);
    QVERIFY(program.change()->isVisible());
    QVERIFY(program.edit(program.change(), "txtPasswordOld")->text().isEmpty());
    QCOMPARE(program.edit(program.change(), "txtPasswordNew")->text(), QStringLiteral("nuova"));
    QCOMPARE(program.change()->focusWidget(), program.edit(program.change(), "txtPasswordOld"));
    QCOMPARE(program.folder.readFile(QStringLiteral("unins000.dll")), storeWith(QStringLiteral("pergolatovesca")));
}

void TestLogin::changeConfirmationDiffersInCase()
{
    Program program;
    program.openChange();
    // Both would be stored alike, yet the operator did not type the same.
    program.tryChange(QStringLiteral("PERGOLATOVESCA"), QStringLiteral("Nuova"), QStringLiteral("nuova"));
    QCOMPARE(program.folder.platform.lastText(), kNotConfirmed);
    QCOMPARE(program.edit(program.change(), "txtPasswordOld")->text(), QStringLiteral("PERGOLATOVESCA"));
    QVERIFY(program.edit(program.change(), "txtPasswordNew")->text().isEmpty());
    QVERIFY(program.edit(program.change(), "txtConferma")->text().isEmpty());
    QCOMPARE(program.change()->focusWidget(), program.edit(program.change(), "txtPasswordNew"));
    QCOMPARE(program.folder.readFile(QStringLiteral("unins000.dll")), storeWith(QStringLiteral("pergolatovesca")));
}

void TestLogin::changeSucceedsKeepingOtherLines()
{
    const QByteArray before = "; Lumetra\r\n[Altro]\r\nValore=1234\r\n\r\n[Accesso]\r\nValore="
                              + EncodePassword(QStringLiteral("PERGOLATOVESCA")).toLatin1()
                              + "\r\nNota=conservata \xe8\r\n";
    Program program(before);
    program.openChange();
    // Blanks around the new password and its confirmation are not part of it.
    program.tryChange(QStringLiteral(" pergolatovesca "), QStringLiteral("  Nuova Chiave"),
                      QStringLiteral("Nuova Chiave "));
    QCOMPARE(program.folder.platform.lastKind(), Kind::Notice);
    QCOMPARE(program.folder.platform.lastText(), kChanged);
    QByteArray expected = before;
    expected.replace(EncodePassword(QStringLiteral("PERGOLATOVESCA")).toLatin1(),
                     EncodePassword(QStringLiteral("NUOVA CHIAVE")).toLatin1());
    QCOMPARE(program.folder.readFile(QStringLiteral("unins000.dll")), expected);

    // A change does not log in: back to an empty login field.
    QVERIFY(!program.change()->isVisible());
    QVERIFY(program.login()->isVisible());
    QVERIFY(!program.windows->startMenu()->isVisible());
    QVERIFY(program.edit(program.login(), "txtPassword")->text().isEmpty());

    program.tryLogin(QStringLiteral("pergolatovesca"));
    QCOMPARE(program.folder.platform.lastText(), kWrong);
    program.tryLogin(QStringLiteral("nuova chiave"));
    QVERIFY(startMenuShown(program));
}

void TestLogin::changeRefusesWhatCannotBeStored_data()
{
    QTest::addColumn<QString>("newPassword");
    QTest::newRow("256 characters") << QString(256, QLatin1Char('x'));
    QTest::newRow("beyond the code page") << QStringLiteral("password\u0100");
    QTest::newRow("cyrillic") << QStringLiteral("пароль");
    QTest::newRow("euro sign") << QStringLiteral("nuova€x");
    QTest::newRow("typographic apostrophe") << QStringLiteral("l’ultima");
}

void TestLogin::changeRefusesWhatCannotBeStored()
{
    QFETCH(QString, newPassword);
    Program program;
    program.openChange();
    program.edit(program.change(), "txtPasswordOld")->setText(QStringLiteral("pergolatovesca"));
    program.edit(program.change(), "txtPasswordNew")->setText(newPassword);
    program.edit(program.change(), "txtConferma")->setText(newPassword);
    QTest::mouseClick(program.button(program.change(), "cmdOK"), Qt::LeftButton);
    QCOMPARE(program.messages().size(), 1);
    QCOMPARE(program.folder.platform.lastKind(), Kind::Notice);
    QCOMPARE(program.folder.platform.lastText(), kNotCarried);
    QVERIFY(program.change()->isVisible());
    QVERIFY(program.edit(program.change(), "txtPasswordNew")->text().isEmpty());
    QVERIFY(program.edit(program.change(), "txtConferma")->text().isEmpty());
    QCOMPARE(program.change()->focusWidget(), program.edit(program.change(), "txtPasswordNew"));
    QCOMPARE(program.folder.readFile(QStringLiteral("unins000.dll")), storeWith(QStringLiteral("pergolatovesca")));
}

void TestLogin::changeUnreadableOrUnwritableStore()
{
    {
        Program program("[Accesso]\r\nValore=D4Z3\r\n");
        program.openChange();
        program.tryChange(QStringLiteral("pergolatovesca"), QStringLiteral("nuova"), QStringLiteral("nuova"));
        QCOMPARE(program.folder.platform.lastText(), kChangeError);
        QCOMPARE(program.edit(program.change(), "txtPasswordOld")->text(), QStringLiteral("pergolatovesca"));
        QCOMPARE(program.folder.readFile(QStringLiteral("unins000.dll")), QByteArray("[Accesso]\r\nValore=D4Z3\r\n"));
    }
    Program program;
    const QString store = program.folder.path(QStringLiteral("unins000.dll"));
    LockedFile locked(store);
    if (!locked.ok())
        QSKIP("this file system lets the store be written whatever its flags");
    program.openChange();
    program.tryChange(QStringLiteral("pergolatovesca"), QStringLiteral("nuova"), QStringLiteral("nuova"));
    QCOMPARE(program.messages().size(), 1);
    QCOMPARE(program.folder.platform.lastKind(), Kind::Notice);
    QCOMPARE(program.folder.platform.lastText(), kChangeError);
    // The window stays with its fields as they were.
    QVERIFY(program.change()->isVisible());
    QCOMPARE(program.edit(program.change(), "txtPasswordOld")->text(), QStringLiteral("pergolatovesca"));
    QCOMPARE(program.edit(program.change(), "txtPasswordNew")->text(), QStringLiteral("nuova"));
    QCOMPARE(program.edit(program.change(), "txtConferma")->text(), QStringLiteral("nuova"));
    QCOMPARE(program.folder.readFile(QStringLiteral("unins000.dll")), storeWith(QStringLiteral("pergolatovesca")));
}

void TestLogin::changeWithMissingStore()
{
    Program program{QByteArray()};
    program.openChange();
    program.tryChange(QStringLiteral("qualsiasi"), QStringLiteral("nuova"), QStringLiteral("nuova"));
    QCOMPARE(program.folder.platform.lastText(), kOldWrong);
    QVERIFY(!QFile::exists(program.folder.path(QStringLiteral("unins000.dll"))));
}

QTEST_MAIN(TestLogin)
#include "test_login.moc"
