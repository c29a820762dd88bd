// One search as the operator meets it, in a process of its own: the whole
// program's window set, then the search window the student window opens,
// one filter (or none) typed in and a click on Cerca. Prints the time from
// the release of the mouse button on Cerca until the result list is painted,
// the time until Cerca has returned (the search, before any painting), the
// lines listed and the process's peak memory (VmHWM).
// Usage (under an X server): search_probe <data folder> [Cognome e nome filter]
//   [--cycles N]: N open-search-close cycles in one session, each on its own
//   line with its own peak and the resident memory once the window is gone.
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
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

// How long a hand holds a mouse button down in a click.
constexpr int kHeldMs = 80;

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

// One open-search-close of the search window as the student window does it:
// returns the time from the click on Cerca to the painted list, and fills
// the search-only time and the lines listed.
double searchOnce(const AppContext &context, TfrmStudenti *students, const QString &filter, double *searchMs,
                  double *stallMs, qlonglong *listed, bool *painted)
{
    auto search = std::make_unique<TfrmTrovaStudenti>(context, students, students);
    search->show();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 300)
        QApplication::processEvents(QEventLoop::AllEvents, 50);

    search->findChild<QLineEdit *>(QStringLiteral("txtStudente"))->setText(filter);
    auto *cerca = search->findChild<QPushButton *>(QStringLiteral("btnCerca"));
    auto *list = search->findChild<QListView *>(QStringLiteral("lstRecords"));
    PaintWatch watch;
    list->viewport()->installEventFilter(&watch);

    // The user-interface thread's longest time away from its events, from
    // the click until the list has been painted and 300 ms more: a key typed
    // then waits at most that long.
    QElapsedTimer beat;
    qint64 lastBeat = 0, longestGap = 0;
    QTimer heartbeat;
    heartbeat.setInterval(1);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = beat.nsecsElapsed();
        longestGap = std::max(longestGap, now - lastBeat);
        lastBeat = now;
    });

    // A click as a hand makes it: the button held for a moment, in which the
    // window shows the wait line; the search starts at the release, and so
    // does the operator's wait.
    mouse(cerca, QEvent::MouseButtonPress);
    QElapsedTimer held;
    held.start();
    while (held.elapsed() < kHeldMs)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    QElapsedTimer clock;
    clock.start();
    beat.start();
    heartbeat.start();
    mouse(cerca, QEvent::MouseButtonRelease);
    *searchMs = double(clock.nsecsElapsed()) / 1e6;
    while (!watch.painted && clock.elapsed() < 600000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    QElapsedTimer after;
    after.start();
    while (after.elapsed() < 300)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    heartbeat.stop();
    *stallMs = double(longestGap) / 1e6;
    *listed = qlonglong(search->results().size());
    *painted = watch.painted;
    list->viewport()->removeEventFilter(&watch);
    search->hide();
    search.reset();
    // What closing leaves to the event loop (deferred deletes) is done.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    int cycles = 1;
    if (const qsizetype at = args.indexOf(QStringLiteral("--cycles")); at >= 0 && at + 1 < args.size()) {
        cycles = std::max(1, args.at(at + 1).toInt());
        args.remove(at, 2);
    }
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: search_probe <data folder> [filter] [--cycles N]\n");
        return 2;
    }
    WindowSet::prepareProcess();
    QApplication app(argc, argv);
    WindowSet::setupApplication(app);
    FakePlatform platform;
    AppContext context;
    context.folder = QDir(args.at(0)).absolutePath() + QLatin1Char('/');
    context.platform = &platform;
    const QString filter = args.size() > 1 ? args.at(1) : QString();

    WindowSet windows(context);
    windows.all(); // the whole set, as after the start
    TfrmStudenti *students = windows.students();

    // One line a cycle; with --cycles the peak of each cycle on its own and
    // the resident memory after the window has closed.
    bool allPainted = true;
    for (int cycle = 0; cycle < cycles; ++cycle) {
        const double before = Bench::residentMb();
        if (cycle > 0)
            Bench::resetPeak();
        double searchMs = 0, stallMs = 0;
        qlonglong listed = 0;
        bool painted = false;
        const double ms = searchOnce(context, students, filter, &searchMs, &stallMs, &listed, &painted);
        allPainted = allPainted && painted;
        std::printf("ms=%.2f search_ms=%.2f listed=%lld hwm_kb=%ld rss_before_kb=%ld rss_after_kb=%ld "
                    "longest_stall_ms=%.2f\n",
                    ms, searchMs, listed, long(Bench::peakMb() * 1024), long(before * 1024),
                    long(Bench::residentMb() * 1024), stallMs);
        std::fflush(stdout);
    }
    for (const FakePlatform::Message &message : platform.messages)
        std::fprintf(stderr, "message: %s\n", qPrintable(message.text));
    return allPainted ? 0 : 1;
}
