#include "testutil.h"
#include "linkcheck.h"

#include "base/widgets.h"
#include "help/tfrmguida.h"

#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

using HelpTexts::Topic;
Q_DECLARE_METATYPE(HelpTexts::Topic)

namespace {

// The memo shows each CR LF of a body as one line break.
QString shownBody(Topic topic)
{
    return HelpTexts::text(topic).body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

} // namespace

class TestGuideWindow : public QObject
{
    Q_OBJECT
private slots:
    void layout();
    void showHelp_data();
    void showHelp();
    void memoScrollsAndCannotBeEdited();
    void link_data();
    void link();
    void linkNeedsACompletedLeftClick();
    void closesOnlyThroughItsButton();
};

void TestGuideWindow::layout()
{
    TestFolder folder;
    TfrmGuida window(folder.context);
    QVERIFY(showActive(window));
    QCOMPARE(window.windowTitle(), QStringLiteral(" Guida all'utilizzo del software"));
    QCOMPARE(window.size(), QSize(670, 572));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(!(window.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
    auto *panel = findControl<QWidget>(&window, "panContainer");
    QCOMPARE(panel->geometry(), QRect(14, 16, 642, 540));
    const QList<QPair<const char *, QRect>> places = {
        {"shpSfondo", {8, 8, 625, 89}},    {"imgLogo", {24, 16, 587, 69}},
        {"txtGuida", {8, 128, 625, 350}},  {"imgPDF", {8, 496, 27, 27}},
        {"btnChiudi", {472, 490, 161, 38}},
    };
    for (const auto &place : places) {
        QWidget *control = findControl<QWidget>(&window, QLatin1String(place.first));
        QCOMPARE(control->parentWidget(), panel);
        QCOMPARE(control->geometry(), place.second);
    }
    auto *title = findControl<QLabel>(&window, "lblTitolo");
    QCOMPARE(title->pos(), QPoint(8, 104));
    QCOMPARE(title->text(), QStringLiteral("Argomento della guida."));
    QVERIFY(title->font().bold());
    QCOMPARE(title->palette().color(QPalette::WindowText), QColor(0xDC, 0x14, 0x3C)); // crimson
    // Between the heading and the memo, not over them.
    QVERIFY(title->geometry().bottom() < 128);
    auto *link = findControl<QLabel>(&window, "lnkWeb");
    QCOMPARE(link->pos(), QPoint(44, 500));
    QCOMPARE(link->text(), QStringLiteral("Visualizza guida in formato PDF"));
    QVERIFY(link->font().underline());
    QCOMPARE(linkColour(link), darkBlue());
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(findControl<QWidget>(&window, "imgPDF")->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(link->geometry().right() < 472); // clear of the button
    auto *close = findControl<QPushButton>(&window, "btnChiudi");
    QCOMPARE(close->text(), QStringLiteral("Chiudi"));
    // First in the tab order: it has the focus when the window opens.
    QCOMPARE(QApplication::focusWidget(), close);
    QVERIFY(!findControl<PictureBox>(&window, "imgLogo")->image().isNull());
    QVERIFY(!findControl<PictureBox>(&window, "imgPDF")->image().isNull());
}

void TestGuideWindow::showHelp_data()
{
    QTest::addColumn<Topic>("topic");
    QTest::newRow("general") << Topic::General;
    QTest::newRow("students") << Topic::Students;
    QTest::newRow("card") << Topic::Card;
    QTest::newRow("export") << Topic::Export;
}

void TestGuideWindow::showHelp()
{
    QFETCH(Topic, topic);
    TestFolder folder;
    QWidget opener;
    QVERIFY(showActive(opener));
    bool shown = false;
    whenModalShown<TfrmGuida>([&](TfrmGuida *guide) {
        shown = true;
        QCOMPARE(guide->parentWidget(), &opener);
        QVERIFY(guide->isModal());
        auto *title = findControl<QLabel>(guide, "lblTitolo");
        QCOMPARE(title->text(), HelpTexts::text(topic).title);
        // The whole title shows, however long.
        QVERIFY(title->width() >= title->sizeHint().width());
        QCOMPARE(findControl<QPlainTextEdit>(guide, "txtGuida")->toPlainText(), shownBody(topic));
        QTest::mouseClick(findControl<QPushButton>(guide, "btnChiudi"), Qt::LeftButton);
    });
    TfrmGuida::showHelp(folder.context, &opener, topic);
    QVERIFY(shown);
    // Freed once closed.
    QVERIFY(opener.findChildren<TfrmGuida *>().isEmpty());
    QVERIFY(folder.platform.opened.isEmpty());
}

void TestGuideWindow::memoScrollsAndCannotBeEdited()
{
    TestFolder folder;
    TfrmGuida window(folder.context);
    window.setHelpText(HelpTexts::text(Topic::General));
    QVERIFY(showActive(window));
    auto *memo = findControl<QPlainTextEdit>(&window, "txtGuida");
    QVERIFY(memo->isReadOnly());
    QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(memo->horizontalScrollBar()->maximum(), 0);
    QVERIFY(memo->verticalScrollBar()->maximum() > 0);
    memo->setFocus();
    QTest::keyClicks(memo, QStringLiteral("xyz"));
    QTest::keyClick(memo, Qt::Key_Delete);
    QTest::keyClick(memo, Qt::Key_Backspace);
    QCOMPARE(memo->toPlainText(), shownBody(Topic::General));
    // The keys scroll it: Ctrl+End goes to the end of the text.
    QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
    QVERIFY(memo->verticalScrollBar()->value() >= memo->verticalScrollBar()->maximum() - 2);
}

void TestGuideWindow::link_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("folderName");
    QTest::newRow("text") << "lnkWeb" << "dati";
    QTest::newRow("picture") << "imgPDF" << "dati";
    QTest::newRow("folder with spaces") << "lnkWeb" << "Archivio Scuola";
}

void TestGuideWindow::link()
{
    QFETCH(QString, control);
    QFETCH(QString, folderName);
    TestFolder folder;
    AppContext context = folder.context;
    context.folder = folder.path(folderName + QLatin1Char('/'));
    TfrmGuida window(context);
    QVERIFY(showActive(window));
    auto *link = findControl<QLabel>(&window, "lnkWeb");
    QWidget *target = findControl<QWidget>(&window, control);
    CHECK_LINK_PRESS(target, link);
    // The path in the data folder, quoted; a missing file is left to the shell.
    QCOMPARE(folder.platform.opened, QStringList{QLatin1Char('"') + context.folder + "Guida.pdf\""});
    QVERIFY(folder.platform.messages.isEmpty());
    QVERIFY(window.isVisible());
}

void TestGuideWindow::linkNeedsACompletedLeftClick()
{
    TestFolder folder;
    TfrmGuida window(folder.context);
    QVERIFY(showActive(window));
    auto *link = findControl<QLabel>(&window, "lnkWeb");
    auto *picture = findControl<QWidget>(&window, "imgPDF");
    // Another button colours the link but opens nothing.
    QTest::mousePress(link, Qt::RightButton);
    QCOMPARE(linkColour(link), orange());
    QTest::mouseRelease(link, Qt::RightButton);
    QCOMPARE(linkColour(link), darkBlue());
    // Released away from where it was pressed: no click.
    QTest::mousePress(picture, Qt::LeftButton);
    QCOMPARE(linkColour(link), orange());
    QTest::mouseRelease(picture, Qt::LeftButton, {}, QPoint(picture->width() + 30, picture->height() / 2));
    QCOMPARE(linkColour(link), darkBlue());
    QVERIFY(folder.platform.opened.isEmpty());
    // A double click opens the guide once: press, release, double-click
    // press, release, as the window system delivers it.
    QTest::mousePress(link, Qt::LeftButton);
    QTest::mouseRelease(link, Qt::LeftButton);
    const QPointF centre = QRectF(link->rect()).center();
    QMouseEvent second(QEvent::MouseButtonDblClick, centre, link->mapToGlobal(centre), Qt::LeftButton,
                       Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(link, &second);
    QCOMPARE(linkColour(link), orange());
    QTest::mouseRelease(link, Qt::LeftButton);
    QCOMPARE(folder.platform.opened.size(), 1);
    QCOMPARE(linkColour(link), darkBlue());
}

void TestGuideWindow::closesOnlyThroughItsButton()
{
    TestFolder folder;
    TfrmGuida window(folder.context);
    QVERIFY(showActive(window));
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(window.isVisible());
    // Enter on the focused Chiudi presses it.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(TestGuideWindow)
#include "test_guidewindow.moc"
