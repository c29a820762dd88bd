// The program's start, as main() does it, against the folder given as the
// first argument; it runs until the benchmark ends it.
#include "firstpaint.h"

#include "base/qtplatform.h"
#include "app/tfrmpassword.h"
#include "app/windowset.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    WindowSet::prepareProcess();
    QApplication app(argc, argv);
    WindowSet::setupApplication(app);

    QtPlatform platform;
    AppContext context;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    context.folder = QDir(folder).absolutePath() + QLatin1Char('/');
    context.platform = &platform;

    WindowSet windows(context);
    ReportFirstPaint watcher;
    windows.login()->installEventFilter(&watcher);
    windows.start();
    return app.exec();
}
