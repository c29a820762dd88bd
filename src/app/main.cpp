#include "base/qtplatform.h"
#include "app/commandline.h"
#include "app/startfolder.h"
#include "app/windowset.h"

#include <QApplication>

namespace {
QStringList rawArguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}
} // namespace

int main(int argc, char *argv[])
{
    // Before Qt's windowing, which would need a screen to answer them.
    if (StartFolder::answerOnTerminal(rawArguments(argc, argv)))
        return 0;
    // Exports and imports from a terminal: no window, no screen.
    if (CommandLine::wanted(rawArguments(argc, argv))) {
        QCoreApplication app(argc, argv);
        return CommandLine::run(rawArguments(argc, argv), qEnvironmentVariable("LUMETRA_HOME"),
                                QCoreApplication::applicationDirPath());
    }

    WindowSet::prepareProcess();
    QApplication app(argc, argv);
    WindowSet::setupApplication(app);
    // The name of the installed menu entry: desktops match the window to it.
    QGuiApplication::setDesktopFileName(QStringLiteral("it.lumetra.Lumetra"));

    QtPlatform platform;
    AppContext context;
    context.platform = &platform;
    if (!StartFolder::open(platform, QCoreApplication::arguments(), qEnvironmentVariable("LUMETRA_HOME"),
                           QCoreApplication::applicationDirPath(), &context.folder))
        return 1;

    WindowSet windows(context);
    windows.start();
    return app.exec();
}
