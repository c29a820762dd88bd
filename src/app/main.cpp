#include "app/qtplatform.h"
#include "app/windowset.h"
#include "app/tfrmpassword.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[])
{
    // No dependence on graphics acceleration.
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumetra"));
    QApplication::setApplicationDisplayName(QStringLiteral("Lumetra"));

    // Standard buttons and dialogs speak Italian too.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    QtPlatform platform;
    AppContext context;
    context.folder = QDir(QCoreApplication::applicationDirPath()).absolutePath() + QLatin1Char('/');
    context.platform = &platform;

    WindowSet windows(context);
    windows.login()->show();
    return app.exec();
}
