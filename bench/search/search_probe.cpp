// One search as the operator meets it, in a process of its own: the whole
// program's window set, then the search window the student window opens,
// one filter (or none) typed in and a click on Cerca. Prints the time from
// the press of the mouse button on Cerca until the result list is painted,
// the time until Cerca has returned (the search, before any painting), the
// lines listed and the process's peak memory (VmHWM).
// Usage (under an X server): search_probe <data folder> [Cognome e nome filter]
#include "benchstats.h"
#include "fakeplatform.h"
#include "app/windowset.h"
#include "search/tfrmtrovastudenti.h"
#include "students/tfrmstudenti.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>

#include <cstdio>

namespace {

// Notes the first paint of a widget.
struct PaintWatch : QObject
{
    bool painted = false;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

void mouse(QWidget *widget, QEvent::Type type)
{
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: search_probe <data folder> [filter]\n");
        return 2;
    }
    WindowSet::prepareProcess();
    QApplication app(argc, argv);
    WindowSet::setupApplication(app);
    FakePlatform platform;
    AppContext context;
    context.folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + QLatin1Char('/');
    context.platform = &platform;
    const QString filter = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

    WindowSet windows(context);
    windows.all(); // the whole set, as after the start
    TfrmStudenti *students = windows.students();
    // As the student window opens it.
    TfrmTrovaStudenti search(context, students, students);
    search.show();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 300)
        QApplication::processEvents(QEventLoop::AllEvents, 50);

    search.findChild<QLineEdit *>(QStringLiteral("txtStudente"))->setText(filter);
    auto *cerca = search.findChild<QPushButton *>(QStringLiteral("btnCerca"));
    auto *list = search.findChild<QListView *>(QStringLiteral("lstRecords"));
    PaintWatch watch;
    list->viewport()->installEventFilter(&watch);

    QElapsedTimer clock;
    clock.start();
    mouse(cerca, QEvent::MouseButtonPress);
    mouse(cerca, QEvent::MouseButtonRelease);
    const double searchMs = double(clock.nsecsElapsed()) / 1e6;
    while (!watch.painted && clock.elapsed() < 600000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double ms = double(clock.nsecsElapsed()) / 1e6;

    std::printf("ms=%.2f search_ms=%.2f listed=%lld hwm_kb=%ld\n", ms, searchMs, qlonglong(search.results().size()),
                long(Bench::peakMb() * 1024));
    for (const FakePlatform::Message &message : platform.messages)
        std::fprintf(stderr, "message: %s\n", qPrintable(message.text));
    std::fflush(stdout);
    search.hide();
    return watch.painted ? 0 : 1;
}
