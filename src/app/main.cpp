#include "base/qtplatform.h"
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
    context.folder = QDir(QCoreApplication::applicationDirPath()).absolutePath() + QLatin1Char('/');
    context.platform = &platform;

    WindowSet windows(context);
    windows.start();
    return app.exec();
}
