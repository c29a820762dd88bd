#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>

// Ends the program once the watched window has painted for the first time,
// that is once the operator sees it. When the runner put its launch time
// (steady clock, nanoseconds) in STARTUP_T0, prints "shown <ns>" with the
// time from launch until that paint was on screen, and the processor time the
// process had used by then (less disturbed by other work on the machine);
// `before` runs after that, just before the program quits.
class QuitOnFirstPaint : public QObject
{
public:
    explicit QuitOnFirstPaint(std::function<void()> before = {}) : m_before(std::move(before)) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            // Runs once this paint has been flushed to the screen.
            QTimer::singleShot(0, qApp, [this] {
                if (const char *t0 = std::getenv("STARTUP_T0")) {
                    const long long now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                              std::chrono::steady_clock::now().time_since_epoch())
                                              .count();
                    timespec cpu{};
                    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
                    std::printf("shown %lld %lld\n", now - std::atoll(t0),
                                cpu.tv_sec * 1000000000LL + cpu.tv_nsec);
                    std::fflush(stdout);
                }
                if (m_before)
                    m_before();
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    std::function<void()> m_before;
    bool m_done = false;
};
