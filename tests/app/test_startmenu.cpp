#include "storefixture.h"
#include "testutil.h"

#include "app/tfrmavvio.h"
#include "help/tfrmguida.h"
#include "stats/tfrmstatistiche.h"
#include "app/tfrminfo.h"
#include "app/tfrmpassword.h"
#include "app/tfrmsplash.h"
#include "app/windowset.h"
#include "base/widgets.h"
#include "card/tfrmtessera.h"
#include "export/tfrmexpstudenti.h"
#include "students/tfrmstudenti.h"

#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace {

// The program started on a temporary folder and logged in.
struct Menu
{
    TestFolder folder;
    std::unique_ptr<WindowSet> windows;

    Menu()
    {
        folder.writeFile(QStringLiteral("unins000.dll"), storeWith(QStringLiteral("pergolatovesca")));
        windows = std::make_unique<WindowSet>(folder.context);
        windows->start();
        auto *field = findControl<QLineEdit>(windows->login(), QStringLiteral("txtPassword"));
        typeText(field, QStringLiteral("pergolatovesca"));
        QTest::keyClick(field, Qt::Key_Return);
    }
    QWidget *menu() const { return windows->startMenu(); }
    void click(const QString &name) const
    {
        QTest::mouseClick(findControl<PictureBox>(menu(), name), Qt::LeftButton);
    }
};

// Runs the event loop as the program does and tells whether `action` ended it.
bool endsProgram(const std::function<void()> &action)
{
    QTimer watchdog;
    watchdog.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    watchdog.start(5000);
    QTimer::singleShot(0, action);
    const int code = QApplication::exec();
    return code == 0 && !timedOut;
}

} // namespace

class TestStartMenu : public QObject
{
    Q_OBJECT
private slots:
    void startRemovesWhatInterruptedWritesLeft();
    // Only the program's own exits may end it here, not the last window closing.
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void keyboardWalksAndOpensTheRows();
    void windowSet();
    void restOfSetWaitsUntilAskedFor();
    void loginBeforeTheRestExists();
    void layout();
    void rowsOpenTheirWindow_data();
    void rowsOpenTheirWindow();
    void exportRow_data();
    void exportRow();
    void statisticsRow_data();
    void statisticsRow();
    void dialogs_data();
    void dialogs();
    void longLivedWindowsReturnToMenu();
    void studentCloseBoxKeepsProgramRunning();
    void webSite();
    void ending_data();
    void ending();
};

void TestStartMenu::startRemovesWhatInterruptedWritesLeft()
{
    // What a save killed half-way leaves: its temporary file beside the
    // store and beside a photo. The operator's own files stay.
    TestFolder folder;
    folder.writeFile(QStringLiteral("unins000.dll"), storeWith(QStringLiteral("pergolatovesca")));
    folder.writeFile(QStringLiteral("unins000.dll.Q7wErt.lumetra-tmp"), "[Accesso]\r\nVal");
    folder.writeFile(QStringLiteral("Anagrafica/Scheda_Studente_1.jpg.a1B2c3.lumetra-tmp"), "\xFF\xD8");
    folder.writeFile(QStringLiteral("unins000.dll.backup"), "copia");
    WindowSet windows(folder.context);
    QVERIFY(!QFile::exists(folder.path(QStringLiteral("unins000.dll.Q7wErt.lumetra-tmp"))));
    QVERIFY(!QFile::exists(folder.path(QStringLiteral("Anagrafica/Scheda_Studente_1.jpg.a1B2c3.lumetra-tmp"))));
    QCOMPARE(folder.readFile(QStringLiteral("unins000.dll.backup")), QByteArray("copia"));
    QCOMPARE(folder.readFile(QStringLiteral("unins000.dll")), storeWith(QStringLiteral("pergolatovesca")));
}

