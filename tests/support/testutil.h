#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include "base/appcontext.h"
#include "fakeplatform.h"
#include "tempfolder.h"

// A temporary data folder with a fake platform: what every window test needs.
struct TestFolder : TempFolder
{
    FakePlatform platform;
    AppContext context;

    TestFolder()
    {
        context.folder = folder;
        context.platform = &platform;
    }
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
