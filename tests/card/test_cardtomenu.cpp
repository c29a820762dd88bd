// The ID card window in the running program: every way out of it leads back
// to the start menu, never out of the program.
#include "../app/storefixture.h"
#include "testutil.h"

#include "app/tfrmavvio.h"
#include "app/tfrmpassword.h"
#include "app/windowset.h"
#include "base/widgets.h"
#include "card/tfrmtessera.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

class TestCardToMenu : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void everyWayOutLeadsToTheMenu_data();
    void everyWayOutLeadsToTheMenu();
};

void TestCardToMenu::everyWayOutLeadsToTheMenu_data()
{
    QTest::addColumn<QString>("row"); // the start menu's picture that opens the card window
    QTest::addColumn<bool>("closeBox");

    QTest::newRow("close box") << "imgBadges" << true;
    QTest::newRow("Esci") << "btnBadges" << false;
    QTest::newRow("close box, from the note") << "appBadges" << true;
}

void TestCardToMenu::everyWayOutLeadsToTheMenu()
{
    QFETCH(QString, row);
    QFETCH(bool, closeBox);

    TestFolder folder;
    folder.writeFile(QStringLiteral("unins000.dll"), storeWith(QStringLiteral("pergolatovesca")));
    WindowSet windows(folder.context);
    windows.start();
    auto *password = findControl<QLineEdit>(windows.login(), QStringLiteral("txtPassword"));
    typeText(password, QStringLiteral("pergolatovesca"));
    QTest::keyClick(password, Qt::Key_Return);
    QWidget *menu = windows.startMenu();
    TfrmTessera *card = windows.card();

    for (int round = 0; round < 2; ++round) {
        QTest::mouseClick(findControl<PictureBox>(menu, row), Qt::LeftButton);
        QVERIFY(card->isVisible());
        QVERIFY(card->windowState() & Qt::WindowMaximized);
        QVERIFY(!menu->isVisible());

        // As the program runs: the last window closing would end it.
        QApplication::setQuitOnLastWindowClosed(true);
        bool menuBack = false;
        bool cardHidden = false;
        QTimer::singleShot(0, card, [&] {
            if (closeBox)
                card->close();
            else
                QTest::mouseClick(findControl<PictureBox>(card, QStringLiteral("imgEsci")), Qt::LeftButton);
        });
        QTimer::singleShot(300, menu, [&] {
            menuBack = menu->isVisible();
            cardHidden = !card->isVisible();
            QCoreApplication::exit(7);
        });
        const int code = QApplication::exec();
        QApplication::setQuitOnLastWindowClosed(false);

        QCOMPARE(code, 7);
        QVERIFY(menuBack);
        QVERIFY(cardHidden);
        QVERIFY(menu->windowState() & Qt::WindowMaximized);
        QVERIFY(QFile::exists(folder.path(QStringLiteral("Lumetra.ini"))));
    }
    QVERIFY(folder.platform.messages.isEmpty());
}

QTEST_MAIN(TestCardToMenu)
#include "test_cardtomenu.moc"
