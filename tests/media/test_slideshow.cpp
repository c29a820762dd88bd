// The slideshow: record order with the rewind after the last record, the
// waiting picture for records without a readable photo, an empty archive,
// archive errors at each tick, and the timer ending with the window.
#include "../students/studentfixture.h"

#include "media/tfrmslideshow_studenti.h"

#include <QDir>
#include <QTimer>
#include <QtTest>

using Kind = Platform::MessageKind;

namespace {

QImage solid(int w, int h, const QColor &colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

struct Show
{
    TestFolder folder;
    TfrmSlideshow_Studenti *window;

    Show() : window(new TfrmSlideshow_Studenti(folder.context)) {}
    ~Show() { delete window; }
    PictureBox *photo() const { return findControl<PictureBox>(window, QStringLiteral("imgFoto")); }
    QImage waiting() const { return findControl<PictureBox>(window, QStringLiteral("imgBianco"))->image(); }
    QTimer *timer() const { return window->findChild<QTimer *>(QStringLiteral("Timer")); }
};

} // namespace

class TestSlideshow : public QObject
{
    Q_OBJECT
private slots:
    void orderAndRewind();
    void timerDrivesTheShow();
    void clickBeforeFirstTickCloses();
    void emptyArchive_data();
    void emptyArchive();
    void archiveErrorAtEachTick();
    void fromStudentWindow();
};

// Four records: a photo, none, a file that is not a picture, a photo. Steps
// show 1 2 3 4, then a rewind that leaves photo 4 up, then 1 again.
void TestSlideshow::orderAndRewind()
{
    Show s;
    writeArchive(s.folder, 4);
    const QByteArray archive = archiveBytes(s.folder);
    const QImage one = solid(300, 200, Qt::red);
    const QImage four = solid(200, 300, Qt::blue);
    writePhoto(s.folder, 1, one);
    s.folder.writeFile(photoFile(3), "non è una foto");
    writePhoto(s.folder, 4, four);
    const QImage waiting = s.waiting();
    QVERIFY(!waiting.isNull());

    // Photos come back from JPEG: compare by size and centre colour.
    auto shown = [&s, &waiting]() -> QString {
        const QImage image = s.photo()->image();
        if (image == waiting)
            return QStringLiteral("attesa");
        const QColor centre = image.pixelColor(image.width() / 2, image.height() / 2);
        return QStringLiteral("%1x%2 %3").arg(image.width()).arg(image.height()).arg(
            centre.red() > 200 ? "rossa" : centre.blue() > 200 ? "blu" : "altro");
    };
    QStringList steps;
    for (int i = 0; i < 7; ++i) {
        s.window->cmdAvantiClick();
        steps << QStringLiteral("%1: %2").arg(s.window->position()).arg(shown());
    }

    QCOMPARE(steps, (QStringList{"1: 300x200 rossa", "2: attesa", "3: attesa", "4: 200x300 blu",
                                 "0: 200x300 blu", "1: 300x200 rossa", "2: attesa"}));
    QVERIFY(s.folder.platform.messages.isEmpty());
    QCOMPARE(archiveBytes(s.folder), archive);
}

// The timer runs the steps: 6 seconds unless told, started when the window is
// shown, on the waiting picture; it stops when the window closes.
void TestSlideshow::timerDrivesTheShow()
{
    Show s;
    writeArchive(s.folder, 2);
    writePhoto(s.folder, 2, solid(120, 90, Qt::green));
    QVERIFY(s.timer());
    QCOMPARE(s.timer()->interval(), 6000);
    QVERIFY(!s.timer()->isActive());

    s.window->setInterval(40);
    s.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(s.window));
    QCOMPARE(s.photo()->image(), s.waiting());
    QCOMPARE(s.window->position(), 0);
    QVERIFY(s.timer()->isActive());

    QTRY_COMPARE(s.window->position(), 2);
    QCOMPARE(s.photo()->image().size(), QSize(120, 90));
    QTRY_COMPARE(s.window->position(), 0);
    QTRY_COMPARE(s.window->position(), 1);

    QTest::mouseClick(s.photo(), Qt::LeftButton);
    QVERIFY(!s.window->isVisible());
    QVERIFY(!s.timer()->isActive());
    const qint64 at = s.window->position();
    QTest::qWait(200);
    QCOMPARE(s.window->position(), at);
}

