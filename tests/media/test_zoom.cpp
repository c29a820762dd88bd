// The zoom window: the student's photo at its own size, reduced only when it
// does not fit the screen, proportions kept, centred; a click closes it.
#include "../students/studentfixture.h"

#include "media/tfrmzoom.h"

#include <QtTest>

class TestZoom : public QObject
{
    Q_OBJECT
private slots:
    void sizing_data();
    void sizing();
    void fromStudentWindow();
};

void TestZoom::sizing_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QSize>("photo");
    QTest::addColumn<QSize>("shown");

    // On 1280 x 1024 the photo area is 1220 x 934.
    QTest::newRow("smaller: own size") << QSize(1280, 1024) << QSize(400, 300) << QSize(400, 300);
    QTest::newRow("the student window's blank") << QSize(1280, 1024) << QSize(307, 394) << QSize(307, 394);
    QTest::newRow("exactly the area") << QSize(1280, 1024) << QSize(1220, 934) << QSize(1220, 934);
    QTest::newRow("wider than the screen") << QSize(1280, 1024) << QSize(4000, 2000) << QSize(1220, 610);
    QTest::newRow("taller than the screen") << QSize(1280, 1024) << QSize(1000, 4000) << QSize(233, 934);
    QTest::newRow("too wide by a pixel") << QSize(1280, 1024) << QSize(1221, 100) << QSize(1220, 99);
    QTest::newRow("small screen") << QSize(800, 600) << QSize(1024, 768) << QSize(680, 510);
    QTest::newRow("camera photo on a large screen") << QSize(1920, 1080) << QSize(4032, 3024) << QSize(1320, 990);
}

void TestZoom::sizing()
{
    QFETCH(QSize, screen);
    QFETCH(QSize, photo);
    QFETCH(QSize, shown);

    TestFolder folder;
    folder.platform.screen = screen;
    TfrmZoom zoom(folder.context);
    QImage picture(photo, QImage::Format_RGB32);
    picture.fill(QColor(0xC0, 0x30, 0x30));
    zoom.setPhoto(picture);
    zoom.show();
    QVERIFY(QTest::qWaitForWindowExposed(&zoom));

    auto *imgFoto = findControl<PictureBox>(&zoom, QStringLiteral("imgFoto"));
    QCOMPARE(imgFoto->size(), QSize(screen.width() - 60, screen.height() - 90));
    QCOMPARE(imgFoto->image(), picture); // held whole, only drawn smaller
    const QRect drawn = imgFoto->pictureRect();
    QCOMPARE(drawn.size(), shown);
    QCOMPARE(drawn.center(), imgFoto->rect().center());

    // What reaches the screen: the photo inside that rectangle, nothing around it.
    const QImage grab = imgFoto->grab().toImage();
    const auto red = [&grab](const QPoint &p) { return grab.pixelColor(p).red() > 150 && grab.pixelColor(p).green() < 100; };
    QVERIFY(red(drawn.center()));
    QVERIFY(red(drawn.topLeft() + QPoint(1, 1)));
    QVERIFY(red(drawn.bottomRight() - QPoint(1, 1)));
    if (drawn.left() > 0)
        QVERIFY(!red(QPoint(drawn.left() - 1, drawn.center().y())));
    if (drawn.top() > 0)
        QVERIFY(!red(QPoint(drawn.center().x(), drawn.top() - 1)));
}

// The student window hands a copy of its photo; a click on it closes the zoom
// and the student window's photo stays.
void TestZoom::fromStudentWindow()
{
    StudentWindow w;
    w.show();
    const QImage photo = stripes(1600, 1200);
    w.photo()->setImage(photo);
    QImage received;
    QWidget *owner = nullptr;
    bool maximised = false;
    whenModalShown<TfrmZoom>([&](TfrmZoom *dialog) {
        owner = dialog->parentWidget();
        maximised = dialog->windowState().testFlag(Qt::WindowMaximized);
        auto *imgFoto = findControl<PictureBox>(dialog, QStringLiteral("imgFoto"));
        received = imgFoto->image();
        QTest::mouseClick(imgFoto, Qt::LeftButton);
    });
    w.click(QStringLiteral("btnZoomFoto"));

    QCOMPARE(owner, w.window);
    QVERIFY(maximised);
    QCOMPARE(received, photo);
    QCOMPARE(w.photo()->image(), photo);
    QTRY_VERIFY(w.window->findChildren<QDialog *>().isEmpty());
}

QTEST_MAIN(TestZoom)
#include "test_zoom.moc"