void TestStartMenu::windowSet()
{
    TestFolder folder;
    WindowSet windows(folder.context);
    windows.start();
    const QList<QPair<const char *, const char *>> expected = {
        {"TfrmPassword", " Lumetra - Autenticazione"},
        {"TfrmCambiaPassword", " Cambia password"},
        {"TfrmGuida", " Guida all'utilizzo del software"},
        {"TfrmInfo", " Informazioni su Lumetra"},
        {"TfrmSplash", nullptr},
        {"TfrmAvvio", " Lumetra"},
        {"TfrmStudenti", " Lumetra - Archivio Studenti"},
        {"TfrmZoom", " Fai clic sulla foto per chiudere questa finestra"},
        {"TfrmAllegaCartella", " Allega file"},
        {"TfrmWebCam", " Cattura foto con webcam"},
        {"TfrmCodFisc", " Controllo codice fiscale"},
        {"TfrmPartitaIva", " Controllo partita IVA"},
        {"TfrmSlideshow_Studenti", " Slide show foto studenti"},
        {"TfrmTrovaStudenti", " Trova schede studenti in archivio"},
        {"TfrmAnteprimaStudenti", " Anteprima di stampa"},
        {"TfrmStampaStudenti", " Stampa scheda"},
        {"TfrmProve_Sostenute", " Riepilogo prove sostenute"},
        {"TfrmExpStudenti", " Lumetra - Esportazione in Excel"},
        {"TfrmTessera", " Lumetra - Stampa Tesserini"},
        {"TfrmDatiEnte", " Dati Scuola"},
        {"TfrmStampaTessera", " Stampa tesserino"},
        {"TfrmAnteprimaTessera", " Anteprima di stampa"},
        {"TfrmImportaStudenti", " Importa dati studente da archivio anagrafico"},
    };
    QCOMPARE(windows.all().size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        QWidget *window = windows.all().at(i);
        QCOMPARE(window->metaObject()->className(), expected[i].first);
        if (expected[i].second) // the credits caption belongs to its own window
            QCOMPARE(window->windowTitle(), QString::fromUtf8(expected[i].second));
        QVERIFY(window->isWindow());
        QCOMPARE(window->isVisible(), i == 0);
    }
    QVERIFY(QTest::qWaitForWindowExposed(windows.login()));
}

void TestStartMenu::restOfSetWaitsUntilAskedFor()
{
    TestFolder folder;
    WindowSet windows(folder.context);
    windows.start();
    QVERIFY(QTest::qWaitForWindowExposed(windows.login()));
    // Nothing is built behind the login window while the operator types.
    QTest::qWait(100);
    QCOMPARE(windows.created(), QList<QWidget *>{windows.login()});

    // A window asked for is built alone, once.
    TfrmAvvio *menu = windows.startMenu();
    QCOMPARE(windows.startMenu(), menu);
    QCOMPARE(windows.created(), (QList<QWidget *>{windows.login(), menu}));
    QVERIFY(!menu->isVisible());
    // The whole set keeps its order whatever was built first.
    const QList<QWidget *> all = windows.all();
    QCOMPARE(all.size(), 23);
    QCOMPARE(all.at(5), static_cast<QWidget *>(menu));
    QCOMPARE(windows.created(), all);
}

void TestStartMenu::loginBeforeTheRestExists()
{
    TestFolder folder;
    folder.writeFile(QStringLiteral("unins000.dll"), storeWith(QStringLiteral("pergolatovesca")));
    WindowSet windows(folder.context);
    windows.start();
    auto *field = findControl<QLineEdit>(windows.login(), QStringLiteral("txtPassword"));
    typeText(field, QStringLiteral("pergolatovesca"));
    QCOMPARE(windows.created().size(), 1);
    QTest::keyClick(field, Qt::Key_Return);
    // The start menu comes with the correct password; the student and card
    // windows wait until the menu asks for them.
    QCOMPARE(windows.created().size(), 2);
    QVERIFY(windows.startMenu()->isVisible());
    QVERIFY(!windows.login()->isVisible());
    QTest::mouseClick(findControl<PictureBox>(windows.startMenu(), QStringLiteral("btnStaff")), Qt::LeftButton);
    QCOMPARE(windows.created().size(), 3);
    QVERIFY(windows.students()->isVisible());
    QVERIFY(!windows.startMenu()->isVisible());
}

