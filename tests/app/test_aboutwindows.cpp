#include "testutil.h"
#include "linkcheck.h"

#include "app/tfrminfo.h"
#include "app/tfrmsplash.h"
#include "base/widgets.h"

#include <QPushButton>

#include <functional>
#include <memory>

namespace {

using Factory = std::function<QDialog *(const AppContext &, QWidget *)>;

} // namespace

Q_DECLARE_METATYPE(Factory)

// The about window and the credits window: their controls, their links and
// their way out.
class TestAboutWindows : public QObject
{
    Q_OBJECT
private slots:
    void infoLayout();
    void splashLayout();
    void links_data();
    void links();
    void chiudiCloses_data();
    void chiudiCloses();
};

void TestAboutWindows::infoLayout()
{
    TestFolder folder;
    TfrmInfo window(folder.context);
    QVERIFY(showActive(window));
    QCOMPARE(window.windowTitle(), QStringLiteral(" Informazioni su Lumetra"));
    QCOMPARE(window.size(), QSize(473, 579));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(!(window.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
    auto *panel = findControl<QWidget>(&window, "panContainer");
    QCOMPARE(panel->geometry(), QRect(15, 15, 442, 490));
    QCOMPARE(findControl<QWidget>(&window, "shpSfondo")->geometry(), QRect(8, 8, 425, 72));
    QCOMPARE(findControl<QWidget>(&window, "imgLogo")->geometry(), QRect(24, 16, 392, 54));
    QCOMPARE(findControl<QWidget>(&window, "imgLogo")->parentWidget(), panel);
    QVERIFY(!findControl<PictureBox>(&window, "imgLogo")->image().isNull());
    // Chiudi lies where the panel would put it (280, 504), below the panel's
    // edge, and shows whole in the window.
    auto *close = findControl<QPushButton>(&window, "btnChiudi");
    QCOMPARE(close->text(), QStringLiteral("Chiudi"));
    QCOMPARE(close->mapTo(&window, QPoint(0, 0)), panel->pos() + QPoint(280, 504));
    QCOMPARE(close->size(), QSize(161, 41));
    QVERIFY(window.rect().contains(QRect(close->mapTo(&window, QPoint(0, 0)), close->size())));
    QVERIFY(close->isVisible());
    QCOMPARE(QApplication::focusWidget(), close);
    // The envelope and the link lie in the window itself.
    QCOMPARE(findControl<QWidget>(&window, "imgEmail")->parentWidget(), &window);
    QCOMPARE(findControl<QWidget>(&window, "imgEmail")->geometry(), QRect(15, 531, 23, 16));
    auto *link = findControl<QLabel>(&window, "lnkWeb");
    QCOMPARE(link->parentWidget(), &window);
    QCOMPARE(link->pos(), QPoint(46, 528));
    QCOMPARE(link->text(), QStringLiteral("info@lumetra.it"));
    QVERIFY(link->font().underline());
    QVERIFY(link->geometry().right() < close->mapTo(&window, QPoint(0, 0)).x());
    QCOMPARE(linkColour(link), darkBlue());
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(findControl<QWidget>(&window, "imgEmail")->cursor().shape(), Qt::PointingHandCursor);
}

void TestAboutWindows::splashLayout()
{
    TestFolder folder;
    QWidget opener;
    opener.setGeometry(300, 200, 900, 700);
    QVERIFY(showActive(opener));
    TfrmSplash window(folder.context, &opener);
    window.setWindowModality(Qt::ApplicationModal);
    QVERIFY(showActive(window));
    // Names the product and credits its maker.
    QVERIFY(window.windowTitle().startsWith(QStringLiteral(" Lumetra")));
    QVERIFY(window.windowTitle().contains(QStringLiteral("Lumetra Software")));
    QCOMPARE(window.size(), QSize(661, 467));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(!(window.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
    // Centred on the window that opened it.
    QVERIFY((window.frameGeometry().center() - opener.frameGeometry().center()).manhattanLength() <= 2);
    auto *panel = findControl<QWidget>(&window, "panContainer");
    QCOMPARE(panel->geometry(), QRect(9, 9, 642, 448));
    const QList<QPair<const char *, QRect>> places = {
        {"imgLogo", {8, 8, 625, 380}},
        {"imgWeb", {8, 400, 39, 36}},
        {"btnChiudi", {473, 402, 160, 34}},
    };
    for (const auto &place : places) {
        QWidget *control = findControl<QWidget>(&window, QLatin1String(place.first));
        QCOMPARE(control->parentWidget(), panel);
        QCOMPARE(control->geometry(), place.second);
    }
    QVERIFY(!findControl<PictureBox>(&window, "imgLogo")->image().isNull());
    QCOMPARE(findControl<QPushButton>(&window, "btnChiudi")->text(), QStringLiteral("Chiudi"));
    auto *link = findControl<QLabel>(&window, "lnkWeb");
    QCOMPARE(link->pos(), QPoint(54, 409));
    QCOMPARE(link->text(), QStringLiteral("www.lumetra.it"));
    QVERIFY(link->font().underline());
    QCOMPARE(linkColour(link), darkBlue());
    QVERIFY(link->geometry().right() < 473);
}

void TestAboutWindows::links_data()
{
    QTest::addColumn<Factory>("create");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("opened");
    const Factory info = [](const AppContext &c, QWidget *p) { return new TfrmInfo(c, p); };
    const Factory splash = [](const AppContext &c, QWidget *p) { return new TfrmSplash(c, p); };
    // The mail link goes to the shell quoted, subject and body unescaped.
    const QString mail = QStringLiteral("\"mailto:info@lumetra.it?subject=Software Lumetra&body=Salve, "
                                        "desidererei avere le seguenti informazioni sul software in oggetto:\"");
    QTest::newRow("about: e-mail text") << info << "lnkWeb" << mail;
    QTest::newRow("about: envelope") << info << "imgEmail" << mail;
    QTest::newRow("credits: web text") << splash << "lnkWeb" << "https://www.lumetra.it";
    QTest::newRow("credits: globe") << splash << "imgWeb" << "https://www.lumetra.it";
}

void TestAboutWindows::links()
{
    QFETCH(Factory, create);
    QFETCH(QString, control);
    QFETCH(QString, opened);
    TestFolder folder;
    std::unique_ptr<QDialog> window(create(folder.context, nullptr));
    QVERIFY(showActive(*window));
    auto *link = findControl<QLabel>(window.get(), "lnkWeb");
    QWidget *target = findControl<QWidget>(window.get(), control);
    QCOMPARE(target->cursor().shape(), Qt::PointingHandCursor);
    CHECK_LINK_PRESS(target, link);
    QCOMPARE(folder.platform.opened, QStringList{opened});
    // Pressed and released elsewhere, or with another button: nothing more opens.
    QTest::mousePress(target, Qt::LeftButton);
    QCOMPARE(linkColour(link), orange());
    QTest::mouseRelease(target, Qt::LeftButton, {}, QPoint(-5, -5));
    QCOMPARE(linkColour(link), darkBlue());
    QTest::mouseClick(target, Qt::RightButton);
    QCOMPARE(folder.platform.opened.size(), 1);
    QVERIFY(folder.platform.messages.isEmpty());
    QVERIFY(window->isVisible());
}

void TestAboutWindows::chiudiCloses_data()
{
    QTest::addColumn<Factory>("create");
    QTest::newRow("about") << Factory([](const AppContext &c, QWidget *p) { return new TfrmInfo(c, p); });
    QTest::newRow("credits") << Factory([](const AppContext &c, QWidget *p) { return new TfrmSplash(c, p); });
}

void TestAboutWindows::chiudiCloses()
{
    QFETCH(Factory, create);
    TestFolder folder;
    QWidget opener;
    QVERIFY(showActive(opener));
    QDialog *window = create(folder.context, &opener);
    window->setAttribute(Qt::WA_DeleteOnClose);
    bool shown = false;
    whenModalShown<QDialog>([&](QDialog *dialog) {
        shown = true;
        // Escape is no way out; Chiudi is.
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(dialog->isVisible());
        QTest::mouseClick(findControl<QPushButton>(dialog, "btnChiudi"), Qt::LeftButton);
    });
    window->exec();
    QVERIFY(shown);
    QTRY_VERIFY(opener.findChildren<QDialog *>().isEmpty());
}

QTEST_MAIN(TestAboutWindows)
#include "test_aboutwindows.moc"