void TestSlideshow::clickBeforeFirstTickCloses()
{
    Show s;
    writeArchive(s.folder, 1);
    s.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(s.window));
    QTest::mouseClick(s.photo(), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(!s.window->isVisible());
    QVERIFY(!s.timer()->isActive());
    QCOMPARE(s.window->position(), 0);
}

void TestSlideshow::emptyArchive_data()
{
    QTest::addColumn<int>("fragment"); // bytes in the archive; -1: no file
    QTest::newRow("missing archive: created empty") << -1;
    QTest::newRow("empty archive") << 0;
    QTest::newRow("only a fragment of a record") << 1000;
}

// The first tick says so and closes the window; the waiting picture is up
// until then.
void TestSlideshow::emptyArchive()
{
    QFETCH(int, fragment);
    Show s;
    if (fragment >= 0)
        s.folder.writeFile(QStringLiteral("Archivio_Studenti.pro"), QByteArray(fragment, 'x'));
    s.window->setInterval(40);
    s.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(s.window));
    QCOMPARE(s.photo()->image(), s.waiting());

    QTRY_VERIFY(!s.window->isVisible());

    QCOMPARE(s.folder.platform.messages.size(), 1);
    QCOMPARE(s.folder.platform.lastKind(), Kind::Information);
    QCOMPARE(s.folder.platform.lastText(), QStringLiteral("L'archivio non contiene nessuna scheda."));
    QVERIFY(!s.timer()->isActive());
    QCOMPARE(QFileInfo(s.folder.path(QStringLiteral("Archivio_Studenti.pro"))).size(), qMax(fragment, 0));
}

// An archive that cannot be opened: the error at each tick while the fault
// lasts, never a second one piling up over a message still on screen, and the
// show goes on once the archive is back.
void TestSlideshow::archiveErrorAtEachTick()
{
    Show s;
    // A folder where the archive should be cannot be opened as a file.
    QVERIFY(QDir().mkpath(s.folder.path(QStringLiteral("Archivio_Studenti.pro"))));
    int piledUp = 0;
    bool waited = false;
    s.folder.platform.onMessage = [&](const FakePlatform::Message &) {
        if (waited)
            return;
        waited = true;
        // The operator leaves the first message up for several intervals.
        const int before = s.folder.platform.messages.size();
        QTest::qWait(300);
        piledUp = int(s.folder.platform.messages.size()) - before;
    };
    s.window->setInterval(40);
    s.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(s.window));

    QTRY_VERIFY(s.folder.platform.messages.size() >= 3);
    QCOMPARE(piledUp, 0);
    for (const auto &m : s.folder.platform.messages) {
        QCOMPARE(m.kind, Kind::Error);
        QCOMPARE(m.text, QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
                                        "Accertarsi di possedere i privilegi di scrittura nella cartella di "
                                        "installazione del programma."));
    }
    QVERIFY(s.window->isVisible());
    QVERIFY(s.timer()->isActive());
    QCOMPARE(s.photo()->image(), s.waiting());

    QVERIFY(QDir(s.folder.path(QStringLiteral("Archivio_Studenti.pro"))).removeRecursively());
    writeArchive(s.folder, 1);
    QTRY_COMPARE(s.window->position(), 1);
}

// A new modal window owned by the student window, opened maximised.
void TestSlideshow::fromStudentWindow()
{
    StudentWindow w;
    writeArchive(w.folder, 1);
    w.show();
    bool maximised = false;
    QWidget *owner = nullptr;
    QSize area;
    whenModalShown<TfrmSlideshow_Studenti>([&](TfrmSlideshow_Studenti *dialog) {
        owner = dialog->parentWidget();
        maximised = dialog->windowState().testFlag(Qt::WindowMaximized);
        area = findControl<PictureBox>(dialog, QStringLiteral("imgFoto"))->size();
        QTest::mouseClick(findControl<QWidget>(dialog, QStringLiteral("imgFoto")), Qt::LeftButton);
    });
    w.click(QStringLiteral("cmdSlideshow"));
    QCOMPARE(owner, w.window);
    QVERIFY(maximised);
    QCOMPARE(area, QSize(1280 - 60, 1024 - 90));
    QTRY_VERIFY(w.window->findChildren<QDialog *>().isEmpty());
}

QTEST_MAIN(TestSlideshow)
#include "test_slideshow.moc"