void TestStartMenu::layout()
{
    Menu program;
    QWidget *menu = program.menu();
    QVERIFY(menu->isVisible());
    QVERIFY(!program.windows->login()->isVisible());
    QCOMPARE(findControl<QWidget>(menu, "panContainer")->size(), QSize(995, 692));
    const QList<QPair<const char *, QRect>> places = {
        {"imgInfo", {14, 14, 30, 30}},       {"imgTitolo", {96, 20, 807, 58}},
        {"imgGuida", {952, 16, 29, 28}},     {"imgSottotitolo", {17, 82, 961, 22}},
        {"imgStaff", {27, 144, 288, 268}},   {"imgExport", {351, 144, 288, 268}},
        {"imgBadges", {675, 144, 288, 268}}, {"btnStaff", {18, 432, 308, 30}},
        {"btnExport", {342, 432, 308, 30}},  {"btnBadges", {666, 432, 308, 30}},
        {"appStaff", {66, 485, 215, 127}},   {"appExport", {390, 485, 215, 127}},
        {"appBadges", {714, 485, 215, 127}}, {"imgSito", {17, 632, 961, 22}},
        {"imgCopyright", {16, 660, 23, 22}}, {"imgEsci", {960, 662, 17, 18}},
        {"btnStatistiche", {342, 110, 308, 28}},
    };
    for (const auto &place : places)
        QCOMPARE(findControl<PictureBox>(menu, QLatin1String(place.first))->geometry(), place.second);
    QCOMPARE(findControl<QWidget>(menu, "linSepara01")->geometry(), QRect(12, 417, 970, 12));
    QCOMPARE(findControl<QWidget>(menu, "linSepara02")->geometry(), QRect(12, 468, 970, 12));
    QCOMPARE(findControl<QWidget>(menu, "imgStaff")->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(findControl<QWidget>(menu, "imgTitolo")->cursor().shape(), Qt::ArrowCursor);
    // The pictures are drawn once shown, at their own size.
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QTRY_VERIFY(!findControl<PictureBox>(menu, "btnStaff")->image().isNull());
    QCOMPARE(findControl<PictureBox>(menu, "btnStaff")->image().size(), QSize(308, 30));
}

void TestStartMenu::rowsOpenTheirWindow_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<bool>("students");
    for (const char *name : {"imgStaff", "btnStaff", "appStaff"})
        QTest::newRow(name) << QString::fromLatin1(name) << true;
    for (const char *name : {"imgBadges", "btnBadges", "appBadges"})
        QTest::newRow(name) << QString::fromLatin1(name) << false;
}

void TestStartMenu::rowsOpenTheirWindow()
{
    QFETCH(QString, picture);
    QFETCH(bool, students);
    Menu program;
    program.click(picture);
    QWidget *target = students ? static_cast<QWidget *>(program.windows->students())
                               : static_cast<QWidget *>(program.windows->card());
    QWidget *other = students ? static_cast<QWidget *>(program.windows->card())
                              : static_cast<QWidget *>(program.windows->students());
    QVERIFY(target->isVisible());
    QVERIFY(target->windowState() & Qt::WindowMaximized);
    QVERIFY(!other->isVisible());
    QVERIFY(!program.menu()->isVisible());
}

