#pragma once

#include "storefixture.h"
#include "testutil.h"

#include "app/tfrmavvio.h"
#include "app/tfrmpassword.h"
#include "app/windowset.h"

#include <QLineEdit>

#include <functional>
#include <memory>

// The whole program started on a temporary folder and logged in, as the
// operator finds it after the password. `prepare` writes what the folder
// holds before the program starts (the store is written here).
struct LoggedInProgram
{
    TestFolder folder;
    std::unique_ptr<WindowSet> windows;

    explicit LoggedInProgram(const std::function<void(TestFolder &)> &prepare = {})
    {
        const QString password = QStringLiteral("pergolatovesca");
        folder.writeFile(QStringLiteral("unins000.dll"), storeWith(password));
        if (prepare)
            prepare(folder);
        windows = std::make_unique<WindowSet>(folder.context);
        windows->start();
        auto *field = findControl<QLineEdit>(windows->login(), QStringLiteral("txtPassword"));
        for (const QChar ch : password)
            QTest::keyClick(field, char(ch.unicode()));
        QTest::keyClick(field, Qt::Key_Return);
    }
    QWidget *startMenu() const { return windows->startMenu(); }
    static void click(QWidget *window, const QString &name)
    {
        QTest::mouseClick(findControl<QWidget>(window, name), Qt::LeftButton);
    }
};
