#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include "app/appcontext.h"
#include "fakeplatform.h"

// A temporary data folder with a fake platform: what every window test needs.
struct TestFolder
{
    QTemporaryDir dir;
    FakePlatform platform;
    AppContext context;

    TestFolder()
    {
        context.folder = dir.path() + QLatin1Char('/');
        context.platform = &platform;
    }
    QString path(const QString &relative) const { return context.folder + relative; }
    // Writes raw bytes to a file in the folder (creating parent folders).
    void writeFile(const QString &relative, const QByteArray &bytes) const;
    QByteArray readFile(const QString &relative) const;
};

// A control by its interface name; fails the test naming what is missing.
template<typename T>
T *findControl(const QWidget *window, const QString &name)
{
    T *found = window->findChild<T *>(name);
    if (!found)
        QTest::qFail(qPrintable(QStringLiteral("%1 has no %2 named \"%3\"")
                                    .arg(window->objectName(), QString::fromLatin1(T::staticMetaObject.className()), name)),
                     __FILE__, __LINE__);
    return found;
}

// Shows window and waits until it is exposed and active, so that focus and
// keys behave as for the operator.
inline bool showActive(QWidget &window)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return false;
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// Runs `action` on the next modal dialog of type T once it is shown (for tests
// that open a modal window and must drive it before exec() returns).
template<typename T, typename F>
void whenModalShown(F action, int timeoutMs = 5000);
#include "testutil_impl.h"
