// The working windows open maximised as the window manager sees it: run
// under a real window manager (with_window_manager.sh), each window must end
// up with both maximised states set by the manager and its frame covering the
// screen's work area, with its centred panel wholly on screen. Qt's own
// window-state flag is not enough: a window manager drops the state of a
// window whose size hints forbid it, and Qt keeps its flag.
#include "programfixture.h"

#include "base/widgets.h"
#include "card/tfrmanteprimatessera.h"
#include "card/tfrmtessera.h"
#include "export/tfrmexpstudenti.h"
#include "media/tfrmslideshow_studenti.h"
#include "media/tfrmzoom.h"
#include "printing/reportpreview.h"
#include "students/tfrmstudenti.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>

#include <functional>

namespace {

// The states the window manager has set on a window (_NET_WM_STATE).
QString managerStates(QWidget *window)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-id"), QString::number(window->winId()), QStringLiteral("_NET_WM_STATE")});
    if (!xprop.waitForFinished(10000))
        return {};
    return QString::fromLatin1(xprop.readAllStandardOutput());
}

bool managerMaximised(QWidget *window)
{
    const QString states = managerStates(window);
    return states.contains(QLatin1String("_NET_WM_STATE_MAXIMIZED_VERT"))
           && states.contains(QLatin1String("_NET_WM_STATE_MAXIMIZED_HORZ"));
}

// Waits for the window manager to settle the window, then tells what is
// wrong with it, or nothing.
QString maximisedFault(QWidget *window)
{
    if (!QTest::qWaitForWindowExposed(window))
        return QStringLiteral("never shown");
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    // A settled window answers at once; one that is not gets the time to settle.
    (void)QTest::qWaitFor([&] { return managerMaximised(window) && window->frameGeometry() == work; }, 3000);
    if (!managerMaximised(window))
        return QStringLiteral("not maximised by the window manager: ") + managerStates(window).trimmed();
    if (window->frameGeometry() != work)
        return QStringLiteral("frame %1,%2 %3x%4 instead of the work area %5x%6")
            .arg(window->frameGeometry().x())
            .arg(window->frameGeometry().y())
            .arg(window->frameGeometry().width())
            .arg(window->frameGeometry().height())
            .arg(work.width())
            .arg(work.height());
    if (auto *panel = window->findChild<QWidget *>(QStringLiteral("panContainer"))) {
        const QRect onScreen(panel->mapToGlobal(QPoint(0, 0)), panel->size());
        if (!work.contains(onScreen))
            return QStringLiteral("panel %1,%2 %3x%4 off the screen")
                .arg(onScreen.x())
                .arg(onScreen.y())
                .arg(onScreen.width())
                .arg(onScreen.height());
        if (!window->rect().contains(QRect(panel->mapTo(window, QPoint(0, 0)), panel->size())))
            return QStringLiteral("panel larger than the window");
    }
    return {};
}

// The program, on a screen the size of the real one.
struct Program : LoggedInProgram
{
    Program()
        : LoggedInProgram([](TestFolder &folder) { folder.platform.screen = QGuiApplication::primaryScreen()->size(); })
    {
    }
};

// Opens one window from the program; the window is checked and, when modal,
// closed by the caller's callback.
using Open = std::function<void(Program &, const std::function<void(QWidget *)> &)>;

template<typename T>
Open modalFrom(const std::function<QWidget *(Program &)> &owner, const QString &button)
{
    return [owner, button](Program &program, const std::function<void(QWidget *)> &check) {
        QWidget *from = owner(program);
        bool seen = false;
        whenModalShown<T>([&](T *dialog) {
            seen = true;
            check(dialog);
            dialog->close();
        });
        program.click(from, button);
        QTRY_VERIFY(seen);
    };
}

QWidget *studentWindow(Program &program)
{
    program.click(program.windows->startMenu(), QStringLiteral("imgStaff"));
    return program.windows->students();
}

QWidget *cardWindow(Program &program)
{
    program.click(program.windows->startMenu(), QStringLiteral("imgBadges"));
    return program.windows->card();
}

} // namespace

Q_DECLARE_METATYPE(Open)

class TestMaximisedWindows : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void managerMaximises_data();
    void managerMaximises();
};

void TestMaximisedWindows::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
    if (QProcess::execute(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
        != 0)
        QSKIP("no window manager on this screen");
}

void TestMaximisedWindows::managerMaximises_data()
{
    QTest::addColumn<Open>("open");
    const auto longLived = [](QWidget *(*reach)(Program &)) {
        return Open([reach](Program &program, const std::function<void(QWidget *)> &check) { check(reach(program)); });
    };
    QTest::newRow("start menu") << longLived([](Program &p) { return static_cast<QWidget *>(p.windows->startMenu()); });
    QTest::newRow("student window") << longLived(&studentWindow);
    QTest::newRow("card window") << longLived(&cardWindow);
    QTest::newRow("export") << modalFrom<TfrmExpStudenti>([](Program &p) { return p.windows->startMenu(); },
                                                         QStringLiteral("imgExport"));
    QTest::newRow("zoom") << modalFrom<TfrmZoom>(&studentWindow, QStringLiteral("btnZoomFoto"));
    QTest::newRow("slideshow") << modalFrom<TfrmSlideshow_Studenti>(&studentWindow, QStringLiteral("cmdSlideshow"));
    // The print preview, here of the card: the preview dialog's button opens it.
    QTest::newRow("print preview") << Open([](Program &program, const std::function<void(QWidget *)> &check) {
        QWidget *card = cardWindow(program);
        bool seen = false;
        whenModalShown<TfrmAnteprimaTessera>([&](TfrmAnteprimaTessera *dialog) {
            whenModalShown<ReportPreview>([&](ReportPreview *preview) {
                seen = true;
                check(preview);
                preview->close();
            });
            program.click(dialog, QStringLiteral("btnStampa"));
        });
        program.click(card, QStringLiteral("cmdAnteprima"));
        QTRY_VERIFY(seen);
    });
}

void TestMaximisedWindows::managerMaximises()
{
    QFETCH(Open, open);
    Program program;
    QString fault = QStringLiteral("not opened");
    open(program, [&](QWidget *window) { fault = maximisedFault(window); });
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

QTEST_MAIN(TestMaximisedWindows)
#include "test_maximisedwindows.moc"
