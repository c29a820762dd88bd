#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

template<typename T, typename F>
void whenModalShown(F action, int timeoutMs)
{
    // Owned by the application: a watcher still pending, or only asked to
    // delete itself, when the test ends goes with the application.
    auto *timer = new QTimer(qApp);
    QElapsedTimer clock;
    clock.start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, action, timeoutMs]() {
        auto *modal = qobject_cast<T *>(QApplication::activeModalWidget());
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (clock.elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            // Close whatever is modal so the test does not hang.
            if (QWidget *w = QApplication::activeModalWidget())
                w->close();
        }
    });
    timer->start();
}
