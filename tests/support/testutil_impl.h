#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

template<typename T, typename F>
void whenModalShown(F action, int timeoutMs)
{
    auto *timer = new QTimer;
    auto *clock = new QElapsedTimer;
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, action, timeoutMs]() {
        auto *modal = qobject_cast<T *>(QApplication::activeModalWidget());
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            delete clock;
            action(modal);
        } else if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            delete clock;
            // Close whatever is modal so the test does not hang.
            if (QWidget *w = QApplication::activeModalWidget())
                w->close();
        }
    });
    timer->start();
}