void TestStartMenu::exportRow_data()
{
    QTest::addColumn<QString>("picture");
    for (const char *name : {"imgExport", "btnExport", "appExport"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestStartMenu::exportRow()
{
    QFETCH(QString, picture);
    Menu program;
    QWidget *shown = nullptr;
    bool maximised = false;
    whenModalShown<TfrmExpStudenti>([&](TfrmExpStudenti *dialog) {
        shown = dialog;
        maximised = dialog->windowState() & Qt::WindowMaximized;
        QCOMPARE(dialog->parentWidget(), program.menu());
        dialog->close();
    });
    program.click(picture);
    QVERIFY(shown);
    QVERIFY(maximised);
    // A new instance, not the one created at start, and gone once closed.
    QVERIFY(!program.windows->all().contains(shown));
    QVERIFY(program.menu()->findChildren<TfrmExpStudenti *>().isEmpty());
    QVERIFY(program.menu()->isVisible());
}

void TestStartMenu::statisticsRow_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("click on btnStatistiche") << false;
    QTest::newRow("Ctrl+T") << true;
}

void TestStartMenu::statisticsRow()
{
    QFETCH(bool, byKey);
    Menu program;
    QVERIFY(QTest::qWaitForWindowActive(program.menu()));
    QWidget *shown = nullptr;
    bool maximised = false;
    whenModalShown<TfrmStatistiche>([&](TfrmStatistiche *dialog) {
        shown = dialog;
        maximised = dialog->windowState() & Qt::WindowMaximized;
        QCOMPARE(dialog->parentWidget(), program.menu());
        dialog->close();
    });
    if (byKey)
        QTest::keyClick(program.menu(), Qt::Key_T, Qt::ControlModifier);
    else
        program.click(QStringLiteral("btnStatistiche"));
    QVERIFY(shown);
    QVERIFY(maximised);
    QVERIFY(program.menu()->findChildren<TfrmStatistiche *>().isEmpty());
    QVERIFY(program.menu()->isVisible());
}

void TestStartMenu::dialogs_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("className");
    QTest::newRow("about") << "imgInfo" << "TfrmInfo";
    QTest::newRow("credits") << "imgCopyright" << "TfrmSplash";
    QTest::newRow("guide") << "imgGuida" << "TfrmGuida";
}

void TestStartMenu::dialogs()
{
    QFETCH(QString, picture);
    QFETCH(QString, className);
    Menu program;
    QString shown;
    QWidget *parent = nullptr;
    for (int round = 0; round < 2; ++round) {
        whenModalShown<QDialog>([&](QDialog *dialog) {
            shown = QString::fromLatin1(dialog->metaObject()->className());
            parent = dialog->parentWidget();
            dialog->close();
        });
        program.click(picture);
        QCOMPARE(shown, className);
        QCOMPARE(parent, program.menu());
        QVERIFY(program.menu()->findChildren<QDialog *>().isEmpty());
    }
}

void TestStartMenu::longLivedWindowsReturnToMenu()
{
    Menu program;
    program.click(QStringLiteral("imgStaff"));
    QVERIFY(!program.menu()->isVisible());
    // The student window announces its closing; the menu comes back.
    emit program.windows->students()->closedToMenu();
    QVERIFY(program.menu()->isVisible());
    QVERIFY(program.menu()->windowState() & Qt::WindowMaximized);

    program.click(QStringLiteral("btnBadges"));
    QVERIFY(!program.menu()->isVisible());
    emit program.windows->card()->closedToMenu();
    QVERIFY(program.menu()->isVisible());
    QVERIFY(!program.windows->login()->isVisible());
}

void TestStartMenu::studentCloseBoxKeepsProgramRunning()
{
    Menu program;
    program.click(QStringLiteral("imgStaff"));
    // As the program runs: the last window closing would end it.
    QApplication::setQuitOnLastWindowClosed(true);
    bool menuBack = false;
    QTimer closer;
    closer.setSingleShot(true);
    connect(&closer, &QTimer::timeout, [&] { program.windows->students()->close(); });
    QTimer check;
    check.setSingleShot(true);
    connect(&check, &QTimer::timeout, [&] {
        menuBack = program.menu()->isVisible();
        QCoreApplication::exit(7);
    });
    closer.start(0);
    check.start(300);
    const int code = QApplication::exec();
    QApplication::setQuitOnLastWindowClosed(false);
    QCOMPARE(code, 7);
    QVERIFY(menuBack);
    QVERIFY(!program.windows->students()->isVisible());
}

void TestStartMenu::webSite()
{
    Menu program;
    program.click(QStringLiteral("imgSito"));
    QCOMPARE(program.folder.platform.opened, QStringList{QStringLiteral("https://www.lumetra.it")});
    QVERIFY(program.menu()->isVisible());
}

void TestStartMenu::ending_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("exit picture") << false;
    QTest::newRow("close box") << true;
}

void TestStartMenu::ending()
{
    QFETCH(bool, closeBox);
    Menu program;
    QVERIFY(endsProgram([&] {
        if (closeBox)
            program.menu()->close();
        else
            program.click(QStringLiteral("imgEsci"));
    }));
}

// Without a mouse: Tab and the arrow keys walk the three rows and the small
// pictures, Enter or Space opens what has the focus.
void TestStartMenu::keyboardWalksAndOpensTheRows()
{
    Menu m;
    QWidget *menu = m.menu();
    QVERIFY(QTest::qWaitForWindowActive(menu));
    auto *staff = findControl<PictureBox>(menu, QStringLiteral("btnStaff"));
    auto *exportRow = findControl<PictureBox>(menu, QStringLiteral("btnExport"));
    auto *badges = findControl<PictureBox>(menu, QStringLiteral("btnBadges"));
    QTRY_COMPARE(QApplication::focusWidget(), staff);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), exportRow);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QCOMPARE(QApplication::focusWidget(), badges);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), staff);
    QCOMPARE(staff->accessibleName(), QStringLiteral("Archivio studenti"));

    // Enter on the first row opens the student window, as a click does.
    QTest::keyClick(staff, Qt::Key_Return);
    QTRY_VERIFY(m.windows->students()->isVisible());
    m.windows->students()->close();
    QTRY_VERIFY(menu->isVisible());
}

QTEST_MAIN(TestStartMenu)
#include "test_startmenu.moc"
